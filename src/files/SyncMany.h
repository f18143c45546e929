#pragma once

#include "files/FileDescriptor.h"

#include <cstddef>
#include <vector>

// Syncing many written files at once, so their syncs share the file
// system's journal commits, and how many files a batch may hold open.

// Syncs each file from several threads (the calling one included; it does
// all alone when no thread can be started); for each file, in the order
// given, 0 when it was made durable, else the sync's errno (EIO when it gave
// none).
std::vector<int> syncMany(const std::vector<int> &files, const SyncFile &syncFile);

// The descriptors a batch may hold: a quarter of those the process may
// open, so the rest stay for loading the next file, the window and its
// messages.
std::size_t maxHeldFiles();

// The last open failed for lack of descriptors.
bool outOfDescriptors();
