#pragma once
// Skinned test windows for the text-entry, bar and tab wrappers: a skin made here whose strip
// images are plain colours (a pixel tells which image of which element was drawn), forms
// skinned by the skin manager as the program's windows are, and the windows' own pixels.
#include <memory>
#include <string>

#include <windows.h>

#include "classlib/forms/Form.h"
#include "skinkit/SkinTestKit.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skindata/SkinDataTestKit.h"

class TSkinControl;

namespace combotest {

constexpr TColor kFace = RGBColor(214, 216, 220);
constexpr TColor kText = RGBColor(16, 16, 16);
constexpr TColor kShadow = RGBColor(96, 104, 122);
constexpr TColor kDkShadow = RGBColor(40, 44, 52);
constexpr TColor kWhite = RGBColor(255, 255, 255);

// Image k (1-based) of each strip.
TColor ComboColour(int k);
TColor SunkColour(int k);
TColor ProgressColour(int k);
constexpr TColor kChunk = RGBColor(30, 160, 70);
TColor TabTop(int k);   // the free edge half of a tab image
TColor TabBase(int k);  // the half that meets the page
constexpr TColor kBorderTop = RGBColor(200, 40, 160);   // the border's edge toward the tabs
constexpr TColor kBorderSide = RGBColor(120, 30, 200);  // its other three edges
TColor UpDownColour(int k);
TColor UpDownHorzColour(int k);
TColor ThumbColour(int k);
TColor CheckColour(int k);
TColor RadioColour(int k);

constexpr int kProgressMargin = 2;
constexpr int kChunkWidth = 6;  // its last column is the key colour: a gap
constexpr int kChunkHeight = 8;

// Which elements the skin has and how they are drawn.
struct TSkinParts {
    bool comboRing = true;  // a "SunkEdge": the combo pictures are built into one strip
    int comboStyle = 0;  // for the parsed record: a skin file cannot choose it
    int progressStyle = 0;
    bool thumbs = true;
    bool upDowns = true;
    bool tabs = true;
};
skindatatest::TTestSkin MakeSkin(const TSkinParts& parts = {});

// A form with a skin component of its own, skinned by the skin manager when shown.
class TSkinnedForm : public skinkit::TSkinnedForm {
public:
    explicit TSkinnedForm(const skindatatest::TTestSkin& skin, TForm* existing = nullptr)
        : skinkit::TSkinnedForm(skin, "Combo test", {40, 40, 460, 340}, skinkit::WrapperControls(), existing)
    {
    }
    // A window of a system class on the form, given to the dispatch as a foreign child.
    HWND AddForeign(const wchar_t* className, DWORD style, DWORD exStyle, int left, int top, int width, int height,
                    bool ansi = false);
    TSkinControl* Skin(HWND foreign);
};

// The colour at a window point (window coordinates, frame included), as on the screen.
TColor PixelAt(HWND window, int x, int y);
// Waits until the point shows `colour`.
bool WaitForPixel(HWND window, int x, int y, TColor colour);
// How many pixels of a window rectangle show the colour.
int CountColour(HWND window, const RECT& area, TColor colour);
SIZE WindowSize(HWND window);

// The wrapper serving a window, found in its frame's list.
TSkinControl* WrapperOf(TSkinForm* frame, HWND window);
void MoveCursorTo(HWND window, int x, int y);
void MoveCursorAway();

} // namespace combotest
