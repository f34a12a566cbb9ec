#include "Application.h"

#include "FormMain.h"

#include "base/Box.h"
#include "base/Pump.h"
#include "base/Trace.h"

#include <commctrl.h>

TFormMain* FormMain = nullptr;

TApplication::~TApplication()
{
    // The window goes first (it releases the held board), then the object.
    FormMain = nullptr;
    MainForm.reset();
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    if (!InitCommonControlsEx(&controls))
        throw TException("Cannot initialise the common controls");
}

void TApplication::CreateForm()
{
    MainForm = std::make_unique<TFormMain>();
    FormMain = MainForm.get();
}

void TApplication::Run()
{
    if (!MainForm)
        return;
    MainForm->Show();
    while (MainForm->Handle() && RunOneMessage()) {
    }
}

void TApplication::ShowException(const TException& error)
{
    Trace("exception %s", TraceQuote(error.Message()).c_str());
    ShowBox(BoxKind::Error, BoxButtons::Ok, error.Message());
}

void ShowCurrentException(bool standardText) noexcept
{
    try {
        try {
            throw;
        } catch (const TException& error) {
            TApplication::ShowException(error);
        } catch (const std::exception& error) {
            TApplication::ShowException(TException(standardText ? error.what() : ""));
        } catch (...) {
            TApplication::ShowException(TException(""));
        }
    } catch (...) {
        // Showing the box failed too (out of memory); there is nothing left to show it with.
    }
}

void RunApplication()
{
    TApplication application;
    application.Initialize();
    application.CreateForm();
    application.Run();
}
