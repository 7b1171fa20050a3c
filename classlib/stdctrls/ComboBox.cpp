#include "classlib/stdctrls/ComboBox.h"

#include <algorithm>

#include "classlib/Unicode.h"

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>())
{
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TStrings&) { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox()
{
    items_->OnChange = nullptr;
}

void TCustomComboBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"COMBOBOX";
    p.style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (style_) {
    case csDropDown: p.style |= CBS_DROPDOWN; break;
    case csSimple: p.style |= CBS_SIMPLE; break;
    case csDropDownList: p.style |= CBS_DROPDOWNLIST; break;
    }
    // The window's height includes the dropped-down list.
    if (style_ != csSimple)
        p.height = std::max(Height(), 21) + dropDownCount_ * 16 + 4;
    p.caption.clear();
}

void TCustomComboBox::InitializeWnd()
{
    TWinControl::InitializeWnd();
    FillWindow();
    if (style_ == csDropDown && itemIndex_ < 0 && !text_.empty())
        SetWindowTextW(Handle(), Utf8ToWide(text_).c_str());
}

void TCustomComboBox::SaveWndState()
{
    itemIndex_ = ItemIndex();
    if (style_ == csDropDown)
        text_ = GetText();
}

void TCustomComboBox::FillWindow()
{
    if (!HandleAllocated())
        return;
    filling_ = true;
    HWND window = Handle();
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(items_->Get(i)).c_str()));
    const int index = itemIndex_ < items_->Count() ? itemIndex_ : -1;
    SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    filling_ = false;
}

void TCustomComboBox::ItemsChanged()
{
    // Keep the chosen text chosen when items move around it; the window still shows the
    // items as they were.
    if (HandleAllocated()) {
        HWND window = Handle();
        const auto index = SendMessageW(window, CB_GETCURSEL, 0, 0);
        itemIndex_ = -1;
        if (index >= 0) {
            const auto length = SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
            std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
            SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
            itemIndex_ = items_->IndexOf(WideToUtf8(text));
        }
        FillWindow();
    } else if (itemIndex_ >= items_->Count() && !Loading()) {
        itemIndex_ = -1;
    }
}

void TCustomComboBox::SetItems(TStrings* value)
{
    if (value && value != items_.get())
        items_->Assign(*value);
}

int TCustomComboBox::ItemIndex() const
{
    if (HandleAllocated())
        return static_cast<int>(SendMessageW(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (value < -1 || (value >= items_->Count() && !Loading()))
        value = -1;
    itemIndex_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomComboBox::Loaded()
{
    TWinControl::Loaded();
    if (itemIndex_ >= items_->Count())
        itemIndex_ = -1;
    FillWindow();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    RecreateWnd();
}

std::string TCustomComboBox::GetText() const
{
    if (style_ == csDropDownList || !HandleAllocated()) {
        const int index = ItemIndex();
        if (index >= 0 && index < items_->Count())
            return items_->Get(index);
        return style_ == csDropDownList ? std::string() : text_;
    }
    return TWinControl::GetText();
}

void TCustomComboBox::SetText(const std::string& value)
{
    const int index = items_->IndexOf(value);
    if (style_ == csDropDownList) {
        SetItemIndex(index);
        return;
    }
    if (index >= 0) {
        SetItemIndex(index);
        return;
    }
    SetItemIndex(-1);
    TWinControl::SetText(value);
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    // The window's height is that of the dropped-down box; the system sizes the closed one.
    if (HandleAllocated() && style_ != csSimple)
        SetWindowPos(Handle(), nullptr, 0, 0, width, std::max(height, 21) + dropDownCount_ * 16 + 4,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TCustomComboBox::DroppedDown() const
{
    return HandleAllocated() &&
           SendMessageW(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    SendMessageW(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::WndProc(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (filling_)
            return;
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
            itemIndex_ = ItemIndex();
            Select();
            break;
        case CBN_EDITCHANGE:
            Change();
            break;
        default:
            break;
        }
        return;
    }
    TWinControl::WndProc(m);
}
