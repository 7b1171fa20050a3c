#include <gtest/gtest.h>
#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include "classlib/FileStream.h"
#include "smoke/CodecLibraries.h"
#include "smoke/SmokeAudio.h"

namespace {

void EncodeOggVorbis(const std::vector<std::int16_t>& pcm, const std::string& fileName)
{
    TDynamicLibrary ogg = LoadCodecLibrary(kOgg);
    TDynamicLibrary vorbis = LoadCodecLibrary(kVorbis);
    TDynamicLibrary vorbisenc = LoadCodecLibrary(kVorbisEnc);
    BIND_CODEC_FUNCTION(ogg, ogg_stream_init);
    BIND_CODEC_FUNCTION(ogg, ogg_stream_packetin);
    BIND_CODEC_FUNCTION(ogg, ogg_stream_flush);
    BIND_CODEC_FUNCTION(ogg, ogg_stream_pageout);
    BIND_CODEC_FUNCTION(ogg, ogg_stream_clear);
    BIND_CODEC_FUNCTION(vorbis, vorbis_info_init);
    BIND_CODEC_FUNCTION(vorbis, vorbis_info_clear);
    BIND_CODEC_FUNCTION(vorbis, vorbis_comment_init);
    BIND_CODEC_FUNCTION(vorbis, vorbis_comment_add_tag);
    BIND_CODEC_FUNCTION(vorbis, vorbis_comment_clear);
    BIND_CODEC_FUNCTION(vorbis, vorbis_analysis_init);
    BIND_CODEC_FUNCTION(vorbis, vorbis_dsp_clear);
    BIND_CODEC_FUNCTION(vorbis, vorbis_block_init);
    BIND_CODEC_FUNCTION(vorbis, vorbis_block_clear);
    BIND_CODEC_FUNCTION(vorbis, vorbis_analysis_headerout);
    BIND_CODEC_FUNCTION(vorbis, vorbis_analysis_buffer);
    BIND_CODEC_FUNCTION(vorbis, vorbis_analysis_wrote);
    BIND_CODEC_FUNCTION(vorbis, vorbis_analysis_blockout);
    BIND_CODEC_FUNCTION(vorbis, vorbis_analysis);
    BIND_CODEC_FUNCTION(vorbis, vorbis_bitrate_addblock);
    BIND_CODEC_FUNCTION(vorbis, vorbis_bitrate_flushpacket);
    BIND_CODEC_FUNCTION(vorbisenc, vorbis_encode_init_vbr);

    TFileStream out(fileName, fmCreate);
    auto writePage = [&](const ogg_page& page) {
        out.WriteBuffer(page.header, page.header_len);
        out.WriteBuffer(page.body, page.body_len);
    };

    vorbis_info info;
    vorbis_info_init(&info);
    ASSERT_EQ(vorbis_encode_init_vbr(&info, kChannels, kSampleRate, 0.4f), 0);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", kSmokeTitle);
    vorbis_dsp_state dsp;
    ASSERT_EQ(vorbis_analysis_init(&dsp, &info), 0);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    ogg_packet identification, comments, codebooks, packet;
    ogg_page page;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    while (ogg_stream_flush(&stream, &page))
        writePage(page);

    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page))
                    writePage(page);
            }
        }
    };
    const int chunk = 1024;
    for (int first = 0; first < kFrames; first += chunk) {
        int n = std::min(chunk, kFrames - first);
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < kChannels; ++c)
                buffer[c][i] = pcm[static_cast<std::size_t>(first + i) * kChannels + c] / 32768.0f;
        vorbis_analysis_wrote(&dsp, n);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page))
        writePage(page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
}

struct DecodedAudio {
    int channels = 0;
    long rate = 0;
    std::int64_t totalFrames = 0;
    std::vector<std::int16_t> pcm;
};

// Reads through our own stream so the path takes the wide API on Windows.
ov_callbacks StreamCallbacks()
{
    ov_callbacks callbacks{};
    callbacks.read_func = [](void* buffer, size_t size, size_t count, void* source) -> size_t {
        return size ? static_cast<size_t>(static_cast<TFileStream*>(source)->Read(buffer, size * count)) / size : 0;
    };
    callbacks.seek_func = [](void* source, ogg_int64_t offset, int whence) -> int {
        TSeekOrigin origin = whence == SEEK_SET ? TSeekOrigin::soBeginning
                           : whence == SEEK_CUR ? TSeekOrigin::soCurrent
                                                : TSeekOrigin::soEnd;
        return static_cast<TFileStream*>(source)->Seek(offset, origin) < 0 ? -1 : 0;
    };
    callbacks.tell_func = [](void* source) -> long { return static_cast<long>(static_cast<TFileStream*>(source)->Position()); };
    return callbacks;
}

DecodedAudio DecodeOggVorbis(const std::string& fileName)
{
    TDynamicLibrary vorbisfile = LoadCodecLibrary(kVorbisFile);
    BIND_CODEC_FUNCTION(vorbisfile, ov_open_callbacks);
    BIND_CODEC_FUNCTION(vorbisfile, ov_info);
    BIND_CODEC_FUNCTION(vorbisfile, ov_pcm_total);
    BIND_CODEC_FUNCTION(vorbisfile, ov_read);
    BIND_CODEC_FUNCTION(vorbisfile, ov_clear);

    TFileStream in(fileName, fmOpenRead);
    OggVorbis_File file;
    if (ov_open_callbacks(&in, &file, nullptr, 0, StreamCallbacks()) != 0)
        throw std::runtime_error("vorbisfile does not accept " + fileName);
    DecodedAudio decoded;
    vorbis_info* info = ov_info(&file, -1);
    decoded.channels = info->channels;
    decoded.rate = info->rate;
    decoded.totalFrames = ov_pcm_total(&file, -1);
    char buffer[8192];
    int section = 0;
    long got;
    while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(buffer);
        decoded.pcm.insert(decoded.pcm.end(), samples, samples + got / 2);
    }
    ov_clear(&file);
    if (got < 0)
        throw std::runtime_error("vorbisfile read error " + std::to_string(got));
    return decoded;
}

} // namespace

TEST(CodecSmoke, OggVorbisEncodesAChordThatDecodesBackClose)
{
    const std::vector<std::int16_t> chord = MakeChord();
    const std::string fileName = SmokeOutputFolder() + "chord.ogg";
    EncodeOggVorbis(chord, fileName);
    ASSERT_FALSE(HasFatalFailure());

    DecodedAudio decoded = DecodeOggVorbis(fileName);
    EXPECT_EQ(decoded.channels, kChannels);
    EXPECT_EQ(decoded.rate, kSampleRate);
    EXPECT_EQ(decoded.totalFrames, kFrames);
    ASSERT_EQ(decoded.pcm.size(), chord.size());
    // Lossy, but the same chord in the same channels and place.
    double snr = SignalToNoise(chord, decoded.pcm);
    RecordProperty("snr_db", std::to_string(snr));
    EXPECT_GT(snr, 15.0);
}
