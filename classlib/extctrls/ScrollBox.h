#pragma once
#include "classlib/controls/WinControl.h"

// A container that scrolls its children when they reach beyond its client area.
class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* owner);

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    // How far the content is scrolled.
    POINT ScrollPos() const { return scroll_; }
    void ScrollBy(int dx, int dy);
    // Recomputes the scroll ranges from the children (after adding or moving some).
    void UpdateScrollRange();

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    void Scroll(int bar, int code);

    TBorderStyle borderStyle_ = bsSingle;
    bool autoScroll_ = true;
    POINT scroll_{0, 0};
    SIZE content_{0, 0};
};
