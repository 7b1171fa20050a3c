#pragma once
// TSkinScrollbarH: the window scroll bars of a foreign window (no class-library control), each
// covered by an overlay.
#include "skin/wrappers/SkinBarOverlay.h"
#include "skin/wrappers/SkinControl.h"

class TSkinScrollbarH : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Restore() override;

    TSkinBarOverlay* HorzBar = nullptr;
    TSkinBarOverlay* VertBar = nullptr;
};
