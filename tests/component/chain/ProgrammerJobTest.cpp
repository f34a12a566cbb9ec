/*
 * The programmer's job. A programmer may start a helper meant to outlive it (a JTAG server)
 * with CREATE_BREAKAWAY_FROM_JOB, and a job that forbids it fails that start with "access
 * denied"; any other child must stay in the job, where ending the job reaches it.
 */
#include "chain/ProgrammerJob.h"

#include "base/Handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A command interpreter that never runs: started suspended, ended unstarted however the test
// ends (a suspended process left behind would keep the test's output open).
class SuspendedChild {
public:
    explicit SuspendedChild(DWORD flags)
    {
        std::string line = "cmd.exe /c exit 0";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED | flags, nullptr, nullptr,
                           &startup, &info)) {
            CloseHandle(info.hThread);
            Process.Reset(info.hProcess);
        }
        Error = GetLastError();
    }
    ~SuspendedChild()
    {
        if (Process)
            TerminateProcess(Process.Get(), 0);
    }
    SuspendedChild(const SuspendedChild&) = delete;
    SuspendedChild& operator=(const SuspendedChild&) = delete;

    bool InAJob() const
    {
        BOOL in = FALSE;
        return IsProcessInJob(Process.Get(), nullptr, &in) && in;
    }

    UniqueHandle Process;
    DWORD Error = 0;
};

} // namespace

TEST(ChainProgrammerJob, OnlyAChildThatAsksLeavesTheJob)
{
    // This process stands in for the programmer; it stays in the job until it ends.
    TProgrammerJob job;
    ASSERT_TRUE(job.Adopt(GetCurrentProcess()));

    SuspendedChild helper(CREATE_BREAKAWAY_FROM_JOB);
    SuspendedChild child(0);

    ASSERT_TRUE(helper.Process) << "error " << helper.Error;
    EXPECT_FALSE(helper.InAJob());
    ASSERT_TRUE(child.Process) << "error " << child.Error;
    EXPECT_TRUE(child.InAJob());
}
