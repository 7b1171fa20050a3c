// The main window driven as a person would, under Wine and Xvfb: drive and track lists, ticking,
// the folder browser, ripping batches, "Abort", "Eject"/"Close Tray", closing, and failures.
// Files are left in <build>/test-output/main-window for the checks that decode them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>

#include "app/Main.h"
#include "cdrom/AudioCDROM.h"
#include "cdrom/Published.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"
#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/graphics/Picture.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Image.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "common/DemoDisc.h"
#include "drive/DiscImageKit.h"
#include "guikit/DialogWatcher.h"
#include "guikit/GuiKit.h"
#include "outputs/AudioWave.h"
#include "outputs/Published.h"
#include "pipeline/Published.h"
#include "skin/SkinMessages.h"
#include "skin/data/DataSkinSysButton.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/wrappers/SkinHeader.h"
#include "skin/wrappers/SkinListView.h"
#include "skinscroll/BarChecks.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Drives in the order the window lists them: the demo disc, a 12-track disc, a disc whose
// sheet a test removes in the middle of a rip.
constexpr int kDemoDrive = 0, kTwelveDrive = 1, kRemovableDrive = 2;

std::string OutputRoot() { return guikit::TestOutputDir() + "\\main-window"; }
fs::path PathOf(const std::string& utf8) { return fs::path(Utf8ToWide(utf8)); }

disckit::Image& RemovableImage()
{
    static disckit::Image image;
    return image;
}

class MainWindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        TClassRegistry& r = Classes();
        RegisterGraphicsClasses(r);
        RegisterControlClasses(r);
        RegisterPipelineClasses(r);
        RegisterCDInClasses(r);
        RegisterOutputClasses(r);
        RegisterMainFormClasses(r);
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Kestrip");

        // The drives the window will list, registered before the first CD input is made.
        const std::string images = OutputRoot() + "\\images\\";
        fs::remove_all(PathOf(OutputRoot()));
        fs::create_directories(PathOf(images));
        // Twelve tracks; the fourth is 4 min 7 s long, the fifth 4 min 10 s.
        std::vector<std::uint32_t> lengths(12, 150);
        lengths[3] = (4 * 60 + 7) * 75 + 20;
        lengths[4] = (4 * 60 + 10) * 75;
        disckit::ImageSpec twelve = disckit::Consecutive(lengths, "Twelve");
        twelve.Sparse = true;
        disckit::WriteImage(images, "twelve", twelve);
        // One long track of silence: slow enough to act on while it is ripped.
        disckit::ImageSpec removable = disckit::Consecutive({40 * 60 * 75}, "Removable");
        removable.Sparse = true;
        RemovableImage() = disckit::WriteImage(images, "removable", removable);

        const std::string ini = ProgramFolder() + "cdr.ini";
        ProfileWriteString(ini, "Images", "Image1", testkit::DemoDiscCue());
        ProfileWriteString(ini, "Images", "Image2", images + "twelve.cue");
        ProfileWriteString(ini, "Images", "Image3", RemovableImage().CuePath);
        ProfileWriteString(ini, "Images", "Image4", "");
    }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

// The window as the program makes it: from its stored description, shown.
struct Window {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(nullptr);

    Window()
    {
        form->InitializeForm();
        form->Show();
        guikit::PumpMessages();
    }
    ~Window()
    {
        if (form->Ripping())
            Click(form->Button2);
        guikit::WaitUntil([&] { return form->Button1->Enabled(); }, 120s);
    }

    static void Click(TWinControl* control)
    {
        guikit::Click(control->Handle());
        guikit::PumpMessages();
    }
    // Keys pressed on a control that has the focus, as a person types them.
    static void Keys(TWinControl* control, std::initializer_list<WORD> keys)
    {
        control->SetFocus();
        for (WORD key : keys) {
            guikit::PressKey(key);
            guikit::PumpMessages();
        }
    }
    void ChooseDrive(int index)
    {
        // Moving away and back: choosing the drive that is already chosen changes nothing.
        Keys(form->ComboBox1, {static_cast<WORD>(index == 0 ? VK_END : VK_HOME)});
        Keys(form->ComboBox1, {VK_HOME});
        for (int i = 0; i < index; ++i)
            Keys(form->ComboBox1, {VK_DOWN});
        ASSERT_EQ(SendMessageW(form->ComboBox1->Handle(), CB_GETCURSEL, 0, 0), index);
    }
    void ChooseFormat(const char* format)
    {
        const int index = static_cast<int>(form->ComboBox3->Items()->IndexOf(format));
        Keys(form->ComboBox3, {VK_HOME});
        for (int i = 0; i < index; ++i)
            Keys(form->ComboBox3, {VK_DOWN});
        ASSERT_EQ(form->ComboBox3->Text(), format);
    }
    HWND List() { return form->ListView1->Handle(); }
    int Rows() { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column)
    {
        wchar_t text[64] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return WideToUtf8(text);
    }
    bool Ticked(int row)
    {
        return ((SendMessageW(List(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    // Space on the row ticks or clears its box.
    void Toggle(int row)
    {
        Keys(form->ListView1, {VK_HOME});
        for (int i = 0; i < row; ++i)
            Keys(form->ListView1, {VK_DOWN});
        const bool was = Ticked(row);
        Keys(form->ListView1, {VK_SPACE});
        ASSERT_TRUE(guikit::WaitUntil([&] { return Ticked(row) != was; }));
    }
    void TickOnly(std::initializer_list<int> rows)
    {
        for (int row = 0; row < Rows(); ++row) {
            const bool want = std::find(rows.begin(), rows.end(), row) != rows.end();
            if (Ticked(row) != want)
                Toggle(row);
        }
    }
    bool ControlsEnabledForIdle()
    {
        return form->Button1->Enabled() && !form->Button2->Enabled() && form->Button3->Enabled() &&
               form->Button4->Enabled() && form->ComboBox1->Enabled() && form->ComboBox3->Enabled() &&
               form->chk_selectall->Enabled() && form->ListView1->Enabled();
    }
    // "Rip!" with the folder browser answered with `folder`; false when no browser came.
    bool RipInto(const std::string& folder);
    bool WaitForBatchEnd(std::chrono::milliseconds timeout = 300s)
    {
        return guikit::WaitUntil([&] { return !form->Ripping() && ControlsEnabledForIdle(); }, timeout);
    }
};

// Answers the folder browser: selects `folder` as a click in its tree would, runs `meanwhile`
// and presses `button`.
guikit::DialogWatcher AnswerFolderBrowser(const std::string& folder, int button = IDOK,
                                          std::function<void()> meanwhile = {})
{
    return guikit::DialogWatcher(button, "#32770", [folder, meanwhile](HWND dialog, guikit::DialogSeen&) {
        HWND tree = nullptr;
        for (int i = 0; !tree && i < 500; ++i) {
            for (HWND child : guikit::ChildWindows(dialog))
                if (guikit::ClassName(child) == "SysTreeView32")
                    tree = child;
            Sleep(tree ? 0 : 20);
        }
        for (int i = 0; tree && i < 500 && !SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0); ++i)
            Sleep(20);
        // The tree fills in steps and takes a selection only once ready: ask until the folder's
        // own item is the selected one.
        const std::wstring path = Utf8ToWide(folder);
        const std::wstring leaf = fs::path(path).filename().wstring();
        auto textOf = [tree](LRESULT handle) {
            wchar_t text[MAX_PATH] = {};
            TVITEMW item{};
            item.mask = TVIF_TEXT;
            item.hItem = reinterpret_cast<HTREEITEM>(handle);
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            if (item.hItem)
                SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            return std::wstring(text);
        };
        auto selectedText = [&] { return textOf(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)); };
        for (int attempt = 0; tree && attempt < 50; ++attempt) {
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
            // Wine keeps the selection when it already sits on a sibling: click the sibling then.
            const LRESULT parent = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            const bool siblings = parent && textOf(parent) == fs::path(path).parent_path().filename().wstring();
            for (LRESULT item = siblings ? SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, parent) : 0;
                 item && selectedText() != leaf; item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item))
                if (textOf(item) == leaf)
                    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
            for (int i = 0; i < 10 && selectedText() != leaf; ++i)
                Sleep(20);
            Sleep(100); // and it stays so
            if (selectedText() == leaf)
                break;
        }
        if (tree && selectedText() != leaf)
            std::fprintf(stderr, "folder browser: %ls is selected, not %ls\n", selectedText().c_str(), leaf.c_str());
        if (meanwhile)
            meanwhile();
    });
}

bool Window::RipInto(const std::string& folder)
{
    guikit::DialogWatcher browser = AnswerFolderBrowser(folder);
    Click(form->Button1);
    return browser.Wait().found;
}

std::string TrackFile(const std::string& folder, int track, const char* extension)
{
    char name[32];
    snprintf(name, sizeof name, "\\Track-%02d%s", track, extension);
    return folder + name;
}

std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(PathOf(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(MainWindow, ListsTheTracksOfTheChosenDriveAndFollowsSelectAllEjectAndCloseTray)
{
    Window w;
    guikit::SaveScreenshot(w.form->Handle(), "main-window");
    // The banner: the stored JPEG, decoded, drawn at its natural size from 6 pixels left of the
    // window's edge (the image sits at Left = -6).
    TGraphic* banner = w.form->Image1->Picture()->Graphic();
    ASSERT_NE(banner, nullptr);
    ASSERT_EQ(banner->Width(), 350);
    ASSERT_EQ(banner->Height(), 28);
    TBitmap decoded;
    decoded.SetPixelFormat(pf24bit);
    decoded.SetSize(350, 28);
    decoded.Canvas()->Draw(0, 0, *banner);
    HDC screen = GetDC(w.form->Handle());
    int differing = 0;
    for (int y = 0; y < 28; y += 3)
        for (int x = 6; x < 339; x += 7)
            differing += GetPixel(screen, x - 6, y) != static_cast<COLORREF>(decoded.Canvas()->Pixel(x, y));
    ReleaseDC(w.form->Handle(), screen);
    EXPECT_EQ(differing, 0);

    // Drives: the images, in cdr.ini order, the first one chosen.
    HWND drives = w.form->ComboBox1->Handle();
    ASSERT_GE(SendMessageW(drives, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(drives, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(w.form->ComboBox1->Text(), "Image: Kestrip Demo Disc");
    EXPECT_EQ(w.form->ComboBox3->Text(), "MP3");

    // The demo disc: every track with its caption, name and length, unticked.
    const auto tracks = testkit::DemoDiscTracks();
    ASSERT_EQ(w.Rows(), static_cast<int>(tracks.size()));
    for (int row = 0; row < w.Rows(); ++row) {
        const int seconds = static_cast<int>(tracks[row].Sectors / 75);
        char caption[8], time[16];
        snprintf(caption, sizeof caption, "%02d", row + 1);
        snprintf(time, sizeof time, "%d:%02d", seconds / 60, seconds % 60);
        EXPECT_EQ(w.Cell(row, 0), caption);
        EXPECT_EQ(w.Cell(row, 1), std::string("Track-") + caption);
        EXPECT_EQ(w.Cell(row, 2), time);
        EXPECT_FALSE(w.Ticked(row));
    }

    // Twelve tracks: 01 ... 09, 10, 11, 12; 4 min 7 s shows 4:07, 4 min 10 s 4:10.
    w.ChooseDrive(kTwelveDrive);
    ASSERT_EQ(w.Rows(), 12);
    EXPECT_EQ(w.Cell(8, 0), "09");
    EXPECT_EQ(w.Cell(9, 0), "10");
    EXPECT_EQ(w.Cell(11, 0), "12");
    EXPECT_EQ(w.Cell(11, 1), "Track-12");
    EXPECT_EQ(w.Cell(3, 2), "4:07");
    EXPECT_EQ(w.Cell(4, 2), "4:10");
    EXPECT_EQ(w.Cell(0, 2), "0:02");

    // "Select All" ticks every row now and every row of lists made later; clearing it clears.
    Window::Click(w.form->chk_selectall);
    ASSERT_TRUE(w.form->chk_selectall->Checked());
    for (int row = 0; row < 12; ++row)
        EXPECT_TRUE(w.Ticked(row)) << row;
    w.ChooseDrive(kDemoDrive);
    ASSERT_EQ(w.Rows(), static_cast<int>(tracks.size()));
    for (int row = 0; row < w.Rows(); ++row)
        EXPECT_TRUE(w.Ticked(row)) << row;
    Window::Click(w.form->chk_selectall);
    for (int row = 0; row < w.Rows(); ++row)
        EXPECT_FALSE(w.Ticked(row)) << row;

    // "Eject" opens the image drive's tray: the list stays until the drive is chosen again,
    // then it is empty; "Close Tray" brings the disc back.
    Window::Click(w.form->Button3);
    EXPECT_EQ(w.Rows(), static_cast<int>(tracks.size()));
    w.ChooseDrive(kDemoDrive);
    EXPECT_EQ(w.Rows(), 0);
    // "Rip!" on an empty list does nothing and shows nothing.
    Window::Click(w.form->Button1);
    EXPECT_FALSE(w.form->Ripping());
    EXPECT_TRUE(guikit::TopLevelWindows("", "#32770").empty());
    Window::Click(w.form->Button4);
    w.ChooseDrive(kDemoDrive);
    EXPECT_EQ(w.Rows(), static_cast<int>(tracks.size()));
}

TEST(MainWindow, HasTheSkinnedFrameWithMinimiseAndCloseOnly)
{
    Window w;
    const HWND window = w.form->Handle();
    ASSERT_TRUE(guikit::WaitUntil([&] {
        TSkinForm* frame = FindSkinForm(window);
        return frame && frame->SkinState == ssActive;
    }));
    TSkinForm& frame = *FindSkinForm(window);
    EXPECT_EQ(SendMessageW(window, SKM_ISSKINNED, 0, 0), 1);
    const SIZE client = guikit::ClientSize(window);
    EXPECT_EQ(client.cx, 333);
    EXPECT_EQ(client.cy, 404);
    EXPECT_GT(frame.TitleHeight, 20);
    std::vector<std::string> shown;
    for (auto& button : frame.ButtonObjects)
        if (button->Visible && !button->Element->Image.Empty())
            shown.push_back(button->Element->Name);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{"BUTTONCLOSE", "BUTTONMINIMIZEALONE"}));
    // The rounded corner of the border is cut out of the window.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 100, frame.TitleHeight / 2));
    DeleteObject(region);
    guikit::SaveScreenshot(window, "main-window-active");
    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    guikit::SaveScreenshot(window, "main-window-inactive");
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
}

TEST(MainWindow, TheTrackListHasASkinnedHeaderAndABarThatFollowsTheWheelAndDragging)
{
    using namespace scrolltest;
    // Twelve rows fit in the track list: a disc of 24 tracks, listed as a fourth drive while
    // this test runs.
    const std::string ini = ProgramFolder() + "cdr.ini";
    std::vector<std::uint32_t> lengths(24, 150);
    disckit::ImageSpec spec = disckit::Consecutive(lengths, "TwentyFour");
    spec.Sparse = true;
    disckit::WriteImage(OutputRoot() + "\\images\\", "twentyfour", spec);
    ProfileWriteString(ini, "Images", "Image4", OutputRoot() + "\\images\\twentyfour.cue");
    struct TForgetImage {
        std::string ini;
        ~TForgetImage() { ProfileWriteString(ini, "Images", "Image4", ""); }
    } forget{ini};
    constexpr int kLongDrive = 3;
    Window w;
    const HWND window = w.form->Handle();
    ASSERT_TRUE(guikit::WaitUntil([&] {
        TSkinForm* frame = FindSkinForm(window);
        return frame && frame->SkinState == ssActive;
    }));
    TSkinForm& frame = *FindSkinForm(window);
    TSkinData& skin = *frame.SkinData;
    w.ChooseDrive(kLongDrive);
    ASSERT_EQ(w.Rows(), 24);
    const HWND list = w.List();
    auto* wrapper = dynamic_cast<TSkinListView*>(frame.ChildSkinOf(list));
    ASSERT_NE(wrapper, nullptr);
    ASSERT_NE(wrapper->Header, nullptr);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    guikit::PumpMessages();
    // Twelve tracks do not fit: the vertical bar is covered by the skinned overlay.
    TSkinBarOverlay& bar = *wrapper->VertBar;
    ASSERT_TRUE(bar.Shown);
    EXPECT_FALSE(wrapper->HorzBar->Shown);
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
    RECT covered{};
    GetWindowRect(bar.Handle(), &covered);
    EXPECT_TRUE(EqualRect(&covered, &info.rcScrollBar));
    const HWND overlay = bar.Handle();
    RECT r{};
    GetClientRect(overlay, &r);
    TBitmap& strip = skin.Scrollbar->Image;
    const int a = bar.ArrowSize;
    const int thickness = std::abs(strip.Height() - a) > 2 ? a : strip.Height();
    const TColor face = ColorToRGB(skin.ButtonFaceColour);
    EXPECT_TRUE(guikit::WaitUntil(
        [&] { return DiffersFrom(overlay, {0, 0}, StripPicture(strip, 23, 9, thickness, a, face)) == 0; }, 5s));
    EXPECT_EQ(DiffersFrom(overlay, {0, r.bottom - a}, StripPicture(strip, 23, 13, thickness, a, face)), 0);
    const int grip = strip.Height();
    auto gripAt = [&](int thumbTop, int thumbLength) { return thumbTop + (thumbLength - grip) / 2; };
    const int length = info.xyThumbBottom - info.xyThumbTop;
    ASSERT_GT(length, grip + 2);
    const TPixels normalGrip = StripPicture(strip, 23, 20, thickness, grip, kKeyColour);
    EXPECT_EQ(DiffersFrom(overlay, {0, gripAt(info.xyThumbTop, length)}, normalGrip), 0);
    guikit::SaveScreenshot(window, "main-window-long-disc");

    // The header: skinned, its second item lit under the mouse.
    TSkinHeader& header = *wrapper->Header;
    RECT second{};
    SendMessageW(header.Handle, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    SendMessageW(header.Handle, WM_MOUSEMOVE, 0, MAKELPARAM((second.left + second.right) / 2, 4));
    EXPECT_EQ(header.HotItem, 1);
    TDataSkinObject& headerbar = *skin.Headerbar;
    const std::unique_ptr<TBitmap> lit =
        RenderNineSlice({0, 0, second.right - second.left, second.bottom - second.top}, headerbar.Image,
                        headerbar.Margins(), false, headerbar.Tile != 0, 5, 2);
    UpdateWindow(header.Handle);
    HDC dc = GetDC(header.Handle);
    int differing = 0;
    for (int y = 0; y < second.bottom - second.top; ++y)
        differing += static_cast<TColor>(GetPixel(dc, second.left + 1, second.top + y)) != lit->Canvas()->Pixel(1, y);
    ReleaseDC(header.Handle, dc);
    EXPECT_EQ(differing, 0);
    guikit::SaveScreenshot(window, "main-window-header-hot");
    SendMessageW(header.Handle, WM_MOUSELEAVE, 0, 0);

    // The wheel: the list moves and the painted grip with the system's thumb.
    const POINT inList = w.form->ListView1->ClientToScreen({60, 60});
    SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(inList.x, inList.y));
    guikit::PumpMessages();
    ASSERT_GT(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
    GetScrollBarInfo(list, OBJID_VSCROLL, &info);
    EXPECT_TRUE(guikit::WaitUntil(
        [&] { return DiffersFrom(overlay, {0, gripAt(info.xyThumbTop, length)}, normalGrip) == 0; }, 5s));

    // Dragging the thumb back up: the pressed grip follows the cursor until the first arrow.
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    GetScrollBarInfo(list, OBJID_VSCROLL, &info);
    const int top0 = info.xyThumbTop;
    POINT press{r.right / 2, top0 + length / 2};
    ClientToScreen(overlay, &press);
    const TPixels pressedGrip = StripPicture(strip, 23, 21, thickness, grip, kKeyColour);
    std::vector<TDragStep> steps{{8}, {40}, {-40}};
    std::vector<int> tops;
    const bool started = DragThumb(press, list, steps, [&](const TDragStep& s) {
        const int start = std::clamp(top0 + (s.cursorY - static_cast<int>(press.y)), a, static_cast<int>(r.bottom) - a - length);
        if (DiffersFrom(overlay, {0, gripAt(start, length)}, pressedGrip) != 0)
            return false;
        tops.push_back(static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)));
        return true;
    });
    ASSERT_TRUE(started);
    for (const TDragStep& s : steps)
        EXPECT_TRUE(s.shown) << s.dy;
    ASSERT_EQ(tops.size(), 3u);
    EXPECT_GT(tops[1], tops[0]);
    EXPECT_EQ(tops[2], 0);
    guikit::SaveScreenshot(window, "main-window-after-drag");
}

// The combo boxes and the progress bar are the skin's pictures in every state of a rip: the
// combos' ring and button image 1, 4 focused, 2 pressed, 3 disabled while ripping; the bar
// image 1 alone before, image 2 from the start while ripping and over the whole width after.
TEST(MainWindow, CombosAndProgressBarShowTheSkinsImagesBeforeDuringAndAfterARip)
{
    Window w;
    const HWND window = w.form->Handle();
    ASSERT_TRUE(guikit::WaitUntil([&] {
        TSkinForm* frame = FindSkinForm(window);
        return frame && frame->SkinState == ssActive;
    }));
    auto* skin = dynamic_cast<TSkinData*>(w.form->FindComponent("SkinData1"));
    ASSERT_TRUE(skin && skin->ComboButton && skin->Progress);
    TBitmap& strip = skin->ComboButton->Image; // the ring and button of 4 states, built at 21 rows
    const int cell = strip.Width() / 4;
    auto pixel = [](HWND h, int x, int y) {
        HDC dc = GetWindowDC(h);
        const auto c = static_cast<TColor>(GetPixel(dc, x, y));
        ReleaseDC(h, dc);
        return c;
    };
    // The button's right end and the ring's top row are copied unscaled from image k.
    auto comboShows = [&](TComboBox* combo, int k) {
        const HWND h = combo->Handle();
        RECT r{};
        GetWindowRect(h, &r);
        const int width = r.right - r.left;
        return guikit::WaitUntil([&] {
            return pixel(h, width - 3, 1) == strip.PixelColor(k * cell - 3, 1) &&
                   pixel(h, width / 2, 0) == strip.PixelColor((k - 1) * cell + cell / 2, 0);
        });
    };
    TBitmap& bar = skin->Progress->Image; // empty and filled, even between the 6-pixel caps
    const int barCell = bar.Width() / 2;
    auto barShows = [&](int x, int k) {
        return guikit::WaitUntil([&] {
            return pixel(w.form->ProgressBar1->Handle(), x, 2) == bar.PixelColor((k - 1) * barCell + barCell / 2, 2);
        });
    };
    const int barWidth = w.form->ProgressBar1->Width();

    // Before: focus elsewhere shows image 1 on both; focus image 4; a press image 2.
    w.form->Button1->SetFocus();
    EXPECT_TRUE(comboShows(w.form->ComboBox1, 1));
    EXPECT_TRUE(comboShows(w.form->ComboBox3, 1));
    w.form->ComboBox3->SetFocus();
    EXPECT_TRUE(comboShows(w.form->ComboBox3, 4));
    EXPECT_TRUE(comboShows(w.form->ComboBox1, 1));
    const HWND drives = w.form->ComboBox1->Handle();
    PostMessageW(drives, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w.form->ComboBox1->Width() - 8, 8));
    EXPECT_TRUE(comboShows(w.form->ComboBox1, 2));
    guikit::SaveScreenshot(window, "main-window-skinned-pressed");
    SendMessageW(drives, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_TRUE(comboShows(w.form->ComboBox1, 4));
    for (int x : {8, barWidth / 2, barWidth - 9})
        EXPECT_TRUE(barShows(x, 1)) << x;
    guikit::SaveScreenshot(window, "main-window-skinned-before");

    // During: the combos are disabled; the filled part grows from the left. MP3 encodes the
    // 40-minute track slowly enough that the bar is still partly filled when it is looked at.
    w.ChooseDrive(kRemovableDrive);
    w.TickOnly({0});
    w.ChooseFormat("MP3");
    const std::string folder = OutputRoot() + "\\skinned";
    fs::create_directories(PathOf(folder));
    ASSERT_TRUE(w.RipInto(folder));
    ASSERT_TRUE(guikit::WaitUntil([&] { return w.form->ProgressBar1->Position() >= 2; }, 120s));
    EXPECT_TRUE(comboShows(w.form->ComboBox1, 3));
    EXPECT_TRUE(comboShows(w.form->ComboBox3, 3));
    EXPECT_TRUE(barShows(3, 2));
    EXPECT_TRUE(barShows(barWidth - 9, 1));
    guikit::SaveScreenshot(window, "main-window-skinned-during");
    Window::Click(w.form->Button2);
    ASSERT_TRUE(w.WaitForBatchEnd(120s));

    // After a whole track: image 2 over the full width.
    w.ChooseDrive(kDemoDrive);
    w.TickOnly({0});
    ASSERT_TRUE(w.RipInto(folder));
    ASSERT_TRUE(w.WaitForBatchEnd());
    ASSERT_EQ(w.form->ProgressBar1->Position(), 100);
    for (int x : {8, barWidth / 2, barWidth - 9})
        EXPECT_TRUE(barShows(x, 2)) << x;
    EXPECT_TRUE(comboShows(w.form->ComboBox3, 1) || comboShows(w.form->ComboBox3, 4));
    guikit::SaveScreenshot(window, "main-window-skinned-after");
}

TEST(MainWindow, AsksForTicksAndAFolderAndCancellingChangesNothing)
{
    Window w;
    // Nothing ticked: a warning box owned by the window, with an empty title.
    guikit::DialogWatcher warning;
    Window::Click(w.form->Button1);
    const guikit::DialogSeen seen = warning.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Please select the tracks!");
    EXPECT_EQ(seen.title, "");
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_WARNING));
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(seen.owner, w.form->Handle());
    EXPECT_TRUE(w.ControlsEnabledForIdle());

    // A tick, then the folder browser cancelled: no rip, no folder.
    w.TickOnly({1});
    guikit::DialogWatcher browser = AnswerFolderBrowser(OutputRoot(), IDCANCEL);
    Window::Click(w.form->Button1);
    const guikit::DialogSeen browsed = browser.Wait();
    ASSERT_TRUE(browsed.found);
    EXPECT_NE(browsed.text.find("Please select output folder"), std::string::npos) << browsed.text;
    EXPECT_FALSE(browsed.ownerEnabled); // the window waits while the browser is open
    EXPECT_FALSE(w.form->Ripping());
    EXPECT_TRUE(w.ControlsEnabledForIdle());
    EXPECT_EQ(w.form->OutputFolder(), "");
}

// Ticked tracks 2 and 5 of 6 in every format into a folder named "Música 音楽": Track-02, then
// Track-05 about 100 ms after the first file was finished. The files are decoded afterwards.
TEST(MainWindow, RipsTheTickedTracksOneAfterAnotherInEveryFormat)
{
    Window w;
    const std::string root = OutputRoot() + "\\Música 音楽";
    w.TickOnly({1, 4});
    for (const char* format : {"Wav", "FLAC", "Ape", "Ogg", "MP3"}) {
        SCOPED_TRACE(format);
        const std::string folder = root + "\\" + format;
        fs::remove_all(PathOf(folder));
        fs::create_directories(PathOf(folder));
        w.ChooseFormat(format);
        const std::string extension = std::string(".") + (std::string(format) == "FLAC" ? "flac"
                                                        : std::string(format) == "Wav"  ? "wav"
                                                        : std::string(format) == "Ape"  ? "ape"
                                                        : std::string(format) == "Ogg"  ? "ogg"
                                                                                        : "mp3");
        TAudioOutput* output = dynamic_cast<TAudioOutput*>(
            w.form->FindComponent(std::string(format) == "Wav"    ? "WaveOut1"
                                  : std::string(format) == "FLAC" ? "FLACOut1"
                                  : std::string(format) == "Ape"  ? "MACOut1"
                                  : std::string(format) == "Ogg"  ? "VorbisOut1"
                                                                  : "MP3Out1"));
        ASSERT_NE(output, nullptr);
        // When each file was finished, seen from the output's worker.
        std::vector<std::chrono::steady_clock::time_point> finished;
        std::mutex lock;
        const TOutputDoneEvent done = output->OnDone;
        output->OnDone = [&, done](TComponent* sender) {
            {
                std::lock_guard<std::mutex> hold(lock);
                finished.push_back(std::chrono::steady_clock::now());
            }
            done(sender);
        };

        ASSERT_TRUE(w.RipInto(folder));
        EXPECT_EQ(w.form->OutputFolder(), folder);
        // The second file appears when the timer starts its track.
        std::chrono::steady_clock::time_point secondSeen{};
        const std::string second = TrackFile(folder, 5, extension.c_str());
        ASSERT_TRUE(guikit::WaitUntil(
            [&] {
                if (secondSeen == std::chrono::steady_clock::time_point{} && fs::exists(PathOf(second)))
                    secondSeen = std::chrono::steady_clock::now();
                return !w.form->Ripping() && w.ControlsEnabledForIdle();
            },
            300s));
        output->OnDone = done;

        EXPECT_TRUE(fs::exists(PathOf(TrackFile(folder, 2, extension.c_str()))));
        EXPECT_TRUE(fs::exists(PathOf(second)));
        int files = 0;
        for (const auto& entry : fs::directory_iterator(PathOf(folder)))
            files += entry.is_regular_file();
        EXPECT_EQ(files, 2);
        ASSERT_EQ(finished.size(), 2u);
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(secondSeen - finished[0]);
        std::printf("%s: Track-05 started %lld ms after Track-02 was finished\n", format,
                    static_cast<long long>(gap.count()));
        EXPECT_GE(gap.count(), 80);
        EXPECT_EQ(w.form->ProgressBar1->Position(), 100); // the bar keeps its last value
    }
    // The Wav files hold exactly the tracks' bytes after a 44-byte header.
    for (int track : {2, 5}) {
        const auto bytes = ReadAll(TrackFile(root + "\\Wav", track, ".wav"));
        const auto expected = testkit::DemoTrackBytes(testkit::DemoTrack(track));
        ASSERT_EQ(bytes.size(), expected.size() + 44);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 44)) << track;
    }
    guikit::SaveScreenshot(w.form->Handle(), "main-window-after-rip");
}

TEST(MainWindow, AbortFinishesThePartialFileAndTheNextRipWorksAtOnce)
{
    Window w;
    w.ChooseDrive(kRemovableDrive);
    ASSERT_EQ(w.Rows(), 1);
    w.TickOnly({0});
    w.ChooseFormat("Wav");
    const std::string folder = OutputRoot() + "\\abort";
    fs::create_directories(PathOf(folder));
    ASSERT_TRUE(w.RipInto(folder));
    ASSERT_TRUE(guikit::WaitUntil([&] { return w.form->ProgressBar1->Position() >= 1; }, 120s));
    guikit::SaveScreenshot(w.form->Handle(), "main-window-during-rip");
    // While it runs, only "Abort" is there to press.
    EXPECT_FALSE(w.form->Button1->Enabled());
    EXPECT_TRUE(w.form->Button2->Enabled());
    EXPECT_FALSE(w.form->ComboBox1->Enabled() || w.form->ComboBox3->Enabled() ||
                 w.form->chk_selectall->Enabled() || w.form->ListView1->Enabled() ||
                 w.form->Button3->Enabled() || w.form->Button4->Enabled());

    // Closing is refused while the batch runs.
    PostMessageW(w.form->Handle(), WM_CLOSE, 0, 0);
    guikit::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(w.form->Handle()));
    EXPECT_TRUE(w.form->Ripping());

    Window::Click(w.form->Button2);
    EXPECT_FALSE(w.form->Ripping());
    EXPECT_EQ(w.form->ProgressBar1->Position(), 0);
    ASSERT_TRUE(w.WaitForBatchEnd(120s));
    // The partial file is a whole WAV file: its header counts exactly the audio it holds.
    const std::string partial = TrackFile(folder, 1, ".wav");
    const auto size = fs::file_size(PathOf(partial));
    const std::uint64_t full = 40ull * 60 * 75 * 2352 + 44;
    EXPECT_LT(size, full);
    {
        std::ifstream in(PathOf(partial), std::ios::binary);
        std::vector<std::uint8_t> head(44);
        in.read(reinterpret_cast<char*>(head.data()), 44);
        EXPECT_EQ(Le32(head, 4), size - 8);
        EXPECT_EQ(Le32(head, 40), size - 44);
        EXPECT_EQ((size - 44) % 4, 0u);
    }

    // "Rip!" again at once: the same track, now to the end, with no error in between.
    w.ChooseFormat("Ape");
    ASSERT_TRUE(w.RipInto(folder));
    ASSERT_TRUE(w.WaitForBatchEnd());
    EXPECT_TRUE(guikit::TopLevelWindows("", "#32770").empty());
    EXPECT_GT(fs::file_size(PathOf(TrackFile(folder, 1, ".ape"))), 0u);
    EXPECT_EQ(w.form->ProgressBar1->Position(), 100);

    // Idle again: the window closes.
    PostMessageW(w.form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(guikit::WaitUntil([&] { return !IsWindowVisible(w.form->Handle()); }));
}

TEST(MainWindow, ADriveErrorOrAnUnwritableFolderEndsTheBatchWithTheComponentsMessage)
{
    Window w;
    // The image's sheet removed in the middle of the rip: the drive reports the disc gone.
    w.ChooseDrive(kRemovableDrive);
    w.TickOnly({0});
    w.ChooseFormat("Wav");
    const std::string folder = OutputRoot() + "\\drive-error";
    fs::create_directories(PathOf(folder));
    {
        ASSERT_TRUE(w.RipInto(folder));
    }
    ASSERT_TRUE(guikit::WaitUntil([&] { return w.form->ProgressBar1->Position() >= 1; }, 120s));
    const std::string cue = RemovableImage().CuePath;
    const auto sheet = ReadAll(cue);
    guikit::DialogWatcher error;
    fs::remove(PathOf(cue));
    // The failure reaches the window while it handles messages; the watcher answers its box.
    EXPECT_TRUE(w.WaitForBatchEnd(60s));
    const guikit::DialogSeen failure = error.Wait();
    std::ofstream(PathOf(cue), std::ios::binary).write(reinterpret_cast<const char*>(sheet.data()), sheet.size());
    ASSERT_TRUE(failure.found);
    std::printf("drive error: %s\n", failure.text.c_str());
    EXPECT_EQ(failure.title, "Kestrip");
    EXPECT_EQ(failure.text.rfind("The CD could not be read at sector ", 0), 0u) << failure.text;
    EXPECT_TRUE(fs::exists(PathOf(TrackFile(folder, 1, ".wav")))); // finished, not lost

    // A folder that is gone when the files are made: the file error, and no further track.
    w.ChooseDrive(kDemoDrive);
    w.TickOnly({0, 1});
    w.ChooseFormat("MP3");
    const std::string gone = OutputRoot() + "\\gone";
    fs::create_directories(PathOf(gone));
    // The error box comes while the browser's answer is still being handled: its watcher starts
    // while the browser is open, so that it waits for the next box.
    std::unique_ptr<guikit::DialogWatcher> fileError;
    guikit::DialogWatcher browser = AnswerFolderBrowser(gone, IDOK, [&] {
        fs::remove_all(PathOf(gone));
        fileError = std::make_unique<guikit::DialogWatcher>();
    });
    Window::Click(w.form->Button1);
    ASSERT_TRUE(browser.Wait().found);
    ASSERT_TRUE(fileError);
    const guikit::DialogSeen seen = fileError->Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text.rfind("Cannot create file \"" + TrackFile(gone, 1, ".mp3") + "\".", 0), 0u) << seen.text;
    EXPECT_TRUE(w.WaitForBatchEnd(60s));
    EXPECT_FALSE(fs::exists(PathOf(gone)));
}

// The program itself with one library missing: that library's message, no window, the end.
TEST(MainWindow, StartingWithALibraryMissingShowsItsMessageAndNoWindow)
{
    const std::pair<const char*, const char*> cases[] = {
        {"cdrip.dll", "cdrip.dll could not be loaded."},
        {"ogg.dll", "ogg.dll library could not be loaded."},
        {"MACDll.dll", "MACDll.dll library could not be loaded."},
        {"libFLAC.dll", "libFLAC.dll library could not be loaded."},
        {"lame_enc.dll", "lame_enc.dll library could not be loaded."},
    };
    const char* files[] = {"Kestrip.exe", "cdrip.dll", "MACDll.dll", "ogg.dll", "vorbis.dll",
                           "vorbisenc.dll", "vorbisfile.dll", "libFLAC.dll", "lame_enc.dll"};
    for (auto [missing, message] : cases) {
        SCOPED_TRACE(missing);
        const fs::path folder = PathOf(OutputRoot() + "\\without-" + missing);
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const char* file : files)
            if (std::string(file) != missing)
                fs::copy_file(PathOf(ProgramFolder() + file), folder / file, fs::copy_options::overwrite_existing);

        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        std::wstring exe = (folder / L"Kestrip.exe").wstring();
        std::wstring command = L"\"" + exe + L"\"";
        ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.wstring().c_str(), &si, &pi));
        bool windowShown = false;
        guikit::DialogWatcher watcher(IDOK, "#32770", [&](HWND, guikit::DialogSeen&) {
            for (HWND top : guikit::TopLevelWindows("", "", pi.dwProcessId))
                windowShown |= IsWindowVisible(top) && guikit::ClassName(top) != "#32770";
        }, pi.dwProcessId);
        const guikit::DialogSeen seen = watcher.Wait();
        EXPECT_TRUE(seen.found);
        EXPECT_EQ(seen.text, message);
        EXPECT_FALSE(windowShown);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_NE(code, 0u);
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

} // namespace
