// The drive layer through its C entry points, with disc images as drives.
#include <gtest/gtest.h>

#include <filesystem>

#include <cstring>

#include "DiscImageKit.h"
#include "common/PipelineTestKit.h"
#include "drive/cdrip.h"

using namespace disckit;

namespace {

constexpr std::int32_t kChunk = 176400;

class DriveLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = testkit::TestFolder(std::string("Drive") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // The machine's own drives come first; count them with no images registered.
        CR_Init(nullptr);
        systemDrives_ = CR_GetNumCDROM();
    }
    void TearDown() override { CR_DeInit(); }

    // Registers the images (paths as given) and initialises the library with them.
    void InitWith(const std::vector<std::string>& cuePaths, const std::string& extra = {})
    {
        std::string ini = "[CD-ROM]\r\nnActive=0\r\n" + extra + "[Images]\r\n";
        for (std::size_t i = 0; i < cuePaths.size(); ++i)
            ini += "Image" + std::to_string(i + 1) + "=" + cuePaths[i] + "\r\n";
        WriteText(folder_ + "cdr.ini", ini);
        ASSERT_EQ(CR_Init((folder_ + "cdr.ini").c_str()), CR_OK);
    }

    void Select(int image) { CR_SetActiveCDROM(systemDrives_ + image); }

    std::string ActiveName()
    {
        TCDROMParams params;
        std::memset(&params, 0x55, sizeof params);
        EXPECT_EQ(CR_GetCDROMParameters(&params), CR_OK);
        return std::string(params.Name, strnlen(params.Name, sizeof params.Name));
    }

    bool MediumPresent()
    {
        std::int32_t status = 0;
        EXPECT_EQ(CR_IsMediaLoaded(&status), CR_OK);
        return status == 0;
    }

    // All chunks of a rip, with the byte count of each.
    std::vector<std::uint8_t> RipAll(std::vector<std::int32_t>* counts = nullptr)
    {
        std::vector<std::uint8_t> all, chunk(kChunk);
        std::int32_t abort = 0;
        for (int guard = 0; guard < 100000; ++guard) {
            std::int32_t written = -1;
            CR_RipChunk(chunk.data(), &written, &abort);
            if (counts)
                counts->push_back(written);
            if (written <= 0)
                break;
            all.insert(all.end(), chunk.begin(), chunk.begin() + written);
        }
        return all;
    }

    std::string folder_;
    int systemDrives_ = 0;
};

} // namespace

TEST_F(DriveLibrary, ImagesAreListedAfterTheSystemDrivesWithTheirNames)
{
    Image titled = WriteImage(folder_, "titled", Consecutive({100, 50}, "Kestrip Test Disc"));
    Image plain = WriteImage(folder_, "ディスク", Consecutive({75}));
    // The second path is relative to the settings file's folder.
    InitWith({titled.CuePath, "ディスク.cue"});
    ASSERT_EQ(CR_GetNumCDROM(), systemDrives_ + 2);
    Select(0);
    EXPECT_EQ(CR_GetActiveCDROM(), systemDrives_);
    EXPECT_EQ(ActiveName(), "Image: Kestrip Test Disc");
    Select(1);
    EXPECT_EQ(ActiveName(), "Image: ディスク");
    EXPECT_TRUE(MediumPresent());
    EXPECT_EQ(CR_ReadToc(), CR_OK);
    EXPECT_EQ(CR_GetNumTocEntries(), 1);
}

TEST_F(DriveLibrary, ListStopsAtTheFirstMissingOrEmptyImageKey)
{
    Image a = WriteImage(folder_, "a", Consecutive({75}));
    InitWith({a.CuePath, "", a.CuePath});
    EXPECT_EQ(CR_GetNumCDROM(), systemDrives_ + 1);
}

TEST_F(DriveLibrary, NActiveSelectsTheStartingDrive)
{
    Image a = WriteImage(folder_, "a", Consecutive({75}, "A"));
    Image b = WriteImage(folder_, "b", Consecutive({75}, "B"));
    std::string ini = "[CD-ROM]\r\nnActive=" + std::to_string(systemDrives_ + 1) + "\r\n[Images]\r\nImage1=" +
                      a.CuePath + "\r\nImage2=" + b.CuePath + "\r\n";
    WriteText(folder_ + "cdr.ini", ini);
    CR_Init((folder_ + "cdr.ini").c_str());
    EXPECT_EQ(CR_GetActiveCDROM(), systemDrives_ + 1);
    EXPECT_EQ(ActiveName(), "Image: B");
}

TEST_F(DriveLibrary, TableOfContentsHasTracksFlagsAndLeadOut)
{
    ImageSpec spec;
    spec.Tracks = {{0, true, {}}, {300, true, "DCP"}, {700, false, {}}};
    spec.TotalSectors = 1000;
    Image image = WriteImage(folder_, "mixed", spec);
    InitWith({image.CuePath});
    Select(0);
    ASSERT_EQ(CR_ReadToc(), CR_OK);
    ASSERT_EQ(CR_GetNumTocEntries(), 3);
    const std::uint32_t starts[] = {0, 300, 700, 1000};
    const std::uint8_t flags[] = {0x10, 0x12, 0x14};
    for (int i = 0; i < 4; ++i) {
        TTocEntry e = CR_GetTocEntry(i);
        EXPECT_EQ(e.StartSector, starts[i]) << i;
        if (i < 3) {
            EXPECT_EQ(e.Flag, flags[i]) << i;
            EXPECT_EQ(e.TrackNumber, i + 1);
        } else {
            EXPECT_EQ(e.TrackNumber, 0xAA);
        }
    }
    TTocEntry outside = CR_GetTocEntry(4);
    EXPECT_EQ(outside.StartSector, 0u);
    EXPECT_EQ(outside.Flag, 0);
}

TEST_F(DriveLibrary, TrayOpensAndClosesLikeADrive)
{
    Image image = WriteImage(folder_, "tray", Consecutive({200}));
    InitWith({image.CuePath});
    Select(0);
    EXPECT_TRUE(MediumPresent());
    EXPECT_EQ(CR_EjectCD(-1), CR_OK);
    EXPECT_FALSE(MediumPresent());
    EXPECT_EQ(CR_IsUnitReady(), 0);
    EXPECT_NE(CR_ReadToc(), CR_OK);
    EXPECT_EQ(CR_GetNumTocEntries(), 0);
    std::int32_t size = kChunk;
    EXPECT_NE(CR_OpenRipper(&size, 0, 200), CR_OK);
    EXPECT_EQ(CR_EjectCD(0), CR_OK);
    EXPECT_TRUE(MediumPresent());
    EXPECT_EQ(CR_ReadToc(), CR_OK);
    EXPECT_EQ(CR_IsAudioPlaying(), 0);
}

TEST_F(DriveLibrary, RipDeliversWholeChunksThenTheRestThenNothing)
{
    Image image = WriteImage(folder_, "rip", Consecutive({100, 200, 60}));
    InitWith({image.CuePath});
    Select(0);
    std::int32_t size = kChunk;
    ASSERT_EQ(CR_OpenRipper(&size, 100, 300), CR_OK);
    EXPECT_EQ(size, kChunk);
    std::vector<std::int32_t> counts;
    std::vector<std::uint8_t> bytes = RipAll(&counts);
    const std::vector<std::int32_t> expected = {kChunk, kChunk, 50 * 2352, 0};
    EXPECT_EQ(counts, expected);
    EXPECT_TRUE(bytes == ReadSectors(image, 100, 300));
    EXPECT_EQ(CR_CloseRipper(), CR_OK);

    // Up to the lead-out, with a buffer size that is not a whole number of sectors.
    size = 10000;
    ASSERT_EQ(CR_OpenRipper(&size, 300, 360), CR_OK);
    EXPECT_EQ(size, 4 * 2352);
    std::vector<std::uint8_t> last, chunk(size);
    std::int32_t written = 0, abort = 0;
    while (CR_RipChunk(chunk.data(), &written, &abort) == CR_OK && written > 0)
        last.insert(last.end(), chunk.begin(), chunk.begin() + written);
    EXPECT_TRUE(last == ReadSectors(image, 300, 360));
    CR_CloseRipper();
}

TEST_F(DriveLibrary, AnImageRemovedDuringARipFailsTheReadLikeATakenOutDisc)
{
    Image image = WriteImage(folder_, "removed", Consecutive({400}));
    InitWith({image.CuePath});
    Select(0);
    std::int32_t size = kChunk;
    ASSERT_EQ(CR_OpenRipper(&size, 0, 400), CR_OK);
    std::vector<std::uint8_t> chunk(size);
    std::int32_t written = 0, abort = 0;
    ASSERT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    EXPECT_EQ(written, kChunk);
    std::filesystem::remove(std::filesystem::u8path(image.CuePath));
    EXPECT_NE(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    EXPECT_FALSE(MediumPresent());
    CR_CloseRipper();
}

TEST_F(DriveLibrary, RipRefusesRangesOutsideTheDiscAndHonoursAbort)
{
    Image image = WriteImage(folder_, "range", Consecutive({100}));
    InitWith({image.CuePath});
    Select(0);
    std::vector<std::uint8_t> chunk(kChunk);
    std::int32_t size = kChunk, written = -1, abort = 0;
    EXPECT_NE(CR_OpenRipper(&size, 0, 101), CR_OK);
    EXPECT_NE(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    EXPECT_EQ(written, 0);
    size = 100;
    EXPECT_NE(CR_OpenRipper(&size, 0, 100), CR_OK);
    size = kChunk;
    EXPECT_NE(CR_OpenRipper(&size, 50, 10), CR_OK);
    ASSERT_EQ(CR_OpenRipper(&size, 0, 100), CR_OK);
    abort = 1;
    EXPECT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    EXPECT_EQ(written, 0);
    abort = 0;
    EXPECT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    EXPECT_EQ(written, 75 * 2352);
    CR_CloseRipper();
    EXPECT_NE(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    EXPECT_EQ(written, 0);
}

TEST_F(DriveLibrary, BrokenImagesGiveNoTableOfContents)
{
    Image good = WriteImage(folder_, "good", Consecutive({100, 100}));
    // Sheet that says more than the file holds: track 2 starts past the end of the BIN.
    WriteText(folder_ + "short.cue", "FILE \"good.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                                     "TRACK 02 AUDIO\nINDEX 01 00:03:00\n");
    WriteText(folder_ + "garbage.cue", "FILE good.bin BINARY\nTRACK 1 AUDIO\nINDEX 01 zz\n");
    WriteText(folder_ + "nobin.cue", "FILE \"missing.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
    InitWith({folder_ + "short.cue", folder_ + "garbage.cue", folder_ + "nobin.cue", folder_ + "absent.cue"});
    for (int i = 0; i < 4; ++i) {
        Select(i);
        EXPECT_FALSE(ActiveName().empty());
        EXPECT_NE(CR_ReadToc(), CR_OK) << i;
        EXPECT_EQ(CR_GetNumTocEntries(), 0) << i;
        std::int32_t size = kChunk;
        EXPECT_NE(CR_OpenRipper(&size, 0, 75), CR_OK) << i;
    }
    // A sheet that exists is a medium in the drive, even when it cannot be read.
    Select(1);
    EXPECT_TRUE(MediumPresent());
    Select(3);
    EXPECT_FALSE(MediumPresent());
    (void)good;
}

TEST_F(DriveLibrary, DiscThatShrinksDuringARipGivesAShortChunkThenNothing)
{
    Image image = WriteImage(folder_, "shrink", Consecutive({300}));
    InitWith({image.CuePath});
    Select(0);
    std::int32_t size = kChunk;
    ASSERT_EQ(CR_OpenRipper(&size, 0, 300), CR_OK);
    std::vector<std::uint8_t> chunk(kChunk);
    std::int32_t written = 0, abort = 0;
    ASSERT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    ASSERT_EQ(written, kChunk);
    // 30 more sectors remain readable, then the file ends.
    ResizeFile(image.BinPath, std::uint64_t(105) * 2352);
    EXPECT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_ERROR);
    EXPECT_EQ(written, 30 * 2352);
    EXPECT_TRUE(std::vector<std::uint8_t>(chunk.begin(), chunk.begin() + written) ==
                std::vector<std::uint8_t>(ReadSectors(image, 75, 105)));
    EXPECT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_ERROR);
    EXPECT_EQ(written, 0);
    CR_CloseRipper();
}

TEST_F(DriveLibrary, OpeningTheTrayDuringARipEndsItWithAnError)
{
    Image image = WriteImage(folder_, "eject", Consecutive({300}));
    InitWith({image.CuePath});
    Select(0);
    std::int32_t size = kChunk;
    ASSERT_EQ(CR_OpenRipper(&size, 0, 300), CR_OK);
    std::vector<std::uint8_t> chunk(kChunk);
    std::int32_t written = 0, abort = 0;
    ASSERT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_OK);
    CR_EjectCD(-1);
    EXPECT_EQ(CR_RipChunk(chunk.data(), &written, &abort), CR_ERROR);
    EXPECT_EQ(written, 0);
    CR_CloseRipper();
}

TEST_F(DriveLibrary, UnusedEntryPointsAnswerNeutrally)
{
    EXPECT_EQ(CR_SelectCDROMType(1), CR_NOTSUPPORTED);
    EXPECT_EQ(CR_PlayTrack(1), CR_NOTSUPPORTED);
    std::int32_t textSize = 99;
    EXPECT_EQ(CR_ReadCDText(nullptr, 0, &textSize), CR_NOTSUPPORTED);
    EXPECT_EQ(textSize, 0);
    EXPECT_GT(CR_GetCDRipVersion(), 0);
    EXPECT_EQ(CR_GetCurrentRipSector(), 0);
    EXPECT_EQ(CR_IsMediaLoaded(nullptr), CR_ERROR);
    EXPECT_EQ(CR_GetCDROMParameters(nullptr), CR_ERROR);
}
