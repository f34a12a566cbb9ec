#include "TestBench.h"

#include "base/Handles.h"
#include "base/Paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string FreshFolder()
{
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "kv7 board " + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++counter) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TTestBench::TTestBench(const std::string& text) : Folder(FreshFolder()), Path(Folder + "bench.ini")
{
    Write(text);
    SetEnvironmentVariableA("KV7_BENCH", Path.c_str());
}

TTestBench::~TTestBench()
{
    SetEnvironmentVariableA("KV7_BENCH", nullptr);
    RemoveFolder(Folder);
}

void TTestBench::Write(const std::string& text) { std::ofstream(Path, std::ios::binary) << text; }

std::vector<std::string> TTestBench::Journal() const { return SplitLines(ReadText(Path + ".journal")); }

std::vector<std::string> TTestBench::JournalLines(const std::string& prefix) const
{
    std::vector<std::string> picked;
    for (const std::string& line : Journal())
        if (line.rfind(prefix, 0) == 0)
            picked.push_back(line);
    return picked;
}

int32_t JtagCallCount(const char* entry)
{
    using CallCount = int32_t(__stdcall*)(const char*);
    HMODULE library = GetModuleHandleA("PALDRIX_JTAG.DLL");
    if (!library)
        return -1;
    auto count = reinterpret_cast<CallCount>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "SIM_JtagCallCount")));
    return count ? count(entry) : -1;
}

std::string BuiltFile(const std::string& relativePath) { return ExeFolder() + relativePath; }

bool CopyBuiltFile(const std::string& relativePath, const std::string& toFolder)
{
    std::string name = relativePath.substr(relativePath.find_last_of('\\') + 1);
    return CopyFileA(BuiltFile(relativePath).c_str(), (toFolder + name).c_str(), FALSE) != 0;
}

ProbeRun RunProbe(const std::string& folder, const std::string& arguments)
{
    ProbeRun run{~0u, {}};
    if (!CopyBuiltFile("board_probe.exe", folder)) {
        ADD_FAILURE() << "board_probe.exe could not be copied to " << folder;
        return run;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inherit, 0)) {
        ADD_FAILURE() << "no pipe for the probe";
        return run;
    }
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string exe = folder + "board_probe.exe";
    std::string commandLine = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION process{};
    // The probe runs with the test executables' folder as its current directory: the complete
    // libraries lie there, so a library found through the search path instead of by the probe's
    // own folder would show at once.
    std::string currentDirectory = ExeFolder();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        currentDirectory.c_str(), &startup, &process)) {
        ADD_FAILURE() << "the probe did not start: " << GetLastError();
        return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    writeEnd.Reset();

    std::string output;
    char chunk[512];
    DWORD got;
    while (ReadFile(readEnd.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    DWORD code;
    GetExitCodeProcess(processHandle.Get(), &code);
    run.ExitCode = code;
    run.Lines = SplitLines(output);
    return run;
}
