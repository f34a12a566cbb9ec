/*
 * A desk of its own for each chain detection test: a bench whose folder the detection also
 * takes as its working folder (TMP and TEMP of this process), and ways to watch what the
 * detection does with its two files there.
 */
#pragma once

#include "chain/ChainDevice.h"
#include "tests/support/TestBench.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

// The working folder and bench of one test. The folder is handed to the detection through
// TMP/TEMP, with or without its trailing backslash; its name may hold a blank on purpose.
class ChainDesk : public TestBench {
public:
    explicit ChainDesk(const std::string& name = "kv7-chain", bool trailingBackslash = true);

    std::string BatchPath() const { return Folder + "KV7_Batch.bat"; }
    std::string ReportPath() const { return Folder + "KV7_Output.txt"; }
    // Neither temporary file is there.
    bool NoFileLeft() const
    {
        return GetFileAttributesA(BatchPath().c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesA(ReportPath().c_str()) == INVALID_FILE_ATTRIBUTES;
    }
};

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

DWORD MsSince(DWORD start);

// One whole detection on a bus of its own, as bring-up makes it, and how long it took.
struct TDetection {
    bool Ok;
    TChainList List;
    DWORD Ms;
};
TDetection Detect(int cable = 0);
