#include "FLACOutSupport.h"

#include <mutex>
#include <stdexcept>

#include "common/PipelineTestKit.h"

namespace flactest {
namespace {

std::mutex callsMutex;
std::vector<Call> calls;

void Record(const char* member, std::uint64_t value)
{
    std::lock_guard lock(callsMutex);
    calls.push_back({member + std::string("stream_encoder_").size(), value});
}

const TFLACEncoderApi& Real() { return FLACLibrary().Api(); }

} // namespace

#define KESTRIP_LOG_SETTER(member)                                                 \
    api.member = [](FLAC__StreamEncoder* encoder, auto value) {                    \
        Record(#member, static_cast<std::uint64_t>(value));                        \
        return Real().member(encoder, value);                                      \
    }

TFLACEncoderApi LoggingApi()
{
    TFLACEncoderApi api = Real();
    KESTRIP_LOG_SETTER(stream_encoder_set_verify);
    KESTRIP_LOG_SETTER(stream_encoder_set_channels);
    KESTRIP_LOG_SETTER(stream_encoder_set_bits_per_sample);
    KESTRIP_LOG_SETTER(stream_encoder_set_sample_rate);
    KESTRIP_LOG_SETTER(stream_encoder_set_do_mid_side_stereo);
    KESTRIP_LOG_SETTER(stream_encoder_set_loose_mid_side_stereo);
    KESTRIP_LOG_SETTER(stream_encoder_set_blocksize);
    KESTRIP_LOG_SETTER(stream_encoder_set_max_lpc_order);
    KESTRIP_LOG_SETTER(stream_encoder_set_qlp_coeff_precision);
    KESTRIP_LOG_SETTER(stream_encoder_set_do_qlp_coeff_prec_search);
    KESTRIP_LOG_SETTER(stream_encoder_set_min_residual_partition_order);
    KESTRIP_LOG_SETTER(stream_encoder_set_max_residual_partition_order);
    KESTRIP_LOG_SETTER(stream_encoder_set_do_exhaustive_model_search);
    KESTRIP_LOG_SETTER(stream_encoder_set_total_samples_estimate);
    api.stream_encoder_init_stream = [](FLAC__StreamEncoder* encoder, FLAC__StreamEncoderWriteCallback write,
                                        FLAC__StreamEncoderSeekCallback seek, FLAC__StreamEncoderTellCallback tell,
                                        FLAC__StreamEncoderMetadataCallback metadata, void* client) {
        // Records whether all three stream callbacks were given.
        Record("stream_encoder_init_stream", write && seek && tell ? 1 : 0);
        return Real().stream_encoder_init_stream(encoder, write, seek, tell, metadata, client);
    };
    api.stream_encoder_process_interleaved = [](FLAC__StreamEncoder* encoder, const FLAC__int32 buffer[],
                                                uint32_t frames) {
        Record("stream_encoder_process_interleaved", frames);
        return Real().stream_encoder_process_interleaved(encoder, buffer, frames);
    };
    return api;
}

#undef KESTRIP_LOG_SETTER

std::vector<Call> Calls()
{
    std::lock_guard lock(callsMutex);
    return calls;
}

void ClearCalls()
{
    std::lock_guard lock(callsMutex);
    calls.clear();
}

std::vector<std::uint64_t> ValuesOf(const std::string& name)
{
    std::vector<std::uint64_t> values;
    for (const Call& call : Calls())
        if (call.name == name)
            values.push_back(call.value);
    return values;
}

StreamInfo ReadStreamInfo(const std::vector<std::uint8_t>& file)
{
    auto bigEndian = [&](std::size_t at, int bytes) {
        if (at + static_cast<std::size_t>(bytes) > file.size())
            throw std::runtime_error("FLAC head cut short");
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = v << 8 | file[at + static_cast<std::size_t>(i)];
        return v;
    };
    if (file.size() < 42 || std::string(file.begin(), file.begin() + 4) != "fLaC")
        throw std::runtime_error("no fLaC marker");
    if ((file[4] & 0x7F) != 0 || bigEndian(5, 3) != 34)
        throw std::runtime_error("STREAMINFO is not the first metadata block");
    StreamInfo info;
    // Sample rate (20 bits), channels - 1 (3), bits per sample - 1 (5), total samples (36).
    const std::uint64_t packed = bigEndian(18, 8);
    info.sampleRate = static_cast<std::uint32_t>(packed >> 44);
    info.channels = static_cast<unsigned>((packed >> 41) & 7) + 1;
    info.bitsPerSample = static_cast<unsigned>((packed >> 36) & 31) + 1;
    info.totalSamples = packed & 0xFFFFFFFFFull;
    for (std::size_t i = 0; i < 16; ++i)
        info.md5[i] = file[26 + i];
    std::size_t at = 4;
    for (;;) {
        const bool last = (bigEndian(at, 1) & 0x80) != 0;
        at += 4 + bigEndian(at + 1, 3);
        if (last)
            break;
    }
    if (at > file.size())
        throw std::runtime_error("metadata runs past the end of the file");
    info.audioOffset = at;
    return info;
}

std::vector<std::uint8_t> SignedPcm(const std::vector<std::uint8_t>& pcm, int bitsPerSample)
{
    std::vector<std::uint8_t> out = pcm;
    if (bitsPerSample == 8)
        for (std::uint8_t& b : out)
            b ^= 0x80;
    return out;
}

bool ToolsAccept(const std::string& flacFile, const std::vector<std::uint8_t>& signedPcm, std::string* report)
{
    const std::string reference = flacFile + ".expected.raw";
    testkit::WriteFileBytes(reference, signedPcm);
#ifdef _WIN32
    (void)report;
    return true;
#else
    return testkit::RunCommand("bash '" FLAC_CHECK_SCRIPT "' '" + flacFile + "' 2>&1", report) == 0;
#endif
}

} // namespace flactest
