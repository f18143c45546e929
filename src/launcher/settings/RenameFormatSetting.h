#pragma once

#include <QString>

class ReportService;
class SettingsFileService;

// The rename format kept in the settings file kiv.ini: section "KIV", key
// "FILE_FORMAT", read at start and written at the end.
class RenameFormatSetting
{
public:
    // settingsFolder: the folder that holds kiv.ini (settingsFolder()).
    RenameFormatSetting(SettingsFileService &settings, ReportService &reports, const QString &settingsFolder);

    // The format kept, up to a zero character; "(%K)[%A]%T_%D" when none or
    // an empty one is kept.
    QString load();
    // Keeps the format, whatever it is. A settings file that cannot be
    // written (a symlink, a FIFO, read-only, a full disk…) is left as it
    // is and keeps the old value for the next start; one report says that
    // the format could not be kept, why, and the file's path.
    void save(const QString &format);

private:
    QString mGetPrivateProfileString(const QString &lpAppName, const QString &lpKeyName,
                                     const QString &lpFileName);

    SettingsFileService &settings_;
    ReportService &reports_;
    QString filePath_;
};
