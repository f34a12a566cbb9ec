/*
 * The bench window's control numbers, apart from the window so that the UI driver can name
 * the controls in its scripts (BenchPowered, BenchPairsB, ...). No windows.h.
 */
#pragma once

namespace sim {

enum BenchControl : int {
    ID_BENCH_PATH = 1001,
    ID_BENCH_PROBLEM,
    ID_BENCH_JOURNAL,

    ID_BENCH_POWERED = 1101,
    ID_BENCH_CABLE,
    ID_BENCH_CONFIGURED,
    ID_BENCH_CHAIN,
    ID_BENCH_FIRMWARE,
    ID_BENCH_FIRMWARE_SET,
    ID_BENCH_LOOPBACK_MS,

    ID_BENCH_NO_QUARTUS = 1201,
    ID_BENCH_DOWNLOAD_FAILS,
    ID_BENCH_DOWNLOAD_MS,
    ID_BENCH_PROGRAMMER_EXIT,
    ID_BENCH_PROGRAMMER_CABLE,
    ID_BENCH_PROGRAMMER_MS,

    ID_BENCH_REPLY_FAULT = 1301,
    ID_BENCH_REPLY_FAULT_ON,
    ID_BENCH_OPEN_FAILS,
    ID_BENCH_WRITE_FAILS,
    ID_BENCH_READ_RESULT,
    ID_BENCH_FAULT_IN,

    // One pin-pair list per connector, A to D.
    ID_BENCH_PAIRS_A = 1401,
};

} // namespace sim
