#pragma once
#include <vector>

#include "classlib/extctrls/TabControl.h"

class TPageControl;

// One page of a page control: a container shown while its tab is chosen.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* value);
    int PageIndex() const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool value);

    void SetParent(TWinControl* parent) override;

protected:
    void SetText(const std::string& value) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    int imageIndex_ = -1;
    bool tabVisible_ = true;
};

// Tabs with a page each; the chosen tab's page is shown in the display area.
class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

protected:
    void TabChanged() override;
    void FillTabs() override;
    void BoundsChanged() override;
    void Loaded() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PagesChanged();
    void PlacePages();
    // Pages with a visible tab, in page order: the tab index of each.
    std::vector<TTabSheet*> TabPages() const;

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};
