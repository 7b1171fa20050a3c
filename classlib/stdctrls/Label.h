#pragma once
#include "classlib/controls/WinControl.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Text drawn on the parent's surface; "&" marks an accelerator unless ShowAccelChar is off.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    // Fits the bounds to the caption when set.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

protected:
    void Paint() override;
    void SetText(const std::string& value) override;
    void FontChanged() override;

private:
    UINT TextFlags() const;
    void AdjustSize();

    TAlignment alignment_ = taLeftJustify;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool autoSize_ = false;
};
