#include "framework/Thread.h"

#include <process.h>

namespace {

struct StartBlock {
    WorkerRoutine routine;
    void* param;
};

unsigned __stdcall ThreadStart(void* raw) {
    StartBlock block = *static_cast<StartBlock*>(raw);
    delete static_cast<StartBlock*>(raw);
    return block.routine(block.param);
}

}  // namespace

bool BeginWorkerThread(WorkerRoutine routine, void* param, int priority) {
    auto* block = new StartBlock{routine, param};
    // Created suspended so that the priority applies before the routine runs a single step.
    uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadStart, block, CREATE_SUSPENDED, nullptr);
    if (!handle) {
        delete block;
        return false;
    }
    HANDLE thread = reinterpret_cast<HANDLE>(handle);
    ::SetThreadPriority(thread, priority);
    ::ResumeThread(thread);
    ::CloseHandle(thread);
    return true;
}
