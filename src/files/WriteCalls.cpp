#include "files/WriteCalls.h"

#include <atomic>

namespace {

std::atomic<WriteCallHook> hook{nullptr};

}  // namespace

void setWriteCallHook(WriteCallHook newHook)
{
    hook = newHook;
}

void noteWriteCall()
{
    if (const WriteCallHook call = hook.load())
        call();
}
