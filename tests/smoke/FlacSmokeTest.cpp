#include <FLAC/metadata.h>
#include <FLAC/stream_decoder.h>
#include <FLAC/stream_encoder.h>
#include <gtest/gtest.h>

#include <memory>

#include "classlib/FileStream.h"
#include "smoke/CodecLibraries.h"
#include "smoke/SmokeAudio.h"

namespace {

// The encoder seeks back at the end to complete STREAMINFO (length, MD5).
FLAC__StreamEncoderWriteStatus WriteToStream(const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes,
                                             uint32_t, uint32_t, void* stream)
{
    return static_cast<TFileStream*>(stream)->Write(buffer, static_cast<std::int64_t>(bytes)) ==
                   static_cast<std::int64_t>(bytes)
               ? FLAC__STREAM_ENCODER_WRITE_STATUS_OK
               : FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
}

FLAC__StreamEncoderSeekStatus SeekStream(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* stream)
{
    static_cast<TFileStream*>(stream)->SetPosition(static_cast<std::int64_t>(offset));
    return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
}

FLAC__StreamEncoderTellStatus TellStream(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* stream)
{
    *offset = static_cast<FLAC__uint64>(static_cast<TFileStream*>(stream)->Position());
    return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
}

void EncodeFlac(const std::vector<std::int16_t>& pcm, const std::string& fileName)
{
    TDynamicLibrary flac = LoadCodecLibrary(kFlac);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_new);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_delete);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_set_channels);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_set_bits_per_sample);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_set_sample_rate);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_set_compression_level);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_set_total_samples_estimate);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_init_stream);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_process_interleaved);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_finish);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_encoder_set_metadata);
    BIND_CODEC_FUNCTION(flac, FLAC__metadata_object_new);
    BIND_CODEC_FUNCTION(flac, FLAC__metadata_object_delete);
    BIND_CODEC_FUNCTION(flac, FLAC__metadata_object_vorbiscomment_entry_from_name_value_pair);
    BIND_CODEC_FUNCTION(flac, FLAC__metadata_object_vorbiscomment_append_comment);

    TFileStream out(fileName, fmCreate);
    // The tags outlive the encoder, which reads them up to finish.
    std::unique_ptr<FLAC__StreamMetadata, decltype(FLAC__metadata_object_delete)> tags(
        FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT), FLAC__metadata_object_delete);
    FLAC__StreamMetadata_VorbisComment_Entry title;
    ASSERT_TRUE(tags);
    ASSERT_TRUE(FLAC__metadata_object_vorbiscomment_entry_from_name_value_pair(&title, "TITLE", kSmokeTitle));
    ASSERT_TRUE(FLAC__metadata_object_vorbiscomment_append_comment(tags.get(), title, false));
    FLAC__StreamMetadata* metadata[] = {tags.get()};
    std::unique_ptr<FLAC__StreamEncoder, decltype(FLAC__stream_encoder_delete)> encoder(FLAC__stream_encoder_new(),
                                                                                        FLAC__stream_encoder_delete);
    ASSERT_TRUE(encoder);
    FLAC__stream_encoder_set_channels(encoder.get(), kChannels);
    FLAC__stream_encoder_set_bits_per_sample(encoder.get(), 16);
    FLAC__stream_encoder_set_sample_rate(encoder.get(), kSampleRate);
    FLAC__stream_encoder_set_compression_level(encoder.get(), 5);
    FLAC__stream_encoder_set_total_samples_estimate(encoder.get(), kFrames);

    ASSERT_TRUE(FLAC__stream_encoder_set_metadata(encoder.get(), metadata, 1));
    ASSERT_EQ(FLAC__stream_encoder_init_stream(encoder.get(), WriteToStream, SeekStream, TellStream, nullptr, &out),
              FLAC__STREAM_ENCODER_INIT_STATUS_OK);
    std::vector<FLAC__int32> samples(pcm.begin(), pcm.end());
    ASSERT_TRUE(FLAC__stream_encoder_process_interleaved(encoder.get(), samples.data(), kFrames));
    ASSERT_TRUE(FLAC__stream_encoder_finish(encoder.get()));
}

struct FlacDecodeState {
    TFileStream* in = nullptr;
    std::uint64_t totalSamples = 0;
    unsigned channels = 0, sampleRate = 0;
    std::vector<std::int16_t> pcm;
    bool error = false;
};

FLAC__StreamDecoderReadStatus ReadFromStream(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* data)
{
    auto* state = static_cast<FlacDecodeState*>(data);
    *bytes = static_cast<size_t>(state->in->Read(buffer, static_cast<std::int64_t>(*bytes)));
    return *bytes ? FLAC__STREAM_DECODER_READ_STATUS_CONTINUE : FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__StreamDecoderWriteStatus CollectFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                            const FLAC__int32* const channels[], void* data)
{
    auto* state = static_cast<FlacDecodeState*>(data);
    for (unsigned i = 0; i < frame->header.blocksize; ++i)
        for (unsigned c = 0; c < frame->header.channels; ++c)
            state->pcm.push_back(static_cast<std::int16_t>(channels[c][i]));
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void KeepStreamInfo(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* data)
{
    auto* state = static_cast<FlacDecodeState*>(data);
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO) {
        state->totalSamples = metadata->data.stream_info.total_samples;
        state->channels = metadata->data.stream_info.channels;
        state->sampleRate = metadata->data.stream_info.sample_rate;
    }
}

void NoteError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* data)
{
    static_cast<FlacDecodeState*>(data)->error = true;
}

// Decodes with libFLAC's own decoder, MD5 check on; throws when the stream is damaged.
FlacDecodeState DecodeFlac(const std::string& fileName)
{
    TDynamicLibrary flac = LoadCodecLibrary(kFlac);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_decoder_new);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_decoder_delete);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_decoder_set_md5_checking);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_decoder_init_stream);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_decoder_process_until_end_of_stream);
    BIND_CODEC_FUNCTION(flac, FLAC__stream_decoder_finish);

    TFileStream in(fileName, fmOpenRead);
    FlacDecodeState state;
    state.in = &in;
    std::unique_ptr<FLAC__StreamDecoder, decltype(FLAC__stream_decoder_delete)> decoder(FLAC__stream_decoder_new(),
                                                                                        FLAC__stream_decoder_delete);
    if (!decoder)
        throw std::runtime_error("no FLAC decoder");
    FLAC__stream_decoder_set_md5_checking(decoder.get(), true);
    if (FLAC__stream_decoder_init_stream(decoder.get(), ReadFromStream, nullptr, nullptr, nullptr, nullptr, CollectFrame,
                                         KeepStreamInfo, NoteError, &state) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
        throw std::runtime_error("FLAC decoder does not start");
    bool decodedToEnd = FLAC__stream_decoder_process_until_end_of_stream(decoder.get());
    bool md5Matches = FLAC__stream_decoder_finish(decoder.get());
    if (!decodedToEnd || !md5Matches || state.error)
        throw std::runtime_error("FLAC stream does not decode cleanly: " + fileName);
    return state;
}

} // namespace

TEST(CodecSmoke, FlacEncodesAChordThatDecodesBackBitExact)
{
    const std::vector<std::int16_t> chord = MakeChord();
    const std::string fileName = SmokeOutputFolder() + "chord.flac";
    EncodeFlac(chord, fileName);
    ASSERT_FALSE(HasFatalFailure());

    FlacDecodeState decoded = DecodeFlac(fileName);
    EXPECT_EQ(decoded.channels, static_cast<unsigned>(kChannels));
    EXPECT_EQ(decoded.sampleRate, static_cast<unsigned>(kSampleRate));
    EXPECT_EQ(decoded.totalSamples, static_cast<std::uint64_t>(kFrames));
    EXPECT_TRUE(decoded.pcm == chord) << "decoded PCM differs from the input";
}
