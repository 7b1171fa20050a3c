#include "classlib/forms/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include "classlib/Unicode.h"
#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "classlib/forms/Screen.h"
#include "classlib/menus/Menu.h"

TApplication* Application = nullptr;

TApplication::TApplication() : TComponent(nullptr)
{
    if (!Application)
        Application = this;
}

TApplication::~TApplication()
{
    // Forms first, while the application still answers for them.
    while (ComponentCount() > 0)
        delete Components(ComponentCount() - 1);
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::CreateFormWith(const std::function<TCustomForm*()>& make, const std::function<void()>& forget)
{
    if (terminated_)
        return;
    TCustomForm* form = nullptr;
    try {
        form = make();
        form->InitializeForm();
    } catch (const std::exception& e) {
        delete form;
        forget();
        ShowException(e);
        exitCode_ = 1;
        Terminate();
        return;
    }
    if (!mainForm_)
        mainForm_ = form;
}

void TApplication::FormDestroyed(TCustomForm* form)
{
    if (form == mainForm_)
        mainForm_ = nullptr;
}

void TApplication::Run()
{
    if (!mainForm_ || terminated_)
        return;
    mainForm_->Show();
    // The program ends when it is told to or when its main form is gone.
    while (!terminated_ && mainForm_)
        HandleMessage();
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg))
        WaitMessage();
}

void TApplication::Terminate()
{
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(exitCode_);
    }
}

bool TApplication::IsKeyMsg(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR)
        return false;
    auto* control = dynamic_cast<TWinControl*>(FindControl(msg.hwnd));
    if (!control)
        return false;
    TCustomForm* form = GetParentForm(control);
    if (msg.message == WM_SYSCHAR)
        return form && form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    if (form && form->Menu() && form->Menu()->IsShortCut(static_cast<WORD>(msg.wParam), KeyboardShiftState()))
        return true;
    const UINT reflected = msg.message == WM_KEYDOWN ? CN_KEYDOWN : CN_SYSKEYDOWN;
    return control->Perform(reflected, msg.wParam, msg.lParam) != 0;
}

HWND TApplication::OwnerWindow() const
{
    if (mainForm_ && mainForm_->HandleAllocated() && IsWindowVisible(mainForm_->Handle()))
        return mainForm_->Handle();
    return GetActiveWindow();
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    return ::MessageBoxW(OwnerWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
}

void TApplication::ShowException(const std::exception& e)
{
    const std::string text = e.what();
    ::MessageBoxW(OwnerWindow(), Utf8ToWide(text).c_str(), Utf8ToWide(title_).c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(const std::exception& e)
{
    if (OnException)
        OnException(this, e);
    else
        ShowException(e);
}

void ShowMessage(const std::string& text)
{
    HWND owner = GetActiveWindow();
    if (!owner && Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
        owner = Application->MainForm()->Handle();
    const std::string title = Application ? Application->Title() : std::string();
    MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), MB_OK);
}
