/*
 * The programmer and every process it starts, held in one job object so that they can be
 * ended together. The programmer runs through the command interpreter of the batch file, which
 * starts quartus_pgm.exe with its output redirected into the report file: ending only the
 * process we started would leave the programmer running with the report file open, and the
 * file could not be removed.
 */
#pragma once

#include "base/Handles.h"

#include <windows.h>

class TProgrammerJob {
public:
    TProgrammerJob();

    // Puts a process created suspended into the job, before it can start another. False when
    // the system refuses (the program itself runs in a job that allows no other); the process
    // then runs outside any job and EndAll cannot reach what it starts.
    bool Adopt(HANDLE process);

    // Ends every process of the job and waits, briefly, until they are gone, so that the files
    // they held can be removed.
    void EndAll();

private:
    UniqueHandle Job;
};
