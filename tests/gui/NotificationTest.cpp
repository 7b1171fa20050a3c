// The class-library notifications reach a control's window method where a hook expects them,
// together with the Win32 effect of the change that caused them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Font.h"
#include "classlib/menus/Menu.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListView.h"
#include "guikit/GuiKit.h"

namespace {

struct Recorded {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A hook in front of a control's window method that writes down what passes.
class Recorder {
public:
    explicit Recorder(TControl* control) : control_(control), original_(control->WindowProc())
    {
        control->SetWindowProc([this](TMessage& m) {
            log.push_back({m.Msg, m.WParam, m.LParam});
            original_(m);
        });
    }
    ~Recorder() { control_->SetWindowProc(original_); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    bool Saw(UINT msg) const
    {
        return std::any_of(log.begin(), log.end(), [msg](const Recorded& r) { return r.msg == msg; });
    }
    const Recorded* Last(UINT msg) const
    {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->msg == msg)
                return &*it;
        return nullptr;
    }
    std::vector<Recorded> log;

private:
    TControl* control_;
    TWndMethod original_;
};

struct Fixture {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TButton* button = new TButton(form.get());
    TButton* other = new TButton(form.get());
    TCheckBox* check = new TCheckBox(form.get());
    TListView* list = new TListView(form.get());
    TLabel* label = new TLabel(form.get());
    TMainMenu* menu = new TMainMenu(form.get());
    std::map<TControl*, std::unique_ptr<Recorder>> rec;
    int clicks = 0;

    Fixture()
    {
        form->SetBounds(60, 60, 420, 300);
        for (TControl* c : std::initializer_list<TControl*>{button, other, check, list, label})
            c->SetParent(form.get());
        button->SetBounds(10, 10, 80, 25);
        button->SetCaption("&Rip");
        button->OnClick = [this](TComponent*) { ++clicks; };
        other->SetBounds(100, 10, 80, 25);
        other->SetCaption("Other");
        check->SetBounds(10, 50, 120, 17);
        check->SetCaption("Check");
        list->SetBounds(10, 80, 200, 120);
        list->SetViewStyle(vsReport);
        list->Columns()->AddItem()->SetCaption("A");
        list->Items()->Add()->SetCaption("row");
        label->SetBounds(250, 50, 80, 20);
        label->SetCaption("Label");
        form->Show();
        for (TControl* c : std::initializer_list<TControl*>{form.get(), button, other, check, list, label})
            rec[c] = std::make_unique<Recorder>(c);
    }
    Recorder& R(TControl* c) { return *rec.at(c); }
};

struct Case {
    const char* name;
    std::function<void(Fixture&)> act;
    std::function<TControl*(Fixture&)> where;
    UINT expected;
    std::function<bool(Fixture&)> effect; // the Win32 side of the change
};

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {"enabled changed", [](Fixture& f) { f.button->SetEnabled(false); },
         [](Fixture& f) -> TControl* { return f.button; }, CM_ENABLEDCHANGED,
         [](Fixture& f) { return !IsWindowEnabled(f.button->Handle()); }},
        {"visible changed", [](Fixture& f) { f.other->SetVisible(false); },
         [](Fixture& f) -> TControl* { return f.other; }, CM_VISIBLECHANGED,
         [](Fixture& f) { return !IsWindowVisible(f.other->Handle()) && f.R(f.other).Last(CM_VISIBLECHANGED)->wParam == 0; }},
        {"colour changed", [](Fixture& f) { f.check->SetColor(clRed); },
         [](Fixture& f) -> TControl* { return f.check; }, CM_COLORCHANGED,
         [](Fixture& f) { return f.check->Color() == clRed; }},
        {"font changed", [](Fixture& f) { f.button->Font()->SetHeight(-17); },
         [](Fixture& f) -> TControl* { return f.button; }, CM_FONTCHANGED,
         [](Fixture& f) {
             LOGFONTW lf{};
             GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.button->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
             return lf.lfHeight == -17;
         }},
        {"text changed", [](Fixture& f) { f.other->SetCaption("Renamed"); },
         [](Fixture& f) -> TControl* { return f.other; }, CM_TEXTCHANGED,
         [](Fixture& f) { return guikit::WindowText(f.other->Handle()) == "Renamed"; }},
        {"mouse enters a window", [](Fixture& f) { PostMessageW(f.other->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); },
         [](Fixture& f) -> TControl* { return f.other; }, CM_MOUSEENTER,
         [](Fixture& f) { return f.other->MouseInControl(); }},
        {"mouse leaves a window",
         [](Fixture& f) {
             SendMessageW(f.other->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
             PostMessageW(f.other->Handle(), WM_MOUSELEAVE, 0, 0);
         },
         [](Fixture& f) -> TControl* { return f.other; }, CM_MOUSELEAVE,
         [](Fixture& f) { return !f.other->MouseInControl(); }},
        {"mouse enters a windowless control",
         [](Fixture& f) { PostMessageW(f.form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(260, 55)); },
         [](Fixture& f) -> TControl* { return f.label; }, CM_MOUSEENTER,
         [](Fixture& f) { return f.label->MouseInControl(); }},
        {"mouse leaves a windowless control",
         [](Fixture& f) {
             SendMessageW(f.form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(260, 55));
             PostMessageW(f.form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(390, 250));
         },
         [](Fixture& f) -> TControl* { return f.label; }, CM_MOUSELEAVE,
         [](Fixture& f) { return !f.label->MouseInControl(); }},
        {"focus changed reaches every control", [](Fixture& f) { f.check->SetFocus(); },
         [](Fixture& f) -> TControl* { return f.button; }, CM_FOCUSCHANGED,
         [](Fixture& f) {
             return GetFocus() == f.check->Handle() &&
                    f.R(f.button).Last(CM_FOCUSCHANGED)->lParam == reinterpret_cast<LPARAM>(f.check);
         }},
        {"the focused control enters", [](Fixture& f) { f.check->SetFocus(); },
         [](Fixture& f) -> TControl* { return f.check; }, CM_ENTER,
         [](Fixture& f) { return f.form->ActiveControl() == f.check; }},
        {"the control losing the focus exits",
         [](Fixture& f) {
             f.check->SetFocus();
             guikit::PumpMessages();
             f.other->SetFocus();
         },
         [](Fixture& f) -> TControl* { return f.check; }, CM_EXIT,
         [](Fixture& f) { return f.form->ActiveControl() == f.other; }},
        {"Tab is a dialog key of the form",
         [](Fixture& f) {
             f.button->SetFocus();
             guikit::PumpMessages();
             guikit::PressKey(VK_TAB);
         },
         [](Fixture& f) -> TControl* { return f.form.get(); }, CM_DIALOGKEY,
         [](Fixture& f) { return GetFocus() == f.other->Handle(); }},
        {"an accelerator is a dialog character",
         [](Fixture& f) { PostMessageW(f.check->Handle(), WM_SYSCHAR, 'r', 1 << 29); },
         [](Fixture& f) -> TControl* { return f.form.get(); }, CM_DIALOGCHAR,
         [](Fixture& f) { return f.clicks == 1; }},
        {"a button's click comes back reflected", [](Fixture& f) { guikit::Click(f.button->Handle()); },
         [](Fixture& f) -> TControl* { return f.button; }, CN_COMMAND,
         [](Fixture& f) { return f.clicks == 1 && HIWORD(f.R(f.button).Last(CN_COMMAND)->wParam) == BN_CLICKED; }},
        {"a list view's notification comes back reflected",
         [](Fixture& f) { f.list->Items()->Item(0)->SetSelected(true); },
         [](Fixture& f) -> TControl* { return f.list; }, CN_NOTIFY,
         [](Fixture& f) { return f.list->ItemIndex() == 0; }},
        {"a check box's colour request comes back reflected",
         [](Fixture& f) { RedrawWindow(f.check->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); },
         [](Fixture& f) -> TControl* { return f.check; }, CN_CTLCOLORSTATIC,
         [](Fixture&) { return true; }},
        {"the check state changed", [](Fixture& f) { f.check->SetChecked(true); },
         [](Fixture& f) -> TControl* { return f.check; }, CM_STATECHANGED,
         [](Fixture& f) { return SendMessageW(f.check->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED && f.clicks == 0; }},
        {"the window was made again", [](Fixture& f) { f.list->SetBorderStyle(bsNone); },
         [](Fixture& f) -> TControl* { return f.list; }, CM_RECREATEWND,
         [](Fixture& f) {
             const auto ex = GetWindowLongPtrW(f.list->Handle(), GWL_EXSTYLE);
             return !(ex & WS_EX_CLIENTEDGE) && f.list->Items()->Count() == 1;
         }},
        {"the menu changed",
         [](Fixture& f) {
             auto* item = new TMenuItem(f.form.get());
             item->SetCaption("&File");
             f.menu->Items()->Add(item);
             f.form->SetMenu(f.menu);
             item->SetCaption("&Disc");
         },
         [](Fixture& f) -> TControl* { return f.form.get(); }, CM_MENUCHANGED,
         [](Fixture& f) {
             wchar_t text[32] = {};
             GetMenuStringW(GetMenu(f.form->Handle()), 0, text, 32, MF_BYPOSITION);
             return std::wstring(text) == L"&Disc";
         }},
    };
    return cases;
}

TEST(Notifications, ReachTheWindowMethodWithTheirEffect)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        Fixture f;
        guikit::PumpMessages();
        TControl* where = c.where(f);
        c.act(f);
        EXPECT_TRUE(guikit::WaitUntil([&] { return f.R(where).Saw(c.expected) && c.effect(f); }))
            << "seen: " << f.R(where).Saw(c.expected) << ", effect: " << c.effect(f);
    }
}

TEST(Notifications, DestroyingIsAnnouncedToTheHookOfAnyControl)
{
    Fixture f;
    for (TControl* c : std::initializer_list<TControl*>{f.label, f.check}) {
        f.rec.erase(c);
        bool told = false;
        TWndMethod original = c->WindowProc();
        c->SetWindowProc([&told, original](TMessage& m) {
            if (m.Msg == CM_DESTROYING)
                told = true;
            original(m);
        });
        delete c;
        EXPECT_TRUE(told);
    }
}

} // namespace
