#include "classlib/graphics/Color.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include <windows.h>

namespace {
constexpr std::array<TColorName, 43> kNames{{
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
}};
} // namespace

std::span<const TColorName> ColorNames() { return kNames; }

TColor ColorToRGB(TColor color)
{
    if (color < 0)
        return static_cast<TColor>(GetSysColor(color & 0xFF));
    return color;
}

std::optional<std::string> ColorToIdent(TColor color)
{
    for (const auto& n : kNames)
        if (n.color == color)
            return std::string(n.name);
    return std::nullopt;
}

std::optional<TColor> IdentToColor(const std::string& ident)
{
    for (const auto& n : kNames)
        if (_stricmp(n.name, ident.c_str()) == 0)
            return n.color;
    return std::nullopt;
}

std::string ColorToString(TColor color)
{
    if (auto name = ColorToIdent(color))
        return *name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
    return text;
}

std::optional<TColor> StringToColor(const std::string& text)
{
    if (auto c = IdentToColor(text))
        return c;
    if (text.empty())
        return std::nullopt;
    const bool hex = text[0] == '$';
    const char* start = text.c_str() + (hex ? 1 : 0);
    if (*start == '\0')
        return std::nullopt;
    char* end = nullptr;
    const long long value = hex ? std::strtoll(start, &end, 16) : std::strtoll(start, &end, 10);
    if (*end != '\0' || value < INT32_MIN || value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}
