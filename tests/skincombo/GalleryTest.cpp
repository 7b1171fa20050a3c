// The control gallery with the program's own skin: the text-entry, bar and tab controls get
// their wrappers, and their pictures are the skin's.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "guikit/GuiKit.h"
#include "skin/wrappers/SkinComBox.h"
#include "skin/wrappers/SkinEdit.h"
#include "skin/wrappers/SkinProgress.h"
#include "skin/wrappers/SkinTab.h"
#include "skin/wrappers/SkinTrackBar.h"
#include "skin/wrappers/SkinUpDown.h"
#include "skincombo/ComboTestKit.h"
#include "tools/gallery/GalleryForm.h"

using namespace combotest;

TEST(Gallery, TheProgramsSkinDrawsTheComboEditSpinBarAndTabControls)
{
    auto* gallery = new TGalleryForm(nullptr);
    gallery->InitializeForm();
    TSkinnedForm host(skindatatest::TTestSkin{}, gallery);
    // The program's default skin, as a skin file.
    host.skin->SetSkinFile(skindatatest::SourcePath("assets/Kestrip.skn"));
    ASSERT_EQ(host.skin->SkinEmpty, 0);
    ASSERT_NE(host.Show(), nullptr);
    TSkinForm* frame = host.frame;
    EXPECT_NE(dynamic_cast<TSkinComBox*>(WrapperOf(frame, gallery->ComboBox1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinEdit*>(WrapperOf(frame, gallery->Edit1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinUpDown*>(WrapperOf(frame, gallery->UpDown1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinTrackBar*>(WrapperOf(frame, gallery->TrackBar1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinTab*>(WrapperOf(frame, gallery->PageControl1->Handle())), nullptr);
    EXPECT_NE(dynamic_cast<TSkinTab*>(WrapperOf(frame, gallery->TabControl1->Handle())), nullptr);
    auto* progress = dynamic_cast<TSkinProgress*>(WrapperOf(frame, gallery->ProgressBar1->Handle()));
    ASSERT_NE(progress, nullptr);

    // The combo's right end is the skin's combo picture (built at 21 rows) for its state.
    const HWND combo = gallery->ComboBox1->Handle();
    const SIZE size = WindowSize(combo);
    TBitmap& strip = host.skin->ComboButton->Image;
    const int cell = strip.Width() / 4;
    for (const int k : {1, 4}) {
        if (k == 1)
            gallery->Button1->SetFocus();
        else
            gallery->ComboBox1->SetFocus();
        if (size.cy == strip.Height())
            for (const int y : {1, static_cast<int>(size.cy / 2), static_cast<int>(size.cy - 2)})
                EXPECT_TRUE(WaitForPixel(combo, size.cx - 3, y, strip.PixelColor(k * cell - 3, y))) << k << " " << y;
    }

    // The progress bar at half: the filled picture's middle colour left of the middle only.
    gallery->ProgressBar1->SetPosition(50);
    InvalidateRect(gallery->ProgressBar1->Handle(), nullptr, TRUE);
    TBitmap& bar = host.skin->Progress->Image;
    const int frameWidth = bar.Width() / 2;
    const TColor filled = bar.PixelColor(frameWidth + frameWidth / 2, bar.Height() / 2);
    const TColor empty = bar.PixelColor(frameWidth / 2, bar.Height() / 2);
    const SIZE p = WindowSize(gallery->ProgressBar1->Handle());
    if (p.cy == bar.Height()) {
        EXPECT_TRUE(WaitForPixel(gallery->ProgressBar1->Handle(), p.cx / 4, p.cy / 2, filled));
        EXPECT_EQ(PixelAt(gallery->ProgressBar1->Handle(), p.cx * 3 / 4, p.cy / 2), empty);
    }
    guikit::SaveScreenshot(gallery->Handle(), "skincombo-gallery");
    gallery->PageControl1->SetActivePageIndex(1);
    guikit::PumpMessages();
    guikit::SaveScreenshot(gallery->Handle(), "skincombo-gallery-page2");
}
