#include "Assert.h"

#include "Box.h"
#include "Trace.h"

#include <windows.h>

#include <string>

void AssertionFailed(const char* expression, const char* unit, int line)
{
    std::string text = std::string("Assertion failed: ") + expression + ", file " + unit + ", line " +
                       std::to_string(line);
    ShowBox(BoxKind::Error, BoxButtons::Ok, text);
    Trace("process ends after a failed assertion");
    ExitProcess(ASSERTION_EXIT_CODE);
}
