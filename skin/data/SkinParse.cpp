// Turning a skin's ini text and pictures into element records and colours.
#include <algorithm>

#include "classlib/graphics/Canvas.h"
#include "skin/BitmapHelpers.h"
#include "skin/SkinContainer.h"
#include "skin/SkinIni.h"
#include "skin/data/SkinColour.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"

namespace {
constexpr const char* kPersonality = "Personality";

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }
}

void TSkinData::ParseSkin()
{
    sections_.clear();
    ini_->ReadSections(sections_);
    SkinName = ini_->ReadString("TitlebarSkin", "SkinName", "");
    ReadBorders();
    ReadColours();
    ReadCaptionButtons();
    ReadButtons();
    ReadTitle();
    ReadProgress();
    ReadMenuBar();

    GroupBoxEdge = ReadGeneric("GroupBoxEdge");
    GroupBox = ReadGroupBox();
    Tabs = ReadTwoImage("Tabs", "Border");
    StatusBarEdges = ReadGeneric("StatusBarEdges");
    ToolBars = ReadGeneric("ToolBars");
    ComboButton = ReadTwoImage("ComboButton", "");
    if (ComboButton && !ComboButton->Image.Empty()) {
        ComboButton->Image2.Assign(ComboButton->Image);
        ComboButton->Image2.SetPixelFormat(pf24bit);
        MirrorBitmap(ComboButton->Image2);
    }

    SunkEdge = ReadGeneric("SunkEdge");
    ExtraImages = ReadGeneric("ExtraImages");
    Headerbar = ReadGeneric("Headerbar");
    MenuItem = ReadGeneric("MenuItem");
    MenuBackground = ReadGeneric("MenuBackground");
    Scrollbar = ReadGeneric("Scrollbar");
    HorzScroll = ReadGeneric("HorzScroll");
    VertScroll = ReadGeneric("VertScroll");
    HorzScrollThumb = ReadGeneric("HorzScrollThumb");
    VertScrollThumb = ReadGeneric("VertScrollThumb");
    TrackThumbHorz = ReadGeneric("Trackbar.ThumbHorz");
    TrackThumbVert = ReadGeneric("Trackbar.ThumbVert");
    TrackThumbLeft = ReadGeneric("Trackbar.ThumbLeft");
    TrackThumbRight = ReadGeneric("Trackbar.ThumbRight");
    TrackThumbUp = ReadGeneric("Trackbar.ThumbUp");
    TrackThumbDown = ReadGeneric("Trackbar.ThumbDown");

    UpDownHorz = ReadTwoImage("UpDown.Horz", "GlyphImage");
    UpDownVert = ReadTwoImage("UpDown.Vert", "GlyphImage");

    Track = ReadResource("TRACK");
    TrackVert = ReadResource("TRACKVERT");

    FixFrameCounts();
    BuildComboImages();
    BuildToolbarGradient();

    if (FaceBrush)
        DeleteObject(FaceBrush);
    FaceBrush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(ButtonFaceColour)));
    sections_.clear();
    SkinEmpty = 0;
}

void TSkinData::ReadBorders()
{
    TDataSkinBorder* borders[] = {BorderLeft.get(), BorderRight.get(), BorderTop.get(), BorderBottom.get()};
    const char* names[] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i) {
        TDataSkinBorder& b = *borders[i];
        const std::string n = names[i];
        const std::int32_t first = ini_->ReadInteger(kPersonality, n + "TopHeight", 0);
        const std::int32_t second = ini_->ReadInteger(kPersonality, n + "BotHeight", 0);
        if (i < 2) {
            b.TopHeight = first;
            b.BottomHeight = second;
            b.LeftWidth = b.RightWidth = 0;
        } else {
            b.LeftWidth = first;
            b.RightWidth = second;
            b.TopHeight = b.BottomHeight = 0;
        }
        b.Frame = ini_->ReadInteger(kPersonality, n + "Frame", 1);
        b.Tile = ini_->ReadInteger(kPersonality, n + "Stretch", 1);
        b.Trans = ini_->ReadInteger(kPersonality, n + "Trans", 1);
        LoadSkinBitmap(b.Image, ini_->ReadString(kPersonality, n, ""));
        if (b.Tile > 1)
            b.Tile = 1;
    }
}

void TSkinData::ReadColours()
{
    auto colour = [this](const char* key, TColor fallback) {
        return ParseColour(ini_->ReadString("Colours", key, ""), fallback);
    };
    WindowTextColour = colour("WindowText", SystemColor(COLOR_WINDOWTEXT));
    ButtonFaceColour = colour("ButtonFace", SystemColor(COLOR_BTNFACE));
    ScrollbarColour = colour("Scrollbar", SystemColor(COLOR_SCROLLBAR));
    HilightTextColour = colour("HilightText", SystemColor(COLOR_HIGHLIGHTTEXT));
    HilightColour = colour("Hilight", SystemColor(COLOR_HIGHLIGHT));
    MenubarColour = colour("Menubar", ButtonFaceColour);
    MenuColour = colour("Menu", SystemColor(COLOR_MENU));
    MenuTextColour = colour("MenuText", SystemColor(COLOR_MENUTEXT));
    ButtonTextColour = colour("ButtonText", SystemColor(COLOR_BTNTEXT));
    ButtonHilightColour = colour("ButtonHilight", SystemColor(COLOR_BTNHIGHLIGHT));
    ButtonlightColour = colour("Buttonlight", SystemColor(COLOR_BTNHIGHLIGHT));
    ButtonShadowColour = colour("ButtonShadow", SystemColor(COLOR_BTNSHADOW));
    ButtonDkShadowColour = colour("ButtonDkShadow", SystemColor(COLOR_3DDKSHADOW));
    MenuBarTextColour = colour("MenuBarText", SystemColor(COLOR_MENUTEXT));
    TitleTextActiveColour = colour("TitleTextActive", SystemColor(COLOR_CAPTIONTEXT));
    TitleTextNoActiveColour = colour("TitleTextNoActive", SystemColor(COLOR_INACTIVECAPTIONTEXT));

    ColourTable.clear();
    for (const std::string& section : sections_) {
        const std::string name = Upper(section);
        if (name == "COLOURS" || !StartsWith(name, "COLOUR"))
            continue;
        ColourTable.push_back(ParseColour(ini_->ReadString(section, "color", ""), SystemColor(COLOR_WINDOWTEXT)));
    }
    for (int n = 0; n < 10; ++n)
        CustomColors[n] = ParseColour(ini_->ReadString("Customcolors", "Color" + std::to_string(n), ""), 0xFFFFFF);
}

void TSkinData::ReadCaptionButtons()
{
    SysButtons.clear();
    std::vector<std::string> kept;
    for (const std::string& section : sections_) {
        const std::string name = Upper(section);
        if (name == "BUTTONS" || name == "BUTTON.RADIO" || name == "BUTTON.CHECKBOX" || name == "BUTTON" ||
            !StartsWith(name, "BUTTON"))
            continue;
        if (ini_->ReadInteger(section, "Action", 0) == -1 && ini_->ReadInteger(section, "Visibility", -1) != 0)
            continue;
        kept.push_back(section);
    }
    for (const std::string& section : kept) {
        auto b = std::make_unique<TDataSkinSysButton>(Upper(section));
        b->Action = ini_->ReadInteger(section, "Action", 0);
        b->Align = ini_->ReadInteger(section, "Align", 0);
        b->Xcoord = ini_->ReadInteger(section, "Xcoord", 0);
        b->Ycoord = ini_->ReadInteger(section, "Ycoord", 0);
        b->Visibility = ini_->ReadInteger(section, "Visibility", 0);
        b->Visibility1 = ini_->ReadInteger(section, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = ini_->ReadInteger(section, "CombineOp", -1);
        b->Frame = ini_->ReadInteger(section, "frame", 0);
        LoadSkinBitmap(b->Image, ini_->ReadString(section, "ButtonImage", ""));
        if (b->Frame == 0) {
            b->Frame = 6;
            if (!b->Image.Empty())
                b->Frame = static_cast<double>(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
            if (b->Action < 0)
                b->Frame = 6;
            if (b->Action == 3 || b->Action == 11)
                b->Image.SetSize(0, 0);
        }
        SysButtons.push_back(std::move(b));
    }
    for (int action = 7; action <= 9; ++action) {
        auto b = std::make_unique<TDataSkinSysButton>("MDI" + std::to_string(action));
        b->Action = action;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->Frame = 4;
        SysButtons.push_back(std::move(b));
    }
    TBitmap strip;
    LoadSkinBitmap(strip, ini_->ReadString("MDICONTROLS", "Image", ""));
    if (strip.Empty())
        return;
    const int cell = strip.Width() / 12;
    const std::size_t first = SysButtons.size() - 3;
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = *SysButtons[first + i];
        if (cell > 0) {
            TBitmap part(4 * cell, strip.Height(), pf24bit);
            const RECT to{0, 0, 4 * cell, strip.Height()};
            const RECT from{4 * cell * i, 0, 4 * cell * (i + 1), strip.Height()};
            part.Canvas()->CopyRect(to, *strip.Canvas(), from);
            b.Image.Assign(part);
        }
        b.Xcoord = (cell + 4) * (3 - i);
    }
}

void TSkinData::ReadButtons()
{
    const char* s = "Buttons";
    TDataSkinButton& b = *Buttons;
    b.LeftWidth = ini_->ReadInteger(s, "LeftWidth", 0);
    b.RightWidth = ini_->ReadInteger(s, "RightWidth", 0);
    b.TopHeight = ini_->ReadInteger(s, "TopHeight", 0);
    b.BottomHeight = ini_->ReadInteger(s, "BottomHeight", 0);
    b.Trans = ini_->ReadInteger(s, "Trans", 0);
    LoadSkinBitmap(b.Image, ini_->ReadString(s, "Bitmap", ""));
    b.Tile = ini_->ReadInteger(s, "Tile", 0);
    LoadSkinBitmap(b.CheckImage, ini_->ReadString(s, "CheckButton", ""));
    LoadSkinBitmap(b.RadioImage, ini_->ReadString(s, "RadioButton", ""));
    b.NormalColour = ini_->ReadInteger(s, "NormalColour", -1);
    b.MouseOverColour = ini_->ReadInteger(s, "MouseOverColour", -1);
    b.PressedColour = ini_->ReadInteger(s, "PressedColour", -1);
    b.RadioFrame = ini_->ReadInteger(s, "RadioButtonFrame", 0);
    b.CheckFrame = ini_->ReadInteger(s, "CheckButtonFrame", 0);
    if (b.Tile > 1)
        b.Tile = 0;
    const std::string normal = ini_->ReadString(s, "NormalColour2", "");
    const std::string over = ini_->ReadString(s, "MouseOverColour2", "");
    const std::string pressed = ini_->ReadString(s, "PressedColour2", "");
    b.HasNormalColour2 = !normal.empty();
    b.HasMouseOverColour2 = !over.empty();
    b.HasPressedColour2 = !pressed.empty();
    b.NormalColour2 = ParseColour(normal, ButtonTextColour);
    b.MouseOverColour2 = ParseColour(over, ButtonTextColour);
    b.PressedColour2 = ParseColour(pressed, ButtonTextColour);
}

void TSkinData::ReadTitle()
{
    TDataSkinTitle& t = *Title;
    LoadSkinBitmap(t.Image, ini_->ReadString(kPersonality, "TextBack", ""));
    t.LeftWidth = ini_->ReadInteger(kPersonality, "TextShift", 0);
    t.TopHeight = ini_->ReadInteger(kPersonality, "TextShiftVert", 0);
    t.RightWidth = ini_->ReadInteger(kPersonality, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = ini_->ReadInteger(kPersonality, "TextAlignment", 0);
    t.Textbackground = ini_->ReadInteger(kPersonality, "Textbackground", 0);
    t.FontHeight = ini_->ReadInteger("Fonts", "FontHeight", 14);
    t.TXTBackleft = ini_->ReadInteger(kPersonality, "TXTBackleft", 0);
    t.TXTBackRight = ini_->ReadInteger(kPersonality, "TXTBackRight", 0);
    t.ActiveText = TDataSkinTitle::NoTextColour;
    ReadColourTriple(kPersonality, "ActiveText", t.ActiveText);
    t.InActiveText = TDataSkinTitle::NoTextColour;
    ReadColourTriple(kPersonality, "InActiveText", t.InActiveText);
}

void TSkinData::ReadProgress()
{
    Progress.reset();
    const std::string image = ini_->ReadString("Progress", "Bitmap", "");
    if (image.empty())
        return;
    auto p = std::make_unique<TDataSkinBorder>("Progress");
    LoadSkinBitmap(p->Image, image);
    LoadSkinBitmap(p->Image2, ini_->ReadString("Progress", "Chunk", ""));
    p->Style = ini_->ReadInteger("Progress", "Style", 0);
    p->LeftWidth = ini_->ReadInteger("Progress", "LeftWidth", 0);
    p->RightWidth = ini_->ReadInteger("Progress", "RightWidth", 0);
    p->TopHeight = ini_->ReadInteger("Progress", "TopHeight", 0);
    p->BottomHeight = ini_->ReadInteger("Progress", "BottomHeight", 0);
    p->Trans = ini_->ReadInteger("Progress", "Trans", 0);
    p->Tile = ini_->ReadInteger("Progress", "Tile", 0);
    // No colours are read for it.
    p->NormalColour = p->MouseOverColour = p->PressedColour = 0;
    p->NormalColour2 = p->MouseOverColour2 = p->PressedColour2 = 0;
    if (p->Tile > 1)
        p->Tile = 1;
    Progress = std::move(p);
}

void TSkinData::ReadMenuBar()
{
    MenuBarSkin.reset();
    const std::string image = ini_->ReadString(kPersonality, "menuBar", "");
    if (image.empty())
        return;
    auto m = std::make_unique<TDataSkinObject>(kPersonality);
    LoadSkinBitmap(m->Image, image);
    m->TopHeight = m->BottomHeight = 0;
    m->Tile = ini_->ReadInteger(kPersonality, "TileMenu", 1);
    m->LeftWidth = ini_->ReadInteger(kPersonality, "TileLeftMenu", 1);
    m->RightWidth = ini_->ReadInteger(kPersonality, "TileRightMenu", 1);
    if (m->Tile > 1)
        m->Tile = 1;
    MenuBarSkin = std::move(m);
}

namespace {
// The fields the generic and the two-image rules share; `style` says whether Style is read.
void ReadCommon(TDataSkinObject& o, const TQuickIni& ini, const std::string& s, bool style, TColor text)
{
    if (style)
        o.Style = ini.ReadInteger(s, "Style", 0);
    o.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
    o.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
    o.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
    o.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
    o.Trans = ini.ReadInteger(s, "Trans", 0);
    o.Tile = ini.ReadInteger(s, "Tile", 0);
    o.NormalColour = ini.ReadInteger(s, "NormalColour", -1);
    o.MouseOverColour = ini.ReadInteger(s, "MouseOverColour", -1);
    o.PressedColour = ini.ReadInteger(s, "PressedColour", -1);
    o.NormalColour2 = ::ParseColour(ini.ReadString(s, "NormalColour2", ""), text);
    o.MouseOverColour2 = ::ParseColour(ini.ReadString(s, "MouseOverColour2", ""), text);
    o.PressedColour2 = ::ParseColour(ini.ReadString(s, "PressedColour2", ""), text);
    if (o.Tile > 1)
        o.Tile = 0;
}
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadGeneric(const std::string& section)
{
    const std::string image = ini_->ReadString(section, "Image", "");
    if (image.empty())
        return nullptr;
    auto o = std::make_unique<TDataSkinObject>(section);
    LoadSkinBitmap(o->Image, image);
    ReadCommon(*o, *ini_, section, true, ButtonTextColour);
    return o;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinData::ReadGroupBox()
{
    const std::string section = "GroupBox";
    const std::string image = ini_->ReadString(section, "Image", "");
    if (image.empty())
        return nullptr;
    auto o = std::make_unique<TDataSkinBoxLabel>(section);
    LoadSkinBitmap(o->Image, image);
    ReadCommon(*o, *ini_, section, true, ButtonTextColour);
    o->BackgroundAlignment = ini_->ReadInteger(section, "BackgroundAlignment", 0);
    o->BackgroundLeftShift = ini_->ReadInteger(section, "BackgroundLeftShift", 0);
    o->BackgroundRightShift = ini_->ReadInteger(section, "BackgroundRightShift", 0);
    return o;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadTwoImage(const std::string& section, const std::string& secondKey)
{
    const std::string image = ini_->ReadString(section, "Image", "");
    if (image.empty())
        return nullptr;
    auto o = std::make_unique<TDataSkinBorder>(section);
    LoadSkinBitmap(o->Image, image);
    if (!secondKey.empty()) {
        const std::string second = ini_->ReadString(section, secondKey, "");
        if (!second.empty())
            LoadSkinBitmap(o->Image2, second);
    }
    ReadCommon(*o, *ini_, section, false, ButtonTextColour);
    return o;
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadResource(const std::string& name)
{
    auto o = std::make_unique<TDataSkinObject>(name);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring wide(name.begin(), name.end());
    if (FindResourceW(instance, wide.c_str(), MAKEINTRESOURCEW(2)))
        o->Image.LoadFromResourceName(instance, wide);
    o->LeftWidth = o->TopHeight = o->RightWidth = o->BottomHeight = 3;
    o->Tile = 0;
    o->Frame = 1;
    return o;
}

void TSkinData::FixFrameCounts()
{
    auto set = [](auto& slot, int frames) {
        if (slot)
            slot->Frame = frames;
    };
    set(Title, 2);
    set(Progress, 2);
    set(MenuBarSkin, 2);
    set(GroupBoxEdge, 2);
    set(GroupBox, 1);
    set(Tabs, 5);
    set(StatusBarEdges, 3);
    set(ToolBars, 5);
    set(ComboButton, 4);
    set(SunkEdge, 4);
    set(ExtraImages, 5);
    set(Headerbar, 5);
    set(MenuItem, 5);
    set(MenuBackground, 1);
    set(Scrollbar, 23);
    set(HorzScroll, 4);
    set(VertScroll, 4);
    set(HorzScrollThumb, ini_->ReadInteger("HorzScrollThumb", "FrameCount", 3));
    set(VertScrollThumb, ini_->ReadInteger("VertScrollThumb", "FrameCount", 3));
    for (auto* thumb : {&TrackThumbHorz, &TrackThumbVert, &TrackThumbLeft, &TrackThumbRight, &TrackThumbUp,
                        &TrackThumbDown})
        set(*thumb, 5);
    set(UpDownHorz, 8);
    set(UpDownVert, 8);
    set(Track, 1);
    set(TrackVert, 1);

    TDataSkinButton& b = *Buttons;
    b.Frame = 5;
    auto fromImage = [](const TBitmap& image) {
        const int cell = image.Height() >= 16 ? 16 : 13;
        return std::max(image.Width() / cell, 4);
    };
    if (b.RadioFrame == 0)
        b.RadioFrame = fromImage(b.RadioImage);
    if (b.CheckFrame == 0)
        b.CheckFrame = fromImage(b.CheckImage);
}

void TSkinData::BuildComboImages()
{
    if (!SunkEdge || !ComboButton)
        return;
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int frames = std::max(SunkEdge->Frame, 1);
    TBitmap strip(50 * frames, 21, pf24bit);
    HBRUSH key = CreateSolidBrush(kSkinKeyColour);
    const RECT whole{0, 0, 50 * frames, 21};
    FillRect(strip.Canvas()->Handle(), &whole, key);
    TBitmap work(50, 21, pf24bit);
    HDC dc = work.Canvas()->Handle();
    const RECT cellRect{0, 0, 50, 21};
    const RECT button{50 - w, 0, 50, 21};
    const RECT field{2, 2, 49 - w, 18};
    for (int k = 1; k <= frames; ++k) {
        FillRect(dc, &cellRect, key);
        DrawNineSlice(dc, cellRect, SunkEdge->Image, SunkEdge->Trans != 0, false, SunkEdge->Tile != 0, frames, k,
                      SunkEdge->Margins());
        DrawNineSlice(dc, button, ComboButton->Image, true, false, ComboButton->Tile != 0, std::max(ComboButton->Frame, 1),
                      k, ComboButton->Margins());
        if (ExtraImages)
            DrawStripImageCentered(dc, button, ExtraImages->Image, true, std::max(ExtraImages->Frame, 1), k);
        FillRect(dc, &field, key);
        const RECT to{(k - 1) * 50, 0, k * 50, 21};
        strip.Canvas()->CopyRect(to, *work.Canvas(), cellRect);
    }
    DeleteObject(key);

    ComboButton->Style = 2;
    ComboButton->TopHeight = SunkEdge->TopHeight;
    ComboButton->BottomHeight = SunkEdge->BottomHeight;
    ComboButton->LeftWidth = 2;
    ComboButton->RightWidth = w + 2;
    ComboButton->Image.Assign(strip);

    MirrorBitmap(strip);
    SunkEdge->Image.Assign(strip);
    SunkEdge->LeftWidth = w + 2;
    SunkEdge->RightWidth = 2;
}

void TSkinData::BuildToolbarGradient()
{
    TColor sample = ButtonFaceColour;
    if (!BorderTop->Image.Empty()) {
        const TBitmap& image = BorderTop->Image;
        const int frames = std::max(BorderTop->Frame, 1);
        sample = image.PixelColor(image.Width() / 2, ((image.Height() / frames) * 2) / 3);
    }
    const TColor bottom = MixColors(0x808080, sample, 150);
    const TColor top = MixColors(ButtonFaceColour, 0xFFFFFF, 150);
    TBitmap gradient(10, 40, pf24bit);
    const RECT r{0, 0, 10, 40};
    GradientFill(gradient.Canvas()->Handle(), r, top, true, bottom);
    if (!ToolbarGradient)
        ToolbarGradient = std::make_unique<TDataSkinObject>("Toolbar");
    ToolbarGradient->Image.Assign(gradient);
    ToolbarGradient->Frame = 1;
}
