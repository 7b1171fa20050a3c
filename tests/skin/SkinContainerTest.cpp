#include <gtest/gtest.h>

#include <cstring>

#include "SkinTestKit.h"
#include "skin/SkinContainer.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinWriter.h"

using namespace skintest;
using skinpack::SkinEntry;

namespace {

// A reader that records refusal messages instead of showing them.
struct Reader {
    TSkinReader reader;
    std::vector<std::string> shown;
    Reader()
    {
        reader.ShowMessage = [this](const std::string& text) { shown.push_back(text); };
    }
    bool Open(const Bytes& image)
    {
        TMemoryStream stream;
        Fill(stream, image);
        return reader.Open(stream);
    }
    std::string Entry(const std::string& name)
    {
        TMemoryStream target;
        Fill(target, ToBytes("stale"));
        reader.ExtractEntry(name, target);
        EXPECT_EQ(target.Position(), 0);
        const Bytes b = Contents(target);
        return std::string(b.begin(), b.end());
    }
};

Bytes Image(const Bytes& container) { return skinpack::PackImage(container); }

Bytes Container(std::vector<std::pair<std::string, std::string>> entries, std::uint32_t version = 20000)
{
    std::vector<SkinEntry> list;
    for (auto& [name, data] : entries)
        list.push_back({name, ToBytes(data)});
    return skinpack::BuildContainer(list, version);
}

// A container with a hand-made name list and sizes (the writer always ends names with CR LF).
Bytes RawContainer(const std::string& names, const std::vector<std::int32_t>& sizes, const std::string& data,
                   std::int64_t namesLength = -1)
{
    Bytes out;
    auto put = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(20000);
    put(static_cast<std::uint32_t>(namesLength >= 0 ? namesLength : static_cast<std::int64_t>(names.size())));
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(0xA0 + i)); // reserved: any value
    out.insert(out.end(), names.begin(), names.end());
    for (auto s : sizes)
        put(static_cast<std::uint32_t>(s));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(SkinReader, AcceptsOnlyVersion20000)
{
    for (std::uint32_t version : {19999u, 20000u, 20001u, 0u}) {
        Reader r;
        const bool opened = r.Open(Image(Container({{"A.bmp", "BM12"}}, version)));
        EXPECT_EQ(opened, version == 20000) << version;
        if (opened) {
            EXPECT_TRUE(r.shown.empty());
            EXPECT_EQ(r.reader.ContainerHeader().Version, 20000u);
            EXPECT_EQ(r.reader.EntryCount(), 1);
        } else {
            EXPECT_EQ(r.shown, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
            EXPECT_EQ(r.reader.EntryCount(), 0);
        }
    }
}

TEST(SkinReader, RefusedImageKeepsThePreviousDirectory)
{
    Reader r;
    ASSERT_TRUE(r.Open(Image(Container({{"one.ini", "x=1"}, {"two.bmp", "BM"}}))));
    EXPECT_FALSE(r.Open(Image(Container({{"other.ini", "y"}}, 19999))));
    EXPECT_EQ(r.reader.EntryNames(), (std::vector<std::string>{"one.ini", "two.bmp"}));
    EXPECT_EQ(r.Entry("TWO.BMP"), "BM");
}

TEST(SkinReader, NameCaseRules)
{
    Reader r;
    ASSERT_TRUE(r.Open(Image(Container({{"Copy of Express__F-Top.BMP", "top"}, {"Skin.INI", "[a]"}}))));
    EXPECT_EQ(r.reader.EntryNames()[0], "copy of express__f-top.bmp");
    // ExtractEntry ignores case on both sides.
    EXPECT_EQ(r.Entry("Copy of express__f-top.bmp"), "top");
    EXPECT_EQ(r.Entry("COPY OF EXPRESS__F-TOP.BMP"), "top");
    EXPECT_EQ(r.Entry("copy of express__f-top"), ""); // whole names only

    // ExtractEntryContaining takes the fragment as given, against lower-case names.
    TMemoryStream target;
    std::string found = "unchanged";
    r.reader.ExtractEntryContaining(".INI", target, found);
    EXPECT_EQ(target.Size(), 0);
    EXPECT_EQ(found, "unchanged");
    r.reader.ExtractEntryContaining(".ini", target, found);
    EXPECT_EQ(found, "skin.ini");
    EXPECT_EQ(Contents(target), ToBytes("[a]"));
    EXPECT_EQ(target.Position(), 0);
}

TEST(SkinReader, NameListShapes)
{
    struct Case {
        const char* name;
        std::string names;
        std::vector<std::int32_t> sizes;
        std::string data;
        std::vector<std::string> expectedNames;
        std::vector<std::pair<std::string, std::string>> lookups;
    };
    const Case cases[] = {
        {"CR LF after every name", "a.bmp\r\nb.bmp\r\n", {1, 2}, "xyy", {"a.bmp", "b.bmp"}, {{"b.bmp", "yy"}}},
        {"no break after the last name", "a.bmp\r\nb.bmp", {1, 2}, "xyy", {"a.bmp", "b.bmp"}, {{"a.bmp", "x"}}},
        {"lone CR and lone LF", "a\rb\nc", {1, 1, 1}, "123", {"a", "b", "c"}, {{"c", "3"}}},
        {"an empty line takes its own size slot", "a\r\n\r\nc\r\n", {1, 2, 3}, "1223 33", {"a", "", "c"},
         {{"c", "3 3"}, {"", "22"}}},
        {"the first of two equal names wins", "dup.bmp\r\nDUP.bmp\r\n", {2, 3}, "11222", {"dup.bmp", "dup.bmp"},
         {{"dup.bmp", "11"}}},
        {"a zero-size entry extracts empty", "e.bmp\r\nf.bmp\r\n", {0, 2}, "ff", {"e.bmp", "f.bmp"},
         {{"e.bmp", ""}, {"f.bmp", "ff"}}},
        {"the names end at a NUL", std::string("a\r\nb\0c\r\n", 8), {1, 1}, "12", {"a", "b"}, {{"b", "2"}}},
        {"no names at all", "", {}, "", {}, {{"a", ""}}},
        {"data after the entries is ignored", "a\r\n", {1}, "1tail", {"a"}, {{"a", "1"}}},
    };
    for (const auto& c : cases) {
        Reader r;
        ASSERT_TRUE(r.Open(Image(RawContainer(c.names, c.sizes, c.data)))) << c.name << ": " << r.reader.RefusalReason();
        EXPECT_EQ(r.reader.EntryNames(), c.expectedNames) << c.name;
        EXPECT_EQ(r.reader.EntryCount(), static_cast<int>(c.expectedNames.size())) << c.name;
        for (const auto& [name, data] : c.lookups)
            EXPECT_EQ(r.Entry(name), data) << c.name << " / " << name;
    }
}

TEST(SkinReader, FirstIniEntryIsTheSkinsIni)
{
    Reader r;
    ASSERT_TRUE(r.Open(Image(Container({{"a.bmp", "BM"}, {"first.ini", "1"}, {"second.ini", "2"}}))));
    TMemoryStream target;
    std::string found;
    r.reader.ExtractEntryContaining(".ini", target, found);
    EXPECT_EQ(found, "first.ini");
    EXPECT_EQ(Contents(target), ToBytes("1"));
}

// Containers that would make the reader look outside its data are refused like an old one.
TEST(SkinReader, RefusesMalformedImages)
{
    std::string names1002;
    std::vector<std::int32_t> sizes1002;
    for (int i = 0; i < 1002; ++i) {
        names1002 += "n" + std::to_string(i) + "\r\n";
        sizes1002.push_back(0);
    }
    std::string names1001;
    std::vector<std::int32_t> sizes1001;
    for (int i = 0; i < 1001; ++i) {
        names1001 += "n" + std::to_string(i) + "\r\n";
        sizes1001.push_back(0);
    }
    Bytes hugeSize = {0xFF, 0xFF, 0xFF, 0x7F, 0x00};
    Bytes negativeSize = {0x00, 0x00, 0x00, 0x80, 0x00};
    struct Case {
        const char* name;
        Bytes image;
        bool accepted;
    };
    const Case cases[] = {
        {"empty image", {}, false},
        {"image of three bytes", {1, 0, 0}, false},
        {"decoded size 0", {0, 0, 0, 0}, false},
        {"decoded size far beyond the data", hugeSize, false},
        {"negative decoded size", negativeSize, false},
        {"container shorter than its header", Image(ToBytes("short")), false},
        {"names length past the end", Image(RawContainer("a\r\n", {1}, "x", 4000)), false},
        {"negative names length", Image(RawContainer("a\r\n", {1}, "x", 0x80000000LL)), false},
        {"sizes past the end", Image(RawContainer("a\r\nb\r\n", {}, "")), false},
        {"entry data past the end", Image(RawContainer("a\r\nb\r\n", {1, 5}, "xyz")), false},
        {"negative entry size", Image(RawContainer("a\r\nb\r\n", {-1, 2}, "xyz")), false},
        {"1002 entries", Image(RawContainer(names1002, sizes1002, "")), false},
        {"1001 entries", Image(RawContainer(names1001, sizes1001, "")), true},
    };
    for (const auto& c : cases) {
        Reader r;
        EXPECT_EQ(r.Open(c.image), c.accepted) << c.name;
        if (!c.accepted) {
            EXPECT_FALSE(r.reader.RefusalReason().empty()) << c.name;
            EXPECT_EQ(r.shown.size(), 1u) << c.name;
        }
    }
}

TEST(SkinReader, UnpackDecodesAWholeImage)
{
    const Bytes container = Container({{"x.bmp", std::string(5000, 'x')}, {"y.ini", "[y]"}});
    TMemoryStream source, target;
    Fill(source, Image(container));
    source.SetPosition(3); // Unpack starts from the beginning whatever the position
    TSkinReader reader;
    reader.Unpack(source, target);
    EXPECT_EQ(Contents(target), container);
}

} // namespace
