// The gallery form from its stored description: every control where the description puts
// it, the bound handlers reached by real clicks, and a screenshot for a person to look at.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "classlib/form/FormParser.h"
#include "classlib/forms/FormResource.h"
#include "classlib/graphics/Graphics.h"
#include "guikit/GuiKit.h"
#include "tools/gallery/GalleryForm.h"

namespace {
struct Gallery {
    std::unique_ptr<TGalleryForm> form;
    Gallery()
    {
        form = std::make_unique<TGalleryForm>(nullptr);
        form->InitializeForm();
        form->Show();
        guikit::PumpMessages();
    }
    bool Called(const std::string& what) const
    {
        return std::find(form->calls.begin(), form->calls.end(), what) != form->calls.end();
    }
};

std::int64_t Ordinal(const TFormObject& o, const char* name, std::int64_t fallback)
{
    for (const TFormProperty& p : o.properties)
        if (p.name == name && p.value.kind == TFormValueKind::Integer)
            return p.value.integer;
    return fallback;
}

// Every stored object with bounds, with the object it sits in.
void Collect(const TFormObject& o, const TFormObject* parent,
             std::vector<std::pair<const TFormObject*, const TFormObject*>>& out)
{
    if (parent && Ordinal(o, "Width", -1) >= 0)
        out.emplace_back(&o, parent);
    for (const TFormObject& child : o.children)
        Collect(child, &o, out);
}
} // namespace

TEST(Gallery, EveryControlSitsWhereItsDescriptionPutsIt)
{
    Gallery g;
    TGalleryForm& f = *g.form;
    ASSERT_TRUE(f.StatusBar1) << "fields were not set";
    const auto text = FindFormResource("TGALLERYFORM");
    ASSERT_TRUE(text.has_value());
    const TFormObject description = ParseFormText(*text);
    const SIZE client = guikit::ClientSize(f.Handle());
    EXPECT_EQ(client.cx, Ordinal(description, "ClientWidth", 0));
    EXPECT_EQ(client.cy, Ordinal(description, "ClientHeight", 0));

    std::vector<std::pair<const TFormObject*, const TFormObject*>> stored;
    Collect(description, nullptr, stored);
    ASSERT_GE(stored.size(), 30u);
    int windows = 0;
    for (const auto& [object, parent] : stored) {
        SCOPED_TRACE(object->name);
        auto* control = dynamic_cast<TControl*>(f.FindComponent(object->name));
        ASSERT_NE(control, nullptr);
        const RECT want{static_cast<LONG>(Ordinal(*object, "Left", 0)), static_cast<LONG>(Ordinal(*object, "Top", 0)),
                        static_cast<LONG>(Ordinal(*object, "Left", 0) + Ordinal(*object, "Width", 0)),
                        static_cast<LONG>(Ordinal(*object, "Top", 0) + Ordinal(*object, "Height", 0))};
        EXPECT_EQ(control->Left(), want.left);
        EXPECT_EQ(control->Top(), want.top);
        EXPECT_EQ(control->Width(), want.right - want.left);
        EXPECT_EQ(control->Height(), want.bottom - want.top);
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (!windowed)
            continue;
        // What the system shows: the same rectangle, inside the parent the description names.
        const RECT got = guikit::BoundsInParent(windowed->Handle());
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
        HWND parentWindow = parent == &description ? f.Handle()
                                                   : dynamic_cast<TWinControl*>(f.FindComponent(parent->name))->Handle();
        EXPECT_EQ(GetParent(windowed->Handle()), parentWindow);
        ++windows;
    }
    EXPECT_GE(windows, 18);
    // The pages fill the page control's display area; the first one shows.
    const RECT display = f.PageControl1->DisplayRect();
    EXPECT_EQ(guikit::BoundsInParent(f.TabSheet1->Handle()).left, display.left);
    EXPECT_TRUE(IsWindowVisible(f.TabSheet1->Handle()));
    EXPECT_FALSE(IsWindowVisible(f.TabSheet2->Handle()));
    // Stored values beyond geometry reached the windows.
    EXPECT_EQ(SendMessageW(f.UpDown1->Handle(), UDM_GETPOS32, 0, 0), 128);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(f.UpDown1->Handle(), UDM_GETBUDDY, 0, 0)), f.Edit1->Handle());
    EXPECT_EQ(SendMessageW(f.TrackBar1->Handle(), TBM_GETPOS, 0, 0), 6);
    EXPECT_EQ(SendMessageW(f.TabControl1->Handle(), TCM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageW(f.RadioButton1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(f.RadioGroup1->ButtonCount(), 3);
    EXPECT_TRUE(f.RadioGroup1->Buttons(1)->Checked());
    EXPECT_TRUE(f.SpeedButton2->Down());
    EXPECT_EQ(f.BitBtn1->Glyph()->Width(), 16);
    EXPECT_EQ(f.SpeedButton1->Glyph()->Width(), 16);
    EXPECT_EQ(f.Image1->Picture()->Width(), 350);
    EXPECT_EQ(GetMenu(f.Handle()), f.MainMenu1->Handle());
    EXPECT_EQ(f.Panel1->PopupMenu(), f.PopupMenu1);
    EXPECT_EQ(f.StatusBar1->Panels()->Count(), 2);
    EXPECT_EQ(f.calls.front(), "FormCreate");
}

TEST(Gallery, ClicksReachTheBoundHandlers)
{
    Gallery g;
    TGalleryForm& f = *g.form;
    guikit::Click(f.Button1->Handle());
    ASSERT_TRUE(guikit::WaitUntil([&] { return g.Called("Button1Click"); }));
    guikit::Click(f.BitBtn1->Handle());
    ASSERT_TRUE(guikit::WaitUntil([&] { return g.Called("BitBtn1Click"); }));
    // A windowless button is clicked through its panel.
    guikit::Click(f.Panel1->Handle(), f.SpeedButton1->Left() + 12, f.SpeedButton1->Top() + 12);
    ASSERT_TRUE(guikit::WaitUntil([&] { return g.Called("SpeedButton1Click"); }));
    guikit::Click(f.RadioGroup1->Buttons(2)->Handle(), 6, 8);
    ASSERT_TRUE(guikit::WaitUntil([&] { return g.Called("RadioGroup1Click 2"); }));
    RECT tab{};
    SendMessageW(f.PageControl1->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    guikit::Click(f.PageControl1->Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    ASSERT_TRUE(guikit::WaitUntil([&] { return g.Called("PageControl1Change 1"); }));
    EXPECT_TRUE(IsWindowVisible(f.TabSheet2->Handle()));
    guikit::Click(f.TrackBar1->Handle(), 12, 16);
    ASSERT_TRUE(guikit::WaitUntil([&] {
        return std::any_of(f.calls.begin(), f.calls.end(), [](const std::string& c) { return c.rfind("TrackBar1Change", 0) == 0; });
    }));
    EXPECT_LT(f.TrackBar1->Position(), 6);
    // The status bar shows the last one.
    wchar_t text[64] = {};
    SendMessageW(f.StatusBar1->Handle(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text).rfind(L"TrackBar1Change", 0), 0u);
    // A command of the main menu reaches its handler: File, Exit closes the gallery.
    auto* exit = dynamic_cast<TMenuItem*>(f.FindComponent("Exit1"));
    ASSERT_NE(exit, nullptr);
    PostMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
    ASSERT_TRUE(guikit::WaitUntil([&] { return !IsWindowVisible(f.Handle()); }));
}

TEST(Gallery, Screenshot)
{
    Gallery g;
    // Something to look at: the second format tab, a ticked row.
    g.form->TabControl1->SetTabIndex(1);
    guikit::PumpMessages();
    const std::string path = guikit::SaveScreenshot(g.form->Handle(), "gallery");
    EXPECT_FALSE(path.empty());
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
}
