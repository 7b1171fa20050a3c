#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "classlib/Component.h"
#include "classlib/Exception.h"

class TCustomForm;

using TExceptionEvent = std::function<void(TComponent* sender, const std::exception& e)>;

// The program: its title, its forms and the message loop. The first TApplication made
// becomes the global Application.
class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    std::string Title() const { return title_; }
    void SetTitle(std::string value) { title_ = std::move(value); }
    // Common controls and COM for the shell dialogs.
    void Initialize();

    // Makes a form owned by the application and reads its description; the first one
    // becomes the main form. An error during creation is shown (the start-up error
    // display) and ends the program: Run returns at once and ExitCode is 1.
    template <class T>
    void CreateForm(T*& reference)
    {
        reference = nullptr;
        CreateFormWith([this, &reference]() -> TCustomForm* {
            reference = new T(this);
            return reference;
        }, [&reference] { reference = nullptr; });
    }
    TCustomForm* MainForm() const { return mainForm_; }

    // Shows the main form and handles messages until Terminate or the main form closes.
    void Run();
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, waiting for one when none is there.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    int ExitCode() const { return exitCode_; }
    void SetExitCode(int value) { exitCode_ = value; }

    // A message box owned by the main form (or the active window).
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // The error's message in a box titled with the application title.
    void ShowException(const std::exception& e);
    // Where errors of message handlers end: OnException, else ShowException.
    void HandleException(const std::exception& e);
    // Keyboard handling before a message is dispatched: shortcuts, dialog keys.
    bool IsKeyMsg(const MSG& msg);

    TExceptionEvent OnException;

private:
    friend class TCustomForm;
    // A form is going away: the application forgets it if it was the main form.
    void FormDestroyed(TCustomForm* form);
    void CreateFormWith(const std::function<TCustomForm*()>& make, const std::function<void()>& forget);
    bool ProcessMessage(MSG& msg);
    HWND OwnerWindow() const;

    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    int exitCode_ = 0;
};

// The program's application object (the first TApplication made), or nullptr.
extern TApplication* Application;

// The standard message dialog: the text, titled with the application title, one OK button.
void ShowMessage(const std::string& text);
