#pragma once
#include "classlib/controls/WinControl.h"
#include "classlib/stdctrls/Label.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A container that draws a bevelled frame and a caption. With ParentBackground its face
// is its parent's colour.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool value);

    // The client area inside the frame.
    RECT InnerRect() const;
    // The colour the face is painted with.
    TColor FaceColor() const;

protected:
    void Paint() override;
    void SetText(const std::string& value) override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
    bool parentBackground_ = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};
