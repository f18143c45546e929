#pragma once

// The files the benchmarks work on: large MP3 files in a folder of the
// caller's choice or a fresh temporary one.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

inline constexpr int kBenchFiles = 99;
inline constexpr qint64 kBenchFileSize = 8 * 1024 * 1024;
inline constexpr qint64 kBenchId3v2TagSize = 2 * 1024 * 1024;

// The folder named by the first argument (created if missing), or a fresh
// temporary one that folderOwner removes at the end; empty when neither can be
// made.
QString benchFolder(int argc, char **argv, std::unique_ptr<QTemporaryDir> &folderOwner);

// Creates kBenchFiles MP3 files of kBenchFileSize bytes in folder, a frame
// header followed by patterned audio, each with a tag when withTag(i) says so,
// and flushes them to the disk so their write-back does not disturb what is
// measured next. The paths, or an empty list when a file cannot be written.
QStringList makeBenchMp3Files(const QString &folder, bool (*withTag)(int i));

// A v2.3 tag of exactly kBenchId3v2TagSize bytes without padding, as rippers
// write one: the texts of track i in UTF-16 with a byte order mark, a
// comment, then a JPEG cover that fills the rest (or the cover first).
QByteArray benchId3v2Tag(int i, bool pictureFirst = false);
