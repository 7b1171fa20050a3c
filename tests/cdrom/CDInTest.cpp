// TCDIn over disc images: drive and disc queries, the checks of StartReading, chunked reads.
#include "CDInTestKit.h"

#include <atomic>

#include "RawOut.h"
#include "cdrom/CDRip.h"

using namespace disckit;

TEST_F(CDInTest, DrivesAreCountedAndNamedAndOnlyExistingOnesSelected)
{
    Image first = WriteImage(folder_, "first", Consecutive({75}, "First Disc"));
    Image second = WriteImage(folder_, "second", Consecutive({75}, "Second Disc"));
    auto cd = Open({first.CuePath, second.CuePath});
    EXPECT_GE(base_, 0);
    EXPECT_EQ(cd->CurrentDrive(), base_);
    EXPECT_EQ(cd->DriveName(), "Image: First Disc");
    cd->SetCurrentDrive(base_ + 1);
    EXPECT_EQ(cd->CurrentDrive(), base_ + 1);
    EXPECT_EQ(cd->DriveName(), "Image: Second Disc");
    cd->SetCurrentDrive(base_ + 5);
    EXPECT_EQ(cd->CurrentDrive(), base_ + 1);
    cd->SetCurrentDrive(-1);
    EXPECT_EQ(cd->CurrentDrive(), base_ + 1);
    EXPECT_EQ(cd->DriveStatus(), dsReady);
}

TEST_F(CDInTest, TrackLengthsComeFromSectorNumbers)
{
    ImageSpec a;
    a.Tracks = {{0, true, {}}, {22650, true, {}}};
    a.TotalSectors = 22650 + 75;
    a.Sparse = true;
    ImageSpec b;
    b.Tracks = {{150, true, {}}, {13652, true, {}}};
    b.TotalSectors = 13652 + 10;
    b.Sparse = true;
    Image imageA = WriteImage(folder_, "a", a), imageB = WriteImage(folder_, "b", b);
    auto cd = Open({imageA.CuePath, imageB.CuePath});
    EXPECT_EQ(cd->TrackCount(), 2);
    TTrackInfo t = cd->TrackInfo(1);
    EXPECT_EQ(t.Minutes, 5);
    EXPECT_EQ(t.Seconds, 2);
    EXPECT_EQ(t.Frames, 0);
    EXPECT_EQ(t.IsData, 0);
    t = cd->TrackInfo(2);  // up to the lead-out
    EXPECT_EQ(t.Minutes * 60 + t.Seconds, 1);
    EXPECT_EQ(t.Frames, 0);
    cd->SetCurrentDrive(base_ + 1);
    t = cd->TrackInfo(1);
    EXPECT_EQ(t.Minutes, 3);
    EXPECT_EQ(t.Seconds, 0);
    EXPECT_EQ(t.Frames, 2);
    t = cd->TrackInfo(2);
    EXPECT_EQ(t.Minutes * 60 + t.Seconds, 0);
    EXPECT_EQ(t.Frames, 10);
}

TEST_F(CDInTest, OnlyPlainAudioFlagCountsAsAudio)
{
    ImageSpec spec;
    spec.Tracks = {{0, true, {}}, {100, true, "DCP"}, {200, false, {}}, {500, true, "PRE"}};
    spec.TotalSectors = 600;
    auto cd = OpenImage(WriteImage(folder_, "flags", spec));
    ASSERT_EQ(cd->TrackCount(), 4);
    EXPECT_EQ(cd->TrackInfo(1).IsData, 0);
    EXPECT_EQ(cd->TrackInfo(2).IsData, 1);  // 0x12
    EXPECT_EQ(cd->TrackInfo(3).IsData, 1);  // 0x14
    EXPECT_EQ(cd->TrackInfo(4).IsData, 1);  // 0x11
    cd->SetStartTrack(2);
    cd->SetEndTrack(2);
    EXPECT_EQ(ErrorOf([&] { cd->StartReading(); }), "Trying to rip a data track");
}

TEST_F(CDInTest, TracksOutsideTheDiscAreOutOfRange)
{
    auto cd = OpenImage(WriteImage(folder_, "three", Consecutive({75, 75, 75})));
    ASSERT_EQ(cd->TrackCount(), 3);
    EXPECT_EQ(ErrorOf([&] { cd->TrackInfo(0); }), "Track out of range.");
    EXPECT_EQ(ErrorOf([&] { cd->TrackInfo(4); }), "Track out of range.");
    EXPECT_EQ(ErrorOf([&] { cd->TrackInfo(3); }), "(no error)");
}

TEST_F(CDInTest, UnreadableDiscHasNoTracks)
{
    Image good = WriteImage(folder_, "good", Consecutive({100}));
    // The sheet claims a second track beyond the end of the BIN.
    WriteText(folder_ + "short.cue", "FILE \"good.bin\" BINARY\r\nTRACK 01 AUDIO\r\nINDEX 01 00:00:00\r\n"
                                     "TRACK 02 AUDIO\r\nINDEX 01 00:02:00\r\n");
    WriteText(folder_ + "broken.cue", "FILE \"good.bin\" BINARY\r\nTRACK 01 AUDIO\r\nINDEX 01 00:00\r\n");
    auto cd = Open({folder_ + "short.cue", folder_ + "broken.cue"});
    for (int drive : {base_, base_ + 1}) {
        cd->SetCurrentDrive(drive);
        EXPECT_EQ(cd->DriveStatus(), dsReady);
        EXPECT_EQ(cd->TrackCount(), -1);
        EXPECT_EQ(ErrorOf([&] { cd->TrackInfo(1); }), "Track out of range.");
        EXPECT_EQ(ErrorOf([&] { cd->StartReading(); }), "The start track out of range");
        EXPECT_FALSE(cd->Busy());
    }
    (void)good;
}

TEST_F(CDInTest, StartReadingChecksInItsOrder)
{
    ImageSpec spec;
    spec.Tracks = {{0, true, {}}, {100, true, {}}, {200, false, {}}};
    spec.TotalSectors = 500;
    auto cd = OpenImage(WriteImage(folder_, "order", spec));
    auto start = [&](int first, int last) {
        cd->SetStartTrack(first);
        cd->SetEndTrack(last);
        std::string error = ErrorOf([&] { cd->StartReading(); });
        EXPECT_FALSE(cd->Busy());
        EXPECT_EQ(cd->Size(), 0);
        return error;
    };
    // No medium comes before every track check.
    CDRip().CR_EjectCD(-1);
    EXPECT_EQ(cd->DriveStatus(), dsNoMedia);
    EXPECT_EQ(start(0, 9), "The drive is not ready");
    cd->CloseTray();
    EXPECT_EQ(cd->DriveStatus(), dsReady);
    EXPECT_EQ(start(0, 9), "The start track out of range");
    EXPECT_EQ(start(4, 4), "The start track out of range");
    EXPECT_EQ(start(3, 9), "Trying to rip a data track");
    EXPECT_EQ(start(1, 4), "The end track out of range");
    EXPECT_EQ(start(1, -1), "The end track out of range");
    EXPECT_EQ(start(2, 1), "The end track out of range");  // a range that ends before it starts

    cd->SetStartTrack(1);
    cd->SetEndTrack(3);  // the range may end with the data track; only its first track is tested
    cd->StartReading();
    EXPECT_TRUE(cd->Busy());
    EXPECT_EQ(cd->Size(), 500 * 2352);
    EXPECT_EQ(ErrorOf([&] { cd->StartReading(); }), "The component is buisy");
    cd->StopReading();
    EXPECT_FALSE(cd->Busy());
    EXPECT_EQ(cd->Size(), 0);
}

TEST_F(CDInTest, ReadingNeedsAnOpenStream)
{
    auto cd = OpenImage(WriteImage(folder_, "closed", Consecutive({75})));
    std::uint8_t buffer[16];
    EXPECT_EQ(ErrorOf([&] { cd->ReadData(buffer, sizeof buffer); }), "The Stream is not opened");
    EXPECT_EQ(cd->BitsPerSample(), 16);
    EXPECT_EQ(cd->ChannelCount(), 2);
    EXPECT_EQ(cd->SampleRate(), 44100);
}

TEST_F(CDInTest, ChunkIsHandedOutInPiecesWithoutCrossingIntoTheNext)
{
    Image image = WriteImage(folder_, "pieces", Consecutive({200}));
    auto cd = OpenImage(image);
    cd->StartReading();
    ASSERT_EQ(cd->Size(), 200 * 2352);
    std::vector<std::uint8_t> buffer(16384), read;
    for (int call = 1; call <= 12; ++call) {
        std::int32_t n = cd->ReadData(buffer.data(), 16384);
        std::int32_t expected = call == 11 ? 12560 : 16384;
        EXPECT_EQ(n, expected) << "call " << call;
        read.insert(read.end(), buffer.begin(), buffer.begin() + n);
        EXPECT_EQ(cd->Position(), static_cast<std::int32_t>(read.size()));
    }
    const std::vector<std::uint8_t> disc = ReadSectors(image, 0, 200);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), disc.begin()));
    cd->StopReading();
}

TEST_F(CDInTest, ReadingATrackYieldsExactlyItsBytes)
{
    Image image = WriteImage(folder_, "exact", Consecutive({80, 333, 151}));
    auto cd = OpenImage(image);
    for (int track = 1; track <= 3; ++track) {
        cd->SetStartTrack(track);
        cd->SetEndTrack(track);
        cd->StartReading();
        const auto& t = image.Spec.Tracks;
        std::uint32_t first = t[track - 1].Start;
        std::uint32_t end = track < 3 ? t[track].Start : image.Spec.TotalSectors;
        EXPECT_EQ(cd->Size(), static_cast<std::int32_t>((end - first) * 2352));
        std::vector<std::uint8_t> bytes = ReadAll(*cd, 10000);
        EXPECT_EQ(cd->Position(), cd->Size());
        EXPECT_TRUE(bytes == ReadSectors(image, first, end)) << "track " << track;
        cd->StopReading();
    }
    // A range of two tracks reads straight through.
    cd->SetStartTrack(2);
    cd->SetEndTrack(3);
    cd->StartReading();
    EXPECT_TRUE(ReadAll(*cd, 176400) == ReadSectors(image, 80, 564));
    cd->StopReading();
}

TEST_F(CDInTest, WholeTrackThroughAnOutputIsTheBinsBytes)
{
    Image image = WriteImage(folder_, "output", Consecutive({100, 260, 40}));
    auto cd = OpenImage(image);
    cd->SetStartTrack(2);
    cd->SetEndTrack(2);
    TRawOut out;
    out.SetInput(cd.get());
    out.SetFileName(folder_ + "track 2 ♫.raw");
    testkit::RunResult run = testkit::RunToEnd(out);
    ASSERT_TRUE(run.done) << run.error.value_or("");
    EXPECT_TRUE(testkit::ReadFileBytes(folder_ + "track 2 ♫.raw") == ReadSectors(image, 100, 360));
    EXPECT_FALSE(cd->Busy());
}

TEST_F(CDInTest, BusyInputRefusesRangeAndEjectButClosesTheTray)
{
    Image one = WriteImage(folder_, "one", Consecutive({300}, "One"));
    Image two = WriteImage(folder_, "two", Consecutive({300}, "Two"));
    auto cd = Open({one.CuePath, two.CuePath});
    cd->StartReading();
    EXPECT_EQ(ErrorOf([&] { cd->SetStartTrack(1); }), "The component is buisy");
    EXPECT_EQ(ErrorOf([&] { cd->SetEndTrack(1); }), "The component is buisy");
    EXPECT_EQ(ErrorOf([&] { cd->Eject(); }), "The component is buisy");
    EXPECT_EQ(cd->DriveStatus(), dsReady);
    CDRip().CR_EjectCD(-1);
    EXPECT_EQ(cd->DriveStatus(), dsNoMedia);
    cd->CloseTray();
    EXPECT_EQ(cd->DriveStatus(), dsReady);
    cd->StopReading();

    // A drive chosen during a read is used once the read is over.
    cd->StartReading();
    cd->SetCurrentDrive(base_ + 1);
    EXPECT_EQ(cd->CurrentDrive(), base_ + 1);
    EXPECT_EQ(cd->DriveName(), "Image: One");
    EXPECT_TRUE(ReadAll(*cd, 16384) == ReadSectors(one, 0, 300));
    cd->StopReading();
    EXPECT_EQ(cd->DriveName(), "Image: Two");

    cd->Eject();
    EXPECT_EQ(cd->DriveStatus(), dsNoMedia);
    cd->CloseTray();
    EXPECT_EQ(cd->DriveStatus(), dsReady);
}

TEST_F(CDInTest, RangeThatEndsEarlyIsAnErrorNotTheEndOfTheTrack)
{
    Image image = WriteImage(folder_, "lost", Consecutive({300}));
    auto cd = OpenImage(image);
    cd->StartReading();
    std::vector<std::uint8_t> buffer(176400);
    ASSERT_EQ(cd->ReadData(buffer.data(), 176400), 176400);
    // The disc now ends after sector 99: 25 sectors of the next chunk are still there.
    ResizeFile(image.BinPath, 100 * 2352);
    ASSERT_EQ(cd->ReadData(buffer.data(), 176400), 25 * 2352);
    EXPECT_EQ(ErrorOf([&] { cd->ReadData(buffer.data(), 176400); }), "The CD could not be read at sector 100.");
    cd->StopReading();
}

TEST_F(CDInTest, LostSectorsEndTheRunWithAnErrorThroughTheOutput)
{
    Image image = WriteImage(folder_, "lostrun", Consecutive({150, 500}));
    auto cd = OpenImage(image);
    cd->SetStartTrack(2);
    cd->SetEndTrack(2);
    TRawOut out;
    out.SetInput(cd.get());
    out.SetFileName(folder_ + "lost.raw");
    std::atomic<bool> finished{false}, done{false};
    std::string error;
    bool cut = false;
    // Early in the run the disc loses everything after sector 349.
    out.OnProgress = [&](TComponent*) {
        if (!cut)
            ResizeFile(image.BinPath, 350 * 2352);
        cut = true;
    };
    out.OnDone = [&](TComponent*) {
        done = true;
        finished = true;
    };
    out.OnThreadException = [&](TComponent*, const Exception& e) {
        error = e.Message();
        finished = true;
    };
    out.Start();
    ASSERT_TRUE(testkit::WaitFor([&] { return finished.load() && out.Status() == osIdle; }));
    EXPECT_FALSE(done);
    EXPECT_EQ(error, "The CD could not be read at sector 350.");
    EXPECT_FALSE(cd->Busy());
    EXPECT_EQ(testkit::ReadFileBytes(folder_ + "lost.raw").size(), 200u * 2352);
}
