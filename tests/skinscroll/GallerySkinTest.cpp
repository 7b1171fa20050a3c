// The control gallery with the program's default skin: its list view gets the list wrapper with
// a skinned header and, once it holds more rows than fit, a vertical bar drawn from the skin's
// images; a screenshot for a person to look at.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "classlib/Unicode.h"
#include "guikit/GuiKit.h"
#include "skin/draw/SkinDraw.h"
#include "skin/wrappers/SkinHeader.h"
#include "skin/wrappers/SkinListView.h"
#include "skinscroll/BarChecks.h"
#include "skinscroll/ScrollTestKit.h"
#include "tools/gallery/GalleryForm.h"

using namespace scrolltest;
using namespace std::chrono_literals;

namespace {
skindatatest::Bytes DefaultSkin()
{
    std::ifstream in(std::filesystem::path(Utf8ToWide(skindatatest::SourcePath("assets/Kestrip.skn"))), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
} // namespace

TEST(GallerySkin, TheListViewHasItsSkinnedHeaderAndBarWithTheDefaultSkin)
{
    auto form = std::make_unique<TGalleryForm>(nullptr);
    form->InitializeForm();
    auto* skin = new TSkinData(form.get());
    const skindatatest::Bytes image = DefaultSkin();
    ASSERT_FALSE(image.empty());
    skindatatest::PutImage(*skin, image);
    ASSERT_TRUE(skin->LoadSkin());
    skin->SetActive(true);
    skin->Loaded();
    for (int i = 1; i <= 20; ++i) {
        TListItem* item = form->ListView1->Items()->Add();
        item->SetCaption(std::to_string(i));
        item->SubItems()->Add("Track-" + std::to_string(i));
        item->SubItems()->Add("3:0" + std::to_string(i % 10));
    }
    form->Show();
    SetForegroundWindow(form->Handle());
    TSkinForm* frame = nullptr;
    ASSERT_TRUE(guikit::WaitUntil([&] {
        frame = FindSkinForm(form->Handle());
        return frame && frame->Activated;
    }));
    guikit::PumpMessages();

    auto* wrapper = dynamic_cast<TSkinListView*>(WrapperOf(frame, form->ListView1->Handle()));
    ASSERT_NE(wrapper, nullptr);
    ASSERT_NE(wrapper->Header, nullptr);
    InvalidateRect(form->ListView1->Handle(), nullptr, TRUE);
    UpdateWindow(form->ListView1->Handle());
    guikit::PumpMessages();
    ASSERT_TRUE(wrapper->VertBar->Shown);
    EXPECT_FALSE(wrapper->HorzBar->Shown);

    // The arrows are the skin's up and down images, as the strip holds them.
    TBitmap& arrows = skin->Scrollbar->Image;
    const HWND overlay = wrapper->VertBar->Handle();
    RECT r{};
    GetClientRect(overlay, &r);
    const int a = wrapper->VertBar->ArrowSize;
    const int thickness = std::abs(arrows.Height() - a) > 2 ? a : arrows.Height();
    const TColor face = SkinFaceColour(skin);
    const TPixels up = StripPicture(arrows, 23, 9, thickness, a, face);
    const TPixels down = StripPicture(arrows, 23, 13, thickness, a, face);
    EXPECT_TRUE(guikit::WaitUntil([&] { return DiffersFrom(overlay, {0, 0}, up) == 0; }, 5s));
    EXPECT_EQ(DiffersFrom(overlay, {0, r.bottom - a}, down), 0);

    // The header's first item is the header image nine-sliced over it (left edge, clear of text).
    const HWND header = wrapper->Header->Handle;
    RECT item{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    TDataSkinObject& bar = *skin->Headerbar;
    const std::unique_ptr<TBitmap> expected =
        RenderNineSlice({0, 0, item.right - item.left, item.bottom - item.top}, bar.Image, bar.Margins(), false,
                        bar.Tile != 0, bar.Frame > 0 ? bar.Frame : 5, 1);
    int differing = 0;
    for (int y = 0; y < item.bottom - item.top; ++y)
        differing += PixelAt(header, item.left + 1, item.top + y) != expected->Canvas()->Pixel(1, y);
    EXPECT_EQ(differing, 0);

    form->TabControl1->SetTabIndex(1);
    guikit::PumpMessages();
    guikit::SaveScreenshot(form->Handle(), "gallery-skinned");
    form.reset();
    guikit::PumpMessages();
}
