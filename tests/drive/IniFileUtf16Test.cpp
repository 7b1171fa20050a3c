// Settings files written by Windows tools in UTF-16 are read as well.
#include <gtest/gtest.h>

#include "Files.h"
#include "IniFile.h"
#include "common/PipelineTestKit.h"

TEST(IniFile, ReadsUtf16FileWithByteOrderMark)
{
    std::string folder = testkit::TestFolder("IniUtf16");
    std::u16string text = u"\uFEFF[Images]\r\nImage1=音楽.cue\r\n";
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    testkit::WriteFileBytes(folder + "cdr.ini", bytes);
    cdrip::IniFile ini = cdrip::IniFile::Load(cdrip::PathFromUtf8(folder + "cdr.ini"));
    EXPECT_EQ(ini.Get("Images", "Image1").value_or(""), "音楽.cue");
}
