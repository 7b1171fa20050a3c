#pragma once
#include "classlib/controls/WinControl.h"

// A captioned frame around other controls: an etched line with the caption on it at x = 8.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* owner);

    // The area inside the frame, below the caption.
    RECT InnerRect();

protected:
    void Paint() override;
    void SetText(const std::string& value) override;
    int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};
