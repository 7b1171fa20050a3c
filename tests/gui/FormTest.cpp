// A form built from its stored description (a resource named after its class): the stored
// geometry of every control as Win32 reports it, the stored properties, the tab order, and
// events bound by name that real clicks and keys reach.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/form/FormReader.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/Picture.h"
#include "classlib/menus/PopupMenu.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Image.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListView.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "classlib/stdctrls/SaveDialog.h"
#include "classlib/stdctrls/Timer.h"
#include "guikit/GuiKit.h"

namespace {

class TTestForm : public TForm {
public:
    using TForm::TForm;
    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox3 = nullptr;
    TCheckBox* chk_selectall = nullptr;
    TListView* ListView1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TTimer* Timer1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;

    std::vector<std::string> calls;
    int itemsAtCreate = -1;
    bool refuseClose = false;

    void FormCreate(TComponent*)
    {
        calls.push_back("FormCreate");
        itemsAtCreate = ComboBox3 ? ComboBox3->Items()->Count() : -1;
    }
    void FormCloseQuery(TComponent*, bool& canClose) { canClose = !refuseClose; }
    void ComboBox1Change(TComponent*) { calls.push_back("ComboBox1Change"); }
    void ComboBox1Select(TComponent*) { calls.push_back("ComboBox1Select " + ComboBox1->Text()); }
    void chk_selectallClick(TComponent*) { calls.push_back(std::string("chk_selectallClick ") + (chk_selectall->Checked() ? "on" : "off")); }
    void Button1Click(TComponent* sender) { calls.push_back(sender == Button1 ? "Button1Click" : "Button1Click?"); }
    void Button2Click(TComponent*) { calls.push_back("Button2Click"); }
    void Button3Click(TComponent*) { calls.push_back("Button3Click"); }
    void Button4Click(TComponent*) { calls.push_back("Button4Click"); }
    void Timer1Timer(TComponent*) { calls.push_back("Timer1Timer"); }
    void Refresh1Click(TComponent*) { calls.push_back("Refresh1Click"); }
};

class TFallbackForm : public TForm {
public:
    using TForm::TForm;
    TButton* Button1 = nullptr;
};

void RegisterTestForms()
{
    if (Classes().Find("TTestForm"))
        return;
    Classes()
        .Register<TTestForm, TForm>("TTestForm")
        .Field("Image1", &TTestForm::Image1)
        .Field("Label1", &TTestForm::Label1)
        .Field("ComboBox1", &TTestForm::ComboBox1)
        .Field("ComboBox3", &TTestForm::ComboBox3)
        .Field("chk_selectall", &TTestForm::chk_selectall)
        .Field("ListView1", &TTestForm::ListView1)
        .Field("ProgressBar1", &TTestForm::ProgressBar1)
        .Field("Button1", &TTestForm::Button1)
        .Field("Button2", &TTestForm::Button2)
        .Field("Button3", &TTestForm::Button3)
        .Field("Button4", &TTestForm::Button4)
        .Field("Timer1", &TTestForm::Timer1)
        .Field("SaveDialog1", &TTestForm::SaveDialog1)
        .Field("PopupMenu1", &TTestForm::PopupMenu1)
        .Method("FormCreate", &TTestForm::FormCreate)
        .Method("FormCloseQuery", &TTestForm::FormCloseQuery)
        .Method("ComboBox1Change", &TTestForm::ComboBox1Change)
        .Method("ComboBox1Select", &TTestForm::ComboBox1Select)
        .Method("chk_selectallClick", &TTestForm::chk_selectallClick)
        .Method("Button1Click", &TTestForm::Button1Click)
        .Method("Button2Click", &TTestForm::Button2Click)
        .Method("Button3Click", &TTestForm::Button3Click)
        .Method("Button4Click", &TTestForm::Button4Click)
        .Method("Timer1Timer", &TTestForm::Timer1Timer)
        .Method("Refresh1Click", &TTestForm::Refresh1Click);
    Classes().Register<TFallbackForm, TForm>("TFallbackForm").Field("Button1", &TFallbackForm::Button1);
}

struct StoredForm {
    std::unique_ptr<TTestForm> form;
    StoredForm()
    {
        RegisterTestForms();
        form = std::make_unique<TTestForm>(nullptr);
        form->InitializeForm();
        form->Show();
        guikit::PumpMessages();
    }
};

std::string FaceOf(HWND window)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return WideToUtf8(lf.lfFaceName) + " " + std::to_string(lf.lfHeight);
}

TEST(StoredForm, EveryControlHasItsStoredGeometryInTheWindow)
{
    StoredForm s;
    TTestForm& f = *s.form;
    ASSERT_TRUE(f.Button4) << "fields were not set";
    HWND form = f.Handle();
    const SIZE client = guikit::ClientSize(form);
    EXPECT_EQ(client.cx, 333);
    EXPECT_EQ(client.cy, 404);
    struct Row {
        TWinControl* control;
        int left, top, width, height;
    };
    const Row rows[] = {
        {f.ComboBox1, 9, 53, 192, 21},   {f.ComboBox3, 248, 51, 65, 21},  {f.chk_selectall, 10, 79, 78, 13},
        {f.ListView1, 9, 96, 308, 243},  {f.ProgressBar1, 9, 345, 308, 17}, {f.Button1, 9, 372, 73, 25},
        {f.Button2, 89, 371, 73, 25},    {f.Button3, 169, 371, 73, 25},   {f.Button4, 249, 371, 73, 25},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.control->Name());
        ASSERT_EQ(GetParent(r.control->Handle()), form);
        const RECT b = guikit::BoundsInParent(r.control->Handle());
        EXPECT_EQ(b.left, r.left);
        EXPECT_EQ(b.top, r.top);
        EXPECT_EQ(b.right - b.left, r.width);
        if (!dynamic_cast<TComboBox*>(r.control)) // the system sizes a closed combo box itself
            EXPECT_EQ(b.bottom - b.top, r.height);
        EXPECT_EQ(r.control->BoundsRect().left, r.left);
    }
    // Windowless controls keep their bounds in the object.
    EXPECT_EQ(f.Label1->BoundsRect().left, 9);
    EXPECT_EQ(f.Label1->BoundsRect().top, 37);
    EXPECT_EQ(f.Image1->Left(), -6);
    EXPECT_EQ(f.Image1->Width(), 506);
    // Centred on the work area, not resizable, minimise box only.
    RECT area, window;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(form, &window);
    EXPECT_NEAR((window.left + window.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (area.top + area.bottom) / 2, 1);
    const auto style = GetWindowLongPtrW(form, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(guikit::WindowText(form), "Stored form");

    const std::string shot = guikit::SaveScreenshot(form, "stored-form");
    ASSERT_FALSE(shot.empty());
    FILE* file = _wfopen(Utf8ToWide(shot).c_str(), L"rb");
    ASSERT_NE(file, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, file), 8u);
    std::fclose(file);
    EXPECT_EQ(signature[1], 'P');
    EXPECT_EQ(signature[2], 'N');
}

TEST(StoredForm, StoredPropertiesShowInTheWindows)
{
    StoredForm s;
    TTestForm& f = *s.form;
    ASSERT_TRUE(f.Button4);
    EXPECT_EQ(f.calls, (std::vector<std::string>{"FormCreate"}));
    EXPECT_EQ(f.itemsAtCreate, 5); // OnCreate runs after every stored property is set

    EXPECT_FALSE(IsWindowEnabled(f.Button2->Handle()));
    EXPECT_TRUE(IsWindowEnabled(f.Button1->Handle()));
    EXPECT_EQ(guikit::WindowText(f.Button4->Handle()), "Close Tray");
    EXPECT_EQ(guikit::WindowText(f.chk_selectall->Handle()), "Select All");
    EXPECT_EQ(FaceOf(f.Button1->Handle()), "Verdana -11");
    EXPECT_EQ(FaceOf(f.ProgressBar1->Handle()), "MS Sans Serif -11");
    EXPECT_EQ(f.Label1->Caption(), "Drive");

    HWND combo = f.ComboBox3->Handle();
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(f.ComboBox3->Text(), "MP3");
    EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    HWND list = f.ListView1->Handle();
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(GetWindowLongPtrW(list, GWL_STYLE) & (LVS_EDITLABELS | WS_BORDER));
    EXPECT_FALSE(GetWindowLongPtrW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                  (LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ASSERT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 3);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 50);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 150);
    EXPECT_EQ(f.ListView1->Columns()->Items(2)->Caption(), "Time");
    ASSERT_NE(f.ListView1->TooltipHandle(), nullptr);
    EXPECT_EQ(f.ListView1->PopupMenu(), f.PopupMenu1);

    HWND bar = f.ProgressBar1->Handle();
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_SMOOTH);
    EXPECT_EQ(SendMessageW(bar, PBM_SETSTEP, 5, 0), 5); // answers the step it had

    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_EQ(f.Timer1->Interval(), 100u);
    EXPECT_EQ(f.SaveDialog1->DefaultExt(), "ogg");
    EXPECT_EQ(f.SaveDialog1->Filter(), "Vorbis files|*.ogg");
    ASSERT_NE(f.Image1->Picture()->Graphic(), nullptr);
    EXPECT_EQ(f.Image1->Picture()->Width(), 16);
    EXPECT_EQ(f.Image1->Picture()->Height(), 8);
    // The picture is drawn at its natural size from the image's left edge (x = -6).
    HDC dc = GetDC(f.Handle());
    EXPECT_EQ(GetPixel(dc, 0, 7), RGB(0x10, 0x40, 0xC0));
    EXPECT_EQ(GetPixel(dc, 9, 0), RGB(0x10, 0x40, 0xC0));
    EXPECT_NE(GetPixel(dc, 10, 0), RGB(0x10, 0x40, 0xC0));
    EXPECT_NE(GetPixel(dc, 0, 8), RGB(0x10, 0x40, 0xC0));
    ReleaseDC(f.Handle(), dc);
}

TEST(StoredForm, TabMovesThroughTheStoredTabOrder)
{
    StoredForm s;
    TTestForm& f = *s.form;
    ASSERT_TRUE(f.Button4);
    EXPECT_EQ(f.Button1->TabOrder(), 0);
    EXPECT_EQ(f.ProgressBar1->TabOrder(), 1);
    EXPECT_EQ(f.chk_selectall->TabOrder(), 8);
    // The first tab stop has the focus; the progress bar is no tab stop, Abort is disabled.
    ASSERT_TRUE(guikit::WaitUntil([&] { return GetFocus() == f.Button1->Handle(); }));
    const std::vector<TWinControl*> expected = {f.ComboBox1, f.Button3, f.Button4, f.ComboBox3,
                                                f.ListView1, f.chk_selectall, f.Button1};
    for (TWinControl* next : expected) {
        guikit::PressKey(VK_TAB);
        EXPECT_TRUE(guikit::WaitUntil([&] { return GetFocus() == next->Handle(); })) << next->Name();
        EXPECT_EQ(f.ActiveControl(), next);
    }
}

TEST(StoredForm, RealClicksAndKeysReachTheBoundHandlers)
{
    StoredForm s;
    TTestForm& f = *s.form;
    ASSERT_TRUE(f.Button4);
    SetForegroundWindow(f.Handle());
    guikit::SystemClick(f.Button1->Handle(), 30, 12);
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT target{30, 12};
    ClientToScreen(f.Button1->Handle(), &target);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.calls.size() == 2; }))
        << "cursor " << cursor.x << "," << cursor.y << " target " << target.x << "," << target.y << " under "
        << (WindowFromPoint(target) == f.Button1->Handle()) << " fg " << (GetForegroundWindow() == f.Handle());
    EXPECT_EQ(f.calls[1], "Button1Click");
    // Abort is disabled: a click does nothing.
    guikit::SystemClick(f.Button2->Handle(), 30, 12);
    guikit::SystemClick(f.Button3->Handle(), 30, 12);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.calls.size() == 3; }));
    EXPECT_EQ(f.calls[2], "Button3Click");
    guikit::SystemClick(f.chk_selectall->Handle(), 5, 6);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.calls.size() == 4; }));
    EXPECT_EQ(f.calls[3], "chk_selectallClick on");
    f.ComboBox1->Items()->SetLines({"Drive A", "Drive B"});
    f.ComboBox1->SetItemIndex(0);
    f.ComboBox1->SetFocus();
    guikit::PumpMessages();
    guikit::PressKey(VK_DOWN);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.calls.size() == 5; }));
    EXPECT_EQ(f.calls[4], "ComboBox1Select Drive B");
    f.Timer1->SetEnabled(true);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.calls.size() == 6; }));
    f.Timer1->SetEnabled(false);
    EXPECT_EQ(f.calls[5], "Timer1Timer");
}

TEST(StoredForm, CloseQueryCanRefuseTheClose)
{
    StoredForm s;
    TTestForm& f = *s.form;
    f.refuseClose = true;
    PostMessageW(f.Handle(), WM_CLOSE, 0, 0);
    guikit::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    f.refuseClose = false;
    PostMessageW(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(guikit::WaitUntil([&] { return !IsWindowVisible(f.Handle()); }));
    EXPECT_FALSE(f.Visible());
}

TEST(StoredForm, WithoutAResourceTheFallbackTextIsRead)
{
    RegisterTestForms();
    TFallbackForm form(nullptr);
    EXPECT_EQ(form.DescriptionResourceName(), "TFALLBACKFORM");
    form.SetFallbackDescription("object Fallback: TFallbackForm\n"
                                "  Caption = 'Fallback'\n"
                                "  object Button1: TButton\n"
                                "    Left = 5\n"
                                "    Caption = 'Go'\n"
                                "  end\n"
                                "end\n");
    form.InitializeForm();
    ASSERT_NE(form.Button1, nullptr);
    form.Show();
    EXPECT_EQ(guikit::WindowText(form.Handle()), "Fallback");
    EXPECT_EQ(guikit::WindowText(form.Button1->Handle()), "Go");
    EXPECT_EQ(guikit::BoundsInParent(form.Button1->Handle()).left, 5);
}

TEST(StoredForm, AnUnknownPropertyIsReportedWithItsLine)
{
    RegisterTestForms();
    TFallbackForm form(nullptr);
    form.SetFallbackDescription("object Fallback: TFallbackForm\n"
                                "  object Button1: TButton\n"
                                "    Captoin = 'Go'\n"
                                "  end\n"
                                "end\n");
    try {
        form.InitializeForm();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("Line 3"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("Captoin"), std::string::npos) << e.Message();
    }
}

} // namespace
