#pragma once

#include "files/FileDescriptor.h"
#include "services/SettingsFileService.h"

// A private-profile (INI) file of CP932 text, read and edited as ProfileText
// reads and edits its text.
//
// Only a regular file of at most 1 MB that is not a symlink is read or
// written; anything else reads as a missing file and is never written. A
// write replaces the file whole or not at all and keeps its owner, group and
// permission bits; a file the user may not write, or one whose mode lets
// nobody write it (0444), is left as it is, whoever runs Kalvo.
class PrivateProfileFile final : public SettingsFileService
{
public:
    // syncFile makes the new file durable before it takes the old one's
    // place.
    explicit PrivateProfileFile(SyncFile syncFile = syncAll);

    QString readString(const QString &section, const QString &key, const QString &filePath) override;
    FileResult writeString(const QString &section, const QString &key, const QString &value,
                           const QString &filePath) override;

private:
    SyncFile syncFile_;
};
