#include "SessionEnd.h"

#include <utility>
#include <vector>

namespace {

// The holders in the order they began to hold; one thread, so no lock.
std::vector<TSessionEndRelease*> Holders;

} // namespace

TSessionEndRelease::TSessionEndRelease(std::function<void()> release) : Release(std::move(release))
{
    Holders.push_back(this);
}

TSessionEndRelease::~TSessionEndRelease() { std::erase(Holders, this); }

void TSessionEndRelease::ReleaseNow()
{
    if (auto release = std::exchange(Release, nullptr))
        release();
}

void ReleaseForSessionEnd()
{
    for (auto holder = Holders.rbegin(); holder != Holders.rend(); ++holder)
        (*holder)->ReleaseNow();
}
