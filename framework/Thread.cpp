#include "framework/Thread.h"

#include <process.h>

namespace {

struct ThreadStart {
    WorkerProc proc;
    void* param;
};

unsigned __stdcall ThreadEntry(void* raw)
{
    const ThreadStart start = *static_cast<ThreadStart*>(raw);
    delete static_cast<ThreadStart*>(raw);
    return start.proc(start.param);
}

} // namespace

DWORD BeginWorkerThread(WorkerProc proc, void* param, int priority)
{
    auto* start = new ThreadStart{proc, param};
    unsigned id = 0;
    // _beginthreadex rather than CreateThread: the workers use the C runtime.
    const uintptr_t handle = _beginthreadex(nullptr, 0, ThreadEntry, start, CREATE_SUSPENDED, &id);
    if (handle == 0) {
        delete start;
        return 0;
    }
    HANDLE thread = reinterpret_cast<HANDLE>(handle);
    SetThreadPriority(thread, priority);
    ResumeThread(thread);
    CloseHandle(thread);
    return id;
}
