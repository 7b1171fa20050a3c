#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "SkinTestKit.h"
#include "skin/SkinContainer.h"
#include "skin/SkinIni.h"
#include "tools/skingen/DefaultSkin.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinWriter.h"

using namespace skintest;
namespace fs = std::filesystem;

namespace {

const fs::path kAssets = fs::path(KESTRIP_SOURCE_DIR) / "assets";

struct Bmp {
    int width = 0, height = 0, bits = 0;
};

// Reads a BMP header and checks the file is complete: 24-bit, uncompressed, rows padded.
bool ParseBmp(const Bytes& b, Bmp& out)
{
    auto u16 = [&](std::size_t at) { return b[at] | (b[at + 1] << 8); };
    auto u32 = [&](std::size_t at) { return static_cast<std::int32_t>(u16(at) | (u16(at + 2) << 16)); };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || u32(2) != static_cast<std::int32_t>(b.size()))
        return false;
    out = {u32(18), u32(22), u16(28)};
    const std::int64_t stride = (out.width * 3 + 3) & ~3;
    return u32(14) == 40 && u32(30) == 0 && out.width > 0 && out.height > 0 &&
           54 + stride * out.height == static_cast<std::int64_t>(b.size());
}

// Pixels of the key colour, and whether the pixel at (x, y) from the top-left is one.
int KeyPixels(const Bytes& b, const Bmp& bmp, int x = -1, int y = -1, bool* keyAt = nullptr)
{
    const int stride = (bmp.width * 3 + 3) & ~3;
    int count = 0;
    for (int row = 0; row < bmp.height; ++row)
        for (int col = 0; col < bmp.width; ++col) {
            const std::size_t at = 54 + static_cast<std::size_t>(bmp.height - 1 - row) * stride + col * 3;
            const bool key = b[at] == 0xFF && b[at + 1] == 0x00 && b[at + 2] == 0xFF;
            count += key;
            if (keyAt && col == x && row == y)
                *keyAt = key;
        }
    return count;
}

class DefaultSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Bytes image = skinpack::ReadFileBytes(kAssets / "Kestrip.skn");
        TMemoryStream stream;
        Fill(stream, image);
        reader.ShowMessage = [](const std::string& text) { FAIL() << text; };
        ASSERT_TRUE(reader.Open(stream)) << reader.RefusalReason();
        TMemoryStream ini;
        reader.ExtractEntryContaining(".ini", ini, iniName);
        store.LoadFromStream(&ini);
    }

    Bmp Bitmap(const std::string& name)
    {
        TMemoryStream entry;
        reader.ExtractEntry(name, entry);
        Bmp bmp;
        EXPECT_TRUE(ParseBmp(Contents(entry), bmp)) << name;
        return bmp;
    }

    TSkinReader reader;
    TQuickIni store;
    std::string iniName;
};

// The committed files are what the generator makes today, and packing them again gives the
// committed skin byte for byte.
TEST_F(DefaultSkin, CommittedFilesAreReproducible)
{
    const auto entries = skingen::MakeDefaultSkin();
    std::set<std::string> onDisk;
    for (const auto& item : fs::directory_iterator(kAssets / "skin"))
        onDisk.insert(item.path().filename().string());
    std::set<std::string> generated;
    for (const auto& e : entries) {
        generated.insert(e.name);
        EXPECT_EQ(skinpack::ReadFileBytes(kAssets / "skin" / e.name), e.data) << e.name << " differs from the generator";
    }
    EXPECT_EQ(onDisk, generated);

    const Bytes packed = skinpack::PackImage(skinpack::BuildContainer(skinpack::ReadFolder(kAssets / "skin")));
    EXPECT_EQ(packed, skinpack::ReadFileBytes(kAssets / "Kestrip.skn"));
    EXPECT_EQ(skinpack::PackImage(skinpack::BuildContainer(entries)), packed);
}

TEST_F(DefaultSkin, HoldsThirtyThreeBitmapsAndOneIni)
{
    ASSERT_EQ(reader.EntryCount(), 34);
    EXPECT_EQ(iniName, "kestrip.ini");
    int bitmaps = 0;
    std::int64_t total = 0;
    for (int i = 0; i < reader.EntryCount(); ++i) {
        const std::string& name = reader.EntryNames()[i];
        total += reader.EntrySize(i);
        TMemoryStream entry;
        reader.ExtractEntry(name, entry);
        EXPECT_EQ(Contents(entry), skinpack::ReadFileBytes(kAssets / "skin" / name)) << name << " unpacks differently";
        if (name == iniName)
            continue;
        ++bitmaps;
        EXPECT_EQ(name.substr(name.size() - 4), ".bmp");
        EXPECT_EQ(Bitmap(name).bits, 24) << name;
    }
    EXPECT_EQ(bitmaps, 33);
    // Real compression: the packed file is a small fraction of the container.
    EXPECT_LT(fs::file_size(kAssets / "Kestrip.skn") * 8, static_cast<std::uintmax_t>(total));
}

// Every image the ini names exists, every bitmap is named, and each strip divides into the
// frame count the skin engine will cut it into.
TEST_F(DefaultSkin, StripsMatchTheirFrameCounts)
{
    struct Strip {
        std::string section, key;
        int frames;
        bool stacked;
    };
    std::vector<Strip> strips = {
        {"Personality", "Left", 2, false},        {"Personality", "Right", 2, false},
        {"Personality", "Top", 2, true},          {"Personality", "Bottom", 2, true},
        {"Personality", "menuBar", 2, false},     {"Buttons", "Bitmap", 5, false},
        {"Buttons", "CheckButton", 4, false},     {"Buttons", "RadioButton", 4, false},
        {"Progress", "Bitmap", 2, false},         {"Progress", "Chunk", 1, false},
        {"GroupBoxEdge", "Image", 2, false},      {"GroupBox", "Image", 1, false},
        {"Tabs", "Image", 5, false},              {"Tabs", "Border", 1, false},
        {"StatusBarEdges", "Image", 3, false},    {"ToolBars", "Image", 5, false},
        {"ComboButton", "Image", 4, false},       {"SunkEdge", "Image", 4, false},
        {"ExtraImages", "Image", 5, false},       {"Headerbar", "Image", 5, false},
        {"MenuItem", "Image", 5, false},          {"MenuBackground", "Image", 1, false},
        {"Scrollbar", "Image", 23, false},        {"HorzScroll", "Image", 4, false},
        {"VertScroll", "Image", 4, false},        {"HorzScrollThumb", "Image", 3, false},
        {"VertScrollThumb", "Image", 3, false},   {"MDICONTROLS", "Image", 12, false},
        {"Trackbar.ThumbHorz", "Image", 5, false}, {"Trackbar.ThumbDown", "Image", 5, false},
    };
    // Frame counts the ini states itself must agree with the table above.
    EXPECT_EQ(store.ReadInteger("Personality", "LeftFrame", 0), 2);
    EXPECT_EQ(store.ReadInteger("Personality", "TopFrame", 0), 2);
    EXPECT_EQ(store.ReadInteger("Buttons", "CheckButtonFrame", 0), 4);
    EXPECT_EQ(store.ReadInteger("Buttons", "RadioButtonFrame", 0), 4);
    EXPECT_EQ(store.ReadInteger("HorzScrollThumb", "FrameCount", 0), 3);

    std::vector<std::string> sections;
    store.ReadSections(sections);
    int captionButtons = 0;
    for (const auto& s : sections) {
        const std::string upper = [&] {
            std::string u = s;
            for (auto& c : u)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return u;
        }();
        if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS")
            continue;
        ++captionButtons;
        const std::string image = store.ReadString(s, "ButtonImage", "");
        if (image.empty()) {
            EXPECT_EQ(store.ReadInteger(s, "Action", -1), 3) << s << ": only the window icon goes without an image";
            continue;
        }
        strips.push_back({s, "ButtonImage", store.ReadInteger(s, "frame", 0), false});
        EXPECT_EQ(store.ReadInteger(s, "Align", -1), 1) << s;
    }
    EXPECT_EQ(captionButtons, 7);

    std::set<std::string> named;
    for (const auto& strip : strips) {
        const std::string name = store.ReadString(strip.section, strip.key, "");
        ASSERT_FALSE(name.empty()) << strip.section << " " << strip.key;
        named.insert(SkinLowerCase(name));
        const Bmp bmp = Bitmap(name);
        ASSERT_GT(strip.frames, 0) << name;
        const int along = strip.stacked ? bmp.height : bmp.width;
        EXPECT_EQ(along % strip.frames, 0) << strip.section << " " << name << ": " << along << " / " << strip.frames;
    }
    for (const auto& name : reader.EntryNames()) {
        if (name != iniName) {
            EXPECT_TRUE(named.count(name)) << name << " is named by no section";
        }
    }

    // Key pixels only where the element is drawn transparently, and there they are used.
    for (const auto& strip : strips) {
        int trans = store.ReadInteger(strip.section, "Trans", 0);
        if (strip.section == "Personality")
            trans = store.ReadInteger("Personality", strip.key + "Trans", strip.key == "menuBar" ? 0 : 1);
        if (strip.key == "ButtonImage" || strip.section == "Scrollbar" || strip.section == "ExtraImages" ||
            strip.key == "CheckButton" || strip.key == "RadioButton")
            continue; // always drawn with the key colour transparent
        if (strip.key == "Chunk" || strip.key == "Border" || strip.section == "MDICONTROLS")
            trans = 0; // drawn opaque
        const std::string name = store.ReadString(strip.section, strip.key, "");
        TMemoryStream entry;
        reader.ExtractEntry(name, entry);
        const Bytes bytes = Contents(entry);
        Bmp bmp;
        ASSERT_TRUE(ParseBmp(bytes, bmp)) << name;
        const int keys = KeyPixels(bytes, bmp);
        if (trans == 1) {
            EXPECT_GT(keys, 0) << name << " is transparent but has no key pixels";
        } else {
            EXPECT_EQ(keys, 0) << name << " would show the key colour";
        }
    }
    // The frame's outer corners are cut away.
    for (const char* piece : {"frame-left.bmp", "frame-top.bmp"}) {
        TMemoryStream entry;
        reader.ExtractEntry(piece, entry);
        const Bytes bytes = Contents(entry);
        Bmp bmp;
        ASSERT_TRUE(ParseBmp(bytes, bmp));
        bool corner = false, inside = true;
        KeyPixels(bytes, bmp, 0, 0, &corner);
        KeyPixels(bytes, bmp, bmp.width - 1, bmp.height / 4, &inside);
        EXPECT_TRUE(corner) << piece;
        EXPECT_FALSE(inside) << piece;
    }

    // The frame pieces fit together: sides as tall as each other, top and bottom as wide,
    // the title as tall as the sides' fixed top part.
    const Bmp left = Bitmap("frame-left.bmp"), right = Bitmap("frame-right.bmp");
    const Bmp top = Bitmap("frame-top.bmp"), bottom = Bitmap("frame-bottom.bmp");
    EXPECT_EQ(left.height, right.height);
    EXPECT_EQ(top.width, bottom.width);
    EXPECT_EQ(top.height / 2, store.ReadInteger("Personality", "LeftTopHeight", 0));
    EXPECT_LT(store.ReadInteger("Personality", "LeftTopHeight", 0) + store.ReadInteger("Personality", "LeftBotHeight", 0),
              left.height);
    // Caption buttons sit inside the title bar.
    const Bmp close = Bitmap("caption-close.bmp");
    EXPECT_LE(store.ReadInteger("ButtonClose", "Ycoord", 0) + close.height, top.height / 2);
}

TEST_F(DefaultSkin, ColoursAndFontsAreGiven)
{
    for (const char* key : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
                            "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow",
                            "MenuBarText", "TitleTextActive", "TitleTextNoActive"}) {
        const std::string text = store.ReadString("Colours", key, "");
        int parts = 0;
        for (std::size_t at = 0; at != std::string::npos; at = text.find(' ', at + 1))
            ++parts;
        EXPECT_EQ(parts, 3) << key << " = " << text;
    }
    EXPECT_EQ(store.ReadString("TitlebarSkin", "SkinName", ""), "Kestrip");
    EXPECT_EQ(store.ReadInteger("Fonts", "FontHeight", 0), 14);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(store.ReadString("Customcolors", "Color" + std::to_string(i), "").empty()) << i;
    EXPECT_GE(store.ReadInteger("Personality", "ActiveTextR", -1), 0);
}

} // namespace
