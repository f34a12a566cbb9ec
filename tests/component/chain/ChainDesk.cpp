/*
 * The chain desk and its watchers. Each test case runs in its own process, so TMP and TEMP set
 * here are that test's alone.
 */
#include "ChainDesk.h"

#include "chain/Jtagbus.h"
#include "tests/support/TextFiles.h"

#include <memory>

DWORD MsSince(DWORD start) { return GetTickCount() - start; }

TDetection Detect(int cable)
{
    TDetection result;
    auto bus = std::make_unique<TJtagBus>();
    const DWORD start = GetTickCount();
    result.Ok = bus->DetectChain(result.List, cable);
    result.Ms = MsSince(start);
    return result;
}

ChainDesk::ChainDesk(const std::string& name, bool trailingBackslash) : TestBench("", name)
{
    std::string tmp = Folder;
    if (!trailingBackslash)
        tmp.pop_back();
    SetEnvironmentVariableA("TMP", tmp.c_str());
    SetEnvironmentVariableA("TEMP", tmp.c_str());
}

FileWatch::FileWatch(std::string batch, std::string report)
    : Batch(std::move(batch)), Report(std::move(report)), Poller([this] {
          bool bothGone = false;
          while (!Stop) {
              const bool batchThere = GetFileAttributesA(Batch.c_str()) != INVALID_FILE_ATTRIBUTES;
              const bool reportThere = GetFileAttributesA(Report.c_str()) != INVALID_FILE_ATTRIBUTES;
              BatchSeen = BatchSeen || batchThere;
              BatchAfterBothGone = BatchAfterBothGone || (bothGone && batchThere);
              bothGone = bothGone || (!batchThere && !reportThere);
              Sleep(1);
          }
      })
{
}

FileWatch::~FileWatch()
{
    Stop = true;
    Poller.join();
}

namespace {
BatchCapture* ActiveCapture = nullptr;
}

BatchCapture::BatchCapture(const std::string& batch) : Batch(batch)
{
    ActiveCapture = this;
    Timer = SetTimer(nullptr, 0, 50, &BatchCapture::OnTimer);
}

BatchCapture::~BatchCapture()
{
    KillTimer(nullptr, Timer);
    ActiveCapture = nullptr;
}

void CALLBACK BatchCapture::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    BatchCapture* capture = ActiveCapture;
    if (!capture || capture->Captured || GetFileAttributesA(capture->Batch.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    capture->Bytes = ReadText(capture->Batch);
    capture->Captured = true;
}
