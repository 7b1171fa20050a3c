// Tab and page controls in every tab position, close boxes, tab sets, and the skin's check
// and radio images handed to check controls of other families.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "classlib/Strings.h"
#include "classlib/TypeInfo.h"
#include "classlib/extctrls/PageControl.h"
#include "classlib/graphics/Bitmap.h"
#include "guikit/GuiKit.h"
#include "skin/SkinMessages.h"
#include "skin/wrappers/SkinObjImage.h"
#include "skin/wrappers/SkinTab.h"
#include "skin/wrappers/SkinTab31.h"
#include "skincombo/ComboTestKit.h"

using namespace combotest;

// Registered classes live outside the anonymous namespace: the registry orders classes by
// their type, and such types compare by address rather than by name.
namespace combotest {

// A tab set as another library has it: tabs by name, painted by itself.
class TTabSet : public TCustomControl {
public:
    explicit TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {}
    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(TStrings* value) { tabs_->Assign(*value); }
    int TabIndex = -1, StartMargin = 0, EndMargin = 0, FirstIndex = 0;

private:
    std::unique_ptr<TStringList> tabs_;
};

// Check controls that draw their own glyphs from a picture handed to them by name.
class TRzCheckBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TBitmap* CustomGlyphs() { return &glyphs_; }
    void SetCustomGlyphs(TBitmap* value)
    {
        if (value)
            glyphs_.Assign(*value);
        else
            glyphs_.Assign(TBitmap());
    }
    bool UseCustomGlyphs() const { return use_; }
    void SetUseCustomGlyphs(bool value)
    {
        use_ = value;
        uses.push_back(value);
    }
    std::int64_t TransparentColor = -1;
    std::vector<bool> uses;

private:
    TBitmap glyphs_;
    bool use_ = false;
};
class TRzRadioButton : public TRzCheckBox {
public:
    using TRzCheckBox::TRzCheckBox;
};

} // namespace combotest

namespace {

// Records SKM_TABCLOSE and answers it.
class TTabCloseForm : public TForm {
public:
    using TForm::TForm;
    LRESULT answer = 1;
    std::vector<std::pair<WPARAM, LPARAM>> asked;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == SKM_TABCLOSE) {
            asked.emplace_back(m.WParam, m.LParam);
            m.Result = answer;
            return;
        }
        TForm::WndProc(m);
    }
};

TPageControl* AddPages(TSkinnedForm& host, TTabPosition position)
{
    auto* pages = host.Add<TPageControl>(10, 10, 320, 220);
    for (const char* caption : {"One", "Two", "Three"}) {
        auto* sheet = new TTabSheet(host.form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    pages->SetTabPosition(position);
    pages->SetActivePageIndex(0);
    return pages;
}

RECT TabRect(HWND tabs, int index)
{
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}
} // namespace

void RegisterComboTestClasses()
{
    Classes()
        .Register<TTabSet, TCustomControl>("TTabSet")
        .Object("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs)
        .Int("TabIndex", [](TTabSet* t) { return t->TabIndex; }, [](TTabSet* t, int v) { t->TabIndex = v; })
        .Int("StartMargin", [](TTabSet* t) { return t->StartMargin; }, [](TTabSet* t, int v) { t->StartMargin = v; })
        .Int("EndMargin", [](TTabSet* t) { return t->EndMargin; }, [](TTabSet* t, int v) { t->EndMargin = v; })
        .Int("FirstIndex", [](TTabSet* t) { return t->FirstIndex; }, [](TTabSet* t, int v) { t->FirstIndex = v; });
    Classes()
        .Register<TRzCheckBox, TCustomControl>("TRzCheckBox")
        .Object("CustomGlyphs", &TRzCheckBox::CustomGlyphs, &TRzCheckBox::SetCustomGlyphs)
        .Int("transparentcolor", [](TRzCheckBox* c) { return c->TransparentColor; },
             [](TRzCheckBox* c, std::int64_t v) { c->TransparentColor = v; })
        .Bool("UseCustomGlyphs", &TRzCheckBox::UseCustomGlyphs, &TRzCheckBox::SetUseCustomGlyphs);
    Classes().Register<TRzRadioButton, TRzCheckBox>("TRzRadioButton");
}

// Each position: the tabs' free edge points away from the page (the picture's top half there,
// its bottom half toward the page), the focused tab lit, the border's tab side toward the tabs.
TEST(SkinTab, TabsAndTheirBorderStandUprightInEveryPosition)
{
    for (const TTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
        SCOPED_TRACE(static_cast<int>(position));
        TSkinnedForm host(MakeSkin());
        TPageControl* pages = AddPages(host, position);
        ASSERT_NE(host.Show(), nullptr);
        const HWND h = pages->Handle();
        auto* wrapper = dynamic_cast<TSkinTab*>(WrapperOf(host.frame, h));
        ASSERT_NE(wrapper, nullptr);
        EXPECT_EQ(wrapper->TabPosition, static_cast<int>(position));
        InvalidateRect(h, nullptr, TRUE);
        UpdateWindow(h);
        const int focused = static_cast<int>(SendMessageW(h, TCM_GETCURFOCUS, 0, 0));
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            RECT r = TabRect(h, i);
            if (position == tpTop)
                OffsetRect(&r, 0, 1);
            const bool side = position == tpLeft || position == tpRight;
            const int depth = side ? r.right - r.left : r.bottom - r.top;
            const int toFree = depth / 5, toBase = depth * 3 / 5;
            // Points at the tab's end, clear of the centred text.
            POINT free{}, base{};
            switch (position) {
            case tpTop: free = {r.left + 3, r.top + toFree}; base = {r.left + 3, r.top + toBase}; break;
            case tpBottom: free = {r.left + 3, r.bottom - 1 - toFree}; base = {r.left + 3, r.bottom - 1 - toBase}; break;
            case tpLeft: free = {r.left + toFree, r.bottom - 4}; base = {r.left + toBase, r.bottom - 4}; break;
            case tpRight: free = {r.right - 1 - toFree, r.top + 3}; base = {r.right - 1 - toBase, r.top + 3}; break;
            }
            const int k = i == focused ? 2 : 1;
            EXPECT_TRUE(WaitForPixel(h, free.x, free.y, TabTop(k)));
            EXPECT_EQ(PixelAt(h, base.x, base.y), TabBase(k));
        }
        // The page border: its thick side toward the tabs, the plain side opposite.
        RECT page{};
        GetClientRect(h, &page);
        SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
        InflateRect(&page, 4, 4);
        const int mx = (page.left + page.right) / 2, my = (page.top + page.bottom) / 2;
        POINT tabSide{}, otherSide{};
        switch (position) {
        case tpTop: tabSide = {mx, page.top + 2}; otherSide = {mx, page.bottom - 2}; break;
        case tpBottom: tabSide = {mx, page.bottom - 3}; otherSide = {mx, page.top + 1}; break;
        case tpLeft: tabSide = {page.left + 2, my}; otherSide = {page.right - 2, my}; break;
        case tpRight: tabSide = {page.right - 3, my}; otherSide = {page.left + 1, my}; break;
        }
        EXPECT_EQ(PixelAt(h, tabSide.x, tabSide.y), kBorderTop);
        EXPECT_EQ(PixelAt(h, otherSide.x, otherSide.y), kBorderSide);
        guikit::SaveScreenshot(host.form->Handle(), "skincombo-tabs-" + std::to_string(static_cast<int>(position)));
    }
}

TEST(SkinTab, ACloseBoxAsksTheFormAndThePageGoesOnlyWhenTheFormLeavesItToTheWrapper)
{
    auto* form = new TTabCloseForm(nullptr);
    form->SetBounds(40, 40, 460, 340);
    form->SetCaption("Close boxes");
    TSkinnedForm host(MakeSkin(), form);
    TPageControl* pages = AddPages(host, tpTop);
    pages->SetTag(kCloseBoxTag);
    ASSERT_NE(host.Show(), nullptr);
    const HWND h = pages->Handle();
    auto* wrapper = dynamic_cast<TSkinTab*>(WrapperOf(host.frame, h));
    ASSERT_NE(wrapper, nullptr);
    EXPECT_TRUE(wrapper->HasCloseBoxes);
    InvalidateRect(h, nullptr, TRUE);
    ASSERT_TRUE(guikit::WaitUntil([&] { return wrapper->CloseRects.size() == 3; }));
    // Each box sits at its tab's top-right, inside the tab, drawn in the text colour.
    for (int i = 0; i < 3; ++i) {
        const RECT box = wrapper->CloseRects[static_cast<std::size_t>(i)];
        RECT tab = TabRect(h, i);
        OffsetRect(&tab, 0, 1);
        EXPECT_EQ(box.right, tab.right - 2) << i;
        EXPECT_EQ(box.top, tab.top + 2) << i;
        EXPECT_EQ(PixelAt(h, box.left, box.top), kText) << i;
    }
    auto clickBox = [&](int i) {
        const RECT box = wrapper->CloseRects[static_cast<std::size_t>(i)];
        const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(h, WM_LBUTTONUP, 0, at);
        guikit::PumpMessages();
    };

    // The form handles it: asked with the control and the index; the page stays.
    clickBox(1);
    ASSERT_EQ(form->asked.size(), 1u);
    EXPECT_EQ(form->asked[0].first, reinterpret_cast<WPARAM>(h));
    EXPECT_EQ(form->asked[0].second, 1);
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePageIndex(), 0);

    // The form leaves it: the page of that tab is freed.
    form->answer = 0;
    clickBox(1);
    ASSERT_EQ(form->asked.size(), 2u);
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(0)->Caption(), "One");
    EXPECT_EQ(pages->Pages(1)->Caption(), "Three");

    // A click on a tab away from its box chooses the tab as usual.
    const RECT tab = TabRect(h, 1);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tab.left + 4, tab.bottom - 3));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(tab.left + 4, tab.bottom - 3));
    EXPECT_TRUE(guikit::WaitUntil([&] { return pages->ActivePageIndex() == 1; }));
    EXPECT_EQ(form->asked.size(), 2u);
    guikit::SaveScreenshot(host.form->Handle(), "skincombo-tab-close");
}

TEST(SkinTab31, TabsHangFromTheTopBetweenTheMarginsFromTheFirstVisibleOne)
{
    TSkinnedForm host(MakeSkin());
    auto* set = host.Add<TTabSet>(10, 10, 200, 24);
    for (const char* name : {"Hidden", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"})
        set->Tabs()->Add(name);
    set->FirstIndex = 1;
    set->TabIndex = 2;
    set->StartMargin = 6;
    set->EndMargin = 20;
    ASSERT_NE(host.Show(), nullptr);
    EXPECT_EQ(WrapperOf(host.frame, set->Handle()), nullptr);
    auto* wrapper = new TSkinTab31(nullptr);
    wrapper->AttachWindow(set->Handle(), host.skin, host.frame, &host.frame->SharedCanvas2);
    const HWND h = set->Handle();
    InvalidateRect(h, nullptr, TRUE);

    // Before the start margin the face; the first tab drawn is "Beta", unlit, upside down.
    EXPECT_TRUE(WaitForPixel(h, 7, 21, TabTop(1)));
    EXPECT_EQ(PixelAt(h, 3, 12), kFace);
    EXPECT_EQ(PixelAt(h, 7, 2), TabBase(1));
    // "Gamma", the selected one, lit; nothing within the end margin.
    EXPECT_GT(CountColour(h, {0, 20, 200, 22}, TabTop(2)), 0);
    EXPECT_EQ(CountColour(h, {0, 0, 200, 24}, TabTop(2)), CountColour(h, {6, 0, 180, 24}, TabTop(2)));
    EXPECT_EQ(CountColour(h, {180, 0, 200, 24}, kFace), 20 * 24);
    guikit::SaveScreenshot(host.form->Handle(), "skincombo-tabset");
}

TEST(SkinObjImage, CheckControlsOfOtherFamiliesGetTheSkinsImagesInTheirCellOrder)
{
    TSkinnedForm host(MakeSkin());
    auto* check = host.Add<TRzCheckBox>(10, 10, 100, 17);
    auto* radio = host.Add<TRzRadioButton>(10, 40, 100, 17);
    TBitmap own(3, 3, pf24bit);
    skindatatest::FillBitmap(own, 3, 3, RGBColor(1, 2, 3));
    check->SetCustomGlyphs(&own);
    check->uses.clear();
    ASSERT_NE(host.Show(), nullptr);
    ASSERT_NE(dynamic_cast<TSkinObjImage*>(WrapperOf(host.frame, check->Handle())), nullptr);
    ASSERT_NE(dynamic_cast<TSkinObjImage*>(WrapperOf(host.frame, radio->Handle())), nullptr);

    // Radio: off, on, off, on, then the disabled pair. Check: unchecked, checked, mixed,
    // then the three disabled ones (with 4 images mixed and checked-disabled share image 4).
    const int radioCells[6] = {1, 2, 1, 2, 3, 4};
    const int checkCells[6] = {1, 2, 4, 3, 4, 4};
    for (auto [control, cells, colour] : {std::tuple{static_cast<TRzCheckBox*>(radio), radioCells, &RadioColour},
                                          std::tuple{static_cast<TRzCheckBox*>(check), checkCells, &CheckColour}}) {
        TBitmap* glyphs = control->CustomGlyphs();
        ASSERT_EQ(glyphs->Width(), 6 * 13);
        ASSERT_EQ(glyphs->Height(), 13);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(glyphs->PixelColor(i * 13 + 6, 6), colour(cells[i])) << i;
        EXPECT_EQ(control->TransparentColor, 0xFF00FF);
        ASSERT_GE(control->uses.size(), 2u);
        EXPECT_EQ(control->uses[control->uses.size() - 2], false);
        EXPECT_TRUE(control->uses.back());
    }
    // Without the skin the control has its own picture back and its own setting.
    delete WrapperOf(host.frame, check->Handle());
    EXPECT_EQ(check->CustomGlyphs()->Width(), 3);
    EXPECT_EQ(check->CustomGlyphs()->PixelColor(1, 1), RGBColor(1, 2, 3));
    EXPECT_FALSE(check->UseCustomGlyphs());
}
