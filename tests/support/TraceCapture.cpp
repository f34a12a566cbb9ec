#include "TraceCapture.h"

#include <cstdio>

TraceCapture::TraceCapture() : Handler(AddVectoredExceptionHandler(1, OnException)) { Active = this; }

TraceCapture::~TraceCapture()
{
    RemoveVectoredExceptionHandler(Handler);
    Active = nullptr;
}

std::string TraceCapture::LineStarting(const std::string& start) const
{
    std::lock_guard guard(Lock);
    for (const std::string& line : Lines)
        if (line.rfind(start, 0) == 0)
            return line;
    return std::string();
}

LONG CALLBACK TraceCapture::OnException(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2 && Active) {
        const char* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        std::fputs(text, stderr);
        std::lock_guard guard(Active->Lock);
        Active->Lines.emplace_back(text, std::char_traits<char>::length(text) - 1); // no '\n'
    }
    return EXCEPTION_CONTINUE_SEARCH;
}
