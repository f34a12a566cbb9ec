// A program that faults in its own code under the process entry's guards, as a broken build of
// the tool would. fatal_probe <mutex name> <file> overflow|null: the stack overflows, or a null
// pointer is written through. The file gets the base its exe was loaded at ("base|<hex>"), then
// the caption and text of every box, each box answered.
#include "app/Entry.h"
#include "base/Box.h"
#include "base/Fault.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

volatile int ZERO = 0;
int* volatile NULL_POINTER = nullptr;

int Deeper(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return ZERO == 0 ? Deeper(depth + 1) + frame[0] : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string file = argv[2];
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fprintf(out, "base|%s\n", HexAddress(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))).c_str());
        std::fclose(out);
    }
    SetBoxHook([file](const TBoxRequest& box) {
        if (FILE* out = std::fopen(file.c_str(), "ab")) {
            std::fprintf(out, "%s|%s\n", box.Caption.c_str(), box.Text.c_str());
            std::fclose(out);
        }
        return BoxAnswer::Ok;
    });
    if (std::string(argv[3]) == "overflow")
        return RunSingleInstance(argv[1], [] { ZERO = Deeper(0); });
    return RunSingleInstance(argv[1], [] { *NULL_POINTER = 0; });
}
