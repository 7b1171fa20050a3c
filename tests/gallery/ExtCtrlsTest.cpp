// The further controls keep their state in the object and show it in their system windows;
// what the user does comes back to the object and its events.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Host.h"
#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/graphics/Graphics.h"

namespace {
std::string TabText(HWND tabs, int index)
{
    wchar_t text[80] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 80;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return WideToUtf8(text);
}

LONG_PTR Style(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE); }
LONG_PTR ExStyle(HWND w) { return GetWindowLongPtrW(w, GWL_EXSTYLE); }
} // namespace

TEST(Panel, DrawsItsBevelFaceAndCaption)
{
    Host h;
    h.form->SetColor(clTeal);
    auto* p = h.Add<TPanel>(10, 10, 120, 40);
    p->SetCaption("Panel");
    p->SetParentBackground(false);
    p->SetColor(clYellow);
    p->Font()->SetColor(clBlue);
    ASSERT_TRUE(guikit::WaitUntil([&] { return ScreenPixel(p->Handle(), 60, 4) == RGB(255, 255, 0); }));
    EXPECT_EQ(ScreenPixel(p->Handle(), 0, 0), static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    EXPECT_EQ(ScreenPixel(p->Handle(), 119, 39), static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    int ink = 0; // the caption is drawn in the font colour around the middle
    for (int x = 30; x < 90; ++x)
        for (int y = 12; y < 28; ++y)
            ink += ScreenPixel(p->Handle(), x, y) != RGB(255, 255, 0);
    EXPECT_GT(ink, 10);

    p->SetBevelOuter(bvLowered);
    ASSERT_TRUE(guikit::WaitUntil([&] { return ScreenPixel(p->Handle(), 0, 0) == static_cast<COLORREF>(ColorToRGB(clBtnShadow)); }));
    p->SetParentBackground(true); // the face takes the parent's colour
    ASSERT_TRUE(guikit::WaitUntil([&] { return ScreenPixel(p->Handle(), 60, 4) == static_cast<COLORREF>(clTeal); }));
    EXPECT_EQ(p->InnerRect().left, 1);
    p->SetBorderWidth(3);
    p->SetBevelInner(bvRaised);
    EXPECT_EQ(p->InnerRect().left, 5);
}

TEST(GroupBox, DrawsAFrameWithTheCaptionOnIt)
{
    Host h;
    auto* g = h.Add<TGroupBox>(10, 10, 160, 80);
    g->SetCaption("Options");
    g->SetColor(clWhite);
    ASSERT_TRUE(guikit::WaitUntil([&] { return ScreenPixel(g->Handle(), 80, 50) == RGB(255, 255, 255); }));
    // The frame line runs along the left edge below the caption; the caption cuts the top line.
    const int half = (g->InnerRect().top - 2) / 2;
    EXPECT_NE(ScreenPixel(g->Handle(), 0, half + 20), RGB(255, 255, 255));
    EXPECT_NE(ScreenPixel(g->Handle(), 150, half), RGB(255, 255, 255));
    bool captionCut = false;
    for (int x = 8; x < 40; ++x)
        captionCut |= ScreenPixel(g->Handle(), x, half) == RGB(255, 255, 255);
    EXPECT_TRUE(captionCut);
    EXPECT_GT(g->InnerRect().top, 10);
}

TEST(RadioButton, CheckingOneUnchecksItsSiblingsAndAClickRunsOnClick)
{
    Host h;
    auto* group = h.Add<TGroupBox>(10, 10, 200, 100);
    auto* a = h.Add<TRadioButton>(10, 20, 100, 17, group);
    auto* b = h.Add<TRadioButton>(10, 44, 100, 17, group);
    auto* outside = h.Add<TRadioButton>(220, 20, 100, 17);
    a->SetCaption("A");
    b->SetCaption("B");
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    outside->SetChecked(true);
    a->SetChecked(true);
    EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(outside->Checked()); // another parent, another group
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(clicks, 0); // code does not click
    a->SetChecked(true);
    guikit::Click(b->Handle(), 5, 8);
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(SendMessageW(b->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    b->SetAlignment(taLeftJustify);
    EXPECT_TRUE(Style(b->Handle()) & BS_LEFTTEXT);
    EXPECT_TRUE(b->Checked()); // kept over the new window
}

TEST(RadioGroup, ItemsBecomeButtonsAndItemIndexFollowsTheUser)
{
    Host h;
    auto* g = h.Add<TRadioGroup>(10, 10, 240, 60);
    int clicks = 0;
    g->OnClick = [&](TComponent*) { ++clicks; };
    g->Items()->SetLines({"Fast", "Normal", "Best"});
    g->SetColumns(3);
    ASSERT_EQ(g->ButtonCount(), 3);
    EXPECT_EQ(g->Buttons(2)->Caption(), "Best");
    EXPECT_GT(g->Buttons(1)->Left(), g->Buttons(0)->Left()); // side by side in three columns
    EXPECT_EQ(g->Buttons(1)->Top(), g->Buttons(0)->Top());
    g->SetItemIndex(1);
    EXPECT_TRUE(g->Buttons(1)->Checked());
    EXPECT_EQ(clicks, 0);
    guikit::Click(g->Buttons(2)->Handle(), 5, 8);
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    EXPECT_EQ(g->ItemIndex(), 2);
    EXPECT_FALSE(g->Buttons(1)->Checked());
    g->Items()->Delete(2); // the chosen line goes: nothing is chosen
    EXPECT_EQ(g->ButtonCount(), 2);
    EXPECT_EQ(g->ItemIndex(), -1);
    g->SetItemIndex(7);
    EXPECT_EQ(g->ItemIndex(), -1);
}

TEST(Edit, TextReadOnlyBorderAndChangeEvents)
{
    Host h;
    auto* e = h.Add<TEdit>(10, 10, 120, 21);
    int changes = 0;
    e->OnChange = [&](TComponent*) { ++changes; };
    e->SetTextProp("M\xC3\xBAsica"); // Música
    EXPECT_EQ(guikit::WindowText(e->Handle()), "M\xC3\xBAsica");
    EXPECT_EQ(e->Text(), "M\xC3\xBAsica");
    EXPECT_TRUE(ExStyle(e->Handle()) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(guikit::ClassName(e->Handle()), "Edit");
    const int before = changes;
    e->SetFocus();
    SendMessageW(e->Handle(), EM_SETSEL, 100, 100); // the caret at the end
    guikit::TypeText(e->Handle(), L"!");
    ASSERT_TRUE(guikit::WaitUntil([&] { return changes > before; }));
    EXPECT_EQ(e->Text().back(), '!');
    e->SetReadOnly(true);
    EXPECT_TRUE(Style(e->Handle()) & ES_READONLY);
    e->SetMaxLength(4);
    EXPECT_EQ(SendMessageW(e->Handle(), EM_GETLIMITTEXT, 0, 0), 4);
    e->SetBorderStyle(bsNone);
    EXPECT_FALSE(ExStyle(e->Handle()) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Style(e->Handle()) & ES_READONLY); // kept over the new window
    EXPECT_EQ(e->Text().back(), '!');
}

TEST(UpDown, MovesItsPositionInStepsAndShowsItInTheAssociate)
{
    Host h;
    auto* e = h.Add<TEdit>(10, 10, 60, 21);
    auto* u = h.Add<TUpDown>(70, 10, 17, 21);
    u->SetMin(32);
    u->SetMax(320);
    u->SetIncrement(32);
    u->SetAssociate(e);
    u->SetPosition(128);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(u->Handle(), UDM_GETBUDDY, 0, 0)), e->Handle());
    EXPECT_EQ(u->Position(), 128);
    EXPECT_EQ(e->Text(), "128");
    int clicks = 0;
    u->OnClick = [&](TComponent*) { ++clicks; };
    guikit::Click(u->Handle(), 8, 4); // the upper arrow
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks >= 1; }));
    EXPECT_EQ(u->Position(), 160);
    ASSERT_TRUE(guikit::WaitUntil([&] { return e->Text() == "160"; }));
    u->SetPosition(1000); // clamped
    EXPECT_EQ(u->Position(), 320);
    u->SetOrientation(udHorizontal);
    EXPECT_TRUE(Style(u->Handle()) & UDS_HORZ);
    EXPECT_EQ(u->Position(), 320);
    delete e; // the associate goes away: no dangling buddy
    EXPECT_EQ(u->Associate(), nullptr);
}

TEST(TrackBar, RangePositionOrientationAndChangeEvents)
{
    Host h;
    auto* t = h.Add<TTrackBar>(10, 10, 200, 32);
    int changes = 0;
    t->OnChange = [&](TComponent*) { ++changes; };
    t->SetMax(20);
    t->SetPosition(6);
    EXPECT_EQ(changes, 1);
    t->SetPosition(6);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(SendMessageW(t->Handle(), TBM_GETRANGEMAX, 0, 0), 20);
    EXPECT_EQ(SendMessageW(t->Handle(), TBM_GETPOS, 0, 0), 6);
    t->SetPosition(99);
    EXPECT_EQ(t->Position(), 20);
    EXPECT_EQ(guikit::ClassName(t->Handle()), "msctls_trackbar32");
    // A click in the channel left of the thumb moves it a page towards the click.
    guikit::Click(t->Handle(), 20, 16);
    ASSERT_TRUE(guikit::WaitUntil([&] { return t->Position() < 20; }));
    ASSERT_TRUE(guikit::WaitUntil([&] { return changes >= 3; }));
    t->SetOrientation(trVertical);
    EXPECT_TRUE(Style(t->Handle()) & TBS_VERT);
    EXPECT_EQ(t->Width(), 32); // turned: the extents are exchanged
    EXPECT_EQ(t->Height(), 200);
}

TEST(TabControl, TabsFollowTheListAndTheUserChoosesOne)
{
    Host h;
    auto* t = h.Add<TTabControl>(10, 10, 300, 80);
    t->Tabs()->SetLines({"MP3", "Ogg", "FLAC"});
    HWND w = t->Handle();
    EXPECT_EQ(SendMessageW(w, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TabText(w, 2), "FLAC");
    EXPECT_EQ(t->TabIndex(), 0);
    int changes = 0;
    t->OnChange = [&](TComponent*) { ++changes; };
    RECT r{};
    SendMessageW(w, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    guikit::Click(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(guikit::WaitUntil([&] { return changes == 1; }));
    EXPECT_EQ(t->TabIndex(), 1);
    t->Tabs()->Add("Wav");
    EXPECT_EQ(TabText(w, 3), "Wav");
    t->SetTabIndex(3);
    EXPECT_EQ(SendMessageW(w, TCM_GETCURSEL, 0, 0), 3);
    t->SetTabPosition(tpBottom);
    EXPECT_TRUE(Style(t->Handle()) & TCS_BOTTOM);
    EXPECT_EQ(SendMessageW(t->Handle(), TCM_GETITEMCOUNT, 0, 0), 4); // rebuilt with the new window
    const RECT display = t->DisplayRect();
    EXPECT_LT(display.bottom, 80 - 10); // the tabs are below the display area now
}

TEST(PageControl, EachTabShowsItsPage)
{
    Host h;
    auto* pc = h.Add<TPageControl>(10, 10, 300, 150);
    auto* one = new TTabSheet(h.form.get());
    one->SetPageControl(pc);
    one->SetCaption("General");
    auto* two = new TTabSheet(h.form.get());
    two->SetPageControl(pc);
    two->SetCaption("Advanced");
    guikit::PumpMessages();
    HWND w = pc->Handle();
    ASSERT_EQ(SendMessageW(w, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(TabText(w, 1), "Advanced");
    EXPECT_EQ(pc->ActivePage(), one);
    EXPECT_TRUE(IsWindowVisible(one->Handle()));
    EXPECT_FALSE(IsWindowVisible(two->Handle()));
    // The page fills the display area.
    const RECT display = pc->DisplayRect();
    EXPECT_EQ(guikit::BoundsInParent(one->Handle()).left, display.left);
    EXPECT_EQ(guikit::BoundsInParent(one->Handle()).bottom, display.bottom);

    int changes = 0;
    pc->OnChange = [&](TComponent*) { ++changes; };
    RECT r{};
    SendMessageW(w, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    guikit::Click(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(guikit::WaitUntil([&] { return changes == 1; }));
    EXPECT_EQ(pc->ActivePage(), two);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    EXPECT_TRUE(IsWindowVisible(two->Handle()));
    EXPECT_FALSE(IsWindowVisible(one->Handle()));

    two->SetCaption("Expert");
    EXPECT_EQ(TabText(w, 1), "Expert");
    one->SetTabVisible(false);
    EXPECT_EQ(SendMessageW(w, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(TabText(w, 0), "Expert");
    delete two; // the active page goes: nothing with a tab is left to show
    EXPECT_EQ(pc->PageCount(), 1);
    EXPECT_EQ(SendMessageW(w, TCM_GETITEMCOUNT, 0, 0), 0);
    pc->SetActivePage(one);
    EXPECT_EQ(pc->ActivePage(), one);
}

TEST(StatusBar, PanelsOrOneSimpleText)
{
    Host h;
    auto* s = h.Add<TStatusBar>(0, 0, 100, 19);
    EXPECT_EQ(s->Align(), alBottom);
    auto* a = s->Panels()->AddItem();
    a->SetText("Ready");
    a->SetWidth(120);
    auto* b = s->Panels()->AddItem();
    b->SetText("Right");
    b->SetAlignment(taRightJustify);
    HWND w = s->Handle();
    int edges[4] = {};
    EXPECT_EQ(SendMessageW(w, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 120);
    EXPECT_EQ(edges[1], -1); // the last one runs to the end
    wchar_t text[64] = {};
    SendMessageW(w, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"Ready");
    SendMessageW(w, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"\t\tRight");
    // Aligned along the bottom of the form's client area.
    const SIZE client = guikit::ClientSize(h.form->Handle());
    const RECT bounds = guikit::BoundsInParent(w);
    EXPECT_EQ(bounds.bottom, client.cy);
    EXPECT_EQ(bounds.right - bounds.left, client.cx);

    s->SetSimpleText("Ripping...");
    s->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageW(w, SB_ISSIMPLE, 0, 0));
    wchar_t simple[64] = {}; // in simple mode the bar answers with the simple text
    SendMessageW(w, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(simple));
    EXPECT_STREQ(simple, L"Ripping...");
    s->SetSizeGrip(false);
    EXPECT_FALSE(Style(s->Handle()) & SBARS_SIZEGRIP);
    EXPECT_TRUE(SendMessageW(s->Handle(), SB_ISSIMPLE, 0, 0)); // kept over the new window
}

TEST(ScrollBox, ScrollsChildrenThatReachBeyondIt)
{
    Host h;
    auto* box = h.Add<TScrollBox>(10, 10, 150, 80);
    auto* top = h.Add<TEdit>(5, 5, 60, 21, box);
    auto* bottom = h.Add<TEdit>(5, 200, 60, 21, box);
    box->UpdateScrollRange();
    EXPECT_TRUE(Style(box->Handle()) & WS_VSCROLL);
    EXPECT_FALSE(Style(box->Handle()) & WS_HSCROLL);
    SendMessageW(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box->ScrollPos().y, 8);
    EXPECT_EQ(top->Top(), -3);
    EXPECT_EQ(guikit::BoundsInParent(bottom->Handle()).top, 192);
    SendMessageW(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(bottom->Top() + bottom->Height(), guikit::ClientSize(box->Handle()).cy); // the last child in view
    SendMessageW(box->Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(top->Top(), 5);
    delete bottom; // everything fits again: no bar
    box->UpdateScrollRange();
    EXPECT_FALSE(Style(box->Handle()) & WS_VSCROLL);
}

TEST(ExtControls, PropertiesTheSkinReadsByName)
{
    Host h;
    auto* bit = h.Add<TBitBtn>(10, 10, 90, 25);
    auto* speed = h.Add<TSpeedButton>(110, 10, 24, 24);
    auto* panel = h.Add<TPanel>(10, 50, 100, 30);
    auto* tabs = h.Add<TTabControl>(10, 90, 200, 60);
    auto* images = new TImageList(h.form.get());
    images->SetName("Images1");

    EXPECT_EQ(GetEnumProp(bit, "Layout"), "blGlyphLeft");
    EXPECT_EQ(GetOrdProp(bit, "Margin"), -1);
    EXPECT_EQ(GetOrdProp(bit, "Spacing"), 4);
    EXPECT_EQ(GetOrdProp(bit, "NumGlyphs"), 1);
    EXPECT_NE(dynamic_cast<TBitmap*>(GetObjectProp(bit, "Glyph")), nullptr);
    SetStrProp(bit, "Caption", "Eject");
    EXPECT_EQ(guikit::WindowText(bit->Handle()), "Eject");
    SetEnumProp(bit, "Kind", "bkCancel");
    EXPECT_EQ(bit->Caption(), "Cancel");
    EXPECT_EQ(bit->ModalResult(), 2);

    SetPropText(speed, "Flat", "True");
    EXPECT_TRUE(speed->Flat());
    SetPropText(speed, "Transparent", "False");
    EXPECT_FALSE(speed->Transparent());
    EXPECT_EQ(GetEnumProp(speed, "Layout"), "blGlyphLeft");

    EXPECT_EQ(GetPropText(panel, "ParentBackground"), "True");
    SetPropText(panel, "ParentBackground", "False");
    EXPECT_FALSE(panel->ParentBackground());
    SetPropText(panel, "BevelOuter", "bvLowered");
    EXPECT_EQ(panel->BevelOuter(), bvLowered);
    EXPECT_EQ(GetEnumProp(panel, "Alignment"), "taCenter");
    SetPropText(panel, "Color", "clWindow");
    EXPECT_EQ(panel->Color(), clWindow);

    SetObjectProp(tabs, "Images", images);
    EXPECT_EQ(tabs->Images(), images);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tabs->Handle(), TCM_GETIMAGELIST, 0, 0)), images->Handle());
    EXPECT_EQ(GetEnumProp(tabs, "MultiLine"), "False");
    delete images;
    EXPECT_EQ(tabs->Images(), nullptr);
    EXPECT_THROW(GetOrdProp(panel, "NumGlyphs"), EPropertyError);
}
