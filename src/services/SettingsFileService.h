#pragma once

#include "files/FileResult.h"

#include <QString>

// The settings file beside the program: one value per key, grouped in
// sections, the way private-profile (INI) files hold them.
class SettingsFileService
{
public:
    virtual ~SettingsFileService() = default;

    // Value of key in section of the file at filePath; empty when the file,
    // the section or the key is missing or unreadable. A value longer than 255
    // bytes (in CP932) comes back cut to 255 bytes, never inside a double-byte
    // character.
    virtual QString readString(const QString &section, const QString &key, const QString &filePath) = 0;

    // Sets key in section to value, creating the file and the section when
    // missing and keeping every other line as it was. When the file could not
    // be written, why not; the old file is then left whole.
    virtual FileResult writeString(const QString &section, const QString &key, const QString &value,
                             const QString &filePath) = 0;
};
