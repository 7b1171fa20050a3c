#pragma once
#include <memory>

#include "classlib/Collection.h"
#include "classlib/controls/WinControl.h"
#include "classlib/stdctrls/Label.h"

// One field of a status bar.
class TStatusPanel : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;

    std::string Text() const { return text_; }
    void SetText(std::string value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

private:
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

// A bar along the bottom of a form, with panels or one simple text.
class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;

    TCollectionOf<TStatusPanel>* Panels() const { return panels_.get(); }
    TCollectionAccess* PanelsAccess() { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    std::string SimpleText() const { return simpleText_; }
    void SetSimpleText(std::string value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void BoundsChanged() override;

private:
    void UpdatePanels();

    std::unique_ptr<TCollectionOf<TStatusPanel>> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
};
