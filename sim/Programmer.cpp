/*
 * The Quartus programmer's chain auto-detect, simulated: quartus_pgm -c USB-Blaster[USB-n] -a.
 * It writes the report a real programmer writes to standard output (CR LF lines, bytes as they
 * are, whatever the redirection), listing the bench's chain for the cable, and fails the way a
 * real one does: a board without power gives "Unable to read device chain" and still exit code
 * 0; a missing cable gives a cable error and exit code 3.
 */
#include "Bench.h"
#include "Files.h"
#include "Hold.h"
#include "Journal.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace sim;

constexpr char STARS[] = "Info: *******************************************************************";
constexpr char CABLE_PREFIX[] = "USB-Blaster[USB-";
constexpr uint32_t EXIT_OK = 0;
constexpr uint32_t EXIT_BAD_COMMAND = 2;
constexpr uint32_t EXIT_NO_CABLE = 3;

void Put(const std::string& line)
{
    const std::string bytes = line + "\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The command line after the program's own name, as the caller wrote it.
std::string Arguments()
{
    const char* line = GetCommandLineA();
    if (*line == '"') {
        const char* close = std::strchr(line + 1, '"');
        line = close ? close + 1 : line + std::strlen(line);
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    std::string arguments(line);
    const size_t first = arguments.find_first_not_of(" \t");
    const size_t last = arguments.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : arguments.substr(first, last - first + 1);
}

// The cable index of "USB-Blaster[USB-n]", or -1 when the text names no such cable.
int CableIndex(const char* cable)
{
    const size_t prefix = sizeof CABLE_PREFIX - 1;
    if (std::strncmp(cable, CABLE_PREFIX, prefix) != 0)
        return -1;
    const char* digits = cable + prefix;
    const char* end = digits;
    while (*end >= '0' && *end <= '9')
        ++end;
    if (end == digits || end - digits > 4 || std::strcmp(end, "]") != 0)
        return -1;
    return std::atoi(digits);
}

std::string Now()
{
    SYSTEMTIME time;
    GetLocalTime(&time);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
    return text;
}

void Banner(const Bench& bench, const std::string& arguments)
{
    char version[64];
    std::snprintf(version, sizeof version, "Info: Version %g (simulated bench)", bench.QuartusVersion);
    Put(STARS);
    Put("Info: Running Quartus II Programmer");
    Put("Info: Command: quartus_pgm " + arguments);
    Put(version);
    Put("Info: Copyright (C) the KV7 simulated bench. For development use only.");
    Put("Info: Processing started: " + Now());
    Put(STARS);
}

void Trailer(bool successful, uint32_t started)
{
    Put("");
    Put(STARS);
    Put(successful ? "Info: Quartus II Programmer was successful. 0 errors, 0 warnings"
                   : "Error: Quartus II Programmer was unsuccessful. 1 error, 0 warnings");
    Put("Info: Peak virtual memory: 48 megabytes");
    Put("Info: Processing ended: " + Now());
    char elapsed[64];
    const uint32_t seconds = (GetTickCount() - started) / 1000;
    std::snprintf(elapsed, sizeof elapsed, "Info: Elapsed time: %02u:%02u:%02u", seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    Put(elapsed);
}

// What the command line asks for.
struct Request {
    bool Understood = false; // exactly -c <cable> and -a
    int Cable = -1;          // the n of USB-Blaster[USB-n]; -1 for a cable of another name
};

Request ReadCommandLine(int argc, char** argv)
{
    Request request;
    bool cableGiven = false;
    bool autoDetect = false;
    bool stray = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-a") == 0) {
            autoDetect = true;
        } else if (std::strcmp(argv[i], "-c") == 0 && i + 1 < argc) {
            cableGiven = true;
            request.Cable = CableIndex(argv[++i]);
        } else {
            stray = true;
        }
    }
    request.Understood = cableGiven && autoDetect && !stray;
    return request;
}

// Writes the report; returns the exit code a real programmer would give.
uint32_t Detect(const Bench& bench, const Request& request, const std::string& arguments)
{
    const uint32_t started = GetTickCount();
    Banner(bench, arguments);
    Sleep(bench.ProgrammerMs);
    // A process of its own: the program's input queue is not this thread's to watch.
    HoldWhileAsked(bench, HoldStep::Programmer, false);
    if (!request.Understood) {
        Put("Error (213008): Invalid command line; expected -c USB-Blaster[USB-n] -a");
        Trailer(false, started);
        return EXIT_BAD_COMMAND;
    }
    if (!bench.Cable || request.Cable < 0) {
        Put("Error (213013): Programming hardware cable not detected");
        Trailer(false, started);
        return EXIT_NO_CABLE;
    }
    const int listed = bench.ProgrammerCable >= 0 ? bench.ProgrammerCable : request.Cable;
    const std::string cable = "USB-Blaster [USB-" + std::to_string(listed) + "]";
    Put("Info (213045): Using programming cable \"" + cable + "\"");
    Put("1) " + cable);
    if (!bench.Powered || bench.Chain.empty()) {
        Put("Error (213019): Unable to read device chain - JTAG chain broken");
        Trailer(false, started);
        return EXIT_OK;
    }
    for (const ChainEntry& device : bench.Chain)
        Put("  " + device.Code + "   " + device.Name);
    Trailer(true, started);
    return EXIT_OK;
}

} // namespace

int main(int argc, char** argv)
{
    const Bench bench = LoadBench();
    const std::string arguments = Arguments();
    JournalLine(bench, "programmer start cwd=" + Quoted(CurrentDirectory().c_str()) + " args=" + arguments);
    uint32_t code = Detect(bench, ReadCommandLine(argc, argv), arguments);
    if (bench.ProgrammerExit)
        code = *bench.ProgrammerExit;
    JournalLine(bench, "programmer exit code=" + std::to_string(code));
    return static_cast<int>(code);
}
