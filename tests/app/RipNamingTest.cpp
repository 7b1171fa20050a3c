#include <gtest/gtest.h>

#include <set>

#include "app/RipNaming.h"

TEST(RipNaming, CaptionsHaveTwoDigitsUntilTheyNeedMore)
{
    const std::pair<int, const char*> cases[] = {{1, "01"}, {9, "09"}, {10, "10"}, {12, "12"}, {99, "99"}, {100, "100"}};
    for (auto [count, caption] : cases)
        EXPECT_EQ(TrackCaption(count), caption) << count;
}

TEST(RipNaming, TimesShowMinutesAndTwoDigitSeconds)
{
    struct Case {
        std::uint8_t minutes, seconds, frames;
        const char* text;
    } cases[] = {{4, 7, 0, "4:07"}, {4, 10, 74, "4:10"}, {3, 5, 1, "3:05"}, {12, 45, 0, "12:45"},
                 {0, 9, 0, "0:09"}, {0, 0, 0, "0:00"}, {79, 59, 74, "79:59"}};
    for (const Case& c : cases)
        EXPECT_EQ(TrackTimeText(TTrackInfo{c.minutes, c.seconds, c.frames, 0}), c.text);
}

TEST(RipNaming, FormatTableMatchesTextExactly)
{
    std::set<std::string> components, extensions;
    for (const TRipFormat& f : RipFormats()) {
        EXPECT_EQ(FindRipFormat(f.text), &f);
        components.insert(f.component);
        extensions.insert(f.extension);
    }
    EXPECT_EQ(components.size(), 5u);
    EXPECT_EQ(extensions, (std::set<std::string>{".mp3", ".ogg", ".wav", ".ape", ".flac"}));
    EXPECT_STREQ(FindRipFormat("Ogg")->component, "VorbisOut1");
    EXPECT_STREQ(FindRipFormat("Ape")->extension, ".ape");
    for (const char* other : {"ogg", "OGG", "Flac", "", "MP3 ", "Wave"})
        EXPECT_EQ(FindRipFormat(other), nullptr) << other;
}

TEST(RipNaming, FileNamesJoinFolderTrackAndExtension)
{
    EXPECT_EQ(TrackFileName("D:\\Music", "Track-03", ".ogg"), "D:\\Music\\Track-03.ogg");
    EXPECT_EQ(TrackFileName("C:\\", "Track-03", ".ogg"), "C:\\\\Track-03.ogg");
    EXPECT_EQ(TrackFileName("Z:\\tmp\\Música 音楽", "Track-12", ".flac"), "Z:\\tmp\\Música 音楽\\Track-12.flac");
}
