#pragma once
// TSkinComBox: the border ring and drop-down button of a combo box drawn from the skin's
// "ComboButton", "SunkEdge" and "ExtraImages" elements over the control's own painting.
#include <memory>

#include <windows.h>

#include "skin/wrappers/SkinControl.h"

class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinComBox() override;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The strip image for the current state (1 normal, 2 pressed, 3 disabled, 4 focused or hot).
    int ImageIndex() const;

    DWORD ComboStyle = 0;
    DWORD ComboExStyle = 0;
    COMBOBOXINFO Info{};
    HWND EditHandle = nullptr;
    WNDPROC OldEditProc = nullptr;
    std::unique_ptr<TObjectWndProc> NewEditProc;
    TSkinControl* ListSkin = nullptr;

private:
    // What both attach paths do once the base has attached.
    void AttachParts();
    void ReleaseEdit();
    bool RightToLeft() const;
    void ReadStyles();
    void DrawClassic(HDC dc, const RECT& rect);
    void DrawWhole(HDC dc, const RECT& rect, int index);
    void DrawRingAndButton(HDC dc, const RECT& rect, int index);
    static LRESULT EditProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT EditProc(UINT msg, WPARAM wParam, LPARAM lParam);
};
