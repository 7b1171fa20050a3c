// Which wrapper each child control of a skinned window gets: by the skin component's event,
// its class-name map and the control's class for class-library windows, by window class and
// style for the others.
#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string>
#include <vector>

#include "classlib/TypeInfo.h"
#include "classlib/controls/WinControl.h"
#include "classlib/extctrls/BitBtn.h"
#include "classlib/extctrls/Edit.h"
#include "classlib/extctrls/GroupBox.h"
#include "classlib/extctrls/Panel.h"
#include "classlib/extctrls/PageControl.h"
#include "classlib/extctrls/RadioButton.h"
#include "classlib/extctrls/RadioGroup.h"
#include "classlib/extctrls/SpeedButton.h"
#include "classlib/extctrls/StatusBar.h"
#include "classlib/extctrls/TrackBar.h"
#include "classlib/forms/Form.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinBox.h"
#include "skin/wrappers/SkinControl.h"
#include "skin/wrappers/WrapperFactory.h"

namespace {

constexpr std::size_t kMaxKindLength = 50;

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string ClassNameOf(const TPersistent* object)
{
    const TClassInfo* info = Classes().ClassOf(object);
    return info ? info->name : std::string();
}

bool OneOf(const std::string& name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

void SetPropIfAny(TPersistent* object, const std::string& name, const std::string& text)
{
    if (!HasProperty(object, name))
        return;
    try {
        SetPropText(object, name, text);
    } catch (const EPropertyError&) {
        // A property that refuses the value keeps its own.
    }
}

// A wrapper of its own for a window without a class-library control.
void WrapForeign(TSkinForm& form, HWND window, TWrapperKind kind)
{
    if (TSkinControl* wrapper = NewWrapper(kind, nullptr))
        wrapper->AttachWindow(window, form.SkinData, &form, &form.SharedCanvas2);
}

bool HasScrollBars(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

HWND HandleOf(TControl* control)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    return windowed && windowed->HandleAllocated() ? windowed->Handle() : nullptr;
}

bool WrappedBy(const TSkinForm& form, TControl* control)
{
    const HWND handle = HandleOf(control);
    return std::any_of(form.ChildSkins.begin(), form.ChildSkins.end(), [&](TSkinControl* w) {
        return w->Control == control || (handle && w->Handle == handle);
    });
}

// One dispatch step: the form skinner, its skin and the control at hand.
class TDispatch {
public:
    TDispatch(TSkinForm& form, TControl* control)
        : form_(form), skin_(*form.SkinData), control_(control), upper_(UpperCase(ClassNameOf(control)))
    {
    }

    bool Flag(TSkinControlType type) const { return skin_.SkinControls().Contains(type); }
    const std::string& UpperClass() const { return upper_; }

    HWND Handle() const { return HandleOf(control_); }

    TSkinControl* Wrap(TWrapperKind kind, bool colorControl = false) const { return WrapControl(control_, kind, colorControl); }

    TSkinControl* WrapControl(TControl* control, TWrapperKind kind, bool colorControl) const
    {
        TSkinControl* wrapper = NewWrapper(kind, control);
        if (!wrapper)
            return nullptr;
        wrapper->AttachControl(&form_, &skin_, colorControl, &form_.SharedCanvas2);
        if (!wrapper->Attached) {
            delete wrapper;
            return nullptr;
        }
        return wrapper;
    }

    // Each child control of a container through the whole dispatch.
    void ChildrenThroughDispatch() const
    {
        if (auto* container = dynamic_cast<TWinControl*>(control_))
            for (TControl* child : Children(container))
                form_.SkinChild(child);
    }

    // Each component the control owns that is a control.
    void OwnedThroughDispatch() const
    {
        std::vector<TControl*> owned;
        for (int i = 0; i < control_->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(control_->Components(i)))
                owned.push_back(c);
        for (TControl* c : owned)
            form_.SkinChild(c);
    }

    static std::vector<TControl*> Children(TWinControl* container)
    {
        std::vector<TControl*> children;
        for (int i = 0; i < container->ControlCount(); ++i)
            children.push_back(container->Controls(i));
        return children;
    }

    // The buttons of a radio or check group, then the group's frame.
    void Group(bool radio) const
    {
        auto* container = dynamic_cast<TWinControl*>(control_);
        if (container && Flag(xcRadioButton)) {
            const bool ownImages = upper_.find("TRZ") != std::string::npos;
            const TWrapperKind kind = ownImages ? (radio ? TWrapperKind::ObjImageRadio : TWrapperKind::ObjImageCheck)
                                                : (radio ? TWrapperKind::RadioButton : TWrapperKind::CheckBox);
            for (TControl* child : Children(container))
                if (!WrappedBy(form_, child))
                    WrapControl(child, kind, false);
        }
        if (radio || Flag(xcGroupBox))
            Wrap(TWrapperKind::GroupBox, true);
    }

    // A kind named by the skin component's class-name map.
    void ApplyKind(const std::string& kind) const
    {
        if (kind == "nil") {
            return;
        } else if (kind == "combobox") {
            if (Flag(xcCombo))
                Wrap(TWrapperKind::ComBox);
        } else if (kind == "edit") {
            if (Flag(xcEdit) && HasBorder())
                Wrap(TWrapperKind::Edit);
        } else if (kind == "radiobutton") {
            if (Flag(xcRadioButton))
                Wrap(TWrapperKind::RadioButton);
        } else if (kind == "panel") {
            if (Flag(xcPanel)) {
                SetPropIfAny(control_, "Transparent", "True");
                Wrap(TWrapperKind::Box, true);
            }
        } else if (kind == "trackbar") {
            if (Flag(xcButton)) {
                SetPropIfAny(control_, "Transparent", "True");
                Wrap(TWrapperKind::TrackBar);
            }
        } else if (kind == "button") {
            if (Flag(xcButton))
                Wrap(TWrapperKind::Button);
        } else if (kind == "bitbtn") {
            if (Flag(xcButton))
                Wrap(TWrapperKind::BitButton);
        } else if (kind == "speedbutton") {
            if (Flag(xcSpeedButton))
                Wrap(TWrapperKind::SpeedButton);
        } else if (kind == "tab") {
            if (Flag(xcTab) && skin_.Tabs)
                Wrap(TWrapperKind::Tab);
        } else if (kind == "progress") {
            if (Flag(xcProgress))
                Wrap(TWrapperKind::Progress);
        } else if (kind == "scrollbar") {
            if (Flag(xcScrollbar)) {
                Wrap(TWrapperKind::Scrollbar);
                OwnedThroughDispatch();
            }
        } else if (kind == "embedscrollbar") {
            if (auto* container = dynamic_cast<TWinControl*>(control_); container && Flag(xcScrollbar))
                for (TControl* child : Children(container))
                    if (HWND h = HandleOf(child); h && HasScrollBars(h))
                        WrapControl(child, TWrapperKind::Scrollbar, false);
        } else if (kind == "container") {
            ChildrenThroughDispatch();
        } else if (kind == "groupbox") {
            if (Flag(xcGroupBox))
                Wrap(TWrapperKind::GroupBox, true);
        } else if (kind == "radiogroup") {
            if (Flag(xcGroupBox))
                Group(true);
        } else if (kind == "checkgroup") {
            if (Flag(xcPanel))
                Group(false);
        } else if (kind == "checkbox") {
            if (Flag(xcCheckBox))
                Wrap(TWrapperKind::CheckBox);
        }
    }

    // The control's class decides; false when no rule matched.
    bool ApplyClassRules() const
    {
        const std::string& c = upper_;
        TControl* control = control_;
        if (dynamic_cast<TCustomCheckBox*>(control)) {
            if (Flag(xcCheckBox))
                Wrap(TWrapperKind::CheckBox);
        } else if (dynamic_cast<TRadioButton*>(control)) {
            if (Flag(xcRadioButton))
                Wrap(TWrapperKind::RadioButton);
        } else if (dynamic_cast<TRadioGroup*>(control)) {
            ApplyKind("radiogroup");
        } else if (dynamic_cast<TCustomGroupBox*>(control)) {
            ApplyKind("groupbox");
        } else if (dynamic_cast<TStatusBar*>(control)) {
            if (Flag(xcStatusBar))
                Wrap(TWrapperKind::StatusBar);
        } else if (dynamic_cast<TTabSheet*>(control)) {
            if (Flag(xcTab))
                Wrap(TWrapperKind::TabSheet);
        } else if (dynamic_cast<TSpeedButton*>(control)) {
            if (Flag(xcSpeedButton))
                Wrap(TWrapperKind::SpeedButton);
        } else if (dynamic_cast<TBitBtn*>(control)) {
            if (Flag(xcBitBtn))
                Wrap(TWrapperKind::BitButton);
        } else if (OneOf(c, {"TUPDOWN", "TSPINBUTTON"})) {
            if (Flag(xcSpin))
                Wrap(TWrapperKind::UpDown);
        } else if (c == "TDBNAVIGATOR") {
            if (Flag(xcPanel)) {
                Wrap(TWrapperKind::Box, true);
                ChildrenThroughDispatch();
            }
        } else if (OneOf(c, {"TRZDBCHECKBOX", "TRZCHECKBOX"})) {
            if (Flag(xcCheckBox))
                Wrap(TWrapperKind::ObjImageCheck);
        } else if (OneOf(c, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"})) {
            if (Flag(xcRadioButton))
                Wrap(TWrapperKind::ObjImageRadio);
        } else if (OneOf(c, {"TCXDBCHECKBOX", "TCXCHECKBOX"})) {
            if (Flag(xcCheckBox))
                Wrap(TWrapperKind::ObjImageCx);
        } else if (dynamic_cast<TProgressBar*>(control)) {
            if (Flag(xcProgress))
                Wrap(TWrapperKind::Progress);
        } else if (c == "TTNTCOMBOBOX" || dynamic_cast<TCustomComboBox*>(control)) {
            if (Flag(xcCombo))
                Wrap(TWrapperKind::ComBox);
        } else if (OneOf(c, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"})) {
            if (Flag(xcScrollbar))
                Wrap(TWrapperKind::Scrollbar);
        } else if (dynamic_cast<TCustomPanel*>(control)) {
            if (Flag(xcPanel)) {
                Wrap(TWrapperKind::Box, true);
                OwnedThroughDispatch();
            }
        } else if (OneOf(c, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"})) {
            if (Flag(xcScrollbar))
                Wrap(TWrapperKind::Scrollbar);
        } else if (dynamic_cast<TCustomListView*>(control)) {
            if (Flag(xcScrollbar))
                Wrap(TWrapperKind::ListView);
        } else if (dynamic_cast<TCustomTabControl*>(control)) {
            ApplyKind("tab");
        } else if (dynamic_cast<TTrackBar*>(control)) {
            if (Flag(xcTrackBar))
                Wrap(TWrapperKind::TrackBar);
        } else if (dynamic_cast<TCustomEdit*>(control)) {
            ApplyKind("edit");
        } else if (HWND h = Handle(); h && HasScrollBars(h)) {
            if (Flag(xcScrollbar))
                Wrap(TWrapperKind::Scrollbar);
        } else if (dynamic_cast<TButton*>(control)) {
            if (Flag(xcButton))
                Wrap(TWrapperKind::Button);
        } else if (OneOf(c, {"TDCEDIT", "TDCDBEDIT"})) {
            const std::int64_t buttons = GetOrdPropOr(control, "NumButtons", -1);
            if (buttons == 1 && Flag(xcCombo))
                Wrap(TWrapperKind::ComBox);
            else if (buttons == 0 && Flag(xcEdit) && Handle())
                WrapForeign(form_, Handle(), TWrapperKind::Edit);
        } else if (dynamic_cast<TCustomForm*>(control)) {
            Wrap(TWrapperKind::Box, true);
            OwnedThroughDispatch();
        } else {
            return false;
        }
        return true;
    }

private:
    bool HasBorder() const
    {
        HWND h = Handle();
        if (!h)
            return false;
        RECT window{}, client{};
        GetWindowRect(h, &window);
        GetClientRect(h, &client);
        return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
    }

    TSkinForm& form_;
    TSkinData& skin_;
    TControl* control_;
    std::string upper_;
};

bool AnswersSkinned(TControl* control)
{
    return control->Perform(SKM_ISSKINNED) == 1;
}

} // namespace

void TSkinForm::SkinChildren(TWinControl* container)
{
    FreeDeadChildSkins();
    if (!SkinData || !container)
        return;
    HookPopupMenus(container, true);
    std::vector<TControl*> owned;
    for (int i = 0; i < container->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(container->Components(i)))
            owned.push_back(control);
    for (TControl* control : owned)
        SkinChild(control);

    std::vector<TWinControl*> tabOrder;
    container->GetTabOrderList(tabOrder);
    for (TWinControl* control : tabOrder) {
        const bool covered = !control->HandleAllocated() || control->Tag() == SkinData->DisableTag() ||
                             AnswersSkinned(control) || ChildSkinOf(control->Handle());
        if (!covered)
            SkinChild(control);
    }
}

void TSkinForm::SkinChild(TControl* control)
{
    if (!control || !SkinData)
        return;
    const std::string lowerClass = LowerCase(ClassNameOf(control));
    if (control->Tag() == SkinData->DisableTag()) {
        // A group left alone leaves its buttons alone too.
        auto* container = dynamic_cast<TWinControl*>(control);
        if (container && (lowerClass.find("radiogroup") != std::string::npos ||
                          lowerClass.find("checkgroup") != std::string::npos))
            for (int i = 0; i < container->ControlCount(); ++i)
                container->Controls(i)->SetTag(SkinData->DisableTag());
        return;
    }
    if (!control->Parent() || AnswersSkinned(control) || WrappedBy(*this, control))
        return;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        try {
            windowed->HandleNeeded();
        } catch (const std::exception&) {
            return;
        }
        if (!windowed->HandleAllocated())
            return;
    }
    TDispatch dispatch(*this, control);

    if (SkinData->OnSkinControl) {
        TComponent* made = nullptr;
        SkinData->OnSkinControl(this, SkinData, dynamic_cast<TControl*>(control->Owner()), control,
                                dispatch.UpperClass(), made);
        if (auto* wrapper = dynamic_cast<TSkinControl*>(made)) {
            if (std::find(ChildSkins.begin(), ChildSkins.end(), wrapper) == ChildSkins.end())
                wrapper->AttachControl(this, SkinData, dynamic_cast<TSkinBox*>(wrapper) != nullptr, &SharedCanvas2);
            if (auto* panel = dynamic_cast<TCustomPanel*>(control))
                SkinChildren(panel);
        }
        return;
    }

    // The class-name map: the first line naming the class decides, whatever it creates.
    const std::string prefix = lowerClass + "=";
    if (TStrings* map = SkinData->Skin3rd(); map && !lowerClass.empty())
        for (int i = 0; i < map->Count(); ++i) {
            const std::string line = LowerCase(map->Get(i));
            if (line.rfind(prefix, 0) == 0) {
                dispatch.ApplyKind(line.substr(prefix.size(), kMaxKindLength));
                return;
            }
        }

    if (OneOf(dispatch.UpperClass(), {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"}))
        return;
    dispatch.ApplyClassRules();
}

void TSkinForm::SkinForeignChildren(HWND window)
{
    FreeDeadChildSkins();
    if (!SkinData)
        return;
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)
            children.push_back(child);
    for (HWND child : children)
        SkinForeignChild(child);
}

void TSkinForm::SkinForeignChild(HWND window)
{
    if (!SkinData || !IsWindow(window) || ChildSkinOf(window) || SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1)
        return;
    const std::string name = LowerCase(WindowClassName(window));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD type = style & BS_TYPEMASK;
    auto wrap = [this](HWND target, TWrapperKind kind) { WrapForeign(*this, target, kind); };
    auto colourFormObject = [&] {
        if (TControl* control = ControlFromHandle(window))
            control->SetColor(SkinData->ButtonFaceColour);
    };

    if (name == "button") {
        if ((type & BS_OWNERDRAW) == BS_OWNERDRAW || type == BS_GROUPBOX || (style & BS_BITMAP))
            return;
        if ((type & 2) || type == BS_3STATE)
            wrap(window, TWrapperKind::CheckBox);
        else if (type == BS_AUTORADIOBUTTON || (type & 4))
            wrap(window, TWrapperKind::RadioButton);
        else
            wrap(window, TWrapperKind::Button);
    } else if (name == "combobox") {
        if ((style & 3) != CBS_SIMPLE)
            wrap(window, TWrapperKind::ComBox);
    } else if (name == "comboboxex32") {
        if (HWND combo = GetWindow(window, GW_CHILD))
            wrap(combo, TWrapperKind::ComBox);
    } else if (name == "scrollbar") {
        // Size boxes get the face colour; a real bar keeps working under an overlay.
        if (!(style & 0x10000)) {
            if (style & (SBS_SIZEBOX | SBS_SIZEGRIP))
                wrap(window, TWrapperKind::Sizer);
            else if (SkinData->SkinControls().Contains(xcScrollbar))
                wrap(window, TWrapperKind::ScControl);
        }
    } else if (name == "#32770") {
        if (!(style & 0x10000)) {
            SkinForeignChildren(window);
            wrap(window, TWrapperKind::BoxH);
        }
    } else if (name == "tpanel") {
        SkinForeignChildren(window);
        colourFormObject();
    } else if (name == "tcheckbox") {
        wrap(window, TWrapperKind::CheckBox);
    } else if (name == "tcombobox") {
        wrap(window, TWrapperKind::ComBox);
    } else if (name == "tbutton") {
        wrap(window, TWrapperKind::Button);
    } else if (name == "tprogressbar") {
        wrap(window, TWrapperKind::Progress);
    } else if (name == "tsilentpaintpanel") {
        colourFormObject();
    } else if (name == "systabcontrol32") {
        if (!(style & 0x2000))
            wrap(window, TWrapperKind::Tab);
    } else if (name == "edit") {
        wrap(window, TWrapperKind::Edit);
    }
}
