/*
 * The message box choke point: caption and icon from the kind, the real MessageBoxA unless a
 * test has put its hook in, and a trace line of the text, the buttons and the answer.
 */
#include "Box.h"

#include "Trace.h"

namespace {

HWND Owner = nullptr;
BoxHook Hook;

UINT IconOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Information: return MB_ICONINFORMATION;
    case BoxKind::Warning: return MB_ICONWARNING;
    case BoxKind::Error: return MB_ICONERROR;
    }
    return 0;
}

BoxAnswer AnswerOf(int id)
{
    switch (id) {
    case IDOK: return BoxAnswer::Ok;
    case IDYES: return BoxAnswer::Yes;
    case IDNO: return BoxAnswer::No;
    default: return BoxAnswer::Cancel;
    }
}

// The box owner, or the box of the owner that is open: a box asked while another is open (the
// close question above a run's warning) is owned by it, so that only the upper one takes input.
HWND OwnerNow()
{
    if (!Owner || !IsWindow(Owner))
        return nullptr;
    HWND popup = GetLastActivePopup(Owner);
    return popup && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup : Owner;
}

} // namespace

const char* BoxCaption(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Information: return "Information";
    case BoxKind::Warning: return "Warning";
    case BoxKind::Error: return "Error";
    }
    return "";
}

const char* BoxAnswerName(BoxAnswer answer)
{
    switch (answer) {
    case BoxAnswer::Ok: return "OK";
    case BoxAnswer::Yes: return "Yes";
    case BoxAnswer::No: return "No";
    case BoxAnswer::Cancel: return "Cancel";
    }
    return "";
}

void SetBoxOwner(HWND owner) { Owner = IsWindow(owner) ? owner : nullptr; }

void SetBoxHook(BoxHook hook) { Hook = std::move(hook); }

BoxAnswer ShowBox(BoxKind kind, BoxButtons buttons, const std::string& text)
{
    TBoxRequest request{kind, buttons, BoxCaption(kind), text};
    const char* buttonNames = buttons == BoxButtons::Ok ? "OK" : "Yes/No";
    Trace("box %s [%s] %s", request.Caption.c_str(), buttonNames, TraceQuote(text).c_str());

    BoxAnswer answer;
    if (Hook) {
        answer = Hook(request);
    } else {
        UINT type = IconOf(kind) | (buttons == BoxButtons::Ok ? MB_OK : MB_YESNO);
        HWND owner = OwnerNow();
        answer = AnswerOf(MessageBoxA(owner, text.c_str(), request.Caption.c_str(), type));
    }
    Trace("box answer %s", BoxAnswerName(answer));
    return answer;
}
