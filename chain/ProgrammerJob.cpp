#include "chain/ProgrammerJob.h"

#include "base/Trace.h"

namespace {

// Ended processes close their files as they go; this is how long they are given.
constexpr DWORD END_WAIT_MS = 2000;
constexpr DWORD END_POLL_MS = 10;

DWORD ActiveProcesses(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                   nullptr))
        return 0;
    return accounting.ActiveProcesses;
}

} // namespace

// A programmer may start a long-lived helper of its own (a JTAG server) that asks to leave the
// job (CREATE_BREAKAWAY_FROM_JOB); a job that does not allow it makes that start fail with
// "access denied". Only those leave: ordinary children stay, so that EndAll reaches them.
TProgrammerJob::TProgrammerJob() : Job(CreateJobObjectA(nullptr, nullptr))
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (Job && !SetInformationJobObject(Job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        Trace("programmer's job allows no break-away: error %lu", GetLastError());
}

bool TProgrammerJob::Adopt(HANDLE process)
{
    if (Job && AssignProcessToJobObject(Job.Get(), process))
        return true;
    Trace("programmer runs outside a job: error %lu", GetLastError());
    return false;
}

void TProgrammerJob::EndAll()
{
    if (!Job || ActiveProcesses(Job.Get()) == 0)
        return;
    TerminateJobObject(Job.Get(), 1);
    const DWORD start = GetTickCount();
    while (ActiveProcesses(Job.Get()) > 0 && GetTickCount() - start < END_WAIT_MS)
        Sleep(END_POLL_MS);
    Trace("programmer ended");
}
