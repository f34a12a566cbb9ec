/*
 * Chain detection: runs the Quartus programmer through a batch file to list the devices on
 * one USB-Blaster cable's JTAG chain, waits for it while the window stays alive, and reads
 * the devices from its report. The object keeps no state; it only groups the operations, and
 * lives on the heap for one detection.
 *
 * This header stays free of windows.h; the report reader and the device-block parser it calls
 * are free functions of the host-built core (chain/ChainReport.h), and stay there, fuzzed on
 * the host, rather than behind a member of this class.
 */
#pragma once

#include "chain/ChainDevice.h"

#include <cstdint>
#include <string>

class TJtagBus {
public:
    // True when the programmer ended with exit code 0 and its report yielded at least one
    // device; list (supplied empty) then holds them in report order. Shows no box itself (a
    // failure's reason goes to the trace); the report reading under it may (LoadChainReport).
    bool DetectChain(TChainList& list, int cable);

    // The folder named by the registry, or "" when the key or value is missing.
    std::wstring GetQuartusInstallDir();

    // Runs the command line with no console window; true only when the process was seen to end
    // with code 0.
    bool QuartusExecute(const std::string& commandLine, std::uint32_t timeoutMs);

    // Lets the window live for the given time.
    void DelayWithMessages(std::uint32_t durationMs);

    // True once the file can be opened with no sharing, i.e. no other process holds it.
    bool WaitFileReady(const std::string& path, std::uint32_t timeoutMs);

    // Reads the report at path and appends the devices listed for the cable (ReadChainReport).
    // A file that cannot be opened or read shows an error box ("Cannot open file <path>");
    // one that yields fewer bytes than its size is only traced. True when a device was read.
    bool LoadChainReport(TChainList& list, const std::string& path, int cable);
};
