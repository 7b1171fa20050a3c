#pragma once
#include <memory>

#include "classlib/Strings.h"
#include "classlib/controls/WinControl.h"

class TImageList;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// The system tab control: a row of tabs along one edge. Subclasses say what the tabs are.
class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* owner);

    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);

    // The area inside the tabs and the frame, in client coordinates.
    RECT DisplayRect();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    // Rebuilds the tabs in the window.
    void SetTabItems(const std::vector<std::pair<std::string, int>>& tabs, int selected);
    int SelectedTab();
    // The user picked another tab.
    virtual void TabChanged();
    // The tabs and selection to show (called whenever the window is built).
    virtual void FillTabs() = 0;

private:
    TTabPosition tabPosition_ = tpTop;
    bool multiLine_ = false;
    TImageList* images_ = nullptr;
};

// Tabs from a list of texts, without pages: TabIndex says which one is chosen.
class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(TStrings* value);
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int value);

protected:
    void TabChanged() override;
    void FillTabs() override;

private:
    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
};
