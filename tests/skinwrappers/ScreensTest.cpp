// The program's main window and the control gallery with the program's own skin: the buttons
// and the select-all box against the skin's images, and every control kind of this set wrapped.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/Main.h"
#include "cdrom/Published.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "guikit/GuiKit.h"
#include "outputs/Published.h"
#include "pipeline/Published.h"
#include "skin/SkinEngine.h"
#include "skin/draw/SkinDraw.h"
#include "skin/wrappers/SkinBitButton.h"
#include "skin/wrappers/SkinBox.h"
#include "skin/wrappers/SkinCheckBox.h"
#include "skin/wrappers/SkinGroupBox.h"
#include "skin/wrappers/SkinRadioButton.h"
#include "skin/wrappers/SkinSpeedButton.h"
#include "skin/wrappers/SkinStatusBar.h"
#include "skin/wrappers/SkinTabSheet.h"
#include "skinwrappers/WrapperTestKit.h"
#include "tools/gallery/GalleryForm.h"

using namespace wraptest;

namespace {
class ScreensEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        TClassRegistry& r = Classes();
        RegisterGalleryClasses(); // with the graphics and control classes
        RegisterPipelineClasses(r);
        RegisterCDInClasses(r);
        RegisterOutputClasses(r);
        RegisterMainFormClasses(r);
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Kestrip");
    }
    void TearDown() override
    {
        ShutdownSkinEngine();
        application_.reset();
    }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ScreensEnvironment);

TSkinForm* WaitForSkin(TForm* form)
{
    TSkinForm* frame = nullptr;
    guikit::WaitUntil([&] {
        frame = FindSkinForm(form->Handle());
        return frame && frame->Activated;
    });
    guikit::PumpMessages();
    return frame;
}

// How the skin draws button image k at the control's size over the face colour.
std::unique_ptr<TBitmap> ExpectedButton(TSkinData& skin, int w, int h, int k)
{
    auto picture = std::make_unique<TBitmap>(w, h, pf24bit);
    HDC dc = picture->Canvas()->Handle();
    HBRUSH face = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(skin.ButtonFaceColour)));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, face);
    DeleteObject(face);
    TDataSkinButton& b = *skin.Buttons;
    DrawNineSlice(dc, all, b.Image, b.Trans == 1, false, b.Tile != 0, 5, k, b.Margins());
    GdiFlush();
    return picture;
}

// The columns near both edges (where no caption goes) match image k, pixel for pixel.
bool EdgesShowImage(TSkinData& skin, TButton* button, int k)
{
    return guikit::WaitUntil(
        [&] {
            const auto shown = Capture(button->Handle());
            const auto expected = ExpectedButton(skin, shown->Width(), shown->Height(), k);
            for (int y = 0; y < shown->Height(); ++y)
                for (int x : {0, 1, 2, 3, 4, shown->Width() - 5, shown->Width() - 3, shown->Width() - 1})
                    if (shown->PixelColor(x, y) != expected->PixelColor(x, y))
                        return false;
            return true;
        },
        std::chrono::seconds(5));
}

void MoveCursorTo(TWinControl* control, int x, int y)
{
    const POINT p = control->ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
}
} // namespace

TEST(SkinnedScreens, MainWindowButtonsAndSelectAllAreDrawnFromTheSkin)
{
    auto form = std::make_unique<TForm1>(nullptr);
    form->InitializeForm();
    MoveCursorTo(form.get(), -50, -50);
    form->Show();
    TSkinForm* frame = WaitForSkin(form.get());
    ASSERT_NE(frame, nullptr);
    TSkinData& skin = *frame->SkinData;
    ASSERT_FALSE(skin.Buttons->Image.Empty());
    for (TButton* b : {form->Button1, form->Button2, form->Button3, form->Button4})
        ASSERT_NE(dynamic_cast<TSkinButton*>(WrapperOf(frame, b->Handle())), nullptr) << b->Caption();
    ASSERT_NE(dynamic_cast<TSkinCheckBox*>(WrapperOf(frame, form->chk_selectall->Handle())), nullptr);
    form->chk_selectall->SetFocus();

    // "Abort" starts disabled: image 3 and the shadow colour for its caption.
    EXPECT_TRUE(EdgesShowImage(skin, form->Button2, 3));
    EXPECT_TRUE(HasColour(form->Button2->Handle(), {2, 2, 71, 23}, static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))));
    EXPECT_TRUE(EdgesShowImage(skin, form->Button3, 1));
    // Hot under the mouse; pressed while the button is down; the mouse leaving clicks nothing.
    // ("Eject": a caption short enough to keep the focus rectangle off the edges.)
    MoveCursorTo(form->Button3, 10, 10);
    EXPECT_TRUE(EdgesShowImage(skin, form->Button3, 4));
    PostMessageW(form->Button3->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(EdgesShowImage(skin, form->Button3, 2));
    MoveCursorTo(form.get(), -50, -50);
    EXPECT_TRUE(EdgesShowImage(skin, form->Button3, 4)); // focused by the press
    form->chk_selectall->SetFocus();
    EXPECT_TRUE(EdgesShowImage(skin, form->Button3, 1));

    // The select-all box: the strip's image for its state, centred at the left.
    const TDataSkinButton& b = *skin.Buttons;
    const int w = b.CheckImage.Width() / b.CheckFrame, h = b.CheckImage.Height();
    const HWND box = form->chk_selectall->Handle();
    const int height = guikit::ClientSize(box).cy;
    const int top = (height - h) / 2;
    for (const bool checked : {false, true}) {
        form->chk_selectall->SetChecked(checked);
        const RECT frameRect = StripFrameRect(b.CheckImage, false, b.CheckFrame, checked ? 2 : 1);
        EXPECT_TRUE(guikit::WaitUntil(
            [&] {
                const auto shown = Capture(box);
                for (int y = std::max(0, -top); y < h && top + y < height; ++y)
                    for (int x = 0; x < w; ++x) {
                        const TColor want = b.CheckImage.PixelColor(frameRect.left + x, y);
                        if (want != 0xFF00FF && shown->PixelColor(x, top + y) != want)
                            return false;
                    }
                return true;
            },
            std::chrono::seconds(5)))
            << checked;
    }
    guikit::SaveScreenshot(form->Handle(), "skinwrappers-main-window");
}

TEST(SkinnedScreens, GalleryWithEveryKindOfThisSetWrapped)
{
    auto form = std::make_unique<TGalleryForm>(nullptr);
    form->InitializeForm();
    // The program's own skin, as the main window carries it.
    std::ifstream file(std::filesystem::path(std::string(KESTRIP_SOURCE_DIR) + "/assets/Kestrip.skn"),
                       std::ios::binary);
    const skindatatest::Bytes packed{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(packed.empty());
    auto* skin = new TSkinData(form.get());
    skindatatest::PutImage(*skin, packed);
    ASSERT_TRUE(skin->LoadSkin());
    skin->SetActive(true);
    skin->Loaded();
    MoveCursorTo(form.get(), -50, -50);
    form->Show();
    TSkinForm* frame = WaitForSkin(form.get());
    ASSERT_NE(frame, nullptr);

    auto wrapper = [&](TControl* c) -> TSkinControl* {
        for (TSkinControl* w : frame->ChildSkins)
            if (w->Control == c)
                return w;
        return nullptr;
    };
    TGalleryForm& g = *form;
    for (TControl* c : std::initializer_list<TControl*>{g.Button1, g.Button2, g.Button3})
        EXPECT_NE(dynamic_cast<TSkinButton*>(wrapper(c)), nullptr) << c->Name();
    EXPECT_NE(dynamic_cast<TSkinBitButton*>(wrapper(g.BitBtn1)), nullptr);
    for (TControl* c : std::initializer_list<TControl*>{g.SpeedButton1, g.SpeedButton2, g.SpeedButton3})
        EXPECT_NE(dynamic_cast<TSkinSpeedButton*>(wrapper(c)), nullptr) << c->Name();
    EXPECT_NE(dynamic_cast<TSkinCheckBox*>(wrapper(g.CheckBox1)), nullptr);
    for (TControl* c : std::initializer_list<TControl*>{g.RadioButton1, g.RadioButton2})
        EXPECT_NE(dynamic_cast<TSkinRadioButton*>(wrapper(c)), nullptr) << c->Name();
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(wrapper(g.GroupBox1)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(wrapper(g.RadioGroup1)), nullptr);
    for (int i = 0; i < g.RadioGroup1->ButtonCount(); ++i)
        EXPECT_NE(dynamic_cast<TSkinRadioButton*>(wrapper(g.RadioGroup1->Buttons(i))), nullptr);
    EXPECT_NE(dynamic_cast<TSkinBox*>(wrapper(g.Panel1)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinTabSheet*>(wrapper(g.TabSheet1)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinTabSheet*>(wrapper(g.TabSheet2)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinStatusBar*>(wrapper(g.StatusBar1)), nullptr);
    // The wrapped buttons still do their work.
    guikit::Click(g.Button1->Handle());
    EXPECT_TRUE(guikit::WaitUntil([&] { return !g.calls.empty() && g.calls.back() == "Button1Click"; }));
    guikit::SaveScreenshot(form->Handle(), "skinwrappers-gallery");
    g.PageControl1->SetActivePageIndex(1);
    MoveCursorTo(g.Button1, 10, 10);
    guikit::PumpMessages();
    guikit::SaveScreenshot(form->Handle(), "skinwrappers-gallery-second-page");
}
