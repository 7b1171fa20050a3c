#include "skincombo/ComboTestKit.h"

#include <functional>
#include <stdexcept>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "guikit/GuiKit.h"

namespace combotest {

namespace {
constexpr TColor kKey = 0xFF00FF;

// A strip of `images` frames, each frameWidth x height, coloured by frame and position.
skindatatest::Bytes Strip(int frameWidth, int height, int images, const std::function<TColor(int, int, int)>& colour)
{
    TBitmap b(frameWidth * images, height, pf24bit);
    for (int k = 1; k <= images; ++k)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < frameWidth; ++x)
                b.Canvas()->SetPixel((k - 1) * frameWidth + x, y, colour(k, x, y));
    return b.SaveToData();
}

skindatatest::Bytes Plain(int frameWidth, int height, int images, TColor (*colour)(int))
{
    return Strip(frameWidth, height, images, [colour](int k, int, int) { return colour(k); });
}

std::string Triple(TColor c)
{
    return std::to_string(GetRValue32(c)) + " " + std::to_string(GetGValue32(c)) + " " +
           std::to_string(GetBValue32(c));
}

std::string Margins(int l, int t, int r, int b)
{
    return "LeftWidth=" + std::to_string(l) + "\nTopHeight=" + std::to_string(t) + "\nRightWidth=" +
           std::to_string(r) + "\nBottomHeight=" + std::to_string(b) + "\n";
}
} // namespace

TColor ComboColour(int k) { return RGBColor(230, 40 * k, 20); }
TColor SunkColour(int k) { return RGBColor(20, 40 * k, 230); }
TColor ProgressColour(int k) { return RGBColor(60 * k, 200, 200 - 60 * k); }
TColor TabTop(int k) { return RGBColor(250, 200, 30 * k); }
TColor TabBase(int k) { return RGBColor(150, 90, 30 * k); }
TColor UpDownColour(int k) { return RGBColor(25 * k, 120, 60); }
TColor UpDownHorzColour(int k) { return RGBColor(25 * k, 60, 160); }
TColor ThumbColour(int k) { return RGBColor(180, 25 * k, 240); }
TColor CheckColour(int k) { return RGBColor(200 - 12 * k, 30 + 15 * k, 100 + 5 * k); }
TColor RadioColour(int k) { return RGBColor(30 + 20 * k, 220 - 15 * k, 180 - 10 * k); }

skindatatest::TTestSkin MakeSkin(const TSkinParts& parts)
{
    skindatatest::TTestSkin skin;
    std::string ini = "[Colours]\nButtonFace=" + Triple(kFace) + "\nButtonText=" + Triple(kText) +
                      "\nButtonShadow=" + Triple(kShadow) + "\nButtonDkShadow=" + Triple(kDkShadow) + "\n";
    skin.Entry("check.bmp", Plain(13, 13, 4, &CheckColour)).Entry("radio.bmp", Plain(13, 13, 4, &RadioColour));
    ini += "[Buttons]\nCheckButton=check.bmp\nCheckButtonFrame=4\nRadioButton=radio.bmp\nRadioButtonFrame=4\n";

    skin.Entry("combo.bmp", Plain(17, 21, 4, &ComboColour));
    ini += "[ComboButton]\nImage=combo.bmp\n" + Margins(0, 0, 0, 0) + "Trans=1\n";
    if (parts.comboRing) {
        skin.Entry("sunk.bmp", Plain(10, 21, 4, &SunkColour));
        ini += "[SunkEdge]\nImage=sunk.bmp\n" + Margins(3, 3, 3, 3) + "Trans=1\n";
    }

    // The chunked bar's background is one picture.
    skin.Entry("progress.bmp", Plain(20, 14, parts.progressStyle == 1 ? 1 : 2, &ProgressColour));
    skin.Entry("chunk.bmp", Strip(kChunkWidth, kChunkHeight, 1,
                                  [](int, int x, int) { return x == kChunkWidth - 1 ? kKey : kChunk; }));
    ini += "[Progress]\nBitmap=progress.bmp\nChunk=chunk.bmp\nStyle=" + std::to_string(parts.progressStyle) + "\n" +
           Margins(kProgressMargin, kProgressMargin, kProgressMargin, kProgressMargin) + "Trans=1\n";

    if (parts.tabs) {
        skin.Entry("tabs.bmp", Strip(16, 20, 5, [](int k, int, int y) { return y < 10 ? TabTop(k) : TabBase(k); }));
        skin.Entry("border.bmp", Strip(24, 24, 1, [](int, int, int y) { return y < 5 ? kBorderTop : kBorderSide; }));
        ini += "[Tabs]\nImage=tabs.bmp\nBorder=border.bmp\n" + Margins(2, 4, 2, 4) +
               "Trans=1\nNormalColour2=" + Triple(kText) + "\nMouseOverColour2=" + Triple(kText) + "\n";
    }
    if (parts.upDowns) {
        skin.Entry("updown-v.bmp", Plain(10, 10, 8, &UpDownColour));
        skin.Entry("updown-h.bmp", Plain(10, 10, 8, &UpDownHorzColour));
        ini += "[UpDown.Vert]\nImage=updown-v.bmp\nTrans=1\n[UpDown.Horz]\nImage=updown-h.bmp\nTrans=1\n";
    }
    if (parts.thumbs) {
        skin.Entry("thumb.bmp", Plain(10, 20, 5, &ThumbColour));
        ini += "[Trackbar.ThumbHorz]\nImage=thumb.bmp\nTrans=1\n[Trackbar.ThumbVert]\nImage=thumb.bmp\nTrans=1\n";
    }
    skin.Ini(ini);
    return skin;
}

HWND TSkinnedForm::AddForeign(const wchar_t* className, DWORD style, DWORD exStyle, int left, int top, int width,
                              int height, bool ansi)
{
    const DWORD child = WS_CHILD | WS_VISIBLE | style;
    if (ansi) {
        char name[64] = {};
        WideCharToMultiByte(CP_ACP, 0, className, -1, name, sizeof name, nullptr, nullptr);
        return CreateWindowExA(exStyle, name, "", child, left, top, width, height, form->Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    return CreateWindowExW(exStyle, className, L"", child, left, top, width, height, form->Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

TSkinControl* TSkinnedForm::Skin(HWND foreign)
{
    if (!frame)
        return nullptr;
    frame->SkinForeignChild(foreign);
    guikit::PumpMessages();
    return frame->ChildSkinOf(foreign);
}

TColor PixelAt(HWND window, int x, int y)
{
    UpdateWindow(window);
    GdiFlush();
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

bool WaitForPixel(HWND window, int x, int y, TColor colour)
{
    return guikit::WaitUntil([&] { return PixelAt(window, x, y) == colour; }, std::chrono::seconds(5));
}

int CountColour(HWND window, const RECT& area, TColor colour)
{
    UpdateWindow(window);
    GdiFlush();
    HDC dc = GetWindowDC(window);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += static_cast<TColor>(GetPixel(dc, x, y)) == colour;
    ReleaseDC(window, dc);
    return count;
}

SIZE WindowSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

TSkinControl* WrapperOf(TSkinForm* frame, HWND window)
{
    return frame ? frame->ChildSkinOf(window) : nullptr;
}

void MoveCursorTo(HWND window, int x, int y)
{
    RECT r{};
    GetWindowRect(window, &r);
    SetCursorPos(r.left + x, r.top + y);
    guikit::PumpMessages();
}

void MoveCursorAway()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    guikit::PumpMessages();
}

} // namespace combotest
