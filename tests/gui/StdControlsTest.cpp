// The standard controls keep their state in the object and show it in their windows; what the
// user does in a window comes back to the object and its events.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Picture.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Image.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "classlib/stdctrls/Timer.h"
#include "guikit/GuiKit.h"

namespace {

struct Host {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    Host()
    {
        form->SetBounds(30, 30, 480, 360);
    }
    template <class T>
    T* Add(int x, int y, int w, int h)
    {
        T* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(x, y, w, h);
        return c;
    }
};

std::string ComboText(HWND combo, int index)
{
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return WideToUtf8(text);
}

std::string ListText(HWND list, int row, int column)
{
    wchar_t text[128] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return WideToUtf8(text);
}

TEST(ComboBox, ItemsIndexAndTextFollowTheWindowAndSurviveANewWindow)
{
    Host h;
    auto* combo = h.Add<TComboBox>(10, 10, 120, 21);
    combo->SetStyle(csDropDownList);
    combo->Items()->SetLines({"MP3", "Ogg"});
    combo->SetItemIndex(1);
    h.form->Show();
    HWND window = combo->Handle();
    combo->Items()->Add("Wav");
    ASSERT_EQ(SendMessageW(window, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ComboText(window, 2), "Wav");
    EXPECT_EQ(SendMessageW(window, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(combo->Text(), "Ogg");
    // An item put in front of the chosen one leaves the same text chosen.
    combo->Items()->Insert(0, "FLAC");
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "Ogg");
    combo->Items()->Delete(0);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Ogg");
    combo->SetTextProp("Wav");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->SetTextProp("nothing like it");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(0);
    combo->SetStyle(csDropDown); // a new window
    EXPECT_NE(combo->Handle(), window);
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "MP3");
}

TEST(ComboBox, ChoosingByKeyboardRunsOnSelectOrElseOnChange)
{
    Host h;
    auto* withSelect = h.Add<TComboBox>(10, 10, 120, 21);
    auto* changeOnly = h.Add<TComboBox>(10, 60, 120, 21);
    std::vector<std::string> events;
    for (TComboBox* c : {withSelect, changeOnly}) {
        c->SetStyle(csDropDownList);
        c->Items()->SetLines({"a", "b", "c"});
        c->SetItemIndex(0);
        c->OnChange = [&events, c](TComponent*) { events.push_back("change " + c->Text()); };
    }
    withSelect->OnSelect = [&](TComponent*) { events.push_back("select " + withSelect->Text()); };
    h.form->Show();
    for (TComboBox* c : {withSelect, changeOnly}) {
        c->SetFocus();
        guikit::PumpMessages();
        guikit::PressKey(VK_DOWN);
    }
    ASSERT_TRUE(guikit::WaitUntil([&] { return events.size() == 2; }));
    EXPECT_EQ(events[0], "select b");
    EXPECT_EQ(events[1], "change b");
    // Setting the index from code is not a choice of the user.
    withSelect->SetItemIndex(2);
    guikit::PumpMessages();
    EXPECT_EQ(events.size(), 2u);
}

TEST(ListView, ColumnsRowsAndChecksAreInTheWindowAndTheUserTicksComeBack)
{
    Host h;
    auto* list = h.Add<TListView>(10, 10, 300, 200);
    list->SetViewStyle(vsReport);
    list->SetCheckboxes(true);
    list->SetGridLines(true);
    list->SetRowSelect(true);
    list->SetReadOnly(true);
    list->SetHideSelection(false);
    list->Columns()->AddItem();
    TListColumn* track = list->Columns()->AddItem();
    track->SetCaption("Track");
    track->SetWidth(150);
    list->Columns()->AddItem()->SetCaption("Time");
    for (int i = 1; i <= 3; ++i) {
        TListItem* item = list->Items()->Add();
        item->SetCaption("0" + std::to_string(i));
        item->SubItems()->Add("Track-0" + std::to_string(i));
        item->SubItems()->Add(std::to_string(i) + ":05");
        item->SetChecked(i == 2);
    }
    h.form->Show();
    HWND window = list->Handle();
    const auto style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    const auto ex = SendMessageW(window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_EQ(ex & (LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(window, LVM_GETCOLUMNWIDTH, 1, 0), 150);
    wchar_t caption[32] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = 32;
    SendMessageW(window, LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::wstring(caption), L"Time");
    ASSERT_EQ(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ListText(window, 2, 0), "03");
    EXPECT_EQ(ListText(window, 2, 1), "Track-03");
    EXPECT_EQ(ListText(window, 2, 2), "3:05");
    EXPECT_FALSE(list->Items()->Item(0)->Checked());
    EXPECT_TRUE(list->Items()->Item(1)->Checked());

    // The user ticks the first row with the space bar.
    list->SetFocus();
    list->Items()->Item(0)->SetSelected(true);
    guikit::PumpMessages();
    guikit::PressKey(VK_SPACE);
    ASSERT_TRUE(guikit::WaitUntil([&] { return list->Items()->Item(0)->Checked(); }));
    // Ticks and rows survive a new window.
    list->SetBorderStyle(bsNone);
    EXPECT_NE(list->Handle(), window);
    EXPECT_TRUE(list->Items()->Item(0)->Checked());
    EXPECT_TRUE(list->Items()->Item(1)->Checked());
    EXPECT_FALSE(list->Items()->Item(2)->Checked());
    EXPECT_EQ(ListText(list->Handle(), 1, 1), "Track-02");
    const auto newStyle = GetWindowLongPtrW(list->Handle(), GWL_STYLE);
    const auto newEx = GetWindowLongPtrW(list->Handle(), GWL_EXSTYLE);
    EXPECT_FALSE(newStyle & WS_BORDER);
    EXPECT_FALSE(newEx & WS_EX_CLIENTEDGE);
    list->Items()->Clear();
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST(ListView, BorderKinds)
{
    struct Row {
        TBorderStyle border;
        bool ctl3D;
        bool clientEdge, flatBorder;
    };
    for (const Row& r : {Row{bsSingle, true, true, false}, Row{bsSingle, false, false, true},
                         Row{bsNone, true, false, false}, Row{bsNone, false, false, false}}) {
        Host h;
        auto* list = h.Add<TListView>(10, 10, 100, 100);
        list->SetBorderStyle(r.border);
        list->SetCtl3D(r.ctl3D);
        h.form->Show();
        const auto style = GetWindowLongPtrW(list->Handle(), GWL_STYLE);
        const auto ex = GetWindowLongPtrW(list->Handle(), GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_CLIENTEDGE) != 0, r.clientEdge) << r.border << r.ctl3D;
        EXPECT_EQ((style & WS_BORDER) != 0, r.flatBorder) << r.border << r.ctl3D;
    }
}

TEST(ProgressBar, RangePositionStepAndSmoothness)
{
    Host h;
    auto* bar = h.Add<TProgressBar>(10, 10, 200, 17);
    bar->SetMax(100);
    bar->SetStep(5);
    bar->SetSmooth(true);
    bar->SetPosition(40);
    h.form->Show();
    HWND window = bar->Handle();
    PBRANGE range{};
    SendMessageW(window, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 40);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & PBS_SMOOTH);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 45);
    bar->SetPosition(250);
    EXPECT_EQ(bar->Position(), 100);
    bar->StepIt(); // past the end it starts over
    EXPECT_EQ(bar->Position(), 5);
    bar->SetSmooth(false);
    EXPECT_FALSE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & PBS_SMOOTH);
    EXPECT_EQ(bar->Position(), 5);
}

TEST(CheckBox, UserClicksCycleTheStatesAndRunOnClickCodeDoesNot)
{
    Host h;
    auto* box = h.Add<TCheckBox>(10, 10, 120, 17);
    box->SetCaption("Select All");
    int clicks = 0;
    box->OnClick = [&](TComponent*) { ++clicks; };
    h.form->Show();
    guikit::Click(box->Handle());
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetAllowGrayed(true);
    guikit::Click(box->Handle());
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 2; }));
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    guikit::Click(box->Handle());
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 3; }));
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetChecked(true);
    guikit::PumpMessages();
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(Button, EnterClicksTheDefaultEscapeTheCancelAndModalResultEndsAModalForm)
{
    Host h;
    auto* list = h.Add<TListView>(10, 10, 100, 100);
    auto* ok = h.Add<TButton>(120, 10, 75, 25);
    auto* cancel = h.Add<TButton>(120, 40, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TComponent*) { clicks.push_back("ok"); };
    cancel->OnClick = [&](TComponent*) { clicks.push_back("cancel"); };
    EXPECT_TRUE(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    int step = 0;
    TTimer driver(nullptr);
    driver.SetInterval(20);
    driver.OnTimer = [&](TComponent*) {
        if (step == 0 && h.form->Visible()) {
            list->SetFocus();
            guikit::PressKey(VK_RETURN);
            step = 1;
        }
    };
    EXPECT_EQ(h.form->ShowModal(), mrOk);
    step = 0;
    driver.OnTimer = [&](TComponent*) {
        if (step == 0 && h.form->Visible()) {
            list->SetFocus();
            guikit::PressKey(VK_ESCAPE);
            step = 1;
        }
    };
    EXPECT_EQ(h.form->ShowModal(), mrCancel);
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_FALSE(h.form->Visible());
}

TEST(Timer, TicksWhileEnabledAndStopsWhenDisabled)
{
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(15);
    int ticks = 0;
    timer.OnTimer = [&](TComponent*) {
        if (++ticks == 3)
            timer.SetEnabled(false); // one-shot style, as a handler would
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(guikit::WaitUntil([&] { return ticks >= 3; }));
    // Let another timer tick several times: the first stays at 3.
    TTimer clock(nullptr);
    clock.SetInterval(10);
    int clockTicks = 0;
    clock.OnTimer = [&](TComponent*) { ++clockTicks; };
    ASSERT_TRUE(guikit::WaitUntil([&] { return clockTicks >= 10; }));
    EXPECT_EQ(ticks, 3);
}

TEST(Image, DrawsThePictureAtItsNaturalSize)
{
    Host h;
    auto* image = h.Add<TImage>(20, 20, 60, 40);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetWidth(30);
    bitmap.SetHeight(10);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(RECT{0, 0, 30, 10});
    image->Picture()->SetGraphic(&bitmap);
    h.form->SetColor(clWhite);
    h.form->Show();
    UpdateWindow(h.form->Handle());
    HDC dc = GetDC(h.form->Handle());
    const COLORREF inside = GetPixel(dc, 20 + 29, 20 + 9);
    const COLORREF right = GetPixel(dc, 20 + 40, 20 + 5);
    const COLORREF below = GetPixel(dc, 20 + 5, 20 + 20);
    ReleaseDC(h.form->Handle(), dc);
    EXPECT_EQ(inside, RGB(255, 0, 0));
    EXPECT_EQ(right, RGB(255, 255, 255));
    EXPECT_EQ(below, RGB(255, 255, 255));
}

TEST(Hints, AControlWithShowHintHasATooltipWithItsHint)
{
    Host h;
    auto* list = h.Add<TListView>(10, 10, 100, 100);
    list->SetHint("Drag audio files from folder and drop here");
    h.form->Show();
    EXPECT_EQ(list->TooltipHandle(), nullptr);
    list->SetShowHint(true);
    HWND tip = list->TooltipHandle();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[128] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = h.form->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(list->Handle());
    ti.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(std::wstring(text), L"Drag audio files from folder and drop here");
    list->SetShowHint(false);
    EXPECT_EQ(list->TooltipHandle(), nullptr);
}

TEST(Hints, TheTooltipWindowIsMadeWhenTheMouseFirstComesBy)
{
    auto tooltipWindows = [] {
        int count = 0;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) == TOOLTIPS_CLASSW)
                    ++*reinterpret_cast<int*>(data);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int before = tooltipWindows();
    Host h;
    auto* list = h.Add<TListView>(10, 10, 100, 100);
    list->SetHint("Drag audio files from folder and drop here");
    list->SetShowHint(true);
    h.form->Show();
    guikit::PumpMessages();
    EXPECT_EQ(tooltipWindows(), before) << "no tooltip window at start";
    SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(tooltipWindows(), before + 1);
    SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(22, 20));
    EXPECT_EQ(tooltipWindows(), before + 1) << "one is enough";
    EXPECT_NE(list->TooltipHandle(), nullptr);
}

TEST(Align, AlignedControlsShareTheClientAreaInOrderTopBottomLeftRightClient)
{
    Host h;
    h.form->SetClientWidth(300);
    h.form->SetClientHeight(200);
    auto* top = h.Add<TProgressBar>(0, 0, 10, 20);
    auto* bottom = h.Add<TProgressBar>(0, 0, 10, 30);
    auto* left = h.Add<TProgressBar>(0, 0, 40, 10);
    auto* client = h.Add<TListView>(0, 0, 10, 10);
    for (auto [control, align] : {std::pair<TControl*, TAlign>{client, alClient}, {left, alLeft}, {bottom, alBottom},
                                  {top, alTop}})
        control->SetAlign(align);
    h.form->Show();
    struct Row {
        TWinControl* control;
        RECT expected;
    };
    for (const Row& r : {Row{top, {0, 0, 300, 20}}, Row{bottom, {0, 170, 300, 200}}, Row{left, {0, 20, 40, 170}},
                         Row{client, {40, 20, 300, 170}}}) {
        const RECT b = guikit::BoundsInParent(r.control->Handle());
        EXPECT_EQ(b.left, r.expected.left);
        EXPECT_EQ(b.top, r.expected.top);
        EXPECT_EQ(b.right, r.expected.right);
        EXPECT_EQ(b.bottom, r.expected.bottom);
    }
    // Growing the form grows the client control; hiding one gives its room to the others.
    h.form->SetClientHeight(260);
    top->SetVisible(false);
    const RECT b = guikit::BoundsInParent(client->Handle());
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 230);
}

namespace {
// Paints its client area in one colour and remembers where its WM_PAINT drew.
class TSwatch : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TColor paint = clLime;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(paint);
        Canvas()->FillRect(RECT{0, 0, Width(), Height()});
    }
};
} // namespace

TEST(DoubleBuffered, PaintGoesThroughTheWindowMethodIntoAMemoryPictureThatReachesTheScreen)
{
    Host h;
    auto* swatch = h.Add<TSwatch>(10, 10, 50, 30);
    swatch->SetDoubleBuffered(true);
    h.form->Show();
    std::vector<DWORD> paintTargets;
    TWndMethod original = swatch->WindowProc();
    swatch->SetWindowProc([&](TMessage& m) {
        if (m.Msg == WM_PAINT && m.WParam)
            paintTargets.push_back(GetObjectType(reinterpret_cast<HDC>(m.WParam)));
        original(m);
    });
    swatch->paint = clBlue;
    swatch->Invalidate();
    UpdateWindow(swatch->Handle());
    swatch->SetWindowProc(original);
    ASSERT_FALSE(paintTargets.empty());
    EXPECT_EQ(paintTargets.front(), static_cast<DWORD>(OBJ_MEMDC));
    HDC dc = GetDC(swatch->Handle());
    EXPECT_EQ(GetPixel(dc, 25, 15), RGB(0, 0, 255));
    ReleaseDC(swatch->Handle(), dc);
}

TEST(GraphicControl, AClickOnAWindowlessControlReachesItsOnClickThroughTheParent)
{
    Host h;
    auto* label = h.Add<TLabel>(40, 40, 60, 16);
    label->SetCaption("Drive");
    std::vector<std::string> events;
    label->OnClick = [&](TComponent*) { events.push_back("click"); };
    label->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int x, int y) {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    h.form->OnClick = [&](TComponent*) { events.push_back("form click"); };
    h.form->Show();
    guikit::Click(h.form->Handle(), 45, 43);
    ASSERT_TRUE(guikit::WaitUntil([&] { return events.size() == 2; }));
    EXPECT_EQ(events[0], "down 5,3");
    EXPECT_EQ(events[1], "click");
    guikit::Click(h.form->Handle(), 200, 200); // beside it: the form's own click
    ASSERT_TRUE(guikit::WaitUntil([&] { return events.size() == 3; }));
    EXPECT_EQ(events[2], "form click");
}

TEST(Published, ControlPropertiesAreReadAndWrittenByName)
{
    Host h;
    auto* button = h.Add<TButton>(10, 10, 75, 25);
    auto* box = h.Add<TCheckBox>(10, 40, 100, 17);
    auto* list = h.Add<TListView>(10, 70, 100, 100);
    auto* combo = h.Add<TComboBox>(10, 180, 100, 21);
    h.form->Show();
    struct Row {
        TPersistent* object;
        const char* path;
        const char* text;
    };
    const Row rows[] = {
        {button, "Caption", "Rip!"},      {button, "Left", "9"},           {button, "Enabled", "False"},
        {button, "Default", "True"},      {button, "Font.Name", "Verdana"}, {button, "Font.Height", "-11"},
        {box, "Checked", "True"},          {box, "State", "cbChecked"},     {box, "Color", "clRed"},
        {list, "ViewStyle", "vsReport"},  {list, "BorderStyle", "bsNone"}, {list, "RowSelect", "True"},
        {combo, "Style", "csDropDownList"}, {combo, "Items.Strings", "MP3\r\nOgg\r\n"}, {combo, "ItemIndex", "1"},
        {h.form.get(), "BorderStyle", "bsSingle"}, {h.form.get(), "Position", "poScreenCenter"},
        {h.form.get(), "BorderIcons", "[biSystemMenu, biMinimize]"}, {h.form.get(), "AutoScroll", "False"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        SetPropText(r.object, r.path, r.text);
        EXPECT_EQ(GetPropText(r.object, r.path), r.text);
    }
    // ... and the windows show what was written.
    EXPECT_EQ(guikit::WindowText(button->Handle()), "Rip!");
    EXPECT_EQ(guikit::BoundsInParent(button->Handle()).left, 9);
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(ComboText(combo->Handle(), 1), "Ogg");
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCURSEL, 0, 0), 1);
    const auto style = GetWindowLongPtrW(h.form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_THROW(SetPropText(button, "Captoin", "x"), EPropertyError);
}

} // namespace
