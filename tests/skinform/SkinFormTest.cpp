// Skinned frames under Wine and Xvfb: which windows the manager skins, the frame's size,
// region, hit-testing and painting, activate/deactivate commands, message boxes, and the
// caption buttons with their states and actions.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/menus/MenuItem.h"
#include "classlib/menus/PopupMenu.h"
#include "classlib/stdctrls/Timer.h"
#include "guikit/DialogWatcher.h"
#include "skin/SkinEngine.h"
#include "skin/SkinMessages.h"
#include "skinform/SkinFormTestKit.h"

using namespace std::chrono_literals;
using namespace skinformtest;

namespace {

class SkinFormEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        TClassRegistry& r = Classes();
        RegisterGraphicsClasses(r);
        RegisterControlClasses(r);
        RegisterSkinEngine(r);
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Skin frame tests");
    }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new SkinFormEnvironment);

SIZE ClientOf(HWND window) { return guikit::ClientSize(window); }

SIZE WindowSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool Skinned(HWND window) { return SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1; }

// A plain top-level window of a class of our own, for the class-name rules.
HWND MakeRawWindow(const wchar_t* className, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"Raw", style, 60, 60, w, h, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST(SkinFrame, DefaultSkinFrameKeepsTheClientAreaAndCutsTheRegionByKeyPixels)
{
    ManagerScope scope;
    SkinnedForm host;
    TSkinForm* frame = host.Frame();
    ASSERT_NE(frame, nullptr);
    TSkinData& skin = *host.skin;
    EXPECT_TRUE(Skinned(host.Handle()));
    EXPECT_EQ(frame->TitleHeight, skin.BorderTop->Image.Height() / skin.BorderTop->Frame);
    EXPECT_EQ(frame->FrameLeft, skin.BorderLeft->Image.Width() / skin.BorderLeft->Frame);
    EXPECT_EQ(frame->FrameBottom, skin.BorderBottom->Image.Height() / skin.BorderBottom->Frame);
    EXPECT_EQ(frame->FrameKind, fkSingle);
    const SIZE client = ClientOf(host.Handle());
    EXPECT_EQ(client.cx, 300);
    EXPECT_EQ(client.cy, 200);
    const SIZE outer = WindowSize(host.Handle());
    EXPECT_EQ(outer.cx, 300 + frame->FrameLeft + frame->FrameRight);
    EXPECT_EQ(outer.cy, 200 + frame->TitleHeight + frame->FrameBottom);

    // The region follows the key pixels of the left piece's corner; the client is inside.
    ASSERT_EQ(skin.BorderLeft->Image.Canvas()->Pixel(0, 0), kSkinKeyColour) << "the skin's corner is transparent";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(host.Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, outer.cx / 2, frame->TitleHeight / 2));
    EXPECT_TRUE(PtInRegion(region, frame->FrameLeft + 5, frame->TitleHeight + 5));
    DeleteObject(region);

    // Active: the title text colour of the skin is on screen somewhere in the caption; the
    // caption buttons of a window without a maximise box are minimise and close.
    guikit::SaveScreenshot(host.Handle(), "skinform-active");
    int minimise = -1, close = -1, maximise = -1, help = -1;
    for (std::size_t i = 0; i < frame->ButtonObjects.size(); ++i) {
        const std::string& name = frame->ButtonObjects[i]->Element->Name;
        if (name == "BUTTONCLOSE") close = static_cast<int>(i);
        if (name == "BUTTONMINIMIZE") minimise = static_cast<int>(i);
        if (name == "BUTTONMAXIMIZE") maximise = static_cast<int>(i);
        if (name == "BUTTONHELP") help = static_cast<int>(i);
    }
    ASSERT_GE(close, 0);
    EXPECT_TRUE(frame->ButtonObjects[close]->Visible);
    EXPECT_TRUE(frame->ButtonObjects[minimise]->Visible);
    EXPECT_TRUE(frame->ButtonObjects[maximise]->Visible) << "a plain form has a maximise box";
    EXPECT_FALSE(frame->ButtonObjects[help]->Visible) << "no one answers SKM_BUTTONVISIBLE";

    // Inactive: the frame repaints with the second images.
    const std::vector<TColor> activeRow = WindowRow(host.Handle(), frame->TitleHeight / 2, outer.cx);
    SendMessageW(host.Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(frame->WindowActive, 0);
    EXPECT_NE(WindowRow(host.Handle(), frame->TitleHeight / 2, outer.cx), activeRow);
    guikit::SaveScreenshot(host.Handle(), "skinform-inactive");
}

TEST(SkinFrame, HitTestingAndPaintingBeforeActivation)
{
    ManagerScope scope;
    SkinnedForm host(PlainFrameSkin().Pack());
    TSkinForm* frame = host.Frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->TitleHeight, 20);
    const HWND w = host.Handle();
    const SIZE outer = WindowSize(w);
    RECT r{};
    GetWindowRect(w, &r);
    auto hit = [&](int x, int y) { return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)); };
    // The default answer stays in the top three pixels; lower in the title it is the caption.
    const LRESULT top = hit(outer.cx / 2, 1);
    EXPECT_TRUE(top == HTCAPTION || top == HTNOWHERE || top == HTBORDER || top == HTTOP) << top;
    EXPECT_EQ(hit(outer.cx / 2, 10), HTCAPTION);
    EXPECT_EQ(hit(outer.cx / 2, 25), HTCLIENT);
    // With a menu-bar strip under the title, points in it are the menu.
    frame->MenuBarHeight = 18;
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(hit(outer.cx / 2, 25), HTMENU);
    EXPECT_EQ(hit(outer.cx / 2, 10), HTCAPTION);

    // A window whose frame was attached but not yet activated paints no frame.
    const HWND raw = MakeRawWindow(L"KestripRawFrame", 200, 150);
    ShowWindow(raw, SW_SHOWNA);
    TSkinManager* manager = TheSkinManager();
    manager->SkinningAll = 1;
    ASSERT_TRUE(manager->SkinWindowChecked(raw));
    manager->SkinningAll = 0;
    TSkinForm* rawFrame = manager->FindForm(raw);
    ASSERT_NE(rawFrame, nullptr);
    EXPECT_EQ(rawFrame->SkinState, ssAttached);
    EXPECT_EQ(SendMessageW(raw, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(rawFrame->LastPaintWidth, 0) << "nothing was painted";
    EXPECT_EQ(SendMessageW(raw, WM_NCACTIVATE, TRUE, 0), 0);
    ASSERT_TRUE(guikit::WaitUntil([&] { return rawFrame->SkinState == ssActive; }));
    EXPECT_GT(rawFrame->LastPaintWidth, 0);
    EXPECT_EQ(rawFrame->FrameKind, fkSizeable);
    // Destroyed: the frame is released and the next purge frees it.
    DestroyWindow(raw);
    guikit::PumpMessages();
    EXPECT_EQ(rawFrame->SkinState, ssReleased);
    manager->PurgeForms();
    EXPECT_EQ(manager->FindForm(raw), nullptr);
}

TEST(SkinManager, WindowsThatAreNotSkinned)
{
    ManagerScope scope;
    SkinnedForm host(PlainFrameSkin().Pack());
    TSkinManager* manager = TheSkinManager();
    ASSERT_NE(manager, nullptr);
    TSkinOptions noPreview = host.skin->Options();
    noPreview.Exclude(xoPreview);
    host.skin->SetOptions(noPreview);

    // No caption: the frame is attached but leaves the system frame (zero sizes).
    {
        TForm bare(nullptr);
        bare.SetBorderStyle(bsNone);
        bare.SetBounds(50, 50, 120, 90);
        bare.Show();
        SetForegroundWindow(bare.Handle());
        guikit::WaitUntil([&] { return manager->FindForm(bare.Handle()) != nullptr; }, 5s);
        TSkinForm* frame = manager->FindForm(bare.Handle());
        ASSERT_NE(frame, nullptr);
        guikit::PumpMessages();
        EXPECT_EQ(frame->FrameKind, fkNone);
        EXPECT_EQ(frame->TitleHeight + frame->FrameLeft + frame->FrameRight + frame->FrameBottom, 0);
        EXPECT_EQ(WindowSize(bare.Handle()).cx, 120);
    }
    // Tag 99 and a zero-size window are passed by.
    {
        TForm tagged(nullptr);
        tagged.SetTag(99);
        tagged.SetBounds(50, 50, 150, 100);
        tagged.Show();
        SetForegroundWindow(tagged.Handle());
        guikit::PumpMessages();
        EXPECT_EQ(manager->FindForm(tagged.Handle()), nullptr);
        EXPECT_FALSE(manager->SkinWindowChecked(tagged.Handle()));
    }
    {
        const HWND empty = MakeRawWindow(L"KestripZeroSize", 0, 0, WS_POPUP | WS_CAPTION);
        EXPECT_FALSE(manager->SkinWindowChecked(empty));
        DestroyWindow(empty);
    }
    // "Preview" classes only with the option, or when the skin component's event says so.
    {
        const HWND preview = MakeRawWindow(L"PrintPreviewPane", 200, 150);
        EXPECT_FALSE(manager->SkinWindowChecked(preview));
        host.skin->OnFormSkin = [](TComponent*, const std::string& name, bool& doSkin) {
            doSkin = name == "PrintPreviewPane";
        };
        EXPECT_TRUE(manager->SkinWindowChecked(preview));
        host.skin->OnFormSkin = nullptr;
        DestroyWindow(preview);
        const HWND another = MakeRawWindow(L"OtherPREVIEW", 200, 150);
        TSkinOptions options = host.skin->Options();
        options.Include(xoPreview);
        host.skin->SetOptions(options);
        EXPECT_TRUE(manager->SkinWindowChecked(another));
        EXPECT_FALSE(manager->SkinWindowChecked(another)) << "a skinned window is not skinned twice";
        DestroyWindow(another);
    }
    // A window of another program's module that is not a dialog stays as it is.
    {
        const HWND foreign = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                                             nullptr, nullptr);
        EXPECT_FALSE(manager->SkinWindowChecked(foreign));
        DestroyWindow(foreign);
    }
    guikit::PumpMessages();
}

TEST(SkinManager, CommandsRunThroughTheTimerAndDeactivateDetachesEveryFrame)
{
    ManagerScope scope;
    SkinnedForm host(PlainFrameSkin().Pack());
    TSkinManager* manager = TheSkinManager();
    TForm second(nullptr), third(nullptr);
    for (TForm* f : {&second, &third}) {
        f->SetBorderStyle(bsSizeable);
        f->SetBounds(100, 100, 260, 180);
        f->SetClientWidth(240);
        f->SetClientHeight(150);
        f->Show();
        SetForegroundWindow(f->Handle());
        ASSERT_TRUE(guikit::WaitUntil([&] {
            TSkinForm* frame = manager->FindForm(f->Handle());
            return frame && frame->SkinState == ssActive;
        }));
    }
    // An invisible form is not skinned by an activate command, but when it is activated later.
    TForm hidden(nullptr);
    hidden.SetBounds(120, 120, 200, 150);
    hidden.HandleNeeded();
    const HWND windows[] = {host.Handle(), second.Handle(), third.Handle()};
    SIZE clients[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Skinned(windows[i]));
        clients[i] = ClientOf(windows[i]);
    }
    EXPECT_EQ(clients[1].cx, 240);
    EXPECT_EQ(clients[1].cy, 150);

    // Refresh: a new skin for the same component re-measures every frame and keeps clients.
    int changes = 0;
    host.skin->OnSkinChanged = [&](TComponent*) { ++changes; };
    host.skin->BorderTop->Image.SetHeight(30);
    host.skin->ApplySkin();
    ASSERT_TRUE(guikit::WaitUntil([&] { return changes == 1; }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(manager->FindForm(windows[i])->TitleHeight, 30) << i;
        EXPECT_EQ(ClientOf(windows[i]).cx, clients[i].cx) << i;
        EXPECT_EQ(ClientOf(windows[i]).cy, clients[i].cy) << i;
    }

    // Activate then deactivate within 250 ms: only the deactivation is carried out.
    host.skin->SetActive(false);
    host.skin->SetActive(true);
    host.skin->SetActive(false);
    ASSERT_TRUE(guikit::WaitUntil([&] { return !manager->Timer->Enabled(); }));
    EXPECT_TRUE(manager->Forms.empty());
    EXPECT_EQ(manager->Enabled, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Skinned(windows[i])) << i;
        const SIZE now = ClientOf(windows[i]);
        EXPECT_EQ(now.cx, clients[i].cx) << i;
        EXPECT_EQ(now.cy, clients[i].cy) << i;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(windows[i], region), ERROR) << "the region went with the frame";
        DeleteObject(region);
    }

    // Activate skins every visible form again, the hidden one only once it is shown.
    host.skin->SetActive(true);
    ASSERT_TRUE(guikit::WaitUntil([&] { return manager->Forms.size() == 3 && !manager->Timer->Enabled(); }));
    EXPECT_EQ(manager->FindForm(hidden.Handle()), nullptr);
    hidden.Show();
    SetForegroundWindow(hidden.Handle());
    EXPECT_TRUE(guikit::WaitUntil([&] { return manager->FindForm(hidden.Handle()) != nullptr; }));
    guikit::PumpMessages();
}

TEST(SkinManager, MessageBoxIsSkinnedAndWidenedForItsCaption)
{
    ManagerScope scope;
    SkinnedForm host;
    const std::wstring caption(L"A caption far wider than the short question this message box asks of you");
    std::atomic<bool> skinned{false};
    int windowWidth = 0, clientWidth = 0, buttonCentre = 0;
    guikit::DialogWatcher watcher(IDOK, "#32770", [&](HWND dialog, guikit::DialogSeen&) {
        skinned = guikit::WaitUntil([&] { return SendMessageW(dialog, SKM_ISSKINNED, 0, 0) == 1; }, 10s);
        // Give the activation its turn: the frame widens the window when it activates.
        guikit::WaitUntil([&] { return WindowSize(dialog).cx > 200; }, 5s);
        windowWidth = WindowSize(dialog).cx;
        clientWidth = ClientOf(dialog).cx;
        if (HWND ok = GetDlgItem(dialog, IDOK)) {
            const RECT b = guikit::BoundsInParent(ok);
            buttonCentre = (b.left + b.right) / 2;
        }
        guikit::SaveScreenshot(dialog, "skinform-messagebox");
    });
    MessageBoxW(host.Handle(), L"Go?", caption.c_str(), MB_OK);
    watcher.Wait();
    EXPECT_TRUE(skinned);

    // Needed width: the title's text shift, the caption text in the caption font, the right clip.
    TSkinForm probe(nullptr);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, probe.CaptionFont.Handle());
    RECT measure{};
    DrawTextW(dc, caption.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int needed = host.skin->Title->LeftWidth + measure.right + host.skin->Title->RightWidth;
    EXPECT_EQ(windowWidth, needed);
    // The button, centred before, is still centred: it moved by half the widening.
    EXPECT_NEAR(buttonCentre, clientWidth / 2, 3);
}

namespace {
// Caption buttons with one colour per image: normal, pressed, hot, inactive.
constexpr TColor kNormal = 0x0000C0, kPressed = 0x00C000, kHot = 0xC00000, kInactive = 0x00C0C0;

Bytes ButtonSkin()
{
    TTestSkin skin = PlainFrameSkin(
        "[ButtonClose]\nButtonImage=close.bmp\nframe=4\nAction=0\nAlign=1\nXcoord=40\nYcoord=2\nVisibility=0\n"
        "Visibility1=0\n"
        "[ButtonHelp]\nButtonImage=help.bmp\nframe=4\nAction=4\nAlign=1\nXcoord=80\nYcoord=2\nVisibility=1500\n"
        "Visibility1=0\n"
        "[ButtonMinimize]\nButtonImage=min.bmp\nframe=4\nAction=2\nAlign=1\nXcoord=60\nYcoord=2\nVisibility=0\n"
        "Visibility1=0\n"
        "[ButtonNever]\nButtonImage=help.bmp\nframe=4\nAction=5\nAlign=0\nXcoord=100\nYcoord=2\nVisibility=-1\n"
        "[ButtonTwo]\nButtonImage=two.bmp\nframe=2\nAction=6\nAlign=0\nXcoord=120\nYcoord=2\nVisibility=0\n"
        "[ButtonMax]\nButtonImage=min.bmp\nframe=4\nAction=1\nAlign=0\nXcoord=150\nYcoord=2\nVisibility=0\n"
        "[ButtonIcon]\nAction=3\nAlign=0\nXcoord=4\nYcoord=2\nVisibility=0\n");
    skin.Entry("close.bmp", StripBmp({kNormal, kPressed, kHot, kInactive}, 16, 14))
        .Entry("help.bmp", StripBmp({kNormal, kPressed, kHot, kInactive}, 16, 14))
        .Entry("min.bmp", StripBmp({kNormal, kPressed, kHot, kInactive}, 16, 14))
        .Entry("two.bmp", StripBmp({kNormal, kPressed}, 16, 14));
    return skin.Pack();
}

TSkinSysButton* ButtonNamed(TSkinForm& frame, const std::string& name)
{
    for (auto& b : frame.ButtonObjects)
        if (b->Element->Name == name)
            return b.get();
    return nullptr;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
}

TEST(CaptionButtons, LayoutVisibilityStatesAndActions)
{
    ManagerScope scope;
    // Client 292 + 4 + 4: a window 300 pixels wide.
    SkinnedForm host(ButtonSkin(), bsSingle, 292, 120);
    TSkinForm* frame = host.Frame();
    ASSERT_NE(frame, nullptr);
    const HWND w = host.Handle();
    ASSERT_EQ(WindowSize(w).cx, 300);
    std::vector<WPARAM> clicks;
    bool answerVisible = false;
    const TWndMethod own = host.form->WindowProc();
    host.form->SetWindowProc([&](TMessage& m) {
        if (m.Msg == SKM_BUTTONVISIBLE) {
            m.Result = answerVisible && m.WParam == 1500 && m.LParam == 4 ? 1 : 0;
            return;
        }
        if (m.Msg == SKM_BUTTONCLICK)
            clicks.push_back(m.WParam);
        own(m);
    });
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);

    TSkinSysButton* close = ButtonNamed(*frame, "BUTTONCLOSE");
    TSkinSysButton* help = ButtonNamed(*frame, "BUTTONHELP");
    TSkinSysButton* never = ButtonNamed(*frame, "BUTTONNEVER");
    TSkinSysButton* two = ButtonNamed(*frame, "BUTTONTWO");
    ASSERT_TRUE(close && help && never && two);
    EXPECT_EQ(close->Bounds.left, 260);
    EXPECT_EQ(close->Bounds.top, 2);
    EXPECT_EQ(frame->RightButtonEdge, 260);
    EXPECT_FALSE(help->Visible);
    EXPECT_FALSE(never->Visible) << "visibility -1 hides";
    EXPECT_TRUE(two->Visible);

    // A caption too long for the title is clipped by the right clip; in a pop-up window 5
    // pixels left of the right-anchored buttons instead.
    host.form->SetCaption(std::string(120, 'W'));
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);
    EXPECT_EQ(frame->CaptionRect.right, 300 - frame->FrameRight - host.skin->Title->RightWidth);
    SetWindowLongPtrW(w, GWL_STYLE, GetWindowLongPtrW(w, GWL_STYLE) | WS_POPUP);
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);
    EXPECT_EQ(frame->CaptionRect.right, 260 - 5);
    SetWindowLongPtrW(w, GWL_STYLE, GetWindowLongPtrW(w, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_POPUP));
    host.form->SetCaption("Skinned");
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);

    const POINT c = Centre(close->Bounds);
    EXPECT_EQ(WindowPixel(w, c.x, c.y), kNormal);
    SendNc(w, WM_NCMOUSEMOVE, HTCAPTION, c.x, c.y);
    EXPECT_EQ(close->State, ncHot);
    EXPECT_EQ(WindowPixel(w, c.x, c.y), kHot);
    SendNc(w, WM_NCLBUTTONDOWN, HTCAPTION, c.x, c.y);
    EXPECT_EQ(close->State, ncPressed);
    EXPECT_EQ(WindowPixel(w, c.x, c.y), kPressed);
    // Moving off: the hover timer ends the hot state.
    SendNc(w, WM_NCMOUSEMOVE, HTCAPTION, 150, 10);
    EXPECT_EQ(close->State, ncNormal);

    // Inactive: a four-image strip shows image 4, a two-image strip keeps image 1.
    const POINT t = Centre(two->Bounds);
    SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(WindowPixel(w, c.x, c.y), kInactive);
    EXPECT_EQ(WindowPixel(w, t.x, t.y), kNormal);
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(WindowPixel(w, c.x, c.y), kNormal);

    // Visibility 1000-2000 asks the window; an action of the application's own is posted.
    answerVisible = true;
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);
    EXPECT_TRUE(help->Visible);
    EXPECT_EQ(help->Bounds.left, 220);
    const POINT h = Centre(help->Bounds);
    SendNc(w, WM_NCLBUTTONDOWN, HTCAPTION, h.x, h.y);
    SendNc(w, WM_NCLBUTTONUP, HTCAPTION, h.x, h.y);
    EXPECT_TRUE(guikit::WaitUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks, std::vector<WPARAM>{4});

    // Minimise acts; a click on a two-image button's action 6 is the application's too.
    TSkinSysButton* minimise = ButtonNamed(*frame, "BUTTONMINIMIZE");
    const POINT m = Centre(minimise->Bounds);
    SendNc(w, WM_NCLBUTTONDOWN, HTCAPTION, m.x, m.y);
    SendNc(w, WM_NCLBUTTONUP, HTCAPTION, m.x, m.y);
    EXPECT_TRUE(guikit::WaitUntil([&] { return IsIconic(w) != FALSE; }));
    ShowWindow(w, SW_RESTORE);
    SetForegroundWindow(w);
    ASSERT_TRUE(guikit::WaitUntil([&] { return !IsIconic(w) && frame->WindowState == fwNormal; }));
    guikit::SaveScreenshot(w, "skinform-caption-buttons");

    // Maximise and back: the action toggles, through the system commands.
    TSkinSysButton* maximise = ButtonNamed(*frame, "BUTTONMAX");
    ASSERT_NE(maximise, nullptr);
    ASSERT_TRUE(maximise->Visible);
    const POINT x = Centre(maximise->Bounds);
    SendNc(w, WM_NCLBUTTONDOWN, HTCAPTION, x.x, x.y);
    SendNc(w, WM_NCLBUTTONUP, HTCAPTION, x.x, x.y);
    EXPECT_TRUE(guikit::WaitUntil([&] { return IsZoomed(w) != FALSE; }));
    EXPECT_EQ(frame->WindowState, fwMaximized);
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);
    const POINT y = Centre(maximise->Bounds);
    SendNc(w, WM_NCLBUTTONDOWN, HTCAPTION, y.x, y.y);
    SendNc(w, WM_NCLBUTTONUP, HTCAPTION, y.x, y.y);
    EXPECT_TRUE(guikit::WaitUntil([&] { return IsZoomed(w) == FALSE && frame->WindowState == fwNormal; }));
    EXPECT_EQ(WindowSize(w).cx, 300) << "restored to its size";

    // Close acts through the system command.
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);
    SendNc(w, WM_NCLBUTTONDOWN, HTCAPTION, c.x, c.y);
    SendNc(w, WM_NCLBUTTONUP, HTCAPTION, c.x, c.y);
    EXPECT_TRUE(guikit::WaitUntil([&] { return IsWindowVisible(w) == FALSE; }));
}

TEST(CaptionButtons, IconDoubleClickClosesAndRightClickOpensTheSkinnedSystemMenu)
{
    ManagerScope scope;
    SkinnedForm host(ButtonSkin(), bsSizeable, 292, 120, false);
    // The icon button takes the skin's application icon when its element has no picture.
    skindatatest::FillBitmap(host.skin->AppIcon, 16, 16, 0x3060C0);
    host.Show();
    TSkinForm* frame = host.Frame();
    ASSERT_NE(frame, nullptr);
    const HWND w = host.Handle();
    TSkinSysButton* icon = ButtonNamed(*frame, "BUTTONICON");
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->Visible);
    EXPECT_EQ(icon->Element->Frame, 1);

    // Right click on the caption: the skinned copy of the system menu opens as a pop-up that
    // the manager skins; Escape closes it.
    std::atomic<bool> popupSkinned{false};
    guikit::DialogWatcher watcher(0, "#32768", [&](HWND popup, guikit::DialogSeen&) {
        popupSkinned = SendMessageW(popup, SKM_ISSKINNED, 0, 0) == 1;
        guikit::SaveScreenshot(popup, "skinform-system-menu");
        PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    SendNc(w, WM_NCRBUTTONDOWN, HTCAPTION, 150, 10);
    watcher.Wait();
    EXPECT_TRUE(popupSkinned);
    ASSERT_TRUE(frame->SkinnedSystemMenu);
    TPopupMenu& menu = *frame->SkinnedSystemMenu;
    EXPECT_EQ(menu.Tag(), kSkinnedSystemMenuTag);
    EXPECT_TRUE(menu.OwnerDraw());
    const HMENU system = GetSystemMenu(w, FALSE);
    ASSERT_EQ(menu.Items()->Count(), GetMenuItemCount(system));
    for (int i = 0; i < menu.Items()->Count(); ++i) {
        TMenuItem* item = menu.Items()->Items(i);
        const UINT id = GetMenuItemID(system, i);
        if (item->IsLine())
            continue;
        EXPECT_EQ(static_cast<UINT>(item->Tag()), id);
        if (id == SC_RESTORE)
            EXPECT_FALSE(item->Enabled()) << "a normal window cannot be restored";
        if (id == SC_CLOSE)
            EXPECT_EQ(item->ImageIndex(), 3);
    }

    // A double click on the window icon closes the window.
    const POINT i = Centre(icon->Bounds);
    SendNc(w, WM_NCLBUTTONDBLCLK, HTCAPTION, i.x, i.y);
    EXPECT_TRUE(guikit::WaitUntil([&] { return IsWindowVisible(w) == FALSE; }));
}

TEST(SkinManager, FindsTheSkinForEachKindOfWindowAndSkinsPopupsByMenuKind)
{
    ManagerScope scope;
    SkinnedForm host(PlainFrameSkin().Pack(), bsSingle, 200, 100, false);
    TSkinManager* manager = TheSkinManager();
    ASSERT_NE(manager, nullptr);
    TSkinData* mainSkin = host.skin;
    // More components: a dialog skin, a second main skin, one for a single form.
    TForm single(nullptr);
    single.SetBounds(10, 10, 150, 100);
    single.HandleNeeded();
    auto make = [&](TSkinFormType type, TComponent* owner) {
        auto* skin = new TSkinData(owner);
        skindatatest::PutImage(*skin, PlainFrameSkin().Pack());
        skin->LoadSkin();
        skin->SetSkinFormtype(type);
        manager->RegisterSkin(skin);
        return skin;
    };
    TSkinData* dialogSkin = make(sfDialog, host.form.get());
    TSkinData* secondMain = make(sfMainform, host.form.get());
    TSkinData* singleSkin = make(sfOnlyThisForm, &single);
    EXPECT_EQ(manager->MainSkin, mainSkin) << "the first main-form component";
    const HWND dialog = CreateWindowExW(0, L"#32770", L"d", WS_POPUP | WS_CAPTION, 0, 0, 100, 80, nullptr, nullptr,
                                       nullptr, nullptr);
    const HWND plain = MakeRawWindow(L"KestripPlainWindow", 100, 80);
    EXPECT_EQ(manager->FindSkin(single.Handle()), singleSkin);
    EXPECT_EQ(manager->FindSkin(dialog), dialogSkin);
    EXPECT_EQ(manager->FindSkin(plain), secondMain) << "the last main-form component";
    manager->UnregisterSkin(dialogSkin);
    EXPECT_EQ(manager->FindSkin(dialog), secondMain);
    manager->UnregisterSkin(mainSkin);
    EXPECT_EQ(manager->MainSkin, secondMain) << "a destroyed main component is never used again";
    manager->RegisterSkin(mainSkin);

    // Pop-up menu windows: each kind of menu needs its own switch in the skin.
    struct Case { int kind; TSkinControlType needed; };
    const Case cases[] = {{mkPopupMenu, xcPopupMenu}, {mkMenuBarDropDown, xcMainMenu},
                          {mkMenuBarDropDown, xcMenuItem}, {mkSystemMenu, xcSystemMenu}};
    manager->Enabled = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.needed));
        for (TSkinData* skin : manager->Skins) {
            TSkinControlTypes controls;
            controls.Include(c.needed);
            skin->SetSkinControls(controls);
        }
        const HWND popup = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                                           nullptr, nullptr);
        ASSERT_NE(popup, nullptr);
        manager->MenuKind = c.kind;
        manager->SkinPopup(popup);
        EXPECT_TRUE(manager->IsPopupSkinned(popup));
        EXPECT_EQ(SendMessageW(popup, SKM_ISSKINNED, 0, 0), 1);
        DestroyWindow(popup); // the hook sees it go
        EXPECT_FALSE(manager->IsPopupSkinned(popup));
        EXPECT_EQ(manager->MenuKind, mkPopupMenu) << "the last pop-up closed";

        // Without the switch nothing is attached.
        for (TSkinData* skin : manager->Skins)
            skin->SetSkinControls(TSkinControlTypes());
        const HWND bare = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                                          nullptr, nullptr);
        manager->MenuKind = c.kind;
        manager->SkinPopup(bare);
        EXPECT_FALSE(manager->IsPopupSkinned(bare));
        DestroyWindow(bare);
    }
    DestroyWindow(dialog);
    DestroyWindow(plain);
}
