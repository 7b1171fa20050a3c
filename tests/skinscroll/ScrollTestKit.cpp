#include "skinscroll/ScrollTestKit.h"

#include <stdexcept>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "guikit/GuiKit.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinControl.h"

namespace scrolltest {

namespace {
skindatatest::Bytes Strip(int frameWidth, int height, int images, TColor (*colour)(int))
{
    TBitmap b(frameWidth * images, height, pf24bit);
    for (int k = 1; k <= images; ++k)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < frameWidth; ++x)
                b.Canvas()->SetPixel((k - 1) * frameWidth + x, y, colour(k));
    return b.SaveToData();
}

std::string Triple(TColor c)
{
    return std::to_string(GetRValue32(c)) + " " + std::to_string(GetGValue32(c)) + " " +
           std::to_string(GetBValue32(c));
}

std::string Element(const std::string& section, const std::string& image, int trans)
{
    return "[" + section + "]\nImage=" + image +
           "\nLeftWidth=0\nTopHeight=0\nRightWidth=0\nBottomHeight=0\nTile=0\nTrans=" + std::to_string(trans) + "\n";
}
} // namespace

TColor ArrowColour(int k) { return RGBColor(10 * k, 200 - 5 * k, 40 + 7 * k); }
TColor TrackColour(int k) { return RGBColor(230, 40 * k, 90); }
TColor ThumbColour(int k) { return RGBColor(60 * k, 70, 200); }
TColor HeaderColour(int k) { return RGBColor(90 + 25 * k, 150, 30 * k); }

skindatatest::TTestSkin MakeSkin()
{
    skindatatest::TTestSkin skin;
    skin.Entry("arrows.bmp", Strip(kCell, kCell, 23, &ArrowColour))
        .Entry("track.bmp", Strip(kCell, kCell, 4, &TrackColour))
        .Entry("thumb.bmp", Strip(kCell, kCell, 3, &ThumbColour))
        .Entry("header.bmp", Strip(20, 18, 5, &HeaderColour))
        .Ini("[Colours]\nButtonFace=" + Triple(kFace) + "\nButtonShadow=" + Triple(kShadow) + "\nButtonText=" +
             Triple(kText) + "\n" + Element("Scrollbar", "arrows.bmp", 1) + Element("HorzScroll", "track.bmp", 0) +
             Element("VertScroll", "track.bmp", 0) + Element("HorzScrollThumb", "thumb.bmp", 0) + "FrameCount=3\n" +
             Element("VertScrollThumb", "thumb.bmp", 0) + "FrameCount=3\n" + Element("Headerbar", "header.bmp", 0));
    return skin;
}

int FirstRowWith(HWND window, int x, TColor colour, int fromY)
{
    RECT r{};
    GetClientRect(window, &r);
    GdiFlush();
    HDC dc = GetDC(window);
    int found = -1;
    for (int y = fromY; y < r.bottom && found < 0; ++y)
        if (static_cast<TColor>(GetPixel(dc, x, y)) == colour)
            found = y;
    ReleaseDC(window, dc);
    return found;
}

bool AnyPixel(HWND window, TColor colour)
{
    RECT r{};
    GetClientRect(window, &r);
    for (int x = 0; x < r.right; ++x)
        if (FirstRowWith(window, x, colour) >= 0)
            return true;
    return false;
}

TSkinControl* WrapperOf(TSkinForm* frame, HWND window)
{
    return frame ? frame->ChildSkinOf(window) : nullptr;
}

SCROLLBARINFO BarInfo(HWND window, LONG objectId)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ScrollBarInfo(window, objectId, info);
    return info;
}

} // namespace scrolltest
