#include "Sheet.h"

#include <algorithm>
#include <map>

#include "Theme.h"

namespace skingen {

using namespace theme;

namespace {

struct Strip {
    const Image* image;
    int frames;
    bool vertical = false;
    Rect Frame(int k) const // 1-based
    {
        if (vertical) {
            const int h = image->Height() / frames;
            return {0, (k - 1) * h, image->Width(), k * h};
        }
        const int w = image->Width() / frames;
        return {(k - 1) * w, 0, k * w, image->Height()};
    }
};

void Slice(Image& target, const Strip& s, int k, Rect to, int l, int t, int r, int b)
{
    DrawKeyed(target, NineSlice(*s.image, s.Frame(k), to.Width(), to.Height(), l, t, r, b), to.x0, to.y0);
}

// The active mock is laid out like the program's window: no menu bar, no maximise box.
void MockWindow(Image& sheet, const std::map<std::string, const Image*>& bm, int x, int y, bool active)
{
    const int w = 333, h = 256, menu = active ? 0 : 20;
    const int k = active ? 1 : 2;
    Image win(w, h);
    // Client first, then the frame over it, as the engine paints.
    win.Fill({FrameSide, TitleHeight, w - FrameSide, h - FrameBottom}, Face);
    Slice(win, {bm.at("frame-left.bmp"), 2}, k, {0, 0, FrameSide, h}, 0, TitleHeight, 0, 5);
    Slice(win, {bm.at("frame-right.bmp"), 2}, k, {w - FrameSide, 0, w, h}, 0, TitleHeight, 0, 5);
    Slice(win, {bm.at("frame-bottom.bmp"), 2, true}, k, {FrameSide, h - FrameBottom, w - FrameSide, h}, 4, 0, 4, 0);
    Slice(win, {bm.at("frame-top.bmp"), 2, true}, k, {FrameSide, 0, w - FrameSide, TitleHeight}, TopRadius, 0,
          TopRadius, 0);
    if (menu > 0)
        Slice(win, {bm.at("menubar.bmp"), 2}, k, {FrameSide, TitleHeight, w - FrameSide, TitleHeight + menu}, 2, 0, 2, 0);
    // Caption buttons; the close button shows its hot look in the active window.
    const char* all[] = {"caption-close.bmp", "caption-maximise.bmp", "caption-minimise.bmp", "caption-help.bmp"};
    const char* program[] = {"caption-close.bmp", "caption-minimise.bmp"};
    const char* const* buttons = active ? program : all;
    for (int i = 0; i < (active ? 2 : 4); ++i) {
        const int state = !active ? 4 : (i == 0 ? 3 : 1);
        const Strip s{bm.at(buttons[i]), 4};
        DrawKeyed(win, bm.at(buttons[i])->Crop(s.Frame(state)), w - FrameSide - (i + 1) * CaptionButtonWidth,
                  CaptionButtonTop);
    }
    const int cx = FrameSide + 10, cy = TitleHeight + menu + 10;
    // Track list: header, white list, vertical scroll bar.
    const Strip header{bm.at("header.bmp"), 5};
    Slice(win, header, 1, {cx, cy, cx + 150, cy + 20}, 3, 3, 3, 3);
    Slice(win, header, 2, {cx + 150, cy, cx + 280, cy + 20}, 3, 3, 3, 3);
    win.Fill({cx, cy + 20, cx + 280, cy + 100}, Window);
    const Strip arrows{bm.at("scroll-arrows.bmp"), 23};
    const int sx = cx + 280;
    Slice(win, {bm.at("scroll-track-vert.bmp"), 4}, 1, {sx, cy, sx + 17, cy + 100}, 2, 2, 2, 2);
    DrawKeyed(win, bm.at("scroll-arrows.bmp")->Crop(arrows.Frame(9)), sx, cy);
    DrawKeyed(win, bm.at("scroll-arrows.bmp")->Crop(arrows.Frame(16)), sx, cy + 83);
    Slice(win, {bm.at("scroll-thumb-vert.bmp"), 3}, 1, {sx, cy + 20, sx + 17, cy + 55}, 5, 7, 5, 7);
    DrawKeyed(win, bm.at("scroll-arrows.bmp")->Crop(arrows.Frame(20)), sx, cy + 29);
    // Combo box, check box, radio button, progress bar, push buttons.
    const int row = cy + 110;
    Slice(win, {bm.at("sunken-edge.bmp"), 4}, 1, {cx, row, cx + 100, row + 21}, 3, 3, 3, 3);
    Slice(win, {bm.at("combo-button.bmp"), 4}, 1, {cx + 81, row, cx + 99, row + 21}, 3, 4, 4, 4);
    DrawKeyed(win, bm.at("combo-arrow.bmp")->Crop(Strip{bm.at("combo-arrow.bmp"), 5}.Frame(1)), cx + 86, row + 8);
    Slice(win, {bm.at("sunken-edge.bmp"), 4}, 4, {cx + 110, row, cx + 210, row + 21}, 3, 3, 3, 3);
    Slice(win, {bm.at("combo-button.bmp"), 4}, 4, {cx + 191, row, cx + 209, row + 21}, 3, 4, 4, 4);
    DrawKeyed(win, bm.at("combo-arrow.bmp")->Crop(Strip{bm.at("combo-arrow.bmp"), 5}.Frame(4)), cx + 196, row + 8);
    for (int i = 0; i < 4; ++i) {
        DrawKeyed(win, bm.at("checkbox.bmp")->Crop(Strip{bm.at("checkbox.bmp"), 4}.Frame(i + 1)), cx + 220 + 18 * i, row + 2);
        DrawKeyed(win, bm.at("radio.bmp")->Crop(Strip{bm.at("radio.bmp"), 4}.Frame(i + 1)), cx + 220 + 18 * i, row + 20);
    }
    const Strip progress{bm.at("progress.bmp"), 2};
    Slice(win, progress, 1, {cx, row + 30, cx + 200, row + 44}, 6, 5, 6, 5);
    Slice(win, progress, 2, {cx, row + 30, cx + 120, row + 44}, 6, 5, 6, 5);
    const Strip button{bm.at("button.bmp"), 5};
    for (int i = 0; i < 4; ++i)
        Slice(win, button, i == 0 ? 1 : i == 1 ? 4 : i == 2 ? 5 : 3, {cx + 72 * i, row + 52, cx + 72 * i + 66, row + 77},
              5, 5, 5, 5);
    DrawKeyed(sheet, win, x, y);
}

} // namespace

Image MakeContactSheet(const std::vector<SkinBitmap>& bitmaps)
{
    std::map<std::string, const Image*> byName;
    for (const auto& b : bitmaps)
        byName[b.name] = &b.image;

    const int scale = 2, margin = 16, width = 1400;
    // Lay the enlarged bitmaps out in rows under the mock windows.
    std::vector<std::pair<int, int>> at;
    int x = margin, y = 256 + 2 * margin, rowHeight = 0;
    for (const auto& b : bitmaps) {
        const int w = b.image.Width() * scale, h = b.image.Height() * scale;
        if (x + w > width - margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        at.emplace_back(x, y);
        x += w + margin;
        rowHeight = std::max(rowHeight, h);
    }
    Image sheet(width, y + rowHeight + margin, Hex(0x8A9099));
    MockWindow(sheet, byName, margin, margin, true);
    MockWindow(sheet, byName, 2 * margin + 333, margin, false);
    for (std::size_t i = 0; i < bitmaps.size(); ++i) {
        const Image big = bitmaps[i].image.Scaled(scale);
        for (int py = 0; py < big.Height(); ++py)
            for (int px = 0; px < big.Width(); ++px) {
                Rgb c = big.Get(px, py);
                if (c == kKey)
                    c = ((px / 4 + py / 4) % 2) ? Hex(0xC8CCD2) : Hex(0xE6E8EB);
                sheet.Set(at[i].first + px, at[i].second + py, c);
            }
    }
    return sheet;
}

} // namespace skingen
