#pragma once
// Skinned windows for the frame tests: forms with a skin component that the manager skins when
// they are shown, hand-made skins with coloured strips, and pixel reading from the screen.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "classlib/forms/Form.h"
#include "guikit/GuiKit.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"
#include "skindata/SkinDataTestKit.h"
#include "skinkit/SkinTestKit.h"

namespace skinformtest {

using skindatatest::Bytes;
using skindatatest::TTestSkin;

// A horizontal strip of equal frames, frame k filled with colours[k].
inline Bytes StripBmp(const std::vector<TColor>& colours, int w, int h)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w * static_cast<int>(colours.size()), h);
    for (std::size_t k = 0; k < colours.size(); ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                b.Canvas()->SetPixel(static_cast<int>(k) * w + x, y, colours[k]);
    return b.SaveToData();
}

// Frame pieces of one colour each, 20-pixel title, 4-pixel sides and bottom; no key pixels.
inline TTestSkin PlainFrameSkin(const std::string& extraIni = {})
{
    TTestSkin skin;
    skin.Bitmap("left.bmp", 4, 40, 0x202020)
        .Bitmap("right.bmp", 4, 40, 0x202020)
        .Bitmap("top.bmp", 60, 20, 0x604020)
        .Bitmap("bottom.bmp", 60, 4, 0x202020)
        .Ini("[Personality]\nLeft=left.bmp\nLeftFrame=1\nLeftTrans=0\nRight=right.bmp\nRightFrame=1\nRightTrans=0\n"
             "Top=top.bmp\nTopFrame=1\nTopTrans=0\nBottom=bottom.bmp\nBottomFrame=1\nBottomTrans=0\n"
             "TextShift=6\nTextRightClip=10\n" +
             extraIni);
    return skin;
}

inline Bytes DefaultSkin()
{
    std::ifstream in(skindatatest::SourcePath("assets/Kestrip.skn"), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A form with the given border and client size and a skin component of its own (every kind
// of control, the frame included), shown and skinned by the manager.
struct SkinnedForm : skinkit::TSkinnedForm {
    // `image` empty: the program's default skin.
    explicit SkinnedForm(const Bytes& image = {}, TFormBorderStyle border = bsSingle, int clientW = 300,
                         int clientH = 200, bool show = true)
        : skinkit::TSkinnedForm(image.empty() ? DefaultSkin() : image, {}, {}, DefaultSkinControls(),
                                MakeForm(border, clientW, clientH))
    {
        if (show)
            Show();
    }
    HWND Handle() { return form->Handle(); }
    TSkinForm* Frame() { return FindSkinForm(form->Handle()); }

private:
    static TForm* MakeForm(TFormBorderStyle border, int clientW, int clientH)
    {
        auto* made = new TForm(nullptr);
        made->SetBorderStyle(border);
        made->SetCaption("Skinned");
        made->SetLeft(40);
        made->SetTop(40);
        made->SetClientWidth(clientW);
        made->SetClientHeight(clientH);
        return made;
    }
};

// A pixel of the window as painted (frame coordinates).
inline TColor WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

// One row of the window's pixels.
inline std::vector<TColor> WindowRow(HWND window, int y, int width)
{
    std::vector<TColor> row;
    for (int x = 0; x < width; ++x)
        row.push_back(WindowPixel(window, x, y));
    return row;
}

// Sends a non-client mouse message at a window point (frame coordinates).
inline LRESULT SendNc(HWND window, UINT msg, WPARAM hit, int x, int y)
{
    RECT r{};
    GetWindowRect(window, &r);
    return SendMessageW(window, msg, hit, MAKELPARAM(r.left + x, r.top + y));
}

// Restarts the manager between tests so each sees a fresh registry.
struct ManagerScope {
    ManagerScope()
    {
        DestroySkinManager();
        UseSkinManager();
    }
    ~ManagerScope() { DestroySkinManager(); }
};

} // namespace skinformtest
