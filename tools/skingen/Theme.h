#pragma once
#include <string>
#include <vector>

#include "Raster.h"

// The default skin's palette and measures: a dark slate title bar, a light neutral face and
// one warm accent for progress, focus and hot states.
namespace skingen::theme {

constexpr Rgb Face = Hex(0xECEEF1);
constexpr Rgb FaceLight = Hex(0xF7F8FA);
constexpr Rgb Window = Hex(0xFFFFFF);
constexpr Rgb Text = Hex(0x22272E);
constexpr Rgb TextDisabled = Hex(0x9AA2AD);
constexpr Rgb Shadow = Hex(0xA9B0BA);
constexpr Rgb DkShadow = Hex(0x6E7681);
constexpr Rgb Edge = Hex(0xB9C0CA);     // control outlines
constexpr Rgb EdgeSoft = Hex(0xD3D8DF); // disabled outlines, separators

constexpr Rgb Accent = Hex(0xE8832A);
constexpr Rgb AccentDark = Hex(0xC96A18);
constexpr Rgb AccentLight = Hex(0xF6B26E);
constexpr Rgb AccentPale = Hex(0xFCE9D6);

// Title bar and frame, active and inactive.
struct FrameColours {
    Rgb titleTop, titleBottom, outline, inner, highlight, glyph, text;
};
constexpr FrameColours Active{Hex(0x414B59), Hex(0x2B323C), Hex(0x1C2128), Hex(0x232A33), Hex(0x5E6978),
                              Hex(0xD9DEE5), Hex(0xF3F5F8)};
constexpr FrameColours Inactive{Hex(0x6E7682), Hex(0x616975), Hex(0x474E58), Hex(0x555C67), Hex(0x858D98),
                                Hex(0xA9B0BA), Hex(0xC9CED5)};

constexpr Rgb MenuBack = Hex(0xFBFBFC);
constexpr Rgb MenuBorder = Hex(0xB4BCC6);
constexpr Rgb Track = Hex(0xE4E7EB); // scroll and progress tracks

// Frame measures, pixels.
constexpr int TitleHeight = 30;
constexpr int FrameSide = 4;
constexpr int FrameBottom = 4;
constexpr int TopRadius = 8;
constexpr int BottomRadius = 4;

// Caption buttons: four images each (normal, pressed, hot, inactive).
constexpr int CaptionButtonWidth = 28;
constexpr int CaptionButtonHeight = 22;
constexpr int CaptionButtonTop = 4;

// The title bar colour behind row y of the title (a caption button's matte).
Rgb TitleAt(const FrameColours& c, int y);

} // namespace skingen::theme
