#include "launcher/settings/RenameFormatSetting.h"

#include "launcher/report/FileReports.h"
#include "launcher/settings/KivFile.h"
#include "services/SettingsFileService.h"

namespace {

const QString kDefaultRenameFormat = QStringLiteral("(%K)[%A]%T_%D");
const QString kRenameFormatKey = QStringLiteral("FILE_FORMAT");

}  // namespace

RenameFormatSetting::RenameFormatSetting(SettingsFileService &settings, ReportService &reports,
                                         const QString &settingsFolder)
    : settings_(settings),
      reports_(reports),
      filePath_(kivFilePath(settingsFolder))
{
}

QString RenameFormatSetting::load()
{
    const QString format = mGetPrivateProfileString(kKivSection, kRenameFormatKey, filePath_);
    return format.isEmpty() ? kDefaultRenameFormat : format;
}

void RenameFormatSetting::save(const QString &format)
{
    const FileResult written = settings_.writeString(kKivSection, kRenameFormatKey, format, filePath_);
    if (!written.ok())
        reportWriteRefusals(reports_, {{refusalSentence(FileCommand::KeepFormat, written), fileLine(filePath_)}});
}

QString RenameFormatSetting::mGetPrivateProfileString(const QString &lpAppName, const QString &lpKeyName,
                                                      const QString &lpFileName)
{
    const QString value = settings_.readString(lpAppName, lpKeyName, lpFileName);
    const qsizetype zero = value.indexOf(QChar(0));
    return zero < 0 ? value : value.left(zero);
}
