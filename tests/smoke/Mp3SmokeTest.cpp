#include <gtest/gtest.h>
#include <lame/lame.h>

#include <cstring>
#include <memory>

#include "classlib/FileStream.h"
#include "smoke/CodecLibraries.h"
#include "smoke/SmokeAudio.h"

namespace {

struct Mp3Layout {
    std::size_t id3v2Bytes = 0;
    std::int64_t fileBytes = 0;
};

// ID3v2 tag first, then the frames; the first frame is rewritten at the end with the
// LAME/Info tag that carries the exact length; ID3v1 tag last.
Mp3Layout EncodeMp3(const std::vector<std::int16_t>& pcm, const std::string& fileName)
{
    TDynamicLibrary lame = LoadCodecLibrary(kLame);
    BIND_CODEC_FUNCTION(lame, lame_init);
    BIND_CODEC_FUNCTION(lame, lame_close);
    BIND_CODEC_FUNCTION(lame, lame_set_num_channels);
    BIND_CODEC_FUNCTION(lame, lame_set_in_samplerate);
    BIND_CODEC_FUNCTION(lame, lame_set_brate);
    BIND_CODEC_FUNCTION(lame, lame_set_mode);
    BIND_CODEC_FUNCTION(lame, lame_set_quality);
    BIND_CODEC_FUNCTION(lame, lame_set_write_id3tag_automatic);
    BIND_CODEC_FUNCTION(lame, id3tag_init);
    BIND_CODEC_FUNCTION(lame, id3tag_add_v2);
    BIND_CODEC_FUNCTION(lame, id3tag_set_title);
    BIND_CODEC_FUNCTION(lame, id3tag_set_artist);
    BIND_CODEC_FUNCTION(lame, lame_init_params);
    BIND_CODEC_FUNCTION(lame, lame_get_id3v2_tag);
    BIND_CODEC_FUNCTION(lame, lame_get_id3v1_tag);
    BIND_CODEC_FUNCTION(lame, lame_encode_buffer_interleaved);
    BIND_CODEC_FUNCTION(lame, lame_encode_flush);
    BIND_CODEC_FUNCTION(lame, lame_get_lametag_frame);

    std::unique_ptr<lame_global_flags, decltype(lame_close)> flags(lame_init(), lame_close);
    if (!flags)
        throw std::runtime_error("lame_init failed");
    lame_t gf = flags.get();
    lame_set_num_channels(gf, kChannels);
    lame_set_in_samplerate(gf, kSampleRate);
    lame_set_brate(gf, 128);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_quality(gf, 2);
    lame_set_write_id3tag_automatic(gf, 0);
    id3tag_init(gf);
    id3tag_add_v2(gf);
    id3tag_set_title(gf, kSmokeTitle);
    id3tag_set_artist(gf, "Kestrip");
    if (lame_init_params(gf) != 0)
        throw std::runtime_error("lame_init_params failed");

    TFileStream out(fileName, fmCreate);
    std::vector<unsigned char> buffer(1 << 16);
    Mp3Layout layout;
    layout.id3v2Bytes = lame_get_id3v2_tag(gf, buffer.data(), buffer.size());
    out.WriteBuffer(buffer.data(), static_cast<std::int64_t>(layout.id3v2Bytes));

    const int chunk = 4096;
    for (int first = 0; first < kFrames; first += chunk) {
        int n = std::min(chunk, kFrames - first);
        auto* samples = const_cast<short*>(reinterpret_cast<const short*>(pcm.data()) + first * kChannels);
        int bytes = lame_encode_buffer_interleaved(gf, samples, n, buffer.data(), static_cast<int>(buffer.size()));
        if (bytes < 0)
            throw std::runtime_error("lame_encode_buffer_interleaved failed: " + std::to_string(bytes));
        out.WriteBuffer(buffer.data(), bytes);
    }
    int bytes = lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0)
        throw std::runtime_error("lame_encode_flush failed");
    out.WriteBuffer(buffer.data(), bytes);
    std::size_t id3v1Bytes = lame_get_id3v1_tag(gf, buffer.data(), buffer.size());
    out.WriteBuffer(buffer.data(), static_cast<std::int64_t>(id3v1Bytes));

    std::size_t tagFrame = lame_get_lametag_frame(gf, buffer.data(), buffer.size());
    out.SetPosition(static_cast<std::int64_t>(layout.id3v2Bytes));
    out.WriteBuffer(buffer.data(), static_cast<std::int64_t>(tagFrame));
    layout.fileBytes = out.Size();
    return layout;
}

std::vector<unsigned char> ReadWholeFile(const std::string& fileName)
{
    TFileStream in(fileName, fmOpenRead);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(in.Size()));
    in.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

bool Contains(const std::vector<unsigned char>& haystack, std::size_t from, std::size_t to, const char* needle)
{
    std::size_t n = std::strlen(needle);
    for (std::size_t i = from; i + n <= std::min(to, haystack.size()); ++i)
        if (std::memcmp(&haystack[i], needle, n) == 0)
            return true;
    return false;
}

} // namespace

// Decoding is left to ffprobe/ffmpeg in the follow-up check; here the file's layout.
TEST(CodecSmoke, Mp3EncodesAChordWithId3TagsAndLameTagFrame)
{
    const std::string fileName = SmokeOutputFolder() + "chord.mp3";
    Mp3Layout layout = EncodeMp3(MakeChord(), fileName);
    std::vector<unsigned char> bytes = ReadWholeFile(fileName);
    ASSERT_EQ(static_cast<std::int64_t>(bytes.size()), layout.fileBytes);

    // 128 kb/s for one second, give or take the padding frames and the tags.
    EXPECT_GT(bytes.size(), 16000u);
    EXPECT_LT(bytes.size(), 26000u);
    ASSERT_GT(layout.id3v2Bytes, 10u);
    EXPECT_EQ(std::memcmp(bytes.data(), "ID3", 3), 0);
    EXPECT_TRUE(Contains(bytes, 0, layout.id3v2Bytes, kSmokeTitle));
    // The first frame after the tag is the Info frame (CBR), starting with a frame sync.
    std::size_t frame = layout.id3v2Bytes;
    ASSERT_LT(frame + 200, bytes.size());
    EXPECT_EQ(bytes[frame], 0xFF);
    EXPECT_EQ(bytes[frame + 1] & 0xE0, 0xE0);
    EXPECT_TRUE(Contains(bytes, frame, frame + 200, "Info"));
    EXPECT_TRUE(Contains(bytes, frame, frame + 200, "LAME"));
    // ID3v1 closes the file.
    ASSERT_GE(bytes.size(), 128u);
    EXPECT_EQ(std::memcmp(&bytes[bytes.size() - 128], "TAG", 3), 0);
}
