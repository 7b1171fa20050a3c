#pragma once
// TSkinMenuBar: a skinned frame's menu bar. The window's own menu bar is taken away; the
// strip under the title is painted from the skin with one TMenuBtn per top-level item, and
// the frame opens the items' drop-downs.
#include <memory>
#include <vector>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "skin/form/MenuBtn.h"

class TSkinForm;
class TSkinData;
class TMainMenu;

class TSkinMenuBar {
public:
    explicit TSkinMenuBar(TSkinForm* form);
    virtual ~TSkinMenuBar();
    TSkinMenuBar(const TSkinMenuBar&) = delete;
    TSkinMenuBar& operator=(const TSkinMenuBar&) = delete;

    // One button per item of the window's menu, then the window's menu bar is removed.
    void BuildButtons();
    // The same from the form object's main menu alone.
    void BuildButtonsFromMenu();
    // After the window was given another menu (MDI children bring their own).
    void RebuildButtons();
    // The strip at barRect (window coordinates) into dc; lays the buttons out.
    void PaintBar(HDC dc, const RECT& barRect);
    // The button with a caption under a point in frame coordinates, or null.
    TMenuBtn* MenuButtonAt(POINT point) const;

    TSkinData* SkinData;
    TSkinForm* Form;
    TMainMenu* Menu = nullptr;
    HMENU MenuHandle = nullptr;
    std::vector<std::unique_ptr<TMenuBtn>> Buttons;
    int ButtonCount = 0;
    RECT BarRect{};
    TBitmap BarImage;   // the painted strip without captions
    BYTE Painting = 0;

private:
    void Build(bool rebuild);
    // Keeps the existing button objects (the frame may point at one) and resets them.
    void UseButtons(int count);
    void PaintMdiButtons(HDC dc, const RECT& barRect);
};
