// Which wrapper each child gets: class-library controls by the skin component's event, its
// class-name map and their class; a foreign dialog's controls by window class and style.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/TypeInfo.h"
#include "classlib/extctrls/BitBtn.h"
#include "classlib/extctrls/PageControl.h"
#include "classlib/extctrls/Panel.h"
#include "classlib/extctrls/RadioButton.h"
#include "classlib/extctrls/RadioGroup.h"
#include "classlib/extctrls/SpeedButton.h"
#include "classlib/extctrls/StatusBar.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "guikit/GuiKit.h"
#include "skin/wrappers/SkinBitButton.h"
#include "skin/wrappers/SkinBox.h"
#include "skin/wrappers/SkinBoxH.h"
#include "skin/wrappers/SkinCheckBox.h"
#include "skin/wrappers/SkinGroupBox.h"
#include "skin/wrappers/SkinRadioButton.h"
#include "skin/wrappers/SkinSpeedButton.h"
#include "skin/wrappers/SkinStatusBar.h"
#include "skin/wrappers/SkinTabSheet.h"
#include "skin/wrappers/WrapperFactory.h"
#include "skinwrappers/WrapperTestKit.h"

using namespace wraptest;

namespace {
// Classes of another library, known to the program only by name.
class TAdvPageControl : public TButton {
public:
    using TButton::TButton;
};
class TAdvCheck : public TCheckBox {
public:
    using TCheckBox::TCheckBox;
};
class TAdvButton : public TButton {
public:
    using TButton::TButton;
};

void RegisterForeignLibrary()
{
    TClassRegistry& r = Classes();
    if (r.Find("TAdvPageControl"))
        return;
    r.Register<TAdvPageControl, TButton>("TAdvPageControl");
    r.Register<TAdvCheck, TCheckBox>("TAdvCheck");
    r.Register<TAdvButton, TButton>("TAdvButton");
}

TSkinControl* WrapperOfControl(TSkinForm* frame, TControl* control)
{
    const auto& list = frame->ChildSkins;
    auto it = std::find_if(list.begin(), list.end(), [&](TSkinControl* w) { return w->Control == control; });
    return it == list.end() ? nullptr : *it;
}

template <class T>
bool WrappedAs(TSkinForm* frame, TControl* control)
{
    return dynamic_cast<T*>(WrapperOfControl(frame, control)) != nullptr;
}

TRadioGroup* AddRadioGroup(TSkinnedForm& host, int top, int tag)
{
    auto* group = host.Add<TRadioGroup>(200, top, 180, 50);
    group->SetCaption("Quality");
    group->SetColumns(2);
    group->Items()->Add("Fast");
    group->Items()->Add("Best");
    group->SetTag(tag);
    return group;
}
} // namespace

TEST(ChildDispatch, ClassLibraryControlsByClassNameMapAndClass)
{
    RegisterForeignLibrary();
    for (const bool radioFlag : {true, false}) {
        SCOPED_TRACE(radioFlag ? "radio buttons skinned" : "radio buttons not skinned");
        skindatatest::TTestSkin skin = MakeSkin();
        TSkinControlTypes controls = TSkinnedForm::TestControls();
        if (!radioFlag)
            controls.Exclude(xcRadioButton);
        TSkinnedForm host(skin, controls);
        host.skin->Skin3rd()->Add("TAdvCheck=RadioButton");
        host.skin->Skin3rd()->Add("TAdvButton=bitbtn");

        auto* mappedNil = host.Add<TAdvPageControl>(10, 10, 80, 25);
        auto* mappedRadio = host.Add<TAdvCheck>(10, 40, 80, 17);
        auto* mappedBitBtn = host.Add<TAdvButton>(10, 62, 80, 25);
        auto* left = AddRadioGroup(host, 10, 99);
        auto* skinned = AddRadioGroup(host, 70, 0);
        auto* panel = host.Add<TPanel>(10, 100, 180, 40);
        auto* speed = host.Add<TSpeedButton>(4, 4, 30, 30, panel);
        auto* bitBtn = host.Add<TBitBtn>(10, 150, 80, 25);
        auto* pages = host.Add<TPageControl>(200, 130, 180, 80);
        auto* sheet = new TTabSheet(host.form.get());
        sheet->SetCaption("Page");
        sheet->SetPageControl(pages);
        auto* status = new TStatusBar(host.form.get());
        status->SetParent(host.form.get());
        ASSERT_NE(host.Show(), nullptr);
        TSkinForm* frame = host.frame;

        // "TAdvPageControl=nil" keeps a button unskinned; a kind whose flag is off makes nothing
        // and stops there (the class would have made a check box of it).
        EXPECT_EQ(WrapperOfControl(frame, mappedNil), nullptr);
        EXPECT_FALSE(AnswersSkinned(mappedNil->Handle()));
        EXPECT_EQ(WrappedAs<TSkinRadioButton>(frame, mappedRadio), radioFlag);
        EXPECT_EQ(WrapperOfControl(frame, mappedRadio) != nullptr, radioFlag);
        EXPECT_TRUE(WrappedAs<TSkinBitButton>(frame, mappedBitBtn));

        // DisableTag on a radio group: neither it nor its buttons, which take the tag.
        EXPECT_EQ(WrapperOfControl(frame, left), nullptr);
        for (int i = 0; i < left->ButtonCount(); ++i) {
            EXPECT_EQ(left->Buttons(i)->Tag(), 99);
            EXPECT_EQ(WrapperOfControl(frame, left->Buttons(i)), nullptr);
            EXPECT_FALSE(AnswersSkinned(left->Buttons(i)->Handle()));
        }
        EXPECT_TRUE(WrappedAs<TSkinGroupBox>(frame, skinned));
        for (int i = 0; i < skinned->ButtonCount(); ++i)
            EXPECT_EQ(WrappedAs<TSkinRadioButton>(frame, skinned->Buttons(i)), radioFlag);

        EXPECT_TRUE(WrappedAs<TSkinBox>(frame, panel));
        EXPECT_EQ(ColorToRGB(panel->Color()), kFace);
        EXPECT_TRUE(WrappedAs<TSkinSpeedButton>(frame, speed));
        EXPECT_TRUE(WrappedAs<TSkinBitButton>(frame, bitBtn));
        EXPECT_TRUE(WrappedAs<TSkinTabSheet>(frame, sheet));
        EXPECT_TRUE(WrappedAs<TSkinStatusBar>(frame, status));
        // Nothing is wrapped twice.
        std::vector<TControl*> controlsSeen;
        for (TSkinControl* w : frame->ChildSkins)
            controlsSeen.push_back(w->Control);
        std::sort(controlsSeen.begin(), controlsSeen.end());
        EXPECT_EQ(std::adjacent_find(controlsSeen.begin(), controlsSeen.end()), controlsSeen.end());
        if (radioFlag)
            guikit::SaveScreenshot(host.form->Handle(), "skinwrappers-dispatch");
    }
}

TEST(ChildDispatch, TheSkinComponentsEventAloneDecidesWhenAssigned)
{
    TSkinnedForm host(MakeSkin());
    auto* check = host.Add<TCheckBox>(10, 10, 100, 17);
    auto* button = host.Add<TButton>(10, 40, 75, 25);
    std::vector<std::string> asked;
    host.skin->OnSkinControl = [&](TComponent* sender, TSkinData* skin, TControl* form, TControl* control,
                                   const std::string& className, TComponent*& made) {
        asked.push_back(className);
        EXPECT_EQ(skin, host.skin);
        EXPECT_EQ(form, host.form.get());
        EXPECT_NE(dynamic_cast<TSkinForm*>(sender), nullptr);
        if (control == check)
            made = new TSkinRadioButton(control);
    };
    ASSERT_NE(host.Show(), nullptr);
    EXPECT_NE(std::find(asked.begin(), asked.end(), "TCHECKBOX"), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), "TBUTTON"), asked.end());
    EXPECT_TRUE(WrappedAs<TSkinRadioButton>(host.frame, check));
    EXPECT_EQ(WrapperOfControl(host.frame, button), nullptr);
    EXPECT_TRUE(WaitForPixel(check->Handle(), kBoxSize / 2, 8, RadioColour(1)));
}

// ---- A dialog of the system's, built in memory ---------------------------------------------

namespace {
class TDialogTemplate {
public:
    TDialogTemplate(DWORD style, short cx, short cy, const wchar_t* title)
    {
        Dword(style | DS_SETFONT);
        Dword(0);
        countAt_ = data_.size();
        data_.push_back(0);
        for (short v : {short(10), short(10), cx, cy})
            data_.push_back(static_cast<WORD>(v));
        data_.push_back(0); // no menu
        data_.push_back(0); // the dialog class
        Text(title);
        data_.push_back(8);
        Text(L"MS Shell Dlg");
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const wchar_t* text)
    {
        while (data_.size() % 2)
            data_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy})
            data_.push_back(static_cast<WORD>(v));
        data_.push_back(id);
        data_.push_back(0xFFFF);
        data_.push_back(classAtom);
        Text(text);
        data_.push_back(0);
        ++data_[countAt_];
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    void Dword(DWORD v)
    {
        data_.push_back(LOWORD(v));
        data_.push_back(HIWORD(v));
    }
    void Text(const wchar_t* s)
    {
        while (*s)
            data_.push_back(*s++);
        data_.push_back(0);
    }
    std::vector<WORD> data_;
    std::size_t countAt_ = 0;
};

constexpr WORD kButtonAtom = 0x0080, kComboAtom = 0x0085;
std::vector<WORD>& Commands()
{
    static std::vector<WORD> commands;
    return commands;
}

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        Commands().push_back(LOWORD(wParam));
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

enum class TExpect { None, Button, CheckBox, Radio };
struct TForeignCase {
    DWORD style;
    WORD id;
    TExpect expect;
};
const TForeignCase kButtons[] = {
    {BS_PUSHBUTTON, 101, TExpect::Button},      {BS_DEFPUSHBUTTON, 102, TExpect::Button},
    {BS_OWNERDRAW, 103, TExpect::None},         {BS_AUTOCHECKBOX, 104, TExpect::CheckBox},
    {BS_CHECKBOX, 105, TExpect::CheckBox},      {BS_3STATE, 106, TExpect::CheckBox},
    {BS_AUTO3STATE, 107, TExpect::CheckBox},    {BS_RADIOBUTTON, 108, TExpect::Radio},
    {BS_AUTORADIOBUTTON, 109, TExpect::Radio},  {BS_GROUPBOX, 110, TExpect::None},
    {BS_PUSHBUTTON | BS_BITMAP, 111, TExpect::None},
};
} // namespace

TEST(ChildDispatch, ForeignDialogControlsByWindowClassAndStyle)
{
    TSkinnedForm host(MakeSkin());
    ASSERT_NE(host.Show(), nullptr);
    Commands().clear();

    TDialogTemplate outer(WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 200, L"Foreign");
    for (std::size_t i = 0; i < std::size(kButtons); ++i)
        outer.Item(kButtons[i].style | WS_TABSTOP, 8, static_cast<short>(6 + 14 * i), 110, 12, kButtons[i].id,
                   kButtonAtom, L"Item");
    outer.Item(CBS_DROPDOWNLIST | WS_VSCROLL, 130, 6, 100, 60, 112, kComboAtom, L"");
    TDialogTemplate nested(WS_CHILD | DS_CONTROL | WS_VISIBLE, 100, 40, L"");
    nested.Item(BS_PUSHBUTTON, 4, 4, 60, 14, 201, kButtonAtom, L"Inner");

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND dialog = CreateDialogIndirectParamW(instance, outer.Get(), host.form->Handle(), &DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND inner = CreateDialogIndirectParamW(instance, nested.Get(), dialog, &DialogProc, 0);
    ASSERT_NE(inner, nullptr);
    SetWindowPos(inner, nullptr, 200, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    TSkinForm* frame = nullptr;
    ASSERT_TRUE(guikit::WaitUntil([&] {
        frame = FindSkinForm(dialog);
        return frame && frame->Activated;
    }));
    guikit::PumpMessages();

    for (const TForeignCase& c : kButtons) {
        SCOPED_TRACE(c.id);
        HWND item = GetDlgItem(dialog, c.id);
        TSkinControl* wrapper = WrapperOf(frame, item);
        switch (c.expect) {
        case TExpect::None: EXPECT_EQ(wrapper, nullptr); break;
        case TExpect::Button:
            EXPECT_TRUE(dynamic_cast<TSkinButton*>(wrapper) && !dynamic_cast<TSkinBitButton*>(wrapper));
            break;
        case TExpect::CheckBox: EXPECT_NE(dynamic_cast<TSkinCheckBox*>(wrapper), nullptr); break;
        case TExpect::Radio: EXPECT_NE(dynamic_cast<TSkinRadioButton*>(wrapper), nullptr); break;
        }
        EXPECT_EQ(AnswersSkinned(item), c.expect != TExpect::None);
    }
    // Combo boxes are wrapped once their wrapper exists.
    EXPECT_EQ(WrapperOf(frame, GetDlgItem(dialog, 112)) != nullptr, WrapperFactory(TWrapperKind::ComBox) != nullptr);
    // The nested dialog: its children first, then itself.
    EXPECT_NE(dynamic_cast<TSkinBoxH*>(WrapperOf(frame, inner)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinButton*>(WrapperOf(frame, GetDlgItem(inner, 201))), nullptr);

    // Pictures: the default push button's fifth image, the box drawn over the system's own.
    HWND push = GetDlgItem(dialog, 101), defaultPush = GetDlgItem(dialog, 102), check = GetDlgItem(dialog, 104);
    const SIZE pushSize = guikit::ClientSize(push), checkSize = guikit::ClientSize(check);
    EXPECT_TRUE(WaitForPixel(defaultPush, 6, pushSize.cy / 2, ButtonColour(5)));
    EXPECT_TRUE(WaitForPixel(check, kBoxSize / 2, checkSize.cy / 2, CheckColour(1)));
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(WaitForPixel(check, kBoxSize / 2, checkSize.cy / 2, CheckColour(2)));

    // A click on a wrapped push button reaches the dialog once, from the wrapper.
    PostMessageW(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitForPixel(push, 6, pushSize.cy / 2, ButtonColour(2)));
    PostMessageW(push, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(guikit::WaitUntil([] { return !Commands().empty(); }));
    guikit::PumpMessages();
    EXPECT_EQ(std::count(Commands().begin(), Commands().end(), WORD{101}), 1);
    guikit::SaveScreenshot(dialog, "skinwrappers-foreign-dialog");
    DestroyWindow(dialog);
    guikit::PumpMessages();
}
