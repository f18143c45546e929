#pragma once

// A stand-in for the sync of TagWriteBatch: it fails for the files named and
// succeeds for the others without touching the disk, and records the name of
// every file it was asked to sync.

#include "TagWriteBatch.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <mutex>

class FakeSync
{
public:
    QStringList failing;  // file names, without folder

    TagWriteBatch::SyncFile function()
    {
        return [this](int fd) {
            const QString name = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd))).fileName();
            const std::lock_guard<std::mutex> lock(mutex_);
            synced_ << name;
            return !failing.contains(name);
        };
    }

    // The names synced so far, sorted.
    QStringList synced()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        QStringList names = synced_;
        names.sort();
        return names;
    }

private:
    std::mutex mutex_;
    QStringList synced_;
};
