#pragma once
// TSkinTab: the tab strip and page border of a tab or page control drawn from the skin's
// "Tabs" element in any of the four tab positions, with optional close boxes on the tabs and
// skinned scroll arrows.
#include <vector>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinUpDown;

// A page control with this Tag shows a close box on every tab.
constexpr int kCloseBoxTag = 7777;

class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Refresh() override;

    // The tab whose close box holds the client point, or -1.
    int CloseBoxAt(POINT point) const;

    TBitmap TabImage, BorderImage, StripBuffer;
    // Their margins, turned with them.
    RECT TabMargins{}, BorderMargins{};
    int TabPosition = 0; // 0 top, 1 bottom, 2 left, 3 right
    std::vector<RECT> CloseRects;
    bool HasCloseBoxes = false;
    TSkinUpDown* ScrollSkin = nullptr;

private:
    void AttachParts();
    void BuildImages();
    void FindScrollArrows();
    RECT PageRect(const RECT& rect) const;
    RECT StripArea(const RECT& rect, const RECT& page) const;
    // A rectangle of the control in the strip buffer's coordinates and back.
    RECT ToBuffer(RECT r, const RECT& strip) const;
    RECT FromBuffer(RECT r, const RECT& strip) const;
    void DrawStrip(HDC dc, const RECT& strip);
    void DrawTab(int index, const RECT& strip, bool focused);
    // Asks the form whether it closes the tab itself; frees the page when it does not.
    void CloseTab(int index);
};
