#include "Debuggee.h"

#include "Log.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char TRACE_PREFIX[] = "KV7: ";
constexpr DWORD POLL_MS = 200; // how often the debug loop looks at a stop request
constexpr size_t MAX_DEBUG_STRING = 65536;

std::string UpperFileName(const std::string& path)
{
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

// A library the program loads itself comes with its file handle; only the loader's own first
// libraries may come without, and no script asks about those.
std::string LibraryFileName(const LOAD_DLL_DEBUG_INFO& info)
{
    char path[MAX_PATH];
    DWORD length = info.hFile ? GetFinalPathNameByHandleA(info.hFile, path, sizeof path, FILE_NAME_NORMALIZED) : 0;
    return length > 0 && length < sizeof path ? UpperFileName(path) : std::string();
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
}

bool Debuggee::Start(const StartRequest& request, std::string& error)
{
    Thread = std::thread(&Debuggee::Run, this, request);
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return Child != nullptr; });
    if (Child->Started())
        return true;
    error = "CreateProcess failed, error " + std::to_string(Child->Error);
    guard.unlock();
    Thread.join();
    return false;
}

void Debuggee::Run(StartRequest request)
{
    STARTUPINFOA startup{};
    if (!request.Desktop.empty())
        startup.lpDesktop = request.Desktop.data();
    Created = Deadline::Clock::now();
    // The program inherits the driver's environment, KV7_BENCH and the script's env included.
    auto child = std::make_unique<ChildProcess>("\"" + request.Executable + "\"", DEBUG_ONLY_THIS_PROCESS, startup,
                                                request.Folder);
    const bool started = child->Started();
    {
        std::lock_guard<std::mutex> guard(Lock);
        Child = std::move(child);
    }
    Changed.notify_all();
    if (!started)
        return;

    bool initialBreakpoint = true;
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, POLL_MS)) {
            std::lock_guard<std::mutex> guard(Lock);
            if (StopRequested)
                TerminateProcess(Child->Handle(), 1);
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (const std::string name = LibraryFileName(event.u.LoadDll); !name.empty()) {
                std::lock_guard<std::mutex> guard(Lock);
                Mapped[reinterpret_cast<std::uintptr_t>(event.u.LoadDll.lpBaseOfDll)] = name;
                ++Libraries[name].Loads;
            }
            CloseHandle(event.u.LoadDll.hFile);
            break;
        case UNLOAD_DLL_DEBUG_EVENT: {
            std::lock_guard<std::mutex> guard(Lock);
            if (auto found = Mapped.find(reinterpret_cast<std::uintptr_t>(event.u.UnloadDll.lpBaseOfDll));
                found != Mapped.end()) {
                ++Libraries[found->second].Unloads;
                Mapped.erase(found);
            }
            break;
        }
        case OUTPUT_DEBUG_STRING_EVENT:
            HandleOutput(event.u.DebugString);
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
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
            return;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
}

Debuggee::LibraryCounts Debuggee::Library(const std::string& fileName)
{
    const std::string name = UpperFileName(fileName);
    return Locked([&] { return Libraries.contains(name) ? Libraries[name] : LibraryCounts{}; });
}

void Debuggee::HandleOutput(const OUTPUT_DEBUG_STRING_INFO& info)
{
    // WaitForDebugEvent hands every debug string over in ANSI (only WaitForDebugEventEx passes
    // OutputDebugStringW's on as Unicode), and the program writes ANSI in the first place.
    std::string text(std::min<size_t>(info.nDebugStringLength, MAX_DEBUG_STRING), '\0');
    SIZE_T read = 0;
    if (text.empty() || !ReadProcessMemory(Child->Handle(), info.lpDebugStringData, text.data(), text.size(), &read))
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
        for (size_t newline; (newline = Pending.find('\n')) != std::string::npos;) {
            std::string line = Pending.substr(0, newline - (newline > 0 && Pending[newline - 1] == '\r'));
            Pending.erase(0, newline + 1);
            if (line.rfind(TRACE_PREFIX, 0) == 0)
                Lines.push_back({line.substr(sizeof TRACE_PREFIX - 1), Deadline::Clock::now()});
            complete.push_back(std::move(line));
        }
    }
    for (const std::string& line : complete)
        LogLine("%s| %s", Name.c_str(), line.c_str());
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
    return Locked([&] { return Lines.size(); });
}

std::string Debuggee::LineAt(size_t index)
{
    return Locked([&] { return index < Lines.size() ? Lines[index].Text : std::string(); });
}

Deadline::Clock::time_point Debuggee::LineTime(size_t index)
{
    return Locked([&] { return index < Lines.size() ? Lines[index].When : Deadline::Clock::time_point(); });
}

bool Debuggee::WaitForLines(size_t count, const Deadline& deadline)
{
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait_until(guard, deadline.When(), [&] { return Lines.size() >= count || Exited; });
    return Lines.size() >= count;
}

bool Debuggee::HasExited()
{
    return Locked([&] { return Exited; });
}

DWORD Debuggee::ExitCode()
{
    return Locked([&] { return Code; });
}

bool Debuggee::WaitForExit(const Deadline& deadline)
{
    std::unique_lock<std::mutex> guard(Lock);
    return Changed.wait_until(guard, deadline.When(), [&] { return Exited; });
}

void Debuggee::Terminate()
{
    std::unique_lock<std::mutex> guard(Lock);
    if (Exited || !Child || !Child->Started())
        return;
    StopRequested = true;
    TerminateProcess(Child->Handle(), 1);
    Changed.wait_for(guard, std::chrono::seconds(10), [&] { return Exited; });
}
