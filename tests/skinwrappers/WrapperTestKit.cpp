#include "skinwrappers/WrapperTestKit.h"

#include <algorithm>
#include <stdexcept>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "guikit/GuiKit.h"
#include "skin/SkinMessages.h"
#include "skin/wrappers/SkinControl.h"

namespace wraptest {

namespace {
constexpr TColor kKey = 0xFF00FF;

skindatatest::Bytes Strip(int frameWidth, int height, int images, TColor (*colour)(int), bool keyCorner)
{
    TBitmap b(frameWidth * images, height, pf24bit);
    for (int k = 1; k <= images; ++k)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < frameWidth; ++x) {
                const bool key = keyCorner && x < kKeyCorner && y < kKeyCorner;
                b.Canvas()->SetPixel((k - 1) * frameWidth + x, y, key ? kKey : colour(k));
            }
    return b.SaveToData();
}

std::string Triple(TColor c)
{
    return std::to_string(GetRValue32(c)) + " " + std::to_string(GetGValue32(c)) + " " +
           std::to_string(GetBValue32(c));
}
} // namespace

TColor ButtonColour(int k) { return RGBColor(40 * k, 180 - 20 * k, 60 + 30 * k); }
TColor CheckColour(int k) { return RGBColor(200 - 12 * k, 30 + 15 * k, 100 + 5 * k); }
TColor RadioColour(int k) { return RGBColor(30 + 20 * k, 220 - 15 * k, 180 - 10 * k); }

skindatatest::TTestSkin MakeSkin(int checkImages, int radioImages, const std::string& extraIni)
{
    skindatatest::TTestSkin skin;
    skin.Entry("button.bmp", Strip(kButtonFrame, kButtonFrame, 5, &ButtonColour, true))
        .Entry("check.bmp", Strip(kBoxSize, kBoxSize, checkImages, &CheckColour, false))
        .Entry("radio.bmp", Strip(kBoxSize, kBoxSize, radioImages, &RadioColour, false))
        .Ini("[Colours]\nButtonFace=" + Triple(kFace) + "\nButtonText=" + Triple(kText) +
             "\nButtonShadow=" + Triple(kShadow) +
             "\n[Buttons]\nBitmap=button.bmp\nLeftWidth=4\nTopHeight=4\nRightWidth=4\nBottomHeight=4\nTrans=1\n"
             "Tile=0\nCheckButton=check.bmp\nCheckButtonFrame=" +
             std::to_string(checkImages) + "\nRadioButton=radio.bmp\nRadioButtonFrame=" + std::to_string(radioImages) +
             "\n" + extraIni);
    return skin;
}

std::unique_ptr<TBitmap> Capture(HWND window)
{
    UpdateWindow(window);
    RECT r{};
    GetClientRect(window, &r);
    auto picture = std::make_unique<TBitmap>(std::max<int>(r.right, 1), std::max<int>(r.bottom, 1), pf24bit);
    HDC dc = GetDC(window);
    BitBlt(picture->Canvas()->Handle(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    return picture;
}

namespace {
// The client area's pixels, read once.
struct TShot {
    explicit TShot(HWND window) : picture(Capture(window))
    {
        w = picture->Width();
        h = picture->Height();
    }
    TColor At(int x, int y) const { return picture->PixelColor(x, y); }
    int w = 0, h = 0;
    std::unique_ptr<TBitmap> picture;
};
} // namespace

int RowBands(HWND window, const RECT& area, TColor background)
{
    const TShot shot(window);
    int bands = 0;
    bool inBand = false;
    for (int y = area.top; y < area.bottom && y < shot.h; ++y) {
        bool found = false;
        for (int x = area.left; x < area.right && x < shot.w && !found; ++x)
            found = shot.At(x, y) != background;
        if (found && !inBand)
            ++bands;
        inBand = found;
    }
    return bands;
}

bool HasColour(HWND window, const RECT& area, TColor colour)
{
    const TShot shot(window);
    for (int y = area.top; y < area.bottom && y < shot.h; ++y)
        for (int x = area.left; x < area.right && x < shot.w; ++x)
            if (shot.At(x, y) == colour)
                return true;
    return false;
}

int RightmostOther(HWND window, const RECT& area, TColor background)
{
    const TShot shot(window);
    for (int x = std::min<int>(area.right, shot.w) - 1; x >= area.left; --x)
        for (int y = area.top; y < area.bottom && y < shot.h; ++y)
            if (shot.At(x, y) != background)
                return x;
    return -1;
}

TSkinControl* WrapperOf(TSkinForm* frame, HWND window)
{
    return frame ? frame->ChildSkinOf(window) : nullptr;
}

bool AnswersSkinned(HWND window)
{
    return SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1;
}

} // namespace wraptest
