#pragma once
// Drawing and measuring of owner-drawn menu items from the skin: the item's background cut
// from its pop-up's painted background, the MenuItem frame over it, then check mark or image,
// caption and shortcut in the skin's colours. The frame painter routes the owner-draw
// messages here; these routines know nothing of windows.
#include <string>

#include <windows.h>

class TSkinData;
class TCanvas;
class TBitmap;
class TImageList;
class TMenuItem;

// What an item shows, taken from a menu item object or from a menu handle.
struct TMenuItemLook {
    std::wstring Caption;   // "-" for a separator
    std::wstring ShortCut;  // text drawn right-aligned, may be empty
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
    bool RightToLeft = false;
    int ImageIndex = -1;
    TImageList* Images = nullptr;

    bool IsLine() const { return Caption == L"-"; }
    bool HasImage() const;
};

TMenuItemLook LookOfItem(TMenuItem& item);
// An item of a menu handle by command id (text, state, type).
TMenuItemLook LookOfMenuEntry(HMENU menu, UINT id);

// The system's menu font, owned.
class TMenuFont {
public:
    TMenuFont();
    ~TMenuFont();
    TMenuFont(const TMenuFont&) = delete;
    TMenuFont& operator=(const TMenuFont&) = delete;
    HFONT Handle() const { return font_; }
    HFONT Bold() const { return bold_; }

private:
    HFONT font_ = nullptr;
    HFONT bold_ = nullptr;
};

// The colour a caption is drawn in.
COLORREF MenuTextColour(const TSkinData& skin, bool enabled, bool selected);

// Check mark or image, caption and shortcut inside `rect` of the canvas.
void DrawItemContent(const TSkinData& skin, const TMenuItemLook& look, TCanvas& canvas, bool selected, RECT rect);
// Without a MenuItem element: the skin's menu or highlight colour, then the content.
void DrawItemPlain(const TSkinData& skin, const TMenuItemLook& look, TCanvas& canvas, RECT rect, bool selected);
// With the element: `background` (the pop-up's picture, or null) under the item, whose
// top-left in it is `origin`; frame 4 selected, else 1; separators get the element's strip.
void DrawItemSkinned(TSkinData& skin, const TMenuItemLook& look, TCanvas& canvas, RECT rect, bool selected,
                     TBitmap* background, POINT origin);

// The extra width a skinned item takes beyond the class library's measure.
int MainMenuItemExtra(const TSkinData& skin, bool hasImages);
int PopupItemExtra(const TSkinData& skin, bool hasImages);
// Size of an item known only by its text: width from the text, height from the proposal.
SIZE MeasureItemText(const TSkinData& skin, HDC dc, const std::wstring& text, int proposedHeight);
