#include "classlib/extctrls/PageControl.h"

#include <algorithm>

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false); // shown by its page control when chosen
}

TTabSheet::~TTabSheet()
{
    if (pageControl_)
        pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent)
{
    TWinControl::SetParent(parent);
    auto* pc = dynamic_cast<TPageControl*>(parent);
    if (pc != pageControl_) {
        if (pageControl_)
            pageControl_->RemovePage(this);
        pageControl_ = pc;
        if (pc)
            pc->InsertPage(this);
    }
}

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

int TTabSheet::PageIndex() const
{
    if (!pageControl_)
        return -1;
    for (int i = 0; i < pageControl_->PageCount(); ++i)
        if (pageControl_->Pages(i) == this)
            return i;
    return -1;
}

void TTabSheet::SetImageIndex(int value)
{
    imageIndex_ = value;
    if (pageControl_)
        pageControl_->PagesChanged();
}

void TTabSheet::SetTabVisible(bool value)
{
    tabVisible_ = value;
    if (pageControl_)
        pageControl_->PagesChanged();
}

void TTabSheet::SetText(const std::string& value)
{
    TWinControl::SetText(value);
    if (pageControl_)
        pageControl_->PagesChanged();
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl()
{
    for (TTabSheet* p : pages_)
        p->pageControl_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page)
{
    pages_.push_back(page);
    if (!activePage_)
        activePage_ = page;
    PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    if (activePage_ == page)
        activePage_ = TabPages().empty() ? nullptr : TabPages().front();
    PagesChanged();
}

std::vector<TTabSheet*> TPageControl::TabPages() const
{
    std::vector<TTabSheet*> list;
    for (TTabSheet* p : pages_)
        if (p->TabVisible())
            list.push_back(p);
    return list;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() != this)
        return;
    activePage_ = page;
    PagesChanged();
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index)
{
    if (index >= 0 && index < PageCount())
        SetActivePage(pages_[static_cast<std::size_t>(index)]);
}

void TPageControl::PagesChanged()
{
    if (HandleAllocated() && !Loading())
        FillTabs();
    else
        PlacePages();
}

void TPageControl::FillTabs()
{
    const std::vector<TTabSheet*> tabs = TabPages();
    std::vector<std::pair<std::string, int>> items;
    int selected = -1;
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        items.emplace_back(tabs[i]->Caption(), tabs[i]->ImageIndex());
        if (tabs[i] == activePage_)
            selected = static_cast<int>(i);
    }
    SetTabItems(items, selected);
    PlacePages();
}

void TPageControl::PlacePages()
{
    // Before the window exists the display area is estimated; it is placed again on creation.
    RECT area;
    if (HandleAllocated()) {
        area = DisplayRect();
    } else {
        area = ClientRect();
        area.left += 4;
        area.top += 24;
        area.right -= 4;
        area.bottom -= 4;
    }
    for (TTabSheet* p : pages_) {
        p->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
        p->SetVisible(p == activePage_);
    }
}

void TPageControl::TabChanged()
{
    const std::vector<TTabSheet*> tabs = TabPages();
    const int index = SelectedTab();
    if (index >= 0 && index < static_cast<int>(tabs.size())) {
        activePage_ = tabs[static_cast<std::size_t>(index)];
        PlacePages();
    }
    TCustomTabControl::TabChanged();
}

void TPageControl::BoundsChanged()
{
    TCustomTabControl::BoundsChanged();
    PlacePages();
}

void TPageControl::Loaded()
{
    TCustomTabControl::Loaded();
    PagesChanged();
}
