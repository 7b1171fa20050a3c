// TVorbisOut runs on in-memory PCM, read back page by page, decoded by libvorbisfile and
// checked with ogginfo/ffprobe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "VorbisOutTestKit.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioVorbis.h"

using namespace vorbistest;

namespace {

constexpr std::int64_t kOneBlock = 2048; // the longest Vorbis block at 44.1 kHz

testkit::RunResult Encode(TVorbisOut& out, testkit::TMemoryInput& input, const std::string& fileName)
{
    out.SetInput(&input);
    out.SetFileName(fileName);
    return testkit::RunToEnd(out);
}

void ExpectCleanRun(const testkit::RunResult& run, const testkit::TMemoryInput& input)
{
    EXPECT_TRUE(run.done);
    EXPECT_FALSE(run.error) << *run.error;
    EXPECT_EQ(input.startCount, 1);
    EXPECT_EQ(input.stopCount, 1);
}

// Every byte belongs to a page with a good checksum; one stream per beginning mark.
void ExpectIntactPages(const std::vector<OggPage>& pages, std::size_t trailing)
{
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(trailing, 0u);
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_TRUE(pages[i].crcGood) << "page " << i;
}

} // namespace

TEST(VorbisOutEncode, QualityModeStereoGivesAValidFileCloseToTheSource)
{
    const std::size_t frames = 5 * 44100 + 1234;
    const auto pcm = testkit::MakeTestSignal(frames);
    testkit::TMemoryInput input(pcm);
    TVorbisOut out;
    out.SetCompression(0.6f);
    const std::string file = testkit::TestFolder("VorbisOutQuality") + "quality 0.6.ogg";
    const auto run = Encode(out, input, file);
    ExpectCleanRun(run, input);
    EXPECT_TRUE(out.EndOfStream());
    ASSERT_FALSE(run.progressValues.empty());
    EXPECT_EQ(run.progressValues.back(), 100);

    std::size_t trailing = 0;
    const auto pages = ReadOggPages(file, &trailing);
    ExpectIntactPages(pages, trailing);
    ASSERT_GE(pages.size(), 3u);
    // Identification header alone on the first page, the other two headers flushed onto
    // pages of their own: the first audio page starts a fresh packet.
    EXPECT_TRUE(pages[0].BeginsStream());
    EXPECT_EQ(pages[0].body.size(), 30u);
    EXPECT_EQ(pages[1].granule, 0);
    EXPECT_EQ(pages[2].flags & 1, 0);
    EXPECT_GT(pages[2].granule, 0);
    EXPECT_TRUE(pages.back().EndsStream());
    for (const auto& page : pages) {
        EXPECT_EQ(page.serial, 0u); // Serial's default
        EXPECT_EQ(&page == &pages.back(), page.EndsStream());
        EXPECT_EQ(&page == &pages.front(), page.BeginsStream());
    }

    const auto id = ParseIdentification(pages[0]);
    EXPECT_EQ(id.channels, 2);
    EXPECT_EQ(id.sampleRate, 44100);
    EXPECT_LE(id.bitrateMaximum, 0); // quality mode sets no limits
    EXPECT_LE(id.bitrateMinimum, 0);
    EXPECT_GT(id.bitrateNominal, 96000);

    const auto decoded = DecodeOggVorbis(file);
    ASSERT_EQ(decoded.links.size(), 1u);
    EXPECT_EQ(decoded.links[0].channels, 2);
    EXPECT_EQ(decoded.links[0].rate, 44100);
    EXPECT_LE(std::llabs(decoded.links[0].frames - static_cast<std::int64_t>(frames)), kOneBlock);
    const double error = RelativeRmsError(Samples(pcm), decoded.pcm);
    std::cout << "quality 0.6 stereo: nominal " << id.bitrateNominal << " b/s, relative RMS error " << error << ", "
              << decoded.links[0].frames << " of " << frames << " frames\n";
    RecordProperty("relative_rms_error", std::to_string(error));
    EXPECT_LT(error, 0.05);

    CheckWithTools("stream", file, {"2", "44100", std::to_string(frames)});
}

TEST(VorbisOutEncode, MonoInputIsEncodedAsOneChannel)
{
    const std::size_t frames = 3 * 44100;
    const auto pcm = testkit::MakeTestSignal(frames, 1, 7);
    testkit::TMemoryInput input(pcm, 44100, 16, 1);
    TVorbisOut out;
    const std::string file = testkit::TestFolder("VorbisOutMono") + "mono.ogg";
    ExpectCleanRun(Encode(out, input, file), input);

    const auto pages = ReadOggPages(file);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(ParseIdentification(pages[0]).channels, 1);
    const auto decoded = DecodeOggVorbis(file);
    ASSERT_EQ(decoded.links.size(), 1u);
    EXPECT_EQ(decoded.links[0].channels, 1);
    EXPECT_LE(std::llabs(decoded.links[0].frames - static_cast<std::int64_t>(frames)), kOneBlock);
    EXPECT_LT(RelativeRmsError(Samples(pcm), decoded.pcm), 0.1); // quality 0.2, the default
    CheckWithTools("stream", file, {"1", "44100", std::to_string(frames)});
}

TEST(VorbisOutEncode, ManagedBitRatesReachTheIdentificationHeader)
{
    const auto pcm = testkit::MakeTestSignal(2 * 44100);
    const std::string folder = testkit::TestFolder("VorbisOutManaged");
    TVorbisOut out;

    // Nominal alone: the limits default to it.
    out.SetDesiredNominalBitrate(br128);
    testkit::TMemoryInput first(pcm);
    ExpectCleanRun(Encode(out, first, folder + "br128.ogg"), first);
    auto id = ParseIdentification(ReadOggPages(folder + "br128.ogg").at(0));
    EXPECT_EQ(id.bitrateMaximum, 128000);
    EXPECT_EQ(id.bitrateNominal, 128000);
    EXPECT_EQ(id.bitrateMinimum, 128000);
    EXPECT_LT(RelativeRmsError(Samples(pcm), DecodeOggVorbis(folder + "br128.ogg").pcm), 0.1);
    CheckWithTools("bitrate", folder + "br128.ogg", {"128000"});

    // Own limits, on the same component: each run sets the encoder up afresh.
    out.SetDesiredMaximumBitrate(br192);
    out.SetMinimumBitrate(br96);
    testkit::TMemoryInput second(pcm);
    ExpectCleanRun(Encode(out, second, folder + "br96-128-192.ogg"), second);
    id = ParseIdentification(ReadOggPages(folder + "br96-128-192.ogg").at(0));
    EXPECT_EQ(id.bitrateMaximum, 192000);
    EXPECT_EQ(id.bitrateNominal, 128000);
    EXPECT_EQ(id.bitrateMinimum, 96000);
    CheckWithTools("stream", folder + "br96-128-192.ogg", {"2", "44100", std::to_string(2 * 44100)});
}

TEST(VorbisOutEncode, CommentsAreWrittenOnceAndThenCleared)
{
    const auto pcm = testkit::MakeTestSignal(44100);
    const std::string folder = testkit::TestFolder("VorbisOutComments");
    TVorbisOut out;
    out.SetComments({"TITLE=Kestrip Test Tone", "artist=First", "ARTIST=Second", "no equals sign", "ALBUM=Música 音楽"});
    testkit::TMemoryInput first(pcm);
    ExpectCleanRun(Encode(out, first, folder + "tagged.ogg"), first);
    EXPECT_TRUE(out.Comments().empty());

    // A repeated name takes the first line's value; a line without "=" has an empty name.
    const std::vector<std::string> expected = {"TITLE=Kestrip Test Tone", "artist=First", "ARTIST=First", "=",
                                               "ALBUM=Música 音楽"};
    EXPECT_EQ(DecodeOggVorbis(folder + "tagged.ogg").links.at(0).comments, expected);
    CheckWithTools("tag", folder + "tagged.ogg", {"TITLE", "Kestrip Test Tone"});
    CheckWithTools("tag", folder + "tagged.ogg", {"ALBUM", "Música 音楽"});

    testkit::TMemoryInput second(pcm);
    ExpectCleanRun(Encode(out, second, folder + "untagged.ogg"), second);
    EXPECT_TRUE(DecodeOggVorbis(folder + "untagged.ogg").links.at(0).comments.empty());
}

TEST(VorbisOutEncode, AppendAddsALogicalStreamThatReadersAccept)
{
    const auto a = testkit::MakeTestSignal(2 * 44100, 2, 3);
    const auto b = testkit::MakeTestSignal(44100, 2, 4);
    const std::string folder = testkit::TestFolder("VorbisOutAppend");
    const std::string file = folder + "chained.ogg";
    TVorbisOut out;
    out.SetSerial(4242);
    testkit::TMemoryInput first(a);
    ExpectCleanRun(Encode(out, first, file), first);
    const auto firstBytes = testkit::ReadFileBytes(file);

    out.SetFileMode(foAppend);
    testkit::TMemoryInput second(b);
    ExpectCleanRun(Encode(out, second, file), second);
    const auto bytes = testkit::ReadFileBytes(file);
    ASSERT_GT(bytes.size(), firstBytes.size());
    EXPECT_TRUE(std::equal(firstBytes.begin(), firstBytes.end(), bytes.begin())) << "the first stream was changed";

    // The same Serial again would make the second stream a damaged continuation of the
    // first; it takes the next free number instead.
    std::size_t trailing = 0;
    const auto pages = ReadOggPages(file, &trailing);
    ExpectIntactPages(pages, trailing);
    std::vector<std::uint32_t> begins, ends;
    for (const auto& page : pages) {
        if (page.BeginsStream())
            begins.push_back(page.serial);
        if (page.EndsStream())
            ends.push_back(page.serial);
    }
    EXPECT_EQ(begins, (std::vector<std::uint32_t>{4242, 4243}));
    EXPECT_EQ(ends, begins);
    EXPECT_EQ(out.Serial(), 4242);

    const auto decoded = DecodeOggVorbis(file);
    ASSERT_EQ(decoded.links.size(), 2u);
    EXPECT_LE(std::llabs(decoded.links[0].frames - 2 * 44100), kOneBlock);
    EXPECT_LE(std::llabs(decoded.links[1].frames - 44100), kOneBlock);
    auto both = Samples(a);
    const auto tail = Samples(b);
    both.insert(both.end(), tail.begin(), tail.end());
    EXPECT_LT(RelativeRmsError(both, decoded.pcm), 0.1);
    CheckWithTools("chained", file, {"4242", "4243"});

    // A serial the file does not use yet is kept; bytes that are not Ogg pages are kept too.
    const std::string three = folder + "three streams.ogg";
    testkit::WriteFileBytes(three, bytes);
    out.SetSerial(-7);
    testkit::TMemoryInput third(b);
    ExpectCleanRun(Encode(out, third, three), third);
    EXPECT_EQ(ReadOggPages(three).back().serial, static_cast<std::uint32_t>(-7));
    CheckWithTools("chained", three, {"4242", "4243", std::to_string(static_cast<std::uint32_t>(-7))});

    const std::string afterText = folder + "after text.ogg";
    testkit::WriteFileBytes(afterText, {'n', 'o', 't', ' ', 'O', 'g', 'g', '\n'});
    out.SetSerial(0);
    testkit::TMemoryInput fourth(b);
    ExpectCleanRun(Encode(out, fourth, afterText), fourth);
    const auto afterTextBytes = testkit::ReadFileBytes(afterText);
    ASSERT_GT(afterTextBytes.size(), 12u);
    EXPECT_EQ(std::string(afterTextBytes.begin(), afterTextBytes.begin() + 12), std::string("not Ogg\nOggS"));

    // Back to rewrite: the file holds one stream again.
    const std::string rewritten = folder + "rewritten.ogg";
    testkit::WriteFileBytes(rewritten, bytes);
    out.SetFileMode(foRewrite);
    testkit::TMemoryInput fifth(b);
    ExpectCleanRun(Encode(out, fifth, rewritten), fifth);
    EXPECT_EQ(DecodeOggVorbis(rewritten).links.size(), 1u);
}

TEST(VorbisOutEncode, StopLeavesIntactPagesWithoutAnEndOfStreamMark)
{
    const std::size_t frames = 30 * 44100;
    const auto pcm = testkit::MakeTestSignal(frames);
    testkit::TMemoryInput input(pcm);
    TVorbisOut out;
    const std::string file = testkit::TestFolder("VorbisOutStop") + "stopped.ogg";
    out.SetInput(&input);
    out.SetFileName(file);
    std::atomic<bool> done{false}, failed{false};
    out.OnProgress = [&](TComponent*) {
        if (out.Progress() >= 10)
            out.Stop();
    };
    out.OnDone = [&](TComponent*) { done = true; };
    out.OnThreadException = [&](TComponent*, const Exception&) { failed = true; };
    out.Start();
    ASSERT_TRUE(testkit::WaitFor([&] { return (done || failed) && out.Status() == osIdle; }, std::chrono::seconds(60)));
    EXPECT_FALSE(failed);
    EXPECT_FALSE(out.EndOfStream());
    EXPECT_EQ(input.stopCount, 1);
    EXPECT_LT(input.Position(), static_cast<std::int32_t>(pcm.size()) / 2);

    std::size_t trailing = 0;
    const auto pages = ReadOggPages(file, &trailing);
    ExpectIntactPages(pages, trailing);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_TRUE(pages.front().BeginsStream());
    for (const auto& page : pages)
        EXPECT_FALSE(page.EndsStream());

    const auto decoded = DecodeOggVorbis(file);
    ASSERT_EQ(decoded.links.size(), 1u);
    EXPECT_GT(decoded.links[0].frames, 44100);
    EXPECT_LT(decoded.links[0].frames, static_cast<std::int64_t>(frames) / 2);
    EXPECT_LT(RelativeRmsError(Samples(pcm), decoded.pcm), 0.1);
    CheckWithTools("unterminated", file);
}

TEST(VorbisOutEncode, ReadsThatEndInsideAFrameKeepTheChannelsAligned)
{
    const std::size_t frames = 3 * 44100 + 5;
    const auto pcm = testkit::MakeTestSignal(frames);
    const std::string file = testkit::TestFolder("VorbisOutSplitReads") + "split reads.ogg";
    TVorbisOut out;
    testkit::TMemoryInput split(pcm);
    split.SetMaxRead(4099); // never a whole number of frames
    ExpectCleanRun(Encode(out, split, file), split);
    EXPECT_GT(split.readCount, static_cast<int>(pcm.size() / 4099));

    // A dropped or shifted byte would swap the channels or turn the rest into noise.
    const auto decoded = DecodeOggVorbis(file);
    ASSERT_EQ(decoded.links.size(), 1u);
    EXPECT_EQ(decoded.links[0].frames, static_cast<std::int64_t>(frames));
    EXPECT_LT(RelativeRmsError(Samples(pcm), decoded.pcm), 0.1);
}
