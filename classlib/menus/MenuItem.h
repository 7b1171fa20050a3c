#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/controls/Control.h"

class TCanvas;
class TMenu;

using TShortCut = unsigned; // virtual key in the low byte, plus scShift / scCtrl / scAlt
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(WORD key, TShiftState shift);
std::string ShortCutToText(TShortCut shortCut); // "Ctrl+S", "F5"

using TMenuMeasureItemEvent = std::function<void(TComponent* sender, TCanvas* canvas, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TComponent* sender, TCanvas* canvas, RECT rect, bool selected)>;

// One entry of a menu; its sub-items make a drop-down. Captions mark their accelerator
// with "&"; a caption of "-" is a separator. Items owner-draw when their menu says so,
// through OnMeasureItem/OnDrawItem or, without them, the default look.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string Caption() const { return caption_; }
    void SetCaption(std::string value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    TShortCut ShortCutKey() const { return shortCut_; }
    void SetShortCutKey(TShortCut value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool IsLine() const { return caption_ == "-"; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    TMenuItem* ParentItem() const { return parent_; }
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // Deletes every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* item) const;

    // The menu the item belongs to (through its parents), or nullptr.
    TMenu* GetParentMenu() const;
    // The command id the item has in its menu's handle.
    UINT Command() const { return command_; }
    // The drop-down of an item with sub-items (made on demand).
    HMENU Handle();
    TMenuItem* FindByCommand(UINT command);
    TMenuItem* FindByShortCut(TShortCut shortCut);

    virtual void Click();
    // The default size of an owner-drawn item, then OnMeasureItem may change it.
    void MeasureItem(TCanvas* canvas, int& width, int& height);
    // OnDrawItem, or the default look when it is not set.
    void DrawItem(TCanvas* canvas, RECT rect, bool selected);
    void DefaultMeasure(TCanvas* canvas, int& width, int& height) const;
    void DefaultDraw(TCanvas* canvas, RECT rect, bool selected) const;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;

private:
    friend class TMenu;
    void Changed();
    void FillMenu(HMENU menu, bool ownerDraw, bool menuBar);
    void DropHandle();

    std::string caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    UINT command_ = 0;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on the root item only
    HMENU handle_ = nullptr;
    bool ownsHandle_ = false;
};

// Is `item` an item that still exists? (Owner-drawn entries carry the item's address.)
bool IsLiveMenuItem(const TMenuItem* item);
