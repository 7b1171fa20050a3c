#include <gtest/gtest.h>

#include "classlib/ProfileFile.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"

using namespace testkit;

namespace {
std::string Text(const std::string& file)
{
    auto bytes = ReadFileBytes(file);
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

TEST(ProfileFile, CreatesUpdatesAndKeepsOtherContent)
{
    std::string ini = TestFolder("Profile") + "cdr.ini";
    ProfileWriteString(ini, "CD-ROM", "nActive", "0");
    EXPECT_EQ(Text(ini), "[CD-ROM]\r\nnActive=0\r\n");

    WriteFileBytes(ini, {});
    const std::string before = "; settings\r\n[CD-ROM]\r\nnActive=3\r\nnSpeed=8\r\n\r\n[Images]\r\nImage1=C:\\Música\\a.cue\r\n";
    WriteFileBytes(ini, std::vector<std::uint8_t>(before.begin(), before.end()));
    ProfileWriteString(ini, "cd-rom", "NACTIVE", "0");
    ProfileWriteString(ini, "CD-ROM", "nTransportLayer", "1");
    ProfileWriteString(ini, "Extra", "k", "v");
    EXPECT_EQ(Text(ini), "; settings\r\n[CD-ROM]\r\nNACTIVE=0\r\nnSpeed=8\r\nnTransportLayer=1\r\n\r\n"
                         "[Images]\r\nImage1=C:\\Música\\a.cue\r\n\r\n[Extra]\r\nk=v\r\n");

    EXPECT_EQ(ProfileReadString(ini, "images", "image1"), "C:\\Música\\a.cue");
    EXPECT_EQ(ProfileReadString(ini, "CD-ROM", "nSpeed"), "8");
    EXPECT_EQ(ProfileReadString(ini, "CD-ROM", "missing", "dflt"), "dflt");
    EXPECT_EQ(ProfileReadString(ini + ".absent", "CD-ROM", "nActive", "x"), "x");
}

TEST(ProfileFile, KeepsLineFeedOnlyFiles)
{
    std::string ini = TestFolder("ProfileLf") + "a.ini";
    const std::string before = "[A]\nx=1\n";
    WriteFileBytes(ini, std::vector<std::uint8_t>(before.begin(), before.end()));
    ProfileWriteString(ini, "A", "y", "2");
    EXPECT_EQ(Text(ini), "[A]\nx=1\ny=2\n");
}

TEST(ProfileFile, UnwritableFileRaisesUnableToWrite)
{
    std::string ini = TestFolder("ProfileRO") + "missing folder" + PathSeparator() + "cdr.ini";
    try {
        ProfileWriteString(ini, "CD-ROM", "nActive", "0");
        FAIL();
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + ini);
    }
}
