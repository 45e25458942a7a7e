#include "framework/Thread.h"

#include <gtest/gtest.h>

namespace {

struct ThreadReport {
    HANDLE done;
    int priority = 0;
    DWORD threadId = 0;
};

UINT ReportThread(void* param)
{
    auto* report = static_cast<ThreadReport*>(param);
    report->priority = GetThreadPriority(GetCurrentThread());
    report->threadId = GetCurrentThreadId();
    SetEvent(report->done);
    return 0;
}

TEST(BeginWorkerThread, RunsWithArgumentAndPriority)
{
    const int priorities[] = {THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_LOWEST};
    for (int priority : priorities) {
        ThreadReport report;
        report.done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        const DWORD id = BeginWorkerThread(ReportThread, &report, priority);
        ASSERT_NE(0u, id);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(report.done, 10000));
        EXPECT_EQ(priority, report.priority);
        EXPECT_EQ(id, report.threadId);
        EXPECT_NE(GetCurrentThreadId(), report.threadId);
        CloseHandle(report.done);
    }
}

} // namespace
