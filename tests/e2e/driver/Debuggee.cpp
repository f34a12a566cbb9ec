#include "Debuggee.h"

#include "Log.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

constexpr char TRACE_PREFIX[] = "KV7: ";
constexpr DWORD POLL_MS = 200;         // how often the debug loop looks at a stop request
constexpr size_t MAX_DEBUG_STRING = 65536;

void CloseIfSet(HANDLE handle)
{
    if (handle && handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

std::string UpperFileName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

// The file behind a load event: from its file handle, or else from the name pointer the
// system may leave in the program's memory (a pointer to a pointer to the text).
std::string LibraryFileName(const LOAD_DLL_DEBUG_INFO& info, HANDLE process)
{
    char path[MAX_PATH];
    if (info.hFile) {
        DWORD length = GetFinalPathNameByHandleA(info.hFile, path, sizeof path, FILE_NAME_NORMALIZED);
        if (length > 0 && length < sizeof path)
            return UpperFileName(path);
    }
    void* text = nullptr;
    SIZE_T read = 0;
    if (!info.lpImageName || !ReadProcessMemory(process, info.lpImageName, &text, sizeof text, &read) || !text)
        return std::string();
    if (info.fUnicode) {
        wchar_t wide[MAX_PATH] = {};
        ReadProcessMemory(process, text, wide, sizeof wide - sizeof(wchar_t), &read);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
    } else {
        path[0] = '\0';
        ReadProcessMemory(process, text, path, sizeof path - 1, &read);
        path[sizeof path - 1] = '\0';
    }
    return UpperFileName(path);
}

} // namespace

Debuggee::Debuggee(std::string alias) : Name(std::move(alias)) {}

Debuggee::~Debuggee()
{
    if (Thread.joinable()) {
        if (!HasExited()) {
            LogLine("%s: still running, terminated", Name.c_str());
            Terminate();
        }
        Thread.join();
    }
    CloseIfSet(ProcessHandle);
}

bool Debuggee::Start(const StartRequest& request, std::string& error)
{
    Thread = std::thread(&Debuggee::Run, this, request);
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return Started || StartFailed; });
    if (StartFailed) {
        error = StartError;
        guard.unlock();
        Thread.join();
        return false;
    }
    return true;
}

void Debuggee::Run(StartRequest request)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!request.Desktop.empty())
        startup.lpDesktop = request.Desktop.data();
    std::string commandLine = "\"" + request.Executable + "\"";
    PROCESS_INFORMATION info{};
    Created = Deadline::Clock::now();
    // The program inherits the driver's environment, KV7_BENCH and the script's env included.
    BOOL created = CreateProcessA(request.Executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                  DEBUG_ONLY_THIS_PROCESS, nullptr,
                                  request.Folder.empty() ? nullptr : request.Folder.c_str(), &startup, &info);
    {
        std::lock_guard<std::mutex> guard(Lock);
        if (!created) {
            char text[64];
            std::snprintf(text, sizeof text, "CreateProcess failed, error %lu", GetLastError());
            StartError = text;
            StartFailed = true;
        } else {
            Started = true;
            Pid = info.dwProcessId;
            ProcessHandle = info.hProcess;
        }
    }
    Changed.notify_all();
    if (!created)
        return;
    CloseHandle(info.hThread);

    bool initialBreakpoint = true;
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, POLL_MS)) {
            std::lock_guard<std::mutex> guard(Lock);
            if (StopRequested)
                TerminateProcess(ProcessHandle, 1);
            continue;
        }
        DWORD status = DBG_CONTINUE;
        bool ended = false;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            CloseIfSet(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            NoteLoad(event.u.LoadDll, ProcessHandle);
            CloseIfSet(event.u.LoadDll.hFile);
            break;
        case UNLOAD_DLL_DEBUG_EVENT:
            NoteUnload(event.u.UnloadDll);
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            HandleOutput(event.u.DebugString, ProcessHandle);
            break;
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
            if (initialBreakpoint && record.ExceptionCode == EXCEPTION_BREAKPOINT) {
                initialBreakpoint = false; // the loader's greeting to a debugger, not a fault
                break;
            }
            // The program handles its own exceptions as it would without a debugger; the log
            // keeps a note, because an unhandled one explains a sudden end.
            LogLine("%s: exception %08lX at %p (%s chance)", Name.c_str(), record.ExceptionCode,
                    record.ExceptionAddress, event.u.Exception.dwFirstChance ? "first" : "last");
            status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            Finish(event.u.ExitProcess.dwExitCode);
            ended = true;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (ended)
            return;
    }
}

void Debuggee::NoteLoad(const LOAD_DLL_DEBUG_INFO& info, HANDLE process)
{
    std::string name = LibraryFileName(info, process);
    if (name.empty())
        return;
    std::lock_guard<std::mutex> guard(Lock);
    Mapped[reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll)] = name;
    ++Libraries[name].Loads;
}

void Debuggee::NoteUnload(const UNLOAD_DLL_DEBUG_INFO& info)
{
    std::lock_guard<std::mutex> guard(Lock);
    auto found = Mapped.find(reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll));
    if (found == Mapped.end())
        return;
    ++Libraries[found->second].Unloads;
    Mapped.erase(found);
}

Debuggee::LibraryCounts Debuggee::Library(const std::string& fileName)
{
    std::lock_guard<std::mutex> guard(Lock);
    auto found = Libraries.find(UpperFileName(fileName));
    return found == Libraries.end() ? LibraryCounts{} : found->second;
}

void Debuggee::HandleOutput(const OUTPUT_DEBUG_STRING_INFO& info, HANDLE process)
{
    // WaitForDebugEvent hands every debug string over in ANSI (only WaitForDebugEventEx passes
    // OutputDebugStringW's on as Unicode), and the program writes ANSI in the first place.
    size_t length = info.nDebugStringLength < MAX_DEBUG_STRING ? info.nDebugStringLength : MAX_DEBUG_STRING;
    std::string text(length, '\0');
    SIZE_T read = 0;
    if (length == 0 || !ReadProcessMemory(process, info.lpDebugStringData, text.data(), text.size(), &read))
        return;
    text.resize(std::strlen(text.c_str())); // up to its NUL; bytes not read stay NUL
    AddText(text);
}

void Debuggee::AddText(const std::string& text)
{
    std::vector<std::string> complete;
    {
        std::lock_guard<std::mutex> guard(Lock);
        Pending += text;
        size_t newline;
        while ((newline = Pending.find('\n')) != std::string::npos) {
            std::string line = Pending.substr(0, newline);
            Pending.erase(0, newline + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            complete.push_back(line);
            if (line.rfind(TRACE_PREFIX, 0) == 0) {
                Lines.push_back(line.substr(sizeof TRACE_PREFIX - 1));
                Times.push_back(Deadline::Clock::now());
            }
        }
    }
    for (const std::string& line : complete)
        LogLine("%s| %s", Name.c_str(), line.c_str());
    if (!complete.empty())
        Changed.notify_all();
}

void Debuggee::Finish(DWORD code)
{
    if (!Pending.empty())
        AddText("\n");
    {
        std::lock_guard<std::mutex> guard(Lock);
        Exited = true;
        Code = code;
    }
    LogLine("%s: process ended, exit code %lu", Name.c_str(), code);
    Changed.notify_all();
}

size_t Debuggee::LineCount()
{
    std::lock_guard<std::mutex> guard(Lock);
    return Lines.size();
}

std::string Debuggee::LineAt(size_t index)
{
    std::lock_guard<std::mutex> guard(Lock);
    return index < Lines.size() ? Lines[index] : std::string();
}

Deadline::Clock::time_point Debuggee::LineTime(size_t index)
{
    std::lock_guard<std::mutex> guard(Lock);
    return index < Times.size() ? Times[index] : Deadline::Clock::time_point();
}

bool Debuggee::WaitForLines(size_t count, const Deadline& deadline)
{
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait_until(guard, deadline.When(), [&] { return Lines.size() >= count || Exited; });
    return Lines.size() >= count;
}

bool Debuggee::HasExited()
{
    std::lock_guard<std::mutex> guard(Lock);
    return Exited;
}

DWORD Debuggee::ExitCode()
{
    std::lock_guard<std::mutex> guard(Lock);
    return Code;
}

bool Debuggee::WaitForExit(const Deadline& deadline)
{
    std::unique_lock<std::mutex> guard(Lock);
    return Changed.wait_until(guard, deadline.When(), [&] { return Exited; });
}

void Debuggee::Terminate()
{
    {
        std::lock_guard<std::mutex> guard(Lock);
        if (Exited || !ProcessHandle)
            return;
        StopRequested = true;
        TerminateProcess(ProcessHandle, 1);
    }
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait_for(guard, std::chrono::seconds(10), [&] { return Exited; });
}
