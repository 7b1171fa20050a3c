// Parsing skins into element records: our default skin, and hand-made skins for each rule.
#include <gtest/gtest.h>

#include "skin/SkinContainer.h"
#include "skin/data/SkinData.h"
#include "skindata/SkinDataTestKit.h"

using namespace skindatatest;

namespace {
std::unique_ptr<TSkinData> DefaultSkin()
{
    auto skin = std::make_unique<TSkinData>();
    skin->SkinStream.LoadFromFile(SourcePath("assets/Kestrip.skn"));
    skin->SkinStream.SetPosition(0);
    EXPECT_TRUE(skin->LoadSkin());
    return skin;
}
}

TEST(SkinParse, OurDefaultSkinFillsEverySlotItNames)
{
    auto skin = DefaultSkin();
    TSkinData& s = *skin;
    EXPECT_EQ(s.SkinEmpty, 0);
    EXPECT_EQ(s.SkinName, "Kestrip");

    struct Border { TDataSkinBorder* b; int l, t, r, bt, frame, tile, trans; };
    for (const Border& c : {Border{s.BorderLeft.get(), 0, 30, 0, 5, 2, 1, 1}, Border{s.BorderRight.get(), 0, 30, 0, 5, 2, 1, 1},
                            Border{s.BorderTop.get(), 8, 0, 8, 0, 2, 1, 1}, Border{s.BorderBottom.get(), 4, 0, 4, 0, 2, 1, 0}}) {
        SCOPED_TRACE(c.b->Name);
        EXPECT_EQ(c.b->LeftWidth, c.l);
        EXPECT_EQ(c.b->TopHeight, c.t);
        EXPECT_EQ(c.b->RightWidth, c.r);
        EXPECT_EQ(c.b->BottomHeight, c.bt);
        EXPECT_EQ(c.b->Frame, c.frame);
        EXPECT_EQ(c.b->Tile, c.tile);
        EXPECT_EQ(c.b->Trans, c.trans);
        EXPECT_FALSE(c.b->Image.Empty());
    }
    EXPECT_EQ(s.BorderTop->Image.Width(), 152);
    EXPECT_EQ(s.BorderTop->Image.Height(), 60);

    EXPECT_EQ(s.ButtonFaceColour, RGBColor(236, 238, 241));
    EXPECT_EQ(s.MenubarColour, RGBColor(236, 238, 241));
    EXPECT_EQ(s.HilightColour, RGBColor(232, 131, 42));
    EXPECT_EQ(s.ButtonShadowColour, RGBColor(169, 176, 186));
    EXPECT_EQ(s.TitleTextNoActiveColour, RGBColor(201, 206, 213));
    EXPECT_EQ(s.ColourTable, (std::vector<TColor>{RGBColor(232, 131, 42), RGBColor(201, 106, 24),
                                                  RGBColor(252, 233, 214), RGBColor(43, 50, 60)}));
    EXPECT_EQ(s.CustomColors[0], RGBColor(232, 131, 42));
    EXPECT_EQ(s.CustomColors[9], RGBColor(34, 39, 46));

    ASSERT_EQ(s.SysButtons.size(), 10u);
    EXPECT_EQ(s.SysButtons[0]->Name, "BUTTONCLOSE");
    EXPECT_EQ(s.SysButtons[0]->Xcoord, 32);
    EXPECT_EQ(s.SysButtons[0]->Frame, 4);
    EXPECT_EQ(s.SysButtons[0]->Image.Width(), 112);
    EXPECT_EQ(s.SysButtons[3]->Visibility, 6);
    EXPECT_EQ(s.SysButtons[6]->Name, "BUTTONICON");
    EXPECT_EQ(s.SysButtons[6]->Action, 3);
    EXPECT_EQ(s.SysButtons[6]->Frame, 6);
    EXPECT_TRUE(s.SysButtons[6]->Image.Empty());
    EXPECT_EQ(s.SysButtons[6]->CombineOp, -1);
    // mdi-buttons.bmp is 192 wide: cell 16.
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& m = *s.SysButtons[7 + i];
        EXPECT_EQ(m.Action, 7 + i);
        EXPECT_EQ(m.Image.Width(), 64);
        EXPECT_EQ(m.Image.Height(), 16);
        EXPECT_EQ(m.Xcoord, 20 * (3 - i));
    }

    EXPECT_EQ(s.Buttons->Frame, 5);
    EXPECT_EQ(s.Buttons->CheckFrame, 4);
    EXPECT_EQ(s.Buttons->RadioFrame, 4);
    EXPECT_EQ(s.Buttons->Margins().left, 5);
    EXPECT_TRUE(s.Buttons->HasNormalColour2);
    EXPECT_EQ(s.Buttons->PressedColour2, RGBColor(34, 39, 46));
    EXPECT_EQ(s.Buttons->NormalColour, -1);

    EXPECT_EQ(s.Title->LeftWidth, 30);
    EXPECT_EQ(s.Title->RightWidth, 122);
    EXPECT_EQ(s.Title->Frame, 2);
    EXPECT_EQ(s.Title->FontHeight, 14);
    EXPECT_EQ(s.Title->ActiveText, RGBColor(243, 245, 248));
    EXPECT_EQ(s.Title->InActiveText, RGBColor(201, 206, 213));

    ASSERT_TRUE(s.Progress);
    EXPECT_EQ(s.Progress->Frame, 2);
    EXPECT_FALSE(s.Progress->Image2.Empty());
    ASSERT_TRUE(s.MenuBarSkin);
    EXPECT_EQ(s.MenuBarSkin->Name, "Personality");
    EXPECT_EQ(s.MenuBarSkin->Tile, 0);
    EXPECT_EQ(s.MenuBarSkin->LeftWidth, 2);
    ASSERT_TRUE(s.GroupBox);
    EXPECT_EQ(s.GroupBox->BackgroundLeftShift, 4);
    EXPECT_EQ(s.GroupBox->Frame, 1);
    ASSERT_TRUE(s.Tabs);
    EXPECT_EQ(s.Tabs->Frame, 5);
    EXPECT_FALSE(s.Tabs->Image2.Empty());
    EXPECT_EQ(s.Tabs->NormalColour2, RGBColor(110, 118, 129));
    ASSERT_TRUE(s.MenuItem);
    EXPECT_EQ(s.MenuItem->MouseOverColour2, RGBColor(255, 255, 255));
    EXPECT_EQ(s.Scrollbar->Frame, 23);
    EXPECT_EQ(s.HorzScroll->Frame, 4);
    EXPECT_EQ(s.VertScrollThumb->Frame, 3);
    EXPECT_EQ(s.TrackThumbDown->Frame, 5);
    EXPECT_EQ(s.StatusBarEdges->Frame, 3);
    EXPECT_EQ(s.MenuBackground->Frame, 1);
    EXPECT_FALSE(s.UpDownHorz); // the skin has no [UpDown.Horz]

    // Combo images: 50 per frame of the sunken edge, 21 high; the edge is the mirror.
    ASSERT_TRUE(s.ComboButton && s.SunkEdge);
    EXPECT_EQ(s.ComboButton->Image.Width(), 200);
    EXPECT_EQ(s.ComboButton->Image.Height(), 21);
    EXPECT_EQ(s.ComboButton->Style, 2);
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    EXPECT_EQ(s.ComboButton->LeftWidth, 2);
    EXPECT_EQ(s.ComboButton->RightWidth, w + 2);
    EXPECT_EQ(s.ComboButton->TopHeight, 3);
    EXPECT_EQ(s.SunkEdge->LeftWidth, w + 2);
    EXPECT_EQ(s.SunkEdge->RightWidth, 2);
    for (int y = 0; y < 21; y += 4)
        for (int x = 0; x < 200; x += 7)
            ASSERT_EQ(s.SunkEdge->Image.PixelColor(x, y), s.ComboButton->Image.PixelColor(199 - x, y)) << x << "," << y;
    // The field inside each frame is the key colour.
    EXPECT_EQ(s.ComboButton->Image.PixelColor(10, 10), kSkinKeyColour);
    EXPECT_EQ(s.ComboButton->Image.PixelColor(60, 10), kSkinKeyColour);
    EXPECT_NE(s.ComboButton->Image.PixelColor(49, 10), kSkinKeyColour); // the button part

    ASSERT_TRUE(s.Track && s.TrackVert);
    EXPECT_EQ(s.Track->Image.Width(), 16);
    EXPECT_EQ(s.Track->Image.Height(), 4);
    EXPECT_EQ(s.TrackVert->Image.Width(), 4);
    EXPECT_EQ(s.TrackVert->Image.Height(), 16);
    EXPECT_EQ(s.Track->Margins().bottom, 3);
    EXPECT_EQ(s.Track->Frame, 1);
    ASSERT_TRUE(s.ToolbarGradient);
    EXPECT_EQ(s.ToolbarGradient->Name, "Toolbar");
    EXPECT_EQ(s.ToolbarGradient->Image.Width(), 10);
    EXPECT_EQ(s.ToolbarGradient->Image.Height(), 40);
    // Top colour: 15% button face, 85% white.
    const TColor top = s.ToolbarGradient->Image.PixelColor(5, 0);
    EXPECT_EQ(GetRValue32(top), (236 * 150 + 255 * 850 + 500) / 1000);
    EXPECT_NE(s.FaceBrush, nullptr);
}

TEST(SkinParse, EntryNamesIgnoreCaseAndLoseFolderPartsOnlyBmpCounts)
{
    TTestSkin t;
    t.Bitmap("copy of express__f-top.bmp", 30, 12)
        .Bitmap("goof_menuborder.bmp", 9, 9)
        .Bitmap("upper.bmp", 5, 5)
        .Bitmap("x.bmp", 4, 4)
        .Ini("[Personality]\nTop=Copy of express__f-top.bmp\n"
             "[MenuBackground]\nImage=goof\\goof_menuborder.bmp\n"
             "[MenuItem]\nImage=upper.BMP\n"
             "[Headerbar]\nImage=C:x.bmp\n"
             "[ToolBars]\nImage=missing.bmp\n");
    auto s = Parsed(t);
    EXPECT_EQ(s->BorderTop->Image.Width(), 30);
    ASSERT_TRUE(s->MenuBackground);
    EXPECT_EQ(s->MenuBackground->Image.Width(), 9);
    ASSERT_TRUE(s->MenuItem);           // the section exists
    EXPECT_TRUE(s->MenuItem->Image.Empty()); // ".BMP" is not ".bmp"
    EXPECT_EQ(s->Headerbar->Image.Width(), 4);
    ASSERT_TRUE(s->ToolBars);
    EXPECT_TRUE(s->ToolBars->Image.Empty());
    EXPECT_TRUE(s->BorderLeft->Image.Empty());
}

TEST(SkinParse, CaptionButtonsKeepDropAndFrameRules)
{
    TTestSkin t;
    t.Bitmap("b72.bmp", 72, 24).Bitmap("b144.bmp", 144, 24).Bitmap("b38.bmp", 76, 20).Bitmap("b4.bmp", 80, 20)
        .Ini("[Button]\nButtonImage=b72.bmp\n"
             "[Buttons]\nBitmap=b72.bmp\n"
             "[Button.Radio]\nAction=1\n"
             "[ButtonDropped]\nAction=-1\nVisibility=10\n"
             "[ButtonKept]\nAction=-1\nVisibility=0\nButtonImage=b72.bmp\n"
             "[ButtonThree]\nButtonImage=b72.bmp\nCombineOp=2\n"
             "[ButtonSix]\nButtonImage=b144.bmp\n"
             "[ButtonRatio]\nButtonImage=b38.bmp\n"
             "[ButtonOwnFrame]\nButtonImage=b4.bmp\nframe=4\nAction=3\n"
             "[ButtonIcon]\nButtonImage=b72.bmp\nAction=3\n"
             "[ButtonEleven]\nButtonImage=b72.bmp\nAction=11\n"
             "[NotAButton]\nButtonImage=b72.bmp\n");
    auto s = Parsed(t);
    ASSERT_EQ(s->SysButtons.size(), 7u + 3u);
    struct Case { const char* name; int frame; int width; int visibility1; int combine; };
    const Case cases[] = {
        {"BUTTONKEPT", 6, 72, -1, -1},   // negative Action: 6 frames
        {"BUTTONTHREE", 3, 72, 0, 2},    // 72 / 24 = 3.0
        {"BUTTONSIX", 6, 144, 0, -1},    // 6.0
        {"BUTTONRATIO", 3, 76, 0, -1},   // exactly 3.8
        {"BUTTONOWNFRAME", 4, 80, 0, -1}, // "frame" given: image kept even for Action 3
        {"BUTTONICON", 3, 0, 0, -1},     // Action 3: no image
        {"BUTTONELEVEN", 3, 0, 0, -1},   // Action 11: no image
    };
    for (int i = 0; i < 7; ++i) {
        const TDataSkinSysButton& b = *s->SysButtons[i];
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(b.Name, cases[i].name);
        EXPECT_EQ(b.Frame, cases[i].frame);
        EXPECT_EQ(b.Image.Width(), cases[i].width);
        EXPECT_EQ(b.Visibility1, cases[i].visibility1);
        EXPECT_EQ(b.CombineOp, cases[i].combine);
    }
    // No [MDICONTROLS]: three empty MDI buttons.
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& m = *s->SysButtons[7 + i];
        EXPECT_EQ(m.Action, 7 + i);
        EXPECT_EQ(m.Align, 100);
        EXPECT_EQ(m.Visibility, 100);
        EXPECT_EQ(m.Visibility1, 100);
        EXPECT_EQ(m.Frame, 4);
        EXPECT_EQ(m.Xcoord, 0);
        EXPECT_TRUE(m.Image.Empty());
    }
}

TEST(SkinParse, MdiButtonsAreCutFromOneStrip)
{
    // Twelve 15-pixel columns, each its own colour.
    TBitmap strip;
    FillBitmap(strip, 180, 14, 0);
    for (int x = 0; x < 180; ++x)
        for (int y = 0; y < 14; ++y)
            strip.Canvas()->SetPixel(x, y, RGBColor(x, 7, 9));
    TTestSkin t;
    t.Entry("mdi.bmp", strip.SaveToData()).Ini("[MdiControls]\nImage=mdi.bmp\n");
    auto s = Parsed(t);
    ASSERT_EQ(s->SysButtons.size(), 3u);
    const int xcoord[] = {57, 38, 19};
    for (int i = 0; i < 3; ++i) {
        const TBitmap& image = s->SysButtons[i]->Image;
        ASSERT_EQ(image.Width(), 60);
        ASSERT_EQ(image.Height(), 14);
        EXPECT_EQ(s->SysButtons[i]->Xcoord, xcoord[i]);
        EXPECT_EQ(image.PixelColor(0, 0), RGBColor(60 * i, 7, 9));
        EXPECT_EQ(image.PixelColor(59, 13), RGBColor(60 * i + 59, 7, 9));
    }
}

TEST(SkinParse, CheckAndRadioFramesFromImageSize)
{
    struct Case { int w, h, frames; };
    for (const Case c : {Case{48, 13, 4}, Case{64, 16, 4}, Case{96, 16, 6}, Case{130, 13, 10}, Case{20, 20, 4}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        TTestSkin t;
        t.Bitmap("c.bmp", c.w, c.h).Ini("[Buttons]\nCheckButton=c.bmp\nRadioButton=c.bmp\n");
        auto s = Parsed(t);
        EXPECT_EQ(s->Buttons->CheckFrame, c.frames);
        EXPECT_EQ(s->Buttons->RadioFrame, c.frames);
    }
    TTestSkin given;
    given.Bitmap("c.bmp", 96, 16).Ini("[Buttons]\nCheckButton=c.bmp\nCheckButtonFrame=2\n");
    auto s = Parsed(given);
    EXPECT_EQ(s->Buttons->CheckFrame, 2);
    EXPECT_EQ(s->Buttons->RadioFrame, 4); // no image: 0 div 13, raised to 4
}

TEST(SkinParse, TileValuesAreClampedPerRule)
{
    TTestSkin t;
    t.Bitmap("i.bmp", 8, 8)
        .Ini("[Personality]\nTop=i.bmp\nTopStretch=2\nLeftStretch=0\nmenuBar=i.bmp\nTileMenu=2\n"
             "[Progress]\nBitmap=i.bmp\nTile=2\nNormalColour=5\n"
             "[Headerbar]\nImage=i.bmp\nTile=2\n"
             "[GroupBox]\nImage=i.bmp\nTile=2\n"
             "[Tabs]\nImage=i.bmp\nTile=1\n"
             "[Buttons]\nTile=2\n");
    auto s = Parsed(t);
    EXPECT_EQ(s->BorderTop->Tile, 1);
    EXPECT_EQ(s->BorderLeft->Tile, 0);
    EXPECT_EQ(s->BorderRight->Tile, 1); // default
    EXPECT_EQ(s->MenuBarSkin->Tile, 1);
    EXPECT_EQ(s->MenuBarSkin->LeftWidth, 1);
    EXPECT_EQ(s->Progress->Tile, 1);
    EXPECT_EQ(s->Progress->NormalColour, 0); // no colours read for it
    EXPECT_EQ(s->Headerbar->Tile, 0);
    EXPECT_EQ(s->GroupBox->Tile, 0);
    EXPECT_EQ(s->Tabs->Tile, 1);
    EXPECT_EQ(s->Buttons->Tile, 0);
}

TEST(SkinParse, ColoursTitleAndDefaults)
{
    TTestSkin t;
    t.Ini("[Colours]\nButtonFace=10 20 30\nButtonText=1 2 3\n"
          "[ColourA]\ncolor=9 8 7\n[Colours2]\ncolor=1 1 1\n[colour]\n[Customcolors]\nColor3=300 0 0\n"
          "[Personality]\nActiveTextR=255\nActiveTextB=4\nInActiveTextR=1\nInActiveTextG=258\nInActiveTextB=3\n"
          "[Headerbar]\nImage=none.bmp\nPressedColour2=5 6 7\n");
    auto s = Parsed(t);
    EXPECT_EQ(s->ButtonFaceColour, RGBColor(10, 20, 30));
    EXPECT_EQ(s->MenubarColour, RGBColor(10, 20, 30)); // follows the button face
    EXPECT_EQ(s->ButtonlightColour, SystemColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(s->MenuBarTextColour, SystemColor(COLOR_MENUTEXT));
    EXPECT_EQ(s->TitleTextActiveColour, SystemColor(COLOR_CAPTIONTEXT));
    // Sections starting "COLOUR" other than "COLOURS", in file order; no "color": window text.
    EXPECT_EQ(s->ColourTable, (std::vector<TColor>{RGBColor(9, 8, 7), RGBColor(1, 1, 1), SystemColor(COLOR_WINDOWTEXT)}));
    EXPECT_EQ(s->CustomColors[3], 0x00002C);
    EXPECT_EQ(s->CustomColors[0], 0xFFFFFF);
    EXPECT_EQ(s->Title->ActiveText, TDataSkinTitle::NoTextColour); // G missing
    EXPECT_EQ(s->Title->InActiveText, RGBColor(1, 2, 3));         // 258 mod 256
    EXPECT_EQ(s->Title->FontHeight, 14);
    EXPECT_TRUE(s->Title->Image.Empty());
    // Colour-2 defaults are the skin's button text colour.
    EXPECT_EQ(s->Headerbar->NormalColour2, RGBColor(1, 2, 3));
    EXPECT_EQ(s->Headerbar->PressedColour2, RGBColor(5, 6, 7));
    EXPECT_EQ(s->Headerbar->NormalColour, -1);
    EXPECT_FALSE(s->Buttons->HasNormalColour2);
    EXPECT_EQ(s->Buttons->NormalColour2, RGBColor(1, 2, 3));
    EXPECT_EQ(s->BorderTop->Frame, 1);
    EXPECT_EQ(s->BorderTop->Trans, 1);
    // No skin images: no optional records but the resources and the gradient.
    EXPECT_FALSE(s->Progress);
    EXPECT_FALSE(s->MenuBarSkin);
    EXPECT_FALSE(s->ComboButton);
    ASSERT_TRUE(s->Track);
    ASSERT_TRUE(s->ToolbarGradient);
    // Without a top border the gradient's bottom blends grey with the button face.
    const TColor bottom = s->ToolbarGradient->Image.PixelColor(0, 39);
    EXPECT_NEAR(GetBValue32(bottom), (128 * 150 + 30 * 850 + 500) / 1000, 6);
}

TEST(SkinParse, ComboImagesNeedBothElements)
{
    TTestSkin only;
    only.Bitmap("btn.bmp", 40, 21, 0x00FF00).Ini("[ComboButton]\nImage=btn.bmp\nLeftWidth=3\n");
    auto s = Parsed(only);
    ASSERT_TRUE(s->ComboButton);
    EXPECT_EQ(s->ComboButton->Image.Width(), 40); // kept as read
    EXPECT_EQ(s->ComboButton->Frame, 4);
    EXPECT_EQ(s->ComboButton->LeftWidth, 3);
    // The mirror copy of the button, 24 bits.
    EXPECT_EQ(s->ComboButton->Image2.Width(), 40);
    EXPECT_EQ(s->ComboButton->Image2.PixelFormat(), pf24bit);

    TTestSkin both;
    both.Bitmap("btn.bmp", 40, 21, 0x00FF00).Bitmap("edge.bmp", 36, 21, 0x0000FF)
        .Ini("[ComboButton]\nImage=btn.bmp\n[SunkEdge]\nImage=edge.bmp\nTopHeight=3\nBottomHeight=2\n");
    auto c = Parsed(both);
    EXPECT_EQ(c->ComboButton->Image.Width(), 200);
    EXPECT_EQ(c->SunkEdge->Image.Width(), 200);
    EXPECT_EQ(c->ComboButton->TopHeight, 3);
    EXPECT_EQ(c->ComboButton->BottomHeight, 2);
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    // Frame 1: edge colour at the left, the button at the right, key in the field.
    EXPECT_EQ(c->ComboButton->Image.PixelColor(0, 0), 0x0000FF);
    EXPECT_EQ(c->ComboButton->Image.PixelColor(49, 10), 0x00FF00);
    EXPECT_EQ(c->ComboButton->Image.PixelColor(50 - w, 10), 0x00FF00);
    EXPECT_EQ(c->ComboButton->Image.PixelColor(2, 2), kSkinKeyColour);
    EXPECT_EQ(c->ComboButton->Image.PixelColor(1, 1), 0x0000FF);
    EXPECT_EQ(c->SunkEdge->Image.PixelColor(199, 0), 0x0000FF);
    EXPECT_EQ(c->SunkEdge->Image.PixelColor(150, 10), 0x00FF00);
}

TEST(SkinParse, AParseReplacesOptionalRecordsAndRefusedImagesKeepThem)
{
    TTestSkin first;
    first.Bitmap("t.bmp", 10, 10).Ini("[Tabs]\nImage=t.bmp\n[Personality]\nLeft=t.bmp\n");
    auto s = Parsed(first);
    ASSERT_TRUE(s->Tabs);
    TTestSkin second;
    second.Ini("[Colours]\nButtonFace=1 2 3\n");
    PutImage(*s, second.Pack());
    ASSERT_TRUE(s->LoadSkin());
    EXPECT_FALSE(s->Tabs);
    EXPECT_TRUE(s->BorderLeft->Image.Empty());

    // A container of another version is refused: the records stay, the skin counts as empty.
    PutImage(*s, first.Pack(19999));
    std::vector<std::string> shown;
    s->ReaderMessage = [&](const std::string& text) { shown.push_back(text); };
    EXPECT_FALSE(s->LoadSkin());
    EXPECT_EQ(shown, std::vector<std::string>{TSkinReader::OlderSkinText});
    EXPECT_EQ(s->SkinEmpty, 1);
    EXPECT_EQ(s->ButtonFaceColour, RGBColor(1, 2, 3));
}
