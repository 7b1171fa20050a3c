#pragma once
// Skinned menus in tests: a skin whose menu elements have one plain colour per frame (so a
// pixel tells which frame was drawn), the control gallery shown under it, and a watcher that
// answers the pop-up menu windows the GUI thread opens modally.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "guikit/GuiKit.h"
#include "skin/SkinMessages.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"
#include "skinform/SkinFormTestKit.h"
#include "tools/gallery/GalleryForm.h"

namespace skinmenutest {

using skinformtest::Bytes;

// Colours of the hand-made skin (COLORREF order: 0x00BBGGRR).
constexpr TColor kBarActive = 0x30A040, kBarInactive = 0x206020;
constexpr TColor kItemFrames[5] = {0xE0C0A0, 0x404080, 0x808080, 0x2080F0, 0x606060};
constexpr TColor kBack = 0x50D0D0;
constexpr TColor kMenuColour = 0xF0F0F0, kMenuText = 0x101010, kHilight = 0x9030C0, kHilightText = 0xFFFFFF;
constexpr TColor kShadow = 0x7070E0, kButtonHilight = 0x00FFFF, kBarText = 0xFF2020;
constexpr TColor kMdiButtons = 0x3070B0;
constexpr int kItemLeftWidth = 4;

inline std::string Rgb(TColor c)
{
    return std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " + std::to_string((c >> 16) & 0xFF);
}

struct MenuSkinOptions {
    bool menuBackground = true;
    bool menuItem = true;
    TColor shadow = kShadow;
};

// The plain frame of the frame tests plus a menu bar, menu items, a pop-up background and
// the three MDI buttons; frames of each strip in their own colour.
inline Bytes MenuSkin(const MenuSkinOptions& o = {})
{
    std::string ini = "menuBar=menubar.bmp\nTileMenu=1\nTileLeftMenu=2\nTileRightMenu=2\n"
                      "[Colours]\nMenu=" + Rgb(kMenuColour) + "\nMenuText=" + Rgb(kMenuText) +
                      "\nHilight=" + Rgb(kHilight) + "\nHilightText=" + Rgb(kHilightText) +
                      "\nButtonShadow=" + Rgb(o.shadow) + "\nButtonHilight=" + Rgb(kButtonHilight) +
                      "\nMenuBarText=" + Rgb(kBarText) + "\n[MDICONTROLS]\nImage=mdi.bmp\n";
    if (o.menuItem)
        ini += "[MenuItem]\nImage=item.bmp\nLeftWidth=4\nRightWidth=4\nTopHeight=2\nBottomHeight=2\n";
    if (o.menuBackground)
        ini += "[MenuBackground]\nImage=back.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\nBottomHeight=3\n";
    skindatatest::TTestSkin skin = skinformtest::PlainFrameSkin(ini);
    skin.Entry("menubar.bmp", skinformtest::StripBmp({kBarActive, kBarInactive}, 10, 18))
        .Entry("item.bmp", skinformtest::StripBmp({kItemFrames[0], kItemFrames[1], kItemFrames[2], kItemFrames[3],
                                                   kItemFrames[4]},
                                                  20, 16))
        .Bitmap("back.bmp", 9, 9, kBack)
        .Entry("mdi.bmp", skinformtest::StripBmp(std::vector<TColor>(12, kMdiButtons), 12, 12));
    return skin.Pack();
}

// The control gallery from its stored description, skinned by the manager when shown.
struct SkinnedGallery {
    std::unique_ptr<TGalleryForm> form;
    TSkinData* skin = nullptr;

    explicit SkinnedGallery(const Bytes& image, const std::function<void(TGalleryForm&)>& prepare = {})
    {
        form = std::make_unique<TGalleryForm>(nullptr);
        form->InitializeForm();
        form->SetLeft(20);
        form->SetTop(20);
        if (prepare)
            prepare(*form);
        skin = new TSkinData(form.get());
        skin->SetName("SkinData1");
        skindatatest::PutImage(*skin, image);
        skin->LoadSkin();
        skin->SetActive(true);
        skin->Loaded();
        form->Show();
        SetForegroundWindow(form->Handle());
        guikit::WaitUntil([&] { return Frame() && Frame()->SkinState == ssActive; }, std::chrono::seconds(10));
        guikit::PumpMessages();
    }
    ~SkinnedGallery()
    {
        form.reset();
        guikit::PumpMessages();
    }
    HWND Handle() const { return form->Handle(); }
    TSkinForm* Frame() const { return FindSkinForm(form->Handle()); }
    TSkinMenuBar& Bar() const { return *Frame()->MenuBarPainter; }
    TMenuBtn& Button(int index) const { return *Bar().Buttons.at(static_cast<std::size_t>(index)); }
};

// What a watcher saw of one pop-up menu window.
struct PopupSeen {
    HWND window = nullptr;
    HMENU menu = nullptr;
    RECT rect{};
    bool skinned = false;
};

// Waits on a thread of its own for `count` pop-up menu windows opened one after another by
// the thread under test (which runs them modally) and hands each to `step`, which answers it
// (keys, screenshots). A window is taken once the menu loop has selected an item in it, or
// after two seconds when nothing gets selected.
class MenuWatcher {
public:
    using Step = std::function<void(int index, const PopupSeen& seen)>;
    MenuWatcher(int count, Step step) : count_(count), step_(std::move(step))
    {
        thread_ = std::thread([this] { Run(); });
    }
    ~MenuWatcher()
    {
        if (thread_.joinable())
            thread_.join();
    }
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;

    // Pumps the caller's messages until the watcher is done (it gives up after 20 s a window).
    std::vector<PopupSeen> Wait()
    {
        guikit::WaitUntil([&] { return done_.load(); }, std::chrono::seconds(20 * (count_ + 1)));
        if (thread_.joinable())
            thread_.join();
        return seen_;
    }

    static bool AnySelected(HMENU menu)
    {
        const int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i)
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
                return true;
        return false;
    }

private:
    static std::vector<HWND> OpenPopups()
    {
        std::vector<HWND> open;
        for (HWND w : guikit::TopLevelWindows({}, "#32768"))
            if (IsWindowVisible(w))
                open.push_back(w);
        return open;
    }
    static bool Sleepy(const std::function<bool()>& condition, int ms)
    {
        for (int waited = 0; waited < ms; waited += 10) {
            if (condition())
                return true;
            Sleep(10);
        }
        return condition();
    }
    void Run()
    {
        HWND previous = nullptr;
        for (int k = 0; k < count_; ++k) {
            // The next window: another one than the last (which may stay open under a
            // drop-down of its own, or close as the next one opens).
            HWND popup = nullptr;
            Sleepy([&] {
                for (HWND w : OpenPopups())
                    if (w != previous)
                        popup = w;
                return popup != nullptr;
            }, 20000);
            if (!popup)
                break;
            PopupSeen seen;
            seen.window = popup;
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutW(popup, 0x01E1 /* MN_GETHMENU */, 0, 0, SMTO_BLOCK, 5000, &answer))
                seen.menu = reinterpret_cast<HMENU>(answer);
            if (SendMessageTimeoutW(popup, SKM_ISSKINNED, 0, 0, SMTO_BLOCK, 5000, &answer))
                seen.skinned = answer == 1;
            GetWindowRect(popup, &seen.rect);
            Sleepy([&] { return seen.menu && AnySelected(seen.menu); }, 2000);
            seen_.push_back(seen);
            if (step_)
                step_(k, seen);
            previous = popup;
        }
        done_ = true;
    }

    int count_;
    Step step_;
    std::vector<PopupSeen> seen_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

inline void PostKey(HWND window, WORD key) { PostMessageW(window, WM_KEYDOWN, key, 1); }

// What a window shows at a point of it (frame coordinates), read from its own surface.
inline TColor ScreenPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

// The same at a screen point of a window.
inline TColor ScreenAt(HWND window, int x, int y)
{
    RECT r{};
    GetWindowRect(window, &r);
    return ScreenPixel(window, x - r.left, y - r.top);
}

// Pixels of a bitmap's rectangle within `tolerance` (per channel) of a colour.
inline int CountNear(TBitmap& bitmap, const RECT& r, TColor colour, int tolerance = 0)
{
    int n = 0;
    for (int y = std::max(0L, r.top); y < std::min<long>(r.bottom, bitmap.Height()); ++y)
        for (int x = std::max(0L, r.left); x < std::min<long>(r.right, bitmap.Width()); ++x) {
            const TColor p = bitmap.Canvas()->Pixel(x, y);
            bool close = true;
            for (int shift = 0; shift < 24; shift += 8)
                close = close && std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                          static_cast<int>((colour >> shift) & 0xFF)) <= tolerance;
            n += close ? 1 : 0;
        }
    return n;
}

} // namespace skinmenutest
