#include <gtest/gtest.h>

#include "SkinTestKit.h"
#include "skin/SkinIni.h"

using namespace skintest;

namespace {

TQuickIni Load(const std::string& text)
{
    TQuickIni ini;
    TMemoryStream stream;
    Fill(stream, ToBytes(text));
    ini.LoadFromStream(&stream);
    return ini;
}

struct Lookup {
    const char* name;
    std::string text;
    std::string section, key;
    std::int32_t integer;       // ReadInteger with default -77
    std::string string;         // ReadString with default "dflt"
};

TEST(QuickIni, Lookups)
{
    const Lookup cases[] = {
        {"blanks around the equals sign", "[A]\r\nk = 5\r\n", "A", "K", 5, "5"},
        {"section and key case are ignored", "[A]\r\nk = 5\r\n", "a", "k", 5, "5"},
        {"an entry key in another case", "[Tabs]\nRightwidth=3\n", "tabs", "RightWidth", 3, "3"},
        {"empty first value gives the default", "[A]\nk=\nk=7\n", "A", "k", -77, "dflt"},
        {"a repeated key yields the first", "[A]\nk=1\nk=2\n", "A", "k", 1, "1"},
        {"a remark after a value is part of it", "[A]\nk=5 ; five\n", "A", "k", -77, "5 ; five"},
        {"a line starting with ; is dropped", "[A]\n ; k=9\nk=4\n", "A", "k", 4, "4"},
        {"0x hexadecimal", "[A]\nk=0x1F\n", "A", "k", 31, "0x1F"},
        {"0X in upper case", "[A]\nk=0X1f\n", "A", "k", 31, "0X1f"},
        {"$ hexadecimal", "[A]\nk=$1F\n", "A", "k", 31, "$1F"},
        {"0x alone", "[A]\nk=0x\n", "A", "k", -77, "0x"},
        {"minus one", "[A]\nk=-1\n", "A", "k", -1, "-1"},
        {"system colour in hexadecimal", "[A]\nk=$FF00000F\n", "A", "k", static_cast<std::int32_t>(0xFF00000F),
         "$FF00000F"},
        {"decimal beyond 32 bits", "[A]\nk=4294967296\n", "A", "k", -77, "4294967296"},
        {"not a number", "[A]\nk=12px\n", "A", "k", -77, "12px"},
        {"missing key", "[A]\nj=1\n", "A", "k", -77, "dflt"},
        {"missing section", "[A]\nk=1\n", "B", "k", -77, "dflt"},
        {"the requested key is not trimmed", "[A]\nk=1\n", "A", " k", -77, "dflt"},
        {"a line without = never matches", "[A]\nk\nk=2\n", "A", "k", 2, "2"},
        {"the walk stops at the next header", "[A]\n[B]\nk=1\n", "A", "k", -77, "dflt"},
        {"only the first of two equal sections is read", "[A]\nj=1\n[a]\nk=2\n", "A", "k", -77, "dflt"},
        {"blanks inside brackets hide the section", "[ Tabs ]\nk=1\n", "Tabs", "k", -77, "dflt"},
        {"lines after a NUL do not exist", std::string("[A]\nj=1\0\nk=2\n", 13), "A", "k", -77, "dflt"},
        {"entries before the first header are unreachable", "k=1\n[A]\n", "A", "k", -77, "dflt"},
        {"CR LF, lone CR and tabs", "\t[A]\t\r\r\n k\t=\t8 \r", "A", "k", 8, "8"},
        {"text that is no ini at all", "\x01\x02garbage", "garbage", "x", -77, "dflt"},
    };
    for (const auto& c : cases) {
        const TQuickIni ini = Load(c.text);
        EXPECT_EQ(ini.ReadInteger(c.section, c.key, -77), c.integer) << c.name;
        EXPECT_EQ(ini.ReadString(c.section, c.key, "dflt"), c.string) << c.name;
    }
}

TEST(QuickIni, SectionsAndLines)
{
    const TQuickIni ini = Load("junk=1\r\n; remark\r\n\r\n[Personality]\r\nTop = top.bmp\r\n[ Tabs ]\r\n[colours]\r\n"
                               "x\r\n[Personality]\r\n");
    std::vector<std::string> sections = {"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Personality", "Tabs", "colours", "Personality"}));
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"junk=1", "[Personality]", "Top = top.bmp", "[ Tabs ]",
                                                      "[colours]", "x", "[Personality]"}));
    EXPECT_EQ(ini.FindSection("personality"), 1);
    EXPECT_EQ(ini.FindSection("COLOURS"), 4);
    EXPECT_EQ(ini.FindSection("Tabs"), -1);
    EXPECT_EQ(ini.FindSection(" Tabs "), 3);
    EXPECT_EQ(ini.Sections().size(), 4u);

    TStringList list{"stale"};
    ini.ReadSections(list);
    EXPECT_EQ(list.Lines(), sections);
}

TEST(QuickIni, LoadingReplacesAndReadsFromThePosition)
{
    TQuickIni ini = Load("[Old]\nk=1\n");
    TMemoryStream stream;
    Fill(stream, ToBytes("[Skip]\nk=9\n[New]\nk=2\n"));
    stream.SetPosition(11); // just after the first section's entry
    ini.LoadFromStream(&stream);
    EXPECT_EQ(ini.ReadInteger("Old", "k", 0), 0);
    EXPECT_EQ(ini.ReadInteger("Skip", "k", 0), 0);
    EXPECT_EQ(ini.ReadInteger("New", "k", 0), 2);

    ini.LoadFromStream(nullptr); // changes nothing
    EXPECT_EQ(ini.ReadInteger("New", "k", 0), 2);

    Fill(stream, {});
    ini.LoadFromStream(&stream);
    EXPECT_TRUE(ini.Lines().empty());
    EXPECT_EQ(ini.ReadString("New", "k", "gone"), "gone");
}

TEST(QuickIni, TextToInteger)
{
    const struct {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"0", true, 0},          {"2147483647", true, 2147483647}, {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"$7fffffff", true, 0x7FFFFFFF},  {"$FFFFFFFF", true, -1},
        {"$100000000", false, 0}, {"-$1F", true, -31},               {"+12", true, 12},
        {"", false, 0},           {"$", false, 0},                   {"-", false, 0},
        {" 1", false, 0},         {"1 ", false, 0},                  {"0x10", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 12345;
        EXPECT_EQ(SkinTextToInt(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

} // namespace
