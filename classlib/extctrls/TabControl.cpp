#include "classlib/extctrls/TabControl.h"

#include <commctrl.h>

#include "classlib/Unicode.h"
#include "classlib/graphics/ImageList.h"

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = WC_TABCONTROLW;
    p.style |= WS_CLIPCHILDREN;
    switch (tabPosition_) {
    case tpTop: break;
    case tpBottom: p.style |= TCS_BOTTOM; break;
    case tpLeft: p.style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: p.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
    if (multiLine_)
        p.style |= TCS_MULTILINE;
}

void TCustomTabControl::InitializeWnd()
{
    TWinControl::InitializeWnd();
    if (images_)
        SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    FillTabs();
}

void TCustomTabControl::SetTabPosition(TTabPosition value)
{
    if (value == tabPosition_)
        return;
    tabPosition_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool value)
{
    if (value == multiLine_)
        return;
    multiLine_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomTabControl::SetImages(TImageList* value)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_)
        images_->FreeNotification(this);
    if (HandleAllocated())
        SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_)
        SetImages(nullptr);
}

RECT TCustomTabControl::DisplayRect()
{
    RECT r = ClientRect();
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomTabControl::SetTabItems(const std::vector<std::pair<std::string, int>>& tabs, int selected)
{
    HWND h = Handle();
    SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        std::wstring text = Utf8ToWide(tabs[i].first);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text.data();
        item.iImage = tabs[i].second;
        SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int TCustomTabControl::SelectedTab()
{
    return HandleAllocated() ? static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0)) : -1;
}

void TCustomTabControl::TabChanged()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
        if (header->code == static_cast<UINT>(TCN_SELCHANGE))
            TabChanged();
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), tabs_(std::make_unique<TStringList>())
{
    tabs_->OnChange = [this](TStrings&) {
        if (tabIndex_ >= tabs_->Count())
            tabIndex_ = tabs_->Count() - 1;
        if (tabIndex_ < 0 && tabs_->Count() > 0)
            tabIndex_ = 0;
        if (HandleAllocated())
            FillTabs();
    };
}

TTabControl::~TTabControl() { tabs_->OnChange = nullptr; }

void TTabControl::SetTabs(TStrings* value)
{
    if (value)
        tabs_->Assign(*value);
}

void TTabControl::SetTabIndex(int value)
{
    if (value < -1 || value >= tabs_->Count())
        return;
    tabIndex_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TTabControl::FillTabs()
{
    std::vector<std::pair<std::string, int>> items;
    for (int i = 0; i < tabs_->Count(); ++i)
        items.emplace_back(tabs_->Get(i), -1);
    SetTabItems(items, tabIndex_);
}

void TTabControl::TabChanged()
{
    tabIndex_ = SelectedTab();
    TCustomTabControl::TabChanged();
}
