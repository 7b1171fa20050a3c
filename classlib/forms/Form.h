#pragma once
#include <functional>
#include <string>

#include "classlib/controls/WinControl.h"

class TMainMenu;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = unsigned; // bit n = TBorderIcon n
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

// A top-level window holding controls. Forms are built in two steps: the constructor, then
// InitializeForm, which reads the form's stored description (a resource named after the
// form's class, else the text given to SetFallbackDescription), then runs OnCreate.
// TApplication::CreateForm does both.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    void InitializeForm();
    // The description used when the program holds no resource for the form's class.
    void SetFallbackDescription(std::string text) { fallbackDescription_ = std::move(text); }
    // The resource name: the registered class name in upper case ("TFORM1").
    std::string DescriptionResourceName() const;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* value);
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* value);
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value) { autoScroll_ = value; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }

    RECT ClientRect() const override;
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    // Shows the form with the program's other windows disabled until ModalResult is set.
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    // Asks OnCloseQuery, then OnClose decides what happens (the main form ends the program).
    void Close();
    bool CloseQuery();
    // Deletes the form once the messages already queued for it have been handled.
    void Release();

    // Focus bookkeeping, called by the form's controls.
    void ControlFocused(TWinControl* control);
    void ControlRemoved(TControl* control);
    // Moves the focus to the next tab stop (Tab) or the previous one (Shift+Tab).
    void FocusNext(bool forward);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // Reads a stored description into this form (its class must be registered).
    virtual void ReadDescription(const std::string& text);

private:
    void StyleFromBorder(DWORD& style, DWORD& exStyle) const;
    void ApplyClientSize();
    void FocusFirst();

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
    TPosition position_ = poDesigned;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    bool autoScroll_ = false;
    bool keyPreview_ = false;
    int clientWidth_ = -1;
    int clientHeight_ = -1;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool positioned_ = false;
    std::string fallbackDescription_;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};
