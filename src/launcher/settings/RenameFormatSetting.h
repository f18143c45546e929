#pragma once

#include <QString>

class SettingsFileService;

// The rename format kept in the settings file kiv.ini: section "KIV", key
// "FILE_FORMAT", read at start and written at the end.
class RenameFormatSetting
{
public:
    // settingsFolder: the folder that holds kiv.ini (settingsFolder()).
    RenameFormatSetting(SettingsFileService &settings, const QString &settingsFolder);

    // The format kept, up to a zero character; "(%K)[%A]%T_%D" when none or
    // an empty one is kept.
    QString load();
    // Keeps the format, whatever it is. A settings file that cannot be
    // written keeps the old value for the next start; there is nobody to
    // tell at the end.
    void save(const QString &format);

private:
    QString mGetPrivateProfileString(const QString &lpAppName, const QString &lpKeyName,
                                     const QString &lpFileName);

    SettingsFileService &settings_;
    QString filePath_;
};
