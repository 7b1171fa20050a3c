#pragma once
// TSkinStatusBar: a status bar composed off-screen on the face colour, each panel on the
// skin's "StatusBarEdges" element, with the size grip from the skin's extra images.
#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    TBitmap Buffer;

private:
    struct TPanelText {
        std::wstring text;
        UINT align = DT_LEFT;
    };
    std::vector<TPanelText> PanelTexts() const;
    void DrawPanels(HDC dc, const RECT& bar);
};
