/*
 * A fresh folder of a test's own under the system's temporary folder, removed with all it holds
 * when the test is done. The name carries the process id and a counter, so tests running side
 * by side never meet; it may carry a blank on purpose, as a real temporary folder can.
 */
#pragma once

#include <string>

class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return Folder; } // ends in a backslash
    std::string operator/(const std::string& file) const { return Folder + file; }

private:
    std::string Folder;
};
