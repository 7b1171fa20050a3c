#include <string>

#include "DefaultSkin.h"
#include "Theme.h"

namespace skingen {

namespace {

using namespace theme;

std::string Colour(Rgb c)
{
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

class IniWriter {
public:
    IniWriter& Section(const std::string& name)
    {
        if (!text_.empty())
            text_ += "\r\n";
        text_ += "[" + name + "]\r\n";
        return *this;
    }
    IniWriter& Key(const std::string& key, const std::string& value)
    {
        text_ += key + "=" + value + "\r\n";
        return *this;
    }
    IniWriter& Key(const std::string& key, int value) { return Key(key, std::to_string(value)); }
    IniWriter& Remark(const std::string& text)
    {
        text_ += "; " + text + "\r\n";
        return *this;
    }
    // An element: image, margins (left, top, right, bottom), transparency and fill mode.
    IniWriter& Element(const std::string& image, int left, int top, int right, int bottom, int trans, int tile)
    {
        return Key("Image", image)
            .Key("LeftWidth", left)
            .Key("TopHeight", top)
            .Key("RightWidth", right)
            .Key("BottomHeight", bottom)
            .Key("Trans", trans)
            .Key("Tile", tile);
    }
    IniWriter& TextColours(Rgb normal, Rgb over, Rgb pressed)
    {
        return Key("NormalColour2", Colour(normal)).Key("MouseOverColour2", Colour(over)).Key("PressedColour2", Colour(pressed));
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// One caption button: Align 1 counts Xcoord from the window's right edge.
void CaptionButton(IniWriter& ini, const std::string& section, const std::string& image, int action, int xcoord,
                   int visibility)
{
    ini.Section(section)
        .Key("ButtonImage", image)
        .Key("frame", 4)
        .Key("Action", action)
        .Key("Align", 1)
        .Key("Xcoord", xcoord)
        .Key("Ycoord", CaptionButtonTop)
        .Key("Visibility", visibility)
        .Key("Visibility1", 0);
}

} // namespace

std::string MakeIniText()
{
    IniWriter ini;
    ini.Remark("Kestrip default skin: slate title bar, light face, warm accent.");
    ini.Section("TitlebarSkin").Key("SkinName", "Kestrip").Key("Author", "Kestrip");

    const int side = FrameSide, title = TitleHeight;
    ini.Section("Personality")
        .Key("Left", "frame-left.bmp").Key("LeftFrame", 2).Key("LeftTopHeight", title).Key("LeftBotHeight", 5)
        .Key("LeftStretch", 1).Key("LeftTrans", 1)
        .Key("Right", "frame-right.bmp").Key("RightFrame", 2).Key("RightTopHeight", title).Key("RightBotHeight", 5)
        .Key("RightStretch", 1).Key("RightTrans", 1)
        .Key("Top", "frame-top.bmp").Key("TopFrame", 2).Key("TopTopHeight", TopRadius).Key("TopBotHeight", TopRadius)
        .Key("TopStretch", 1).Key("TopTrans", 1)
        .Key("Bottom", "frame-bottom.bmp").Key("BottomFrame", 2).Key("BottomTopHeight", side)
        .Key("BottomBotHeight", side).Key("BottomStretch", 1).Key("BottomTrans", 0)
        .Key("TextShift", 30).Key("TextShiftVert", 0).Key("TextRightClip", 4 * CaptionButtonWidth + 10)
        .Key("TextAlignment", 0).Key("Textbackground", 0).Key("TXTBackleft", 0).Key("TXTBackRight", 0)
        .Key("ActiveTextR", Active.text.r).Key("ActiveTextG", Active.text.g).Key("ActiveTextB", Active.text.b)
        .Key("InActiveTextR", Inactive.text.r).Key("InActiveTextG", Inactive.text.g)
        .Key("InActiveTextB", Inactive.text.b)
        .Key("menuBar", "menubar.bmp").Key("TileMenu", 0).Key("TileLeftMenu", 2).Key("TileRightMenu", 2);

    ini.Section("Colours")
        .Key("WindowText", Colour(Text))
        .Key("ButtonFace", Colour(Face))
        .Key("Scrollbar", Colour(Track))
        .Key("HilightText", Colour(Hex(0xFFFFFF)))
        .Key("Hilight", Colour(Accent))
        .Key("Menubar", Colour(Face))
        .Key("Menu", Colour(MenuBack))
        .Key("MenuText", Colour(Text))
        .Key("ButtonText", Colour(Text))
        .Key("ButtonHilight", Colour(Hex(0xFFFFFF)))
        .Key("Buttonlight", Colour(FaceLight))
        .Key("ButtonShadow", Colour(Shadow))
        .Key("ButtonDkShadow", Colour(DkShadow))
        .Key("MenuBarText", Colour(Text))
        .Key("TitleTextActive", Colour(Active.text))
        .Key("TitleTextNoActive", Colour(Inactive.text));
    // The colour table: accent, its dark and pale tones, the title slate.
    ini.Section("Colour1").Key("color", Colour(Accent));
    ini.Section("Colour2").Key("color", Colour(AccentDark));
    ini.Section("Colour3").Key("color", Colour(AccentPale));
    ini.Section("Colour4").Key("color", Colour(Active.titleBottom));
    ini.Section("Fonts").Key("FontHeight", 14);
    const Rgb custom[10] = {Accent,  AccentDark,        AccentLight, AccentPale, Active.titleTop,
                            Active.titleBottom, Face, Shadow,      DkShadow,   Text};
    ini.Section("Customcolors");
    for (int i = 0; i < 10; ++i)
        ini.Key("Color" + std::to_string(i), Colour(custom[i]));

    // Caption buttons from the right: close, maximise or restore, minimise, help. Without a
    // maximise box the minimise button takes the maximise button's place.
    const int w = CaptionButtonWidth, right = side + w;
    CaptionButton(ini, "ButtonClose", "caption-close.bmp", 0, right, 0);
    CaptionButton(ini, "ButtonMaximize", "caption-maximise.bmp", 1, right + w, 2);
    CaptionButton(ini, "ButtonRestore", "caption-restore.bmp", 1, right + w, 1);
    CaptionButton(ini, "ButtonMinimize", "caption-minimise.bmp", 2, right + 2 * w, 6);
    CaptionButton(ini, "ButtonMinimizeAlone", "caption-minimise.bmp", 2, right + w, 7);
    CaptionButton(ini, "ButtonHelp", "caption-help.bmp", 4, right + 3 * w, 1000);
    // The window icon opens the system menu; it shows the program's own small icon.
    ini.Section("ButtonIcon").Key("Action", 3).Key("Align", 0).Key("Xcoord", 9).Key("Ycoord", 7)
        .Key("Visibility", 0).Key("Visibility1", 0);
    ini.Section("MDICONTROLS").Key("Image", "mdi-buttons.bmp");

    ini.Section("Buttons")
        .Key("Bitmap", "button.bmp").Key("LeftWidth", 5).Key("TopHeight", 5).Key("RightWidth", 5)
        .Key("BottomHeight", 5).Key("Trans", 1).Key("Tile", 0)
        .Key("CheckButton", "checkbox.bmp").Key("CheckButtonFrame", 4)
        .Key("RadioButton", "radio.bmp").Key("RadioButtonFrame", 4)
        .TextColours(Text, Text, Text);

    ini.Section("Progress")
        .Key("Bitmap", "progress.bmp").Key("Chunk", "progress-chunk.bmp").Key("Style", 0)
        .Key("LeftWidth", 6).Key("TopHeight", 5).Key("RightWidth", 6).Key("BottomHeight", 5)
        .Key("Trans", 1).Key("Tile", 0);
    ini.Section("GroupBoxEdge").Element("groupbox-edge.bmp", 6, 6, 6, 6, 1, 0);
    ini.Section("GroupBox").Element("groupbox-label.bmp", 5, 5, 5, 5, 1, 0)
        .Key("BackgroundAlignment", 0).Key("BackgroundLeftShift", 4).Key("BackgroundRightShift", 4);
    ini.Section("Tabs").Element("tabs.bmp", 6, 6, 6, 3, 1, 0).Key("Border", "tabs-border.bmp")
        .TextColours(DkShadow, Text, Text);
    ini.Section("StatusBarEdges").Element("statusbar.bmp", 2, 3, 3, 2, 0, 0).TextColours(Text, Text, Text);
    ini.Section("ToolBars").Element("toolbar.bmp", 5, 5, 5, 5, 1, 0);
    ini.Section("ComboButton").Element("combo-button.bmp", 3, 4, 4, 4, 1, 0).Key("Style", 0);
    ini.Section("SunkEdge").Element("sunken-edge.bmp", 3, 3, 3, 3, 1, 0).Key("Style", 0);
    ini.Section("ExtraImages").Element("combo-arrow.bmp", 0, 0, 0, 0, 1, 0);
    ini.Section("Headerbar").Element("header.bmp", 3, 3, 3, 3, 0, 0).TextColours(Text, Text, Text);
    ini.Section("MenuItem").Element("menu-item.bmp", 5, 5, 5, 5, 1, 0)
        .TextColours(Text, Hex(0xFFFFFF), Hex(0xFFFFFF));
    ini.Section("MenuBackground").Element("menu-border.bmp", 3, 3, 3, 3, 0, 0);
    ini.Section("Scrollbar").Element("scroll-arrows.bmp", 0, 0, 0, 0, 1, 0);
    ini.Section("HorzScroll").Element("scroll-track-horz.bmp", 2, 2, 2, 2, 0, 0);
    ini.Section("VertScroll").Element("scroll-track-vert.bmp", 2, 2, 2, 2, 0, 0);
    ini.Section("HorzScrollThumb").Element("scroll-thumb-horz.bmp", 7, 5, 7, 5, 1, 0).Key("FrameCount", 3);
    ini.Section("VertScrollThumb").Element("scroll-thumb-vert.bmp", 5, 7, 5, 7, 1, 0).Key("FrameCount", 3);
    // Track-bar thumbs share the push-button look.
    for (const char* thumb : {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                              "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
        ini.Section(thumb).Element("button.bmp", 4, 4, 4, 4, 1, 0);
    return ini.Text();
}

} // namespace skingen
