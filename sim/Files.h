/*
 * The few file and process facts the simulated parts need: whole-file reads and writes,
 * appends, the folder a part was loaded from and the current directory. The parts share no
 * code with the program, so they carry their own.
 */
#pragma once

#include <windows.h>

#include <string>

namespace sim {

// Owns one kernel handle; closes it when the scope ends.
class Handle {
public:
    explicit Handle(HANDLE value) : Value(value) {}
    ~Handle()
    {
        if (Valid())
            CloseHandle(Value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return Value != nullptr && Value != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return Value; }

private:
    HANDLE Value;
};

// False when the file cannot be opened or read whole; text is then empty.
bool ReadWholeFile(const std::string& path, std::string& text);
bool WriteWholeFile(const std::string& path, const std::string& text);
bool AppendToFile(const std::string& path, const std::string& text);

// Folder of the module (DLL or executable) this code is linked into, ending in a backslash.
std::string OwnFolder();

std::string CurrentDirectory();

} // namespace sim
