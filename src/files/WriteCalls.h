#pragma once

// Every system call by which Kalvo changes a file or a folder (a write, a
// sync, a truncation, a name made or removed, an owner, permissions,
// attributes or times set) is made right after noteWriteCall(). A test that
// must stop the program at a chosen one (a kill at the k-th) sets a hook;
// the program sets none.

using WriteCallHook = void (*)();

// The hook called before each such system call; null: none.
void setWriteCallHook(WriteCallHook hook);

void noteWriteCall();
