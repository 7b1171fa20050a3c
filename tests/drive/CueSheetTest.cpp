// The CUE parser and the settings reader of the drive layer.
#include <gtest/gtest.h>

#include "CueSheet.h"
#include "IniFile.h"

using cdrip::IniFile;
using cdrip::ParseCueSheet;

TEST(CueSheet, ReadsTracksModesFlagsAndTitles)
{
    const char* text = "\xEF\xBB\xBFREM made by hand\r\n"
                       "PERFORMER \"Someone\"\r\n"
                       "TITLE \"Música 音楽\"\r\n"
                       "FILE \"disc one.bin\" BINARY\r\n"
                       "  TRACK 01 AUDIO\r\n"
                       "    TITLE \"First\"\r\n"
                       "    INDEX 01 00:00:00\r\n"
                       "  TRACK 02 audio\r\n"
                       "    FLAGS DCP PRE\r\n"
                       "    INDEX 00 03:58:70\r\n"
                       "    INDEX 01 04:00:01\r\n"
                       "  TRACK 03 MODE1/2352\r\n"
                       "    INDEX 01 10:00:74\r\n";
    auto result = ParseCueSheet(text);
    ASSERT_TRUE(result.Sheet) << result.Error;
    const auto& sheet = *result.Sheet;
    EXPECT_EQ(sheet.Title, "Música 音楽");
    ASSERT_EQ(sheet.Files.size(), 1u);
    EXPECT_EQ(sheet.Files[0], "disc one.bin");
    ASSERT_EQ(sheet.Tracks.size(), 3u);
    EXPECT_EQ(sheet.Tracks[0].Title, "First");
    EXPECT_EQ(sheet.Tracks[0].Start, 0u);
    EXPECT_TRUE(sheet.Tracks[0].IsAudio);
    EXPECT_EQ(sheet.Tracks[0].Control, 0);
    EXPECT_EQ(sheet.Tracks[1].Start, 4u * 60 * 75 + 1);
    EXPECT_EQ(sheet.Tracks[1].Control, 0x03);
    EXPECT_FALSE(sheet.Tracks[2].IsAudio);
    EXPECT_EQ(sheet.Tracks[2].Control, 0x04);
    EXPECT_EQ(sheet.Tracks[2].Start, 10u * 60 * 75 + 74);
}

TEST(CueSheet, TrackWhosePregapEndsTheEarlierFileStartsInTheNextFile)
{
    const char* text = "FILE \"a.bin\" BINARY\n"
                       "TRACK 01 AUDIO\n"
                       "INDEX 01 00:00:00\n"
                       "TRACK 02 AUDIO\n"
                       "INDEX 00 02:00:00\n"
                       "FILE \"b.bin\" BINARY\n"
                       "INDEX 01 00:00:00\n"
                       "TRACK 03 AUDIO\n"
                       "INDEX 01 01:00:00\n";
    auto result = ParseCueSheet(text);
    ASSERT_TRUE(result.Sheet) << result.Error;
    ASSERT_EQ(result.Sheet->Tracks.size(), 3u);
    EXPECT_EQ(result.Sheet->Tracks[0].File, 0);
    EXPECT_EQ(result.Sheet->Tracks[1].File, 1);
    EXPECT_EQ(result.Sheet->Tracks[1].Start, 0u);
    EXPECT_EQ(result.Sheet->Tracks[2].File, 1);
    EXPECT_EQ(result.Sheet->Tracks[2].Start, 4500u);
}

TEST(CueSheet, RefusesWhatItCannotPlayBackOrThatIsBroken)
{
    const std::string file = "FILE \"x.bin\" BINARY\n";
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"no tracks", file},
        {"track before file", "TRACK 01 AUDIO\nINDEX 01 00:00:00\n"},
        {"no INDEX 01", file + "TRACK 01 AUDIO\nINDEX 00 00:00:00\n"},
        {"seconds 60", file + "TRACK 01 AUDIO\nINDEX 01 00:60:00\n"},
        {"frames 75", file + "TRACK 01 AUDIO\nINDEX 01 00:00:75\n"},
        {"no colon", file + "TRACK 01 AUDIO\nINDEX 01 0000\n"},
        {"huge minutes", file + "TRACK 01 AUDIO\nINDEX 01 99999999999:00:00\n"},
        {"negative", file + "TRACK 01 AUDIO\nINDEX 01 -1:00:00\n"},
        {"track 0", file + "TRACK 00 AUDIO\nINDEX 01 00:00:00\n"},
        {"track 100", file + "TRACK 100 AUDIO\nINDEX 01 00:00:00\n"},
        {"gap in numbers", file + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 00:10:00\n"},
        {"same start", file + "TRACK 01 AUDIO\nINDEX 01 00:10:00\nTRACK 02 AUDIO\nINDEX 01 00:10:00\n"},
        {"backwards", file + "TRACK 01 AUDIO\nINDEX 01 00:10:00\nTRACK 02 AUDIO\nINDEX 01 00:05:00\n"},
        {"index order", file + "TRACK 01 AUDIO\nINDEX 01 00:10:00\nINDEX 00 00:00:00\n"},
        {"cooked sectors", file + "TRACK 01 MODE1/2048\nINDEX 01 00:00:00\n"},
        {"wave file", "FILE \"x.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"},
        {"big-endian file", "FILE \"x.bin\" MOTOROLA\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"},
        {"pregap", file + "TRACK 01 AUDIO\nPREGAP 00:02:00\nINDEX 01 00:00:00\n"},
        {"unterminated quote", "FILE \"x.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"},
        {"unknown command", file + "TRACK 01 AUDIO\nSPEED 4\nINDEX 01 00:00:00\n"},
        {"unknown flag", file + "TRACK 01 AUDIO\nFLAGS FAST\nINDEX 01 00:00:00\n"},
        {"NUL byte", file + std::string("TRACK 01 AUDIO\nINDEX 01 00:00:00\0\n", 34)},
        {"too many words", file + "TRACK 01 AUDIO a b c d e f g h\nINDEX 01 00:00:00\n"},
    };
    for (const auto& [name, text] : cases) {
        auto result = ParseCueSheet(text);
        EXPECT_FALSE(result.Sheet) << name;
        EXPECT_FALSE(result.Error.empty()) << name;
    }
}

TEST(CueSheet, SurvivesArbitraryBytes)
{
    // Bytes from a fixed generator, with CUE words mixed in: the parser must only answer.
    std::uint32_t state = 12345;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const char* words[] = {"FILE ", "\"", "TRACK ", "INDEX ", "01 ", ":", "AUDIO", "\n", "BINARY ", "99:59:74"};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        int pieces = static_cast<int>(next() % 64);
        for (int i = 0; i < pieces; ++i) {
            if (next() % 2)
                text += words[next() % 10];
            else
                text += static_cast<char>(next() & 0xFF);
        }
        auto result = ParseCueSheet(text);
        EXPECT_TRUE(result.Sheet.has_value() != !result.Error.empty());
    }
}

TEST(IniFile, FindsKeysWithoutCaseAndKeepsTheFirstOccurrence)
{
    IniFile ini = IniFile::Parse("; comment\r\n[CD-ROM]\r\nnActive = 2\r\n[images]\r\n"
                                 "image1=\"C:\\Música\\a.cue\"\r\nIMAGE1=second\r\nImage2=  b.cue  \r\n");
    EXPECT_EQ(ini.GetInt("cd-rom", "NACTIVE", -1), 2);
    EXPECT_EQ(ini.Get("Images", "Image1").value_or(""), "C:\\Música\\a.cue");
    EXPECT_EQ(ini.Get("Images", "Image2").value_or(""), "b.cue");
    EXPECT_FALSE(ini.Get("Images", "Image3"));
    EXPECT_FALSE(ini.Get("CD-ROM", "Image1"));
    EXPECT_EQ(ini.GetInt("Images", "Image2", 7), 7);
}
