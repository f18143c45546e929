#include "common/LameFiles.h"

#include <QFile>
#include <QProcess>

#include <cmath>

namespace {

void appendLittleEndian(QByteArray &bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
}

bool writeWav(const QString &path, qint64 samples)
{
    constexpr quint32 rate = 44100;
    constexpr int channels = 2;
    const auto dataBytes = quint32(samples * channels * 2);
    QByteArray wav = "RIFF";
    appendLittleEndian(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    appendLittleEndian(wav, 16, 4);
    appendLittleEndian(wav, 1, 2);  // PCM
    appendLittleEndian(wav, quint32(channels), 2);
    appendLittleEndian(wav, rate, 4);
    appendLittleEndian(wav, rate * quint32(channels) * 2, 4);
    appendLittleEndian(wav, quint32(channels) * 2, 2);
    appendLittleEndian(wav, 16, 2);
    wav += "data";
    appendLittleEndian(wav, dataBytes, 4);
    wav.reserve(wav.size() + qsizetype(dataBytes));
    for (qint64 i = 0; i < samples; ++i) {
        // A tone that rises and falls, so frames differ in a VBR encoding.
        const double t = double(i) / rate;
        const auto value = qint16(8000 * std::sin(2 * M_PI * (440 + 220 * std::sin(t)) * t));
        for (int channel = 0; channel < channels; ++channel)
            appendLittleEndian(wav, quint16(channel == 0 ? value : qint16(-value)), 2);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(wav) == wav.size();
}

}  // namespace

bool writeLameMp3(const QString &path, qint64 samples, const QStringList &options)
{
    const QString wav = path + QStringLiteral(".wav");
    if (!writeWav(wav, samples))
        return false;
    const int status = QProcess::execute(QStringLiteral("lame"), QStringList{QStringLiteral("--quiet")} + options
                                                                    + QStringList{wav, path});
    QFile::remove(wav);
    return status == 0;
}
