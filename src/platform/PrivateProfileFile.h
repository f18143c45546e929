#pragma once

#include "SettingsFileService.h"

// A private-profile (INI) file of CP932 text. "[section]" lines open sections,
// "key=value" lines set keys; section and key names match without regard to
// ASCII case or the spaces and tabs around them. Any other line (comments,
// blank lines) is kept and ignored. A write changes or adds one line and keeps
// every other byte of the file, line endings included.
//
// Only a regular file of at most 1 MB that is not a symlink is read or
// written; anything else reads as a missing file and is never written. A
// write replaces the file whole or not at all and keeps its owner, group and
// permission bits; a file the user may not write is left as it is.
class PrivateProfileFile final : public SettingsFileService
{
public:
    QString readString(const QString &section, const QString &key, const QString &filePath) override;
    bool writeString(const QString &section, const QString &key, const QString &value,
                     const QString &filePath) override;
};
