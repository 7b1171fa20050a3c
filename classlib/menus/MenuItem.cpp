#include "classlib/menus/MenuItem.h"

#include <algorithm>
#include <set>

#include "classlib/Unicode.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/menus/Menu.h"

namespace {

std::set<const TMenuItem*>& LiveItems()
{
    static std::set<const TMenuItem*> items;
    return items;
}

UINT NextCommand()
{
    // Ids of the system menu start at 0xF000; ours stay below.
    static UINT next = 0;
    next = next % 0xEFFF + 1;
    return next;
}

std::string KeyName(WORD key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return "F" + std::to_string(key - VK_F1 + 1);
    switch (key) {
    case VK_DELETE: return "Del";
    case VK_INSERT: return "Ins";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_HOME: return "Home";
    case VK_END: return "End";
    default: return "#" + std::to_string(key);
    }
}

} // namespace

TShortCut ShortCut(WORD key, TShiftState shift)
{
    TShortCut s = key & 0xFF;
    if (shift & (1u << ssShift))
        s |= scShift;
    if (shift & (1u << ssCtrl))
        s |= scCtrl;
    if (shift & (1u << ssAlt))
        s |= scAlt;
    return s;
}

std::string ShortCutToText(TShortCut s)
{
    if ((s & 0xFF) == 0)
        return {};
    std::string text;
    if (s & scShift)
        text += "Shift+";
    if (s & scCtrl)
        text += "Ctrl+";
    if (s & scAlt)
        text += "Alt+";
    return text + KeyName(static_cast<WORD>(s & 0xFF));
}

bool IsLiveMenuItem(const TMenuItem* item)
{
    return item && LiveItems().count(item) != 0;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand())
{
    LiveItems().insert(this);
}

TMenuItem::~TMenuItem()
{
    LiveItems().erase(this);
    while (!items_.empty())
        delete items_.back(); // removes itself
    if (parent_)
        parent_->Remove(this);
    DropHandle();
}

void TMenuItem::Changed()
{
    if (TMenu* menu = GetParentMenu())
        menu->ItemsChanged();
    else
        DropHandle();
}

void TMenuItem::SetCaption(std::string value)
{
    if (value == caption_)
        return;
    caption_ = std::move(value);
    Changed();
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value)
{
    if (value == visible_)
        return;
    visible_ = value;
    Changed();
}

void TMenuItem::SetShortCutKey(TShortCut value)
{
    if (value == shortCut_)
        return;
    shortCut_ = value;
    Changed();
}

void TMenuItem::SetImageIndex(int value)
{
    if (value == imageIndex_)
        return;
    imageIndex_ = value;
    Changed();
}

int TMenuItem::MenuIndex() const
{
    return parent_ ? parent_->IndexOf(this) : -1;
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item == this)
        return;
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item)
            throw EComponentError("A menu item cannot contain itself");
    if (item->parent_)
        item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->parent_ = nullptr;
    item->DropHandle();
    Changed();
}

void TMenuItem::Clear()
{
    while (!items_.empty())
        delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (parent_ && parent_->menu_)
        return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent)
{
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

void TMenuItem::DropHandle()
{
    for (TMenuItem* item : items_)
        item->DropHandle();
    // A drop-down inside a menu goes with that menu; only one made by Handle() is ours.
    if (handle_ && ownsHandle_ && IsMenu(handle_))
        DestroyMenu(handle_);
    handle_ = nullptr;
    ownsHandle_ = false;
}

HMENU TMenuItem::Handle()
{
    if (handle_ && IsMenu(handle_))
        return handle_;
    DropHandle();
    handle_ = CreatePopupMenu();
    ownsHandle_ = true;
    TMenu* menu = GetParentMenu();
    FillMenu(handle_, menu && menu->OwnerDraw(), false);
    return handle_;
}

void TMenuItem::FillMenu(HMENU menu, bool ownerDraw, bool menuBar)
{
    for (TMenuItem* item : items_) {
        if (!item->visible_)
            continue;
        std::wstring text = Utf8ToWide(item->caption_);
        if (!menuBar && item->shortCut_ && !item->IsLine())
            text += L"\t" + Utf8ToWide(ShortCutToText(item->shortCut_));
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
        mii.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (ownerDraw)
            mii.fType |= MFT_OWNERDRAW;
        mii.fState = (item->enabled_ ? MFS_ENABLED : MFS_DISABLED) | (item->checked_ ? MFS_CHECKED : 0u);
        mii.wID = item->command_;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        mii.dwTypeData = text.data();
        if (!item->items_.empty()) {
            item->DropHandle();
            item->handle_ = CreatePopupMenu();
            item->FillMenu(item->handle_, ownerDraw, false);
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = item->handle_;
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
    }
}

TMenuItem* TMenuItem::FindByCommand(UINT command)
{
    if (command_ == command && !menu_)
        return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->FindByCommand(command))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut shortCut)
{
    for (TMenuItem* item : items_) {
        if (item->shortCut_ == shortCut && item->visible_)
            return item;
        if (TMenuItem* found = item->FindByShortCut(shortCut))
            return found;
    }
    return nullptr;
}

void TMenuItem::Click()
{
    if (enabled_ && OnClick)
        OnClick(this);
}

void TMenuItem::DefaultMeasure(TCanvas* canvas, int& width, int& height) const
{
    if (IsLine()) {
        width = 10;
        height = 5;
        return;
    }
    std::string text = caption_;
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    SIZE size = canvas->TextExtent(text.empty() ? " " : text);
    width = size.cx + 8;
    if (shortCut_)
        width += canvas->TextWidth(ShortCutToText(shortCut_)) + 16;
    const bool bar = parent_ && parent_->menu_ && parent_->menu_->IsMenuBar();
    if (!bar)
        width += GetSystemMetrics(SM_CXMENUCHECK) + 8;
    height = std::max<int>(size.cy + 4, GetSystemMetrics(SM_CYMENUSIZE) - 1);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height)
{
    DefaultMeasure(canvas, width, height);
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, RECT rect, bool selected)
{
    if (OnDrawItem)
        OnDrawItem(this, canvas, rect, selected);
    else
        DefaultDraw(canvas, rect, selected);
}

void TMenuItem::DefaultDraw(TCanvas* canvas, RECT rect, bool selected) const
{
    HDC dc = canvas->Handle();
    canvas->RequireTools();
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsLine()) {
        RECT line{rect.left + 2, (rect.top + rect.bottom) / 2 - 1, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled_ ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const bool bar = parent_ && parent_->menu_ && parent_->menu_->IsMenuBar();
    RECT text = rect;
    text.left += bar ? 4 : GetSystemMetrics(SM_CXMENUCHECK) + 6;
    text.right -= 4;
    std::wstring caption = Utf8ToWide(caption_);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | (bar ? DT_CENTER : DT_LEFT));
    if (shortCut_) {
        std::wstring keys = Utf8ToWide(ShortCutToText(shortCut_));
        DrawTextW(dc, keys.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    if (checked_) {
        RECT mark{rect.left + 2, rect.top, rect.left + 2 + GetSystemMetrics(SM_CXMENUCHECK), rect.bottom};
        DrawTextW(dc, L"\x2713", 1, &mark, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
}
