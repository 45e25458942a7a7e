// Worker threads. They are started and left to run: nothing ever waits for one.
// A worker never touches a window; it posts or sends a message to the window
// that owns the control and lets the UI thread apply the change.
#pragma once

#include <windows.h>

using WorkerProc = UINT (*)(void* param);

// Starts `proc(param)` on a new thread with the given priority (THREAD_PRIORITY_*).
// Returns the thread id, 0 when the thread could not be created.
DWORD BeginWorkerThread(WorkerProc proc, void* param, int priority = THREAD_PRIORITY_NORMAL);
