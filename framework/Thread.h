#pragma once
// Worker threads: started at once with a priority, never joined; the routine owns its parameter.
#include <windows.h>

using WorkerRoutine = unsigned (*)(void* param);

// Starts routine(param) on a new thread with the given priority; false when no thread could be made.
bool BeginWorkerThread(WorkerRoutine routine, void* param, int priority = THREAD_PRIORITY_NORMAL);
