#include "classlib/stdctrls/ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Unicode.h"
#include "classlib/graphics/Font.h"

// ---- TListColumn ------------------------------------------------------------------------

namespace {
TCustomListView& ViewOf(const TListColumn& column)
{
    return static_cast<TListColumns*>(column.Collection())->Owner();
}
} // namespace

void TListColumn::SetCaption(std::string value)
{
    caption_ = std::move(value);
    Changed();
}

int TListColumn::Width() const
{
    TCustomListView& view = ViewOf(*this);
    if (view.HandleAllocated())
        return static_cast<int>(SendMessageW(view.Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    return width_;
}

void TListColumn::SetWidth(int value)
{
    width_ = value;
    Changed();
}

// ---- TListItem ---------------------------------------------------------------------------

TListItem::TListItem(TListItems& owner) : owner_(owner), subItems_(std::make_unique<TStringList>())
{
    subItems_->OnChange = [this](TStrings&) { UpdateRow(); };
}

TListItem::~TListItem()
{
    subItems_->OnChange = nullptr;
}

int TListItem::Index() const
{
    return owner_.IndexOf(this);
}

void TListItem::UpdateRow()
{
    const int index = Index();
    if (index >= 0)
        owner_.Owner().UpdateRow(index);
}

void TListItem::SetCaption(std::string value)
{
    caption_ = std::move(value);
    UpdateRow();
}

bool TListItem::Checked() const
{
    TCustomListView& view = owner_.Owner();
    const int index = Index();
    if (view.HandleAllocated() && view.Checkboxes() && index >= 0) {
        const auto state = SendMessageW(view.Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
        return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    return checked_;
}

void TListItem::SetChecked(bool value)
{
    checked_ = value;
    UpdateRow();
}

bool TListItem::Selected() const
{
    TCustomListView& view = owner_.Owner();
    const int index = Index();
    if (!view.HandleAllocated() || index < 0)
        return false;
    return (SendMessageW(view.Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value)
{
    TCustomListView& view = owner_.Owner();
    const int index = Index();
    if (!view.HandleAllocated() || index < 0)
        return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = value ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(view.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TListItem::Delete()
{
    const int index = Index();
    if (index >= 0)
        owner_.Delete(index);
}

// ---- TListItems --------------------------------------------------------------------------

TListItems::~TListItems() = default;

int TListItems::IndexOf(const TListItem* item) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

TListItem* TListItems::Add()
{
    return Insert(Count());
}

TListItem* TListItems::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, std::make_unique<TListItem>(*this));
    owner_.InsertRow(index);
    return items_[static_cast<std::size_t>(index)].get();
}

void TListItems::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    owner_.DeleteRow(index);
    items_.erase(items_.begin() + index);
}

void TListItems::Clear()
{
    if (owner_.HandleAllocated())
        SendMessageW(owner_.Handle(), LVM_DELETEALLITEMS, 0, 0);
    items_.clear();
}

void TListItems::BeginUpdate()
{
    if (updateCount_++ == 0 && owner_.HandleAllocated())
        SendMessageW(owner_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && owner_.HandleAllocated()) {
        SendMessageW(owner_.Handle(), WM_SETREDRAW, TRUE, 0);
        owner_.Invalidate();
    }
}

// ---- TCustomListView ---------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), columns_(std::make_unique<TListColumns>(*this)), items_(std::make_unique<TListItems>(*this))
{
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
    columns_->OnUpdate = [this](TCollection&, TCollectionItem* item) {
        if (item)
            UpdateColumn(item->Index());
        else
            FillColumns();
    };
}

TCustomListView::~TCustomListView()
{
    columns_->OnUpdate = nullptr;
}

void TCustomListView::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = WC_LISTVIEWW;
    static constexpr DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.style |= views[viewStyle_] | LVS_SHAREIMAGELISTS;
    if (!hideSelection_)
        p.style |= LVS_SHOWSELALWAYS;
    if (!readOnly_)
        p.style |= LVS_EDITLABELS;
    if (!multiSelect_)
        p.style |= LVS_SINGLESEL;
    if (borderStyle_ == bsSingle) {
        if (ctl3D_)
            p.exStyle |= WS_EX_CLIENTEDGE;
        else
            p.style |= WS_BORDER;
    }
    p.caption.clear();
}

void TCustomListView::ApplyExtendedStyle()
{
    if (!HandleAllocated())
        return;
    DWORD ex = 0;
    if (checkboxes_)
        ex |= LVS_EX_CHECKBOXES;
    if (gridLines_)
        ex |= LVS_EX_GRIDLINES;
    if (rowSelect_)
        ex |= LVS_EX_FULLROWSELECT;
    SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, ex);
}

void TCustomListView::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    SendMessageW(Handle(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
    ApplyExtendedStyle();
    FillColumns();
    FillRows();
    if (savedSelection_ >= 0 && savedSelection_ < items_->Count())
        items_->Item(savedSelection_)->SetSelected(true);
}

void TCustomListView::SaveWndState()
{
    syncing_ = true;
    for (int i = 0; i < items_->Count(); ++i)
        items_->Item(i)->checked_ = items_->Item(i)->Checked();
    for (int i = 0; i < columns_->Count(); ++i)
        columns_->Items(i)->SetWidth(columns_->Items(i)->Width());
    savedSelection_ = ItemIndex();
    syncing_ = false;
}

void TCustomListView::FillColumns()
{
    if (!HandleAllocated() || syncing_)
        return;
    HWND window = Handle();
    while (SendMessageW(window, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < columns_->Count(); ++i) {
        TListColumn* column = columns_->Items(i);
        std::wstring text = Utf8ToWide(column->Caption());
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = text.data();
        lvc.cx = column->width_;
        lvc.iSubItem = i;
        SendMessageW(window, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lvc));
    }
    FillRows();
}

void TCustomListView::UpdateColumn(int index)
{
    if (!HandleAllocated() || syncing_)
        return;
    HWND header = ListView_GetHeader(Handle());
    if (!header || Header_GetItemCount(header) != columns_->Count()) {
        FillColumns();
        return;
    }
    TListColumn* column = columns_->Items(index);
    std::wstring text = Utf8ToWide(column->Caption());
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH;
    lvc.pszText = text.data();
    lvc.cx = column->width_;
    SendMessageW(Handle(), LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lvc));
}

void TCustomListView::FillRows()
{
    if (!HandleAllocated())
        return;
    SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        InsertRow(i);
}

void TCustomListView::InsertRow(int index)
{
    if (!HandleAllocated())
        return;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    std::wstring text = Utf8ToWide(items_->Item(index)->caption_);
    item.pszText = text.data();
    SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    UpdateRow(index);
}

void TCustomListView::DeleteRow(int index)
{
    if (HandleAllocated())
        SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TCustomListView::UpdateRow(int index)
{
    if (!HandleAllocated() || syncing_ || index >= static_cast<int>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0)))
        return;
    syncing_ = true;
    TListItem* row = items_->Item(index);
    HWND window = Handle();
    LVITEMW item{};
    item.iItem = index;
    std::wstring caption = Utf8ToWide(row->caption_);
    item.pszText = caption.data();
    item.iSubItem = 0;
    SendMessageW(window, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    for (int i = 0; i < row->subItems_->Count(); ++i) {
        std::wstring text = Utf8ToWide(row->subItems_->Get(i));
        item.iSubItem = i + 1;
        item.pszText = text.data();
        SendMessageW(window, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    if (checkboxes_) {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(row->checked_ ? 2 : 1);
        SendMessageW(window, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    }
    syncing_ = false;
}

void TCustomListView::WndProc(TMessage& m)
{
    if (m.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header->code == LVN_ITEMCHANGED) {
            auto* change = reinterpret_cast<NMLISTVIEW*>(m.LParam);
            // The user ticked a box: the row keeps what the window shows.
            if (!syncing_ && change->iItem >= 0 && change->iItem < items_->Count() &&
                (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) {
                const unsigned image = (change->uNewState & LVIS_STATEIMAGEMASK) >> 12;
                if (image != 0)
                    items_->Item(change->iItem)->checked_ = image == 2;
            }
            if (OnChange && !syncing_)
                OnChange(this);
        }
        return;
    }
    if (m.Msg == CM_COLORCHANGED && HandleAllocated()) {
        SendMessageW(Handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
        SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    }
    TWinControl::WndProc(m);
}

TListItem* TCustomListView::Selected() const
{
    const int index = ItemIndex();
    return index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr;
}

int TCustomListView::ItemIndex() const
{
    if (!HandleAllocated())
        return -1;
    return static_cast<int>(SendMessageW(const_cast<TCustomListView*>(this)->Handle(), LVM_GETNEXTITEM,
                                         static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetViewStyle(TViewStyle value)
{
    if (value == viewStyle_)
        return;
    viewStyle_ = value;
    RecreateWnd();
}

void TCustomListView::SetCheckboxes(bool value)
{
    if (value == checkboxes_)
        return;
    SaveWndState();
    checkboxes_ = value;
    ApplyExtendedStyle();
    FillRows();
}

void TCustomListView::SetGridLines(bool value)
{
    gridLines_ = value;
    ApplyExtendedStyle();
}

void TCustomListView::SetRowSelect(bool value)
{
    rowSelect_ = value;
    ApplyExtendedStyle();
}

void TCustomListView::SetReadOnly(bool value)
{
    if (value == readOnly_)
        return;
    readOnly_ = value;
    RecreateWnd();
}

void TCustomListView::SetHideSelection(bool value)
{
    if (value == hideSelection_)
        return;
    hideSelection_ = value;
    RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool value)
{
    if (value == multiSelect_)
        return;
    multiSelect_ = value;
    RecreateWnd();
}

void TCustomListView::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomListView::SetCtl3D(bool value)
{
    if (value == ctl3D_)
        return;
    ctl3D_ = value;
    RecreateWnd();
}
