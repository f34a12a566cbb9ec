/*
 * The programmer's job. A programmer may start a helper meant to outlive it (a JTAG server)
 * with CREATE_BREAKAWAY_FROM_JOB, and a job that forbids it fails that start with "access
 * denied"; any other child must stay in the job, where ending the job reaches it.
 */
#include "chain/ProgrammerJob.h"

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool InAJob(const ChildProcess& child)
{
    BOOL in = FALSE;
    return IsProcessInJob(child.Handle(), nullptr, &in) && in;
}

// A command interpreter that never runs: started suspended, ended unstarted however the test
// ends (a suspended process left behind would keep the test's output open).
constexpr char NEVER_RUNS[] = "cmd.exe /c exit 0";

} // namespace

TEST(ChainProgrammerJob, OnlyAChildThatAsksLeavesTheJob)
{
    // This process stands in for the programmer; it stays in the job until it ends.
    TProgrammerJob job;
    ASSERT_TRUE(job.Adopt(GetCurrentProcess()));

    ChildProcess helper(NEVER_RUNS, CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB);
    ChildProcess child(NEVER_RUNS, CREATE_SUSPENDED);

    ASSERT_TRUE(helper.Started()) << "error " << helper.Error;
    EXPECT_FALSE(InAJob(helper));
    ASSERT_TRUE(child.Started()) << "error " << child.Error;
    EXPECT_TRUE(InAJob(child));
}
