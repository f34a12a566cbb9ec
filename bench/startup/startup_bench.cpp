/*
 * Start-up benchmark: how long the program takes from its creation to "Ready" beyond its speed
 * calibration loop, and how much memory the idle window holds. A measurement, not a test: it
 * prints figures and compares them with the targets, but only reports.
 *
 *   kv7bench_startup.exe [runs]        (default 10; see README.md for the command)
 *
 * Each run starts the program as a debuggee, so the time of each trace line is known to the
 * millisecond: the "speed factor ... (N ms)" line ends the calibration and tells its length,
 * "status "Ready"" ends the start-up. Memory is read once the window waits idle for input.
 */
#include "Deadline.h"
#include "Debuggee.h"
#include "Log.h"
#include "Session.h"
#include "Stage.h"
#include "WindowQuery.h"

#include "tests/support/Folders.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double TARGET_BEYOND_CALIBRATION_MS = 400;
constexpr double TARGET_PRIVATE_MB = 8;
constexpr double RUN_LIMIT_SECONDS = 30;
constexpr DWORD IDLE_LIMIT_MS = 5000;
constexpr char BASELINE_PROGRAM[] = "kv7probe.exe";

struct Run {
    double ToCalibrationEndMs = 0; // creation to the calibration's trace line
    double CalibrationMs = 0;      // the loop's own length, as the program measured it
    double ToReadyMs = 0;          // creation to "Ready"
    double PrivateKb = 0;        // the system's count: PrivateUsage, or PagefileUsage where that is 0
    double CommittedKb = 0;      // committed private regions of the address space
    double WorkingSetKb = 0;
};

// Committed private memory, region by region, as the program's address space shows it. Under
// Wine the system's count (anonymous memory of the whole process, the display and font
// libraries included) says more than Windows would; this one says less (it misses what those
// libraries allocate). The truth for Windows lies between, so both are reported.
double CommittedPrivateKb(HANDLE process)
{
    double total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize / 1024.0;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at)
            break;
    }
    return total;
}

double Ms(Deadline::Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Index of the first line containing `text`, waiting for it.
bool WaitForLine(Debuggee& program, const std::string& text, size_t& index, const Deadline& deadline)
{
    for (size_t i = 0;; ++i) {
        if (!program.WaitForLines(i + 1, deadline))
            return false;
        if (program.LineAt(i).find(text) != std::string::npos) {
            index = i;
            return true;
        }
    }
}

// Memory of the idle window, then the window is closed and the program's end awaited.
bool MeasureIdleAndClose(Debuggee& program, Run& run, const Deadline& deadline, std::string& error)
{
    WaitForInputIdle(program.Process(), IDLE_LIMIT_MS);
    HWND window = nullptr;
    while (!(window = FindMainWindow(program.ProcessId())) && !deadline.Passed())
        Sleep(deadline.StepMs(20));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(program.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    run.PrivateKb = (counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage) / 1024.0;
    run.CommittedKb = CommittedPrivateKb(program.Process());
    run.WorkingSetKb = counters.WorkingSetSize / 1024.0;
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(deadline)) {
        error = "the program did not end after its window was closed";
        return false;
    }
    return true;
}

bool MeasureOnce(const std::string& folder, Run& run, std::string& error)
{
    Debuggee program("tool");
    StartRequest request{folder + PROGRAM_FILE, folder, ""};
    if (!program.Start(request, error))
        return false;
    Deadline deadline(RUN_LIMIT_SECONDS);
    size_t calibrated = 0, ready = 0;
    if (!WaitForLine(program, "speed factor", calibrated, deadline) ||
        !WaitForLine(program, "status \"Ready\"", ready, deadline)) {
        error = "no calibration or Ready line in the trace";
        return false;
    }
    std::string line = program.LineAt(calibrated);
    size_t open = line.rfind('(');
    run.CalibrationMs = open == std::string::npos ? 0 : std::atof(line.c_str() + open + 1);
    run.ToCalibrationEndMs = Ms(program.LineTime(calibrated) - program.StartTime());
    run.ToReadyMs = Ms(program.LineTime(ready) - program.StartTime());

    return MeasureIdleAndClose(program, run, deadline, error);
}

// A program started without calibration, only for its memory: the floor that any window
// program has under the same system, against which the tool's figure is read.
bool MeasureBaseline(const std::string& folder, Run& run, std::string& error)
{
    Debuggee program("baseline");
    StartRequest request{folder + BASELINE_PROGRAM, folder, ""};
    if (!program.Start(request, error))
        return false;
    Deadline deadline(RUN_LIMIT_SECONDS);
    size_t ready = 0;
    if (!WaitForLine(program, "status \"Ready\"", ready, deadline)) {
        error = "the baseline window did not get ready";
        return false;
    }
    return MeasureIdleAndClose(program, run, deadline, error);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Largest(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

} // namespace

int main(int argc, char** argv)
{
    EchoLog(false);
    int count = argc > 1 ? std::atoi(argv[1]) : 10;
    if (count < 1)
        count = 1;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = Format("%skv7bench-startup-%lu\\", temp, GetCurrentProcessId());
    StageRequest baselineStage{folder, BASELINE_PROGRAM, {"none"}, {"none"}};
    StageRequest stage;
    stage.Folder = folder;
    stage.Libraries = {"none"}; // start-up touches neither the libraries nor the .sof files
    stage.ConfigurationFiles = {"none"};
    std::string error;
    if (!StageFolder(stage, error) || !StageFolder(baselineStage, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    SetEnvironmentVariableA("KV7_BENCH", (folder + "bench.ini").c_str()); // the programs inherit it

    std::vector<double> beyond, afterLoop, total, privateKb, committedKb, workingKb;
    std::printf("run  to-ready  calibration  beyond-calibration  after-loop   private  committed  working-set\n");
    for (int i = 0; i < count; ++i) {
        Run run;
        if (!MeasureOnce(folder, run, error)) {
            std::fprintf(stderr, "run %d: %s\n", i + 1, error.c_str());
            RemoveTree(folder);
            return 1;
        }
        beyond.push_back(run.ToReadyMs - run.CalibrationMs);
        afterLoop.push_back(run.ToReadyMs - run.ToCalibrationEndMs);
        total.push_back(run.ToReadyMs);
        privateKb.push_back(run.PrivateKb);
        committedKb.push_back(run.CommittedKb);
        workingKb.push_back(run.WorkingSetKb);
        std::printf("%3d  %6.0f ms  %6.0f ms  %10.0f ms  %10.0f ms  %6.0f KB  %6.0f KB  %8.0f KB\n", i + 1,
                    run.ToReadyMs, run.CalibrationMs, beyond.back(), afterLoop.back(), run.PrivateKb, run.CommittedKb,
                    run.WorkingSetKb);
    }
    Run baseline;
    bool haveBaseline = MeasureBaseline(folder, baseline, error);
    RemoveTree(folder);

    double beyondMedian = Median(beyond);
    double privateMb = Largest(privateKb) / 1024;
    std::printf("\nmedian of %d runs: to Ready %.0f ms, beyond the calibration loop %.0f ms (largest %.0f ms), "
                "calibration line to Ready %.0f ms\n",
                count, Median(total), beyondMedian, Largest(beyond), Median(afterLoop));
    std::printf("idle window: private memory %.1f MB (largest), committed private regions %.1f MB (largest), "
                "working set %.1f MB (median)\n",
                privateMb, Largest(committedKb) / 1024, Median(workingKb) / 1024);
    if (haveBaseline)
        std::printf("a minimal window program under the same system: private memory %.1f MB, committed private "
                    "regions %.1f MB, working set %.1f MB\n",
                    baseline.PrivateKb / 1024, baseline.CommittedKb / 1024, baseline.WorkingSetKb / 1024);
    double committedMb = Largest(committedKb) / 1024;
    std::printf("targets: beyond the calibration loop under %.0f ms: %s; private memory under %.0f MB: %s by the "
                "committed regions, %s by the system's count\n",
                TARGET_BEYOND_CALIBRATION_MS, beyondMedian < TARGET_BEYOND_CALIBRATION_MS ? "met" : "MISSED",
                TARGET_PRIVATE_MB, committedMb < TARGET_PRIVATE_MB ? "met" : "MISSED",
                privateMb < TARGET_PRIVATE_MB ? "met" : "missed");
    return 0;
}
