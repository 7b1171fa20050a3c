// Retries of the ripper. A disc image cannot fail for a moment and then read again, so a drive
// stand-in supplies those failures.
#include <gtest/gtest.h>

#include <map>

#include "Ripper.h"

namespace {

// Serves sector numbers as data; a sector listed in failures fails that many reads first.
class FlakyDrive : public cdrip::Drive {
public:
    std::map<uint32_t, int> failures;
    int reads = 0;

    std::string Name() const override { return "flaky"; }
    bool MediaLoaded() override { return true; }
    bool AudioPlaying() override { return false; }
    std::optional<cdrip::Toc> ReadToc() override { return std::nullopt; }
    bool Eject(bool) override { return true; }
    int ReadSectors(uint32_t lba, int count, uint8_t* out) override
    {
        ++reads;
        for (int i = 0; i < count; ++i) {
            auto it = failures.find(lba + uint32_t(i));
            if (it != failures.end() && it->second > 0) {
                --it->second;
                return i;
            }
            std::fill(out + size_t(i) * cdrip::kSectorBytes, out + size_t(i + 1) * cdrip::kSectorBytes,
                      static_cast<uint8_t>(lba + uint32_t(i)));
        }
        return count;
    }
};

} // namespace

TEST(Ripper, ReadThatSucceedsOnALaterAttemptLosesNothing)
{
    FlakyDrive drive;
    drive.failures[12] = cdrip::Ripper::kAttempts - 1;
    cdrip::Ripper ripper(drive, 10, 30, 75);
    std::vector<uint8_t> chunk(75 * cdrip::kSectorBytes);
    bool readError = true;
    EXPECT_EQ(ripper.NextChunk(chunk.data(), readError), 20 * cdrip::kSectorBytes);
    EXPECT_FALSE(readError);
    for (int s = 0; s < 20; ++s)
        EXPECT_EQ(chunk[size_t(s) * cdrip::kSectorBytes], 10 + s);
    EXPECT_EQ(ripper.NextChunk(chunk.data(), readError), 0);
    EXPECT_FALSE(readError);
}

TEST(Ripper, SectorThatKeepsFailingEndsTheChunkBeforeIt)
{
    FlakyDrive drive;
    drive.failures[15] = 1000;
    cdrip::Ripper ripper(drive, 10, 30, 75);
    std::vector<uint8_t> chunk(75 * cdrip::kSectorBytes);
    bool readError = false;
    EXPECT_EQ(ripper.NextChunk(chunk.data(), readError), 5 * cdrip::kSectorBytes);
    EXPECT_TRUE(readError);
    EXPECT_EQ(ripper.NextSector(), 15u);
    // The next chunk starts at the bad sector and gets nothing.
    drive.reads = 0;
    EXPECT_EQ(ripper.NextChunk(chunk.data(), readError), 0);
    EXPECT_TRUE(readError);
    EXPECT_EQ(drive.reads, cdrip::Ripper::kAttempts);
}

TEST(Ripper, EachFailingSectorGetsItsOwnAttempts)
{
    FlakyDrive drive;
    for (uint32_t s : {3u, 9u, 40u})
        drive.failures[s] = cdrip::Ripper::kAttempts - 1;
    cdrip::Ripper ripper(drive, 0, 75, 75);
    std::vector<uint8_t> chunk(75 * cdrip::kSectorBytes);
    bool readError = true;
    EXPECT_EQ(ripper.NextChunk(chunk.data(), readError), 75 * cdrip::kSectorBytes);
    EXPECT_FALSE(readError);
    EXPECT_EQ(chunk[40 * cdrip::kSectorBytes], 40);
}
