#include "launcher/settings/KeepTimesSetting.h"

#include "launcher/report/FileReports.h"
#include "launcher/settings/KivFile.h"
#include "services/SettingsFileService.h"

namespace {

const QString kKeepTimesKey = QStringLiteral("KEEP_TIMES");

}  // namespace

KeepTimesSetting::KeepTimesSetting(SettingsFileService &settings, ReportService &reports,
                                   const QString &settingsFolder)
    : settings_(settings), reports_(reports), filePath_(kivFilePath(settingsFolder))
{
}

bool KeepTimesSetting::load()
{
    return settings_.readString(kKivSection, kKeepTimesKey, filePath_) == QLatin1String("1");
}

void KeepTimesSetting::save(bool keep)
{
    const FileResult written
        = settings_.writeString(kKivSection, kKeepTimesKey, keep ? QStringLiteral("1") : QStringLiteral("0"), filePath_);
    if (!written.ok())
        reportWriteRefusals(reports_, {{refusalSentence(FileCommand::KeepTimes, written), fileLine(filePath_)}});
}
