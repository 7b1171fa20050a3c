#include "Frame.h"

#include <algorithm>
#include <cmath>

#include "Theme.h"

namespace skingen {

using namespace theme;

Rgb theme::TitleAt(const FrameColours& c, int y)
{
    return Mix(c.titleTop, c.titleBottom, std::clamp(double(y) / (TitleHeight - 1), 0.0, 1.0));
}

namespace {

constexpr int kModelWidth = 160;
constexpr int kModelHeight = 100;

// A whole window frame around an empty client area; the pieces are cut out of it.
Image MakeModel(const FrameColours& c)
{
    const int w = kModelWidth, h = kModelHeight;
    Image model(w, h);
    model.SetMatte([](int, int) { return Hex(0x5A606A); }); // unknown desktop: a neutral dark
    model.Draw(RoundRect4(0, 0, w, h, TopRadius, TopRadius, BottomRadius, BottomRadius), c.outline);

    const Shape inside = RoundRect4(1, 1, w - 1, h - 1, TopRadius - 1, TopRadius - 1, BottomRadius - 1, BottomRadius - 1);
    model.Draw(inside, [&c](int, int y) { return y < TitleHeight ? TitleAt(c, y) : c.titleBottom; });
    // A soft light edge along the top of the title bar.
    const Shape lower = RoundRect4(1, 2, w - 1, h - 1, TopRadius - 1, TopRadius - 1, BottomRadius - 1, BottomRadius - 1);
    model.Draw(Clip(Minus(inside, lower), 0, 0, w, TopRadius), c.highlight, 0.7);

    // A crisp line around the client area, then the client itself.
    model.Fill({FrameSide - 1, TitleHeight - 1, w - FrameSide + 1, h - FrameBottom + 1}, c.inner);
    model.Fill({FrameSide, TitleHeight, w - FrameSide, h - FrameBottom}, Face);
    return model;
}

Image CaptionGlyphShape(CaptionGlyph glyph, Image frame, Rgb colour)
{
    switch (glyph) {
    case CaptionGlyph::Close:
        frame.Draw(Union(Capsule(10, 7, 18, 15, 1.6), Capsule(18, 7, 10, 15, 1.6)), colour);
        break;
    case CaptionGlyph::Maximise:
        frame.Draw(Minus(RoundRect(9, 6, 19, 16, 1.5), RoundRect(10.4, 8, 17.6, 14.6, 0.6)), colour);
        break;
    case CaptionGlyph::Restore: {
        const Shape front = RoundRect(9, 9, 17, 17, 1.2);
        const Shape back = Minus(RoundRect(12, 5, 20, 13, 1.2), RoundRect(13.3, 6.8, 18.7, 11.7, 0.5));
        frame.Draw(Minus(back, RoundRect(8, 8, 18, 18, 1.2)), colour);
        frame.Draw(Minus(front, RoundRect(10.3, 10.8, 15.7, 15.7, 0.5)), colour);
        break;
    }
    case CaptionGlyph::Minimise:
        frame.Draw(Capsule(9.5, 15, 18.5, 15, 1.7), colour);
        break;
    case CaptionGlyph::Help: {
        const double cx = 14, cy = 8.6, r = 3.1;
        const double ex = cx + r * std::cos(M_PI / 4), ey = cy + r * std::sin(M_PI / 4);
        frame.Draw(Union(Arc(cx, cy, r, 1.6, 185, 405), Polyline({{ex, ey}, {cx, ey + 1.6}, {cx, ey + 2.6}}, 1.6)),
                   colour);
        frame.Draw(Circle(cx, 16.2, 1.1), colour);
        break;
    }
    }
    return frame;
}

} // namespace

FramePieces MakeFrame()
{
    const Image a = MakeModel(Active), i = MakeModel(Inactive);
    const int w = kModelWidth, h = kModelHeight;
    auto left = [&](const Image& m) { return m.Crop({0, 0, FrameSide, h}); };
    auto right = [&](const Image& m) { return m.Crop({w - FrameSide, 0, w, h}); };
    auto top = [&](const Image& m) { return m.Crop({FrameSide, 0, w - FrameSide, TitleHeight}); };
    auto bottom = [&](const Image& m) { return m.Crop({FrameSide, h - FrameBottom, w - FrameSide, h}); };
    return {Image::Row({left(a), left(i)}), Image::Row({right(a), right(i)}), Image::Column({top(a), top(i)}),
            Image::Column({bottom(a), bottom(i)})};
}

Image MakeCaptionButton(CaptionGlyph glyph)
{
    const int w = CaptionButtonWidth, h = CaptionButtonHeight;
    const bool close = glyph == CaptionGlyph::Close;
    std::vector<Image> frames;
    // 1 normal, 2 pressed, 3 hot, 4 inactive window.
    for (int state = 1; state <= 4; ++state) {
        const FrameColours& c = state == 4 ? Inactive : Active;
        // Opaque: the title bar behind a button is known row by row, so glyph edges blend
        // with it exactly.
        Image f(w, h);
        for (int y = 0; y < h; ++y)
            f.Fill({0, y, w, y + 1}, TitleAt(c, y + CaptionButtonTop));
        Rgb glyphColour = c.glyph;
        if (state == 2 || state == 3) {
            const Rgb back = close ? (state == 3 ? Hex(0xD6473B) : Hex(0xAE3A30))
                                   : (state == 3 ? Lighter(Active.titleTop, 0.16) : Darker(Active.titleBottom, 0.3));
            f.Draw(RoundRect(1, 1, w - 1, h - 1, 4), back);
            glyphColour = Hex(0xFFFFFF);
        }
        frames.push_back(CaptionGlyphShape(glyph, std::move(f), glyphColour));
    }
    return Image::Row(frames);
}

Image MakeMenuBar()
{
    Image active(40, 20, Face), inactive(40, 20, Face);
    active.FillVertical({0, 0, 40, 19}, FaceLight, Face);
    active.Fill({0, 19, 40, 20}, EdgeSoft);
    inactive.Fill({0, 19, 40, 20}, EdgeSoft);
    return Image::Row({active, inactive});
}

Image MakeMdiButtons()
{
    // Minimise, restore and close of a maximised child, four images each: normal, pressed,
    // disabled, hot.
    std::vector<Image> cells;
    for (int kind = 0; kind < 3; ++kind)
        for (int state = 1; state <= 4; ++state) {
            // Opaque over the menu bar's gradient (the buttons sit two rows down in it).
            Image f(16, 16);
            for (int y = 0; y < 16; ++y)
                f.Fill({0, y, 16, y + 1}, Mix(FaceLight, Face, (y + 2) / 18.0));
            Rgb colour = state == 3 ? TextDisabled : Text;
            if (state == 2)
                f.Draw(RoundRect(0, 0, 16, 16, 3), Darker(Face, 0.12));
            if (state == 4) {
                const Rgb back = kind == 2 ? Hex(0xD6473B) : AccentPale;
                f.Draw(RoundRect(0, 0, 16, 16, 3), back);
                if (kind == 2)
                    colour = Hex(0xFFFFFF);
            }
            if (kind == 0)
                f.Draw(Capsule(4.5, 11, 11.5, 11, 1.5), colour);
            else if (kind == 1) {
                f.Draw(Minus(Minus(RoundRect(6, 3, 13, 10, 1), RoundRect(7.2, 4.6, 11.8, 8.8, 0.4)), RoundRect(2, 5, 11, 14, 1)),
                       colour);
                f.Draw(Minus(RoundRect(3, 6, 10, 13, 1), RoundRect(4.2, 7.6, 8.8, 11.8, 0.4)), colour);
            } else
                f.Draw(Union(Capsule(4.5, 4.5, 11.5, 11.5, 1.4), Capsule(11.5, 4.5, 4.5, 11.5, 1.4)), colour);
            cells.push_back(std::move(f));
        }
    return Image::Row(cells);
}

} // namespace skingen
