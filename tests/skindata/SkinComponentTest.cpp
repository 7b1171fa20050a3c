// The skin component: published defaults, the stored skin, the lifecycle with the skin
// manager, and the small helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "classlib/TypeInfo.h"
#include "classlib/Unicode.h"
#include "classlib/form/FormReader.h"
#include "classlib/form/FormWriter.h"
#include "skin/data/SkinColour.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"
#include "skindata/SkinDataTestKit.h"

using namespace skindatatest;

namespace {
class TSkinHost : public TComponent {
public:
    using TComponent::TComponent;
    TSkinData* SkinData1 = nullptr;
};

void Register()
{
    TClassRegistry& r = Classes();
    RegisterSkinDataClasses(r);
    if (!r.Find("TSkinHost"))
        r.Register<TSkinHost, TComponent>("TSkinHost").Field("SkinData1", &TSkinHost::SkinData1);
}

std::string Hex(const Bytes& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0)
            text += "\n      ";
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string Description(const std::string& properties, const Bytes& stored)
{
    return "object Host: TSkinHost\n  object SkinData1: TSkinData\n" + properties + "    SkinStream = {" + Hex(stored) +
           "}\n  end\nend\n";
}

Bytes Stored(const Bytes& image)
{
    Bytes out(4);
    const auto n = static_cast<std::uint32_t>(image.size());
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(n >> (8 * i));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

TTestSkin SmallSkin()
{
    TTestSkin t;
    t.Bitmap("tabs.bmp", 20, 10).Ini("[Tabs]\nImage=tabs.bmp\n[Colours]\nButtonFace=1 2 3\n");
    return t;
}
}

TEST(SkinComponent, PublishedDefaults)
{
    Register();
    TSkinData skin;
    EXPECT_EQ(GetPropText(&skin, "Active"), "False");
    EXPECT_EQ(GetOrdProp(&skin, "DisableTag"), 99);
    EXPECT_EQ(GetOrdProp(&skin, "SkinControls"), 0x1FFFFB); // bits 0-20 without bit 2
    EXPECT_EQ(GetPropText(&skin, "Options"), "[xoPreview, xoToolbarBK]");
    EXPECT_EQ(GetPropText(&skin, "SkinFormtype"), "sfMainform");
    EXPECT_EQ(GetStrProp(&skin, "Version"), "3.64.10.19");
    EXPECT_EQ(GetStrProp(&skin, "SkinStore"), "(none)");
    EXPECT_EQ(GetStrProp(&skin, "SkinFile"), "");
    EXPECT_EQ(GetPropText(&skin, "MenuUpdate"), "True");
    EXPECT_EQ(GetPropText(&skin, "MenuMerge"), "False");
    SetStrProp(&skin, "Version", "1.0");
    SetStrProp(&skin, "SkinStore", "(Good)");
    EXPECT_EQ(GetStrProp(&skin, "Version"), "3.64.10.19");
    EXPECT_EQ(GetStrProp(&skin, "SkinStore"), "(none)");

    const std::vector<std::string> lines = GetStringsProp(&skin, "Skin3rd.Strings");
    EXPECT_EQ(lines, DefaultSkin3rd());
    EXPECT_EQ(lines.front(), "TVirtualStringTree=scrollbar");
    EXPECT_EQ(lines[13], "TAdvPageControl=nil");
    EXPECT_EQ(lines.back(), "TOVCDBNUMERICFIELD=Edit");
    for (const char* twice : {"TDBCheckboxEh=Checkbox", "TLMDFontSizeCombobox=combobox", "TWWDBCombobox=Combobox"})
        EXPECT_EQ(std::count(lines.begin(), lines.end(), twice), 2) << twice;
    SetStringsProp(&skin, "Skin3rd.Strings", {"TMine=panel"});
    EXPECT_EQ(skin.Skin3rd()->Count(), 1);

    EXPECT_EQ(skin.SkinEmpty, 1);
    EXPECT_EQ(skin.FramePainting, 1);
    EXPECT_EQ(skin.ButtonlightColour, SystemColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(skin.CustomColors[4], 0xFFFFFF);
    EXPECT_EQ(skin.MaxWidth, GetSystemMetrics(SM_CXMAXIMIZED));
    EXPECT_EQ(skin.AppIcon.PixelFormat(), pf24bit);
    EXPECT_EQ(skin.MenuGlyphs->Count(), 4); // the program's TESSELMENU
    EXPECT_EQ(skin.Buttons->Name, "Buttons");
    EXPECT_EQ(skin.BorderBottom->Name, "Bottom");
    EXPECT_EQ(skin.Title->Name, "Title");
    EXPECT_FALSE(skin.Tabs);
    EXPECT_EQ(skin.StoredSkinStream(), Bytes(4, 0));
}

TEST(SkinComponent, StoredSkinIsParsedWhileReadAndActivatedAfterLoading)
{
    Register();
    TManagerScope scope;
    TSkinHost host;
    const Bytes image = SmallSkin().Pack();
    ReadFormText(Description("    Active = True\n    SkinStore = '(Good)'\n    Version = '3.64.10.19'\n", Stored(image)), host);
    ASSERT_NE(host.SkinData1, nullptr);
    TSkinData& skin = *host.SkinData1;
    EXPECT_EQ(skin.SkinEmpty, 0);
    ASSERT_TRUE(skin.Tabs);
    EXPECT_EQ(skin.ButtonFaceColour, RGBColor(1, 2, 3));
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(scope.log, (std::vector<std::string>{"add", "hook", "activate 250"}));
    EXPECT_FALSE(skin.SkinControls().Contains(xcMenuItem));
    EXPECT_TRUE(skin.SkinControls().Contains(xcSystemMenu));

    // Written back: the same bytes, which read again into the same skin.
    EXPECT_EQ(skin.StoredSkinStream(), Stored(image));
    const std::string written = WriteFormText(host);
    TSkinHost again;
    ReadFormText(written, again);
    EXPECT_EQ(again.SkinData1->StoredSkinStream(), Stored(image));
    EXPECT_EQ(again.SkinData1->ButtonFaceColour, RGBColor(1, 2, 3));

    scope.log.clear();
    delete host.SkinData1;
    EXPECT_EQ(scope.log, std::vector<std::string>{"remove"});
}

TEST(SkinComponent, EmptyStoredSkinClearsActive)
{
    Register();
    TManagerScope scope;
    TSkinHost host;
    ReadFormText(Description("    Active = True\n    SkinControls = [xcPopupMenu, xcMenuItem]\n"
                             "    Skin3rd.Strings = (\n      'TOne=panel'\n      'TTwo=Edit')\n",
                             Bytes(4, 0)),
                 host);
    TSkinData& skin = *host.SkinData1;
    EXPECT_EQ(skin.Skin3rd()->Lines(), (std::vector<std::string>{"TOne=panel", "TTwo=Edit"}));
    EXPECT_EQ(skin.SkinEmpty, 1);
    EXPECT_FALSE(skin.Active());
    EXPECT_EQ(scope.log, (std::vector<std::string>{"add", "hook"}));
    // Without xcMainMenu the system menu goes; menu items stay.
    EXPECT_TRUE(skin.SkinControls().Contains(xcMenuItem));
    EXPECT_FALSE(skin.SkinControls().Contains(xcSystemMenu));
}

TEST(SkinComponent, OtherScopesSwitchTheManagerOnAtLoad)
{
    Register();
    TManagerScope scope;
    TSkinHost host;
    ReadFormText(Description("    Active = True\n    SkinFormtype = sfOnlyThisForm\n", Stored(SmallSkin().Pack())), host);
    EXPECT_EQ(scope.log, (std::vector<std::string>{"add", "enabled", "state 1"}));
    EXPECT_TRUE(host.SkinData1->Active());
}

TEST(SkinComponent, ActiveSetterPerScope)
{
    TManagerScope scope;
    struct Step { TSkinFormType type; bool parsed; bool value; std::vector<std::string> log; };
    const Step steps[] = {
        {sfMainform, false, true, {}},
        {sfMainform, true, true, {"pending", "activate 250", "state 1"}},
        {sfOnlyThisForm, false, true, {"pending"}},
        {sfOnlyThisForm, true, true, {"pending", "activate 250"}},
        {sfDialog, true, true, {}},
        {sfDLL, true, true, {}},
    };
    EnsureSkinManager();
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.type) + (s.parsed ? " parsed" : " empty"));
        TSkinData skin;
        skin.SetSkinFormtype(s.type);
        if (s.parsed) {
            PutImage(skin, SmallSkin().Pack());
            ASSERT_TRUE(skin.LoadSkin());
        }
        scope.log.clear();
        skin.SetActive(true);
        EXPECT_EQ(scope.log, s.log);
        EXPECT_TRUE(skin.Active());
        scope.log.clear();
        skin.SetActive(true); // no change: nothing
        EXPECT_TRUE(scope.log.empty());
        skin.SetActive(false);
        if (s.type == sfMainform || s.type == sfOnlyThisForm)
            EXPECT_EQ(scope.log, (std::vector<std::string>{"pending", "deactivate 250"}));
        else
            EXPECT_TRUE(scope.log.empty());
        scope.log.clear();
    }
}

TEST(SkinComponent, SkinFileLoadsAndAppliesAnExistingFileOnly)
{
    TManagerScope scope;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"kestrip-skin-\u00fc";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / L"sk\u00efn.skn";
    skinpack::WriteFileBytes(file, SmallSkin().Pack());

    TSkinData skin;
    skin.SetSkinFile(WideToUtf8(file.wstring()));
    EXPECT_EQ(skin.SkinEmpty, 0);
    ASSERT_TRUE(skin.Tabs);
    // No manager yet: ApplySkin runs Loaded, which makes it.
    EXPECT_EQ(scope.log, (std::vector<std::string>{"add", "hook", "pending", "refreshskin"}));

    scope.log.clear();
    SkinManager()->SetState(1);
    scope.log.clear();
    skin.ApplySkin();
    EXPECT_EQ(scope.log, (std::vector<std::string>{"pending", "refreshskin", "refresh 250"}));

    scope.log.clear();
    skin.SetSkinFile(WideToUtf8((folder / L"missing.skn").wstring()));
    EXPECT_EQ(skin.SkinEmpty, 1);
    EXPECT_TRUE(skin.Tabs); // the records stay
    EXPECT_EQ(skin.SkinFile(), WideToUtf8((folder / L"missing.skn").wstring()));
    EXPECT_TRUE(scope.log.empty());
    std::filesystem::remove_all(folder);
}

TEST(SkinComponent, FormSkinQuestionAndChangeNotice)
{
    struct Case { const char* name; bool fastReport; bool expected; };
    for (const Case c : {Case{"SysMonthCal32", false, false}, Case{"SysMonthCal", false, true},
                         Case{"TfrPreviewForm", true, false}, Case{"TfrPreviewForm", false, true},
                         Case{"TFRPreview", true, true}, Case{"TForm1", true, true}}) {
        TSkinData skin;
        if (c.fastReport)
            skin.SetSkinControls(skin.SkinControls() + TSkinControlTypes{xcFastReport});
        bool doSkin = true;
        skin.DoFormSkin(c.name, doSkin);
        EXPECT_EQ(doSkin, c.expected) << c.name;
    }
    TSkinData skin;
    std::vector<std::string> asked;
    skin.OnFormSkin = [&](TComponent* sender, const std::string& name, bool& doSkin) {
        EXPECT_EQ(sender, &skin);
        asked.push_back(name);
        doSkin = name == "SysMonthCal32";
    };
    bool doSkin = false;
    skin.DoFormSkin("SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin); // the handler alone decides
    EXPECT_EQ(asked, std::vector<std::string>{"SysMonthCal32"});
    int changed = 0;
    skin.OnSkinChanged = [&](TComponent* sender) { changed += sender == &skin; };
    skin.SkinChanged();
    EXPECT_EQ(changed, 1);
}

TEST(SkinComponent, ParseColourVectors)
{
    struct Case { const char* text; TColor fallback; TColor expected; };
    const Case cases[] = {
        {"74 80 94", 1, 0x5E504A}, {"10 20", 1, 0x00000A}, {"10 20 ", 1, 0x00140A}, {"300 0 0", 1, 0x00002C},
        {"no digits", 1, 0}, {"", 0x123456, 0x123456}, {"  1,2,3", 1, 0x030201}, {"1 2 3 4 5", 1, 0x030201},
        {"99999999999 7 8", 1, 0}, {"256 257 258", 1, 0x020100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TSkinData::ParseColour(c.text, c.fallback), c.expected) << '"' << c.text << '"';
}

TEST(SkinComponent, TextHelpers)
{
    EXPECT_EQ(AnsiToWide("Rip to"), L"Rip to");
    EXPECT_EQ(AnsiToWide(""), L"");
    TBitmap b;
    FillBitmap(b, 80, 30, 0xFFFFFF);
    HDC dc = b.Canvas()->Handle();
    SetTextColor(dc, 0x000000);
    SetBkMode(dc, TRANSPARENT);
    RECT r{0, 0, 80, 30};
    EXPECT_GT(SkinDrawText(dc, L"Wg\u00dc", r, DT_LEFT | DT_TOP | DT_SINGLELINE), 0);
    GdiFlush();
    int dark = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            dark += b.PixelColor(x, y) != 0xFFFFFF;
    EXPECT_GT(dark, 10);
    EXPECT_EQ(ControlFromHandle(nullptr), nullptr);
}

TEST(SkinComponent, TheMainWindowCarriesOurDefaultSkin)
{
    Register();
    TManagerScope scope;
    // The main window's stored description, as the program holds it.
    HRSRC found = FindResourceW(nullptr, L"TFORM1", MAKEINTRESOURCEW(10));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string description(text, SizeofResource(nullptr, found));
    const std::size_t begin = description.find("  object SkinData1: TSkinData");
    ASSERT_NE(begin, std::string::npos);
    const std::size_t end = description.find("\n  end", begin);
    ASSERT_NE(end, std::string::npos);
    TSkinHost host;
    ReadFormText("object Host: TSkinHost\n" + description.substr(begin, end + 6 - begin) + "\nend\n", host);
    TSkinData& skin = *host.SkinData1;

    EXPECT_EQ(skin.SkinEmpty, 0);
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.SkinName, "Kestrip");
    EXPECT_EQ(skin.DisableTag(), 99);
    EXPECT_EQ(skin.SkinControls(), DefaultSkinControls());
    EXPECT_EQ(skin.Options(), (TSkinOptions{xoPreview, xoToolbarBK}));
    EXPECT_EQ(skin.Skin3rd()->Lines(), DefaultSkin3rd());
    EXPECT_EQ(skin.SkinFormtype(), sfMainform);
    EXPECT_TRUE(skin.MenuUpdate());
    EXPECT_FALSE(skin.MenuMerge());
    const Bytes packed = skinpack::ReadFileBytes(std::filesystem::path(SourcePath("assets/Kestrip.skn")));
    EXPECT_EQ(skin.StoredSkinStream(), Stored(packed));
    EXPECT_EQ(scope.log, (std::vector<std::string>{"add", "hook", "activate 250"}));
}
