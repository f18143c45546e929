#pragma once

#include <QString>

class ReportService;
class SettingsFileService;

// Whether written files keep their access and modification times, kept in
// the settings file kiv.ini: section "KIV", key "KEEP_TIMES", "1" or "0".
class KeepTimesSetting
{
public:
    // settingsFolder: the folder that holds kiv.ini (settingsFolder()).
    KeepTimesSetting(SettingsFileService &settings, ReportService &reports, const QString &settingsFolder);

    // The choice kept; no (times change) when none is.
    bool load();
    // Keeps the choice at once. A settings file that cannot be written is
    // left as it is, and one report says so, why, and the file's path.
    void save(bool keep);

private:
    SettingsFileService &settings_;
    ReportService &reports_;
    QString filePath_;
};
