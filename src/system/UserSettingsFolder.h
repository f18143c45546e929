#pragma once

#include <QString>

// The folder that holds the settings file for this run of the program started
// from programFolder, by the rule of settingsFolder with this system's facts.
QString userSettingsFolder(const QString &programFolder);
