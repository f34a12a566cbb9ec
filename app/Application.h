/*
 * The application object: it initialises the common controls, creates the main window as
 * the main form, runs the message loop until that window has gone, and shows exceptions in
 * its standard error box. Window procedures run every message through CallGuarded, because
 * a C++ exception must never unwind through the system's frames: it is caught where the
 * message is handled, shown, and the loop carries on with the next message.
 *
 * Trace line written here: exception "<message>" (then the box's own lines).
 */
#pragma once

#include "Exception.h"

#include <windows.h>

#include <memory>

class TFormMain;

class TApplication {
public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void Initialize();
    void CreateForm();
    // Shows the main form and dispatches messages until the main window has been destroyed.
    void Run();

    // The standard exception box: an error box with the exception's message.
    static void ShowException(const TException& error);

private:
    std::unique_ptr<TFormMain> MainForm;
};

// Inside a catch block: shows the exception being handled in the standard box. An exception
// of our class shows its message, a standard one its description (or nothing, without
// standardText: the process entry's last resort), anything else nothing. A box that cannot be
// shown itself (no memory left) is given up: nothing escapes.
void ShowCurrentException(bool standardText = true) noexcept;

template <typename Handler>
LRESULT CallGuarded(Handler&& handler, LRESULT onException = 0) noexcept
{
    try {
        return handler();
    } catch (...) {
        ShowCurrentException();
        return onException;
    }
}

// Steps of a normal start: initialise, create the main form, run until it closes.
void RunApplication();
