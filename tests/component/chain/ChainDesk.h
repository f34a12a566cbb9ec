/*
 * A desk of its own for each chain detection test: a fresh temporary folder that the detection
 * takes as its working folder (TMP and TEMP of this process), a bench file the simulated
 * programmer reads (KV7_BENCH, inherited through cmd), and ways to watch what the detection
 * does with its two files and to answer its boxes.
 */
#pragma once

#include "base/Box.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// A folder under the system's temporary folder, made unique by the process and a counter,
// removed with its files at the end. The name may hold a blank on purpose.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return Folder; } // ends in a backslash
    std::string operator/(const char* file) const { return Folder + file; }

private:
    std::string Folder;
};

// The working folder and bench of one test. The folder is handed to the detection through
// TMP/TEMP, with or without its trailing backslash.
class ChainDesk {
public:
    explicit ChainDesk(const std::string& name = "kv7-chain", bool trailingBackslash = true);

    void Bench(const std::string& lines) const; // rewrites the bench file
    std::string Journal() const;                // what the simulated parts did, "" when nothing
    std::string BatchPath() const { return Temp / "KV7_Batch.bat"; }
    std::string ReportPath() const { return Temp / "KV7_Output.txt"; }
    const std::string& Folder() const { return Temp.Path(); }

    TempFolder Temp;
    std::string BenchPath;
};

std::string ReadFileBytes(const std::string& path); // shared read; "" when unreadable
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Polls the two temporary files every millisecond while a detection runs.
class FileWatch {
public:
    FileWatch(std::string batch, std::string report);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    std::atomic<bool> BatchSeen{false}; // the batch file existed at some moment
    // Neither file was there at one moment, and a batch file came after: the leftovers were
    // removed before the new batch was written.
    std::atomic<bool> BatchAfterBothGone{false};

private:
    std::string Batch;
    std::string Report;
    std::atomic<bool> Stop{false};
    std::thread Poller;
};

// Copies the batch file's bytes the first time the detection's waits dispatch messages (the
// batch is written by then and removed only at the end), through a thread timer.
class BatchCapture {
public:
    explicit BatchCapture(const std::string& batch);
    ~BatchCapture();
    BatchCapture(const BatchCapture&) = delete;
    BatchCapture& operator=(const BatchCapture&) = delete;

    std::string Bytes;
    bool Captured = false;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::string Batch;
    UINT_PTR Timer;
};

// Records every box and answers OK; released at the end of the test.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    std::vector<BoxRequest> Boxes;
};

// The HKLM Quartus value as the test run set it; put back however the test ends.
class QuartusRegistry {
public:
    QuartusRegistry();
    ~QuartusRegistry();
    QuartusRegistry(const QuartusRegistry&) = delete;
    QuartusRegistry& operator=(const QuartusRegistry&) = delete;

    const std::string& Original() const { return Value; }
    void Set(const std::string& value) const;
    void Remove() const;

private:
    std::string Value;
    bool Present = false;
};

DWORD MsSince(DWORD start);
