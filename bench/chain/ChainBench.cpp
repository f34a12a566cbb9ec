/*
 * Processor time against wall time of one chain detection whose simulated programmer takes
 * 2 s. The waits around the programmer must leave the processor idle: the figure to watch is
 * this process's processor time as a share of the wall time. The programmer and cmd run in
 * processes of their own and are not in this figure (run-bench measures them from outside).
 */
#include "chain/Jtagbus.h"

#include "base/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int PROGRAMMER_MS = 2000;

double Seconds(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

double OwnProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void WriteText(const std::string& path, const std::string& text)
{
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace

int main()
{
    // A desk of its own: the detection's files in a fresh temporary folder, and a bench file
    // that holds the programmer for the time it should take.
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "kv7-chain-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string bench = folder + "bench.ini";
    WriteText(bench, "programmer_ms = " + std::to_string(PROGRAMMER_MS) + "\r\n");
    SetEnvironmentVariableA("KV7_BENCH", bench.c_str());
    SetEnvironmentVariableA("TMP", folder.c_str());
    SetEnvironmentVariableA("TEMP", folder.c_str());

    const double ownBefore = OwnProcessorSeconds();
    const double wallBefore = Now();
    TChainList list;
    const bool found = TJtagBus().DetectChain(list, 0);
    const double wall = Now() - wallBefore;
    // The account is kept in clock ticks; an idle wait can read a hair below zero.
    const double own = std::max(0.0, OwnProcessorSeconds() - ownBefore);

    std::printf("detection:          %s (%u device(s)), programmer_ms = %d\n", found ? "found" : "FAILED",
                static_cast<unsigned>(list.size()), PROGRAMMER_MS);
    std::printf("wall time:          %.3f s\n", wall);
    std::printf("own processor time: %.3f s = %.2f %% of wall time (target under 10 %%)\n", own, 100.0 * own / wall);

    DeleteFileA((bench + ".journal").c_str());
    DeleteFileA(bench.c_str());
    RemoveDirectoryA(folder.c_str());
    return found ? 0 : 1;
}
