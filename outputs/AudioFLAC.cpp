#include "AudioFLAC.h"

#include <cmath>
#include <cstring>

namespace {

const char* const kInitError = "Failed to initialize FLAC encoder.";
const char* const kEncodeError = "Failed to encode data.";

// FLAC takes signed samples: 8-bit PCM is unsigned around 128, wider PCM is signed
// little-endian and is sign-extended from its width.
void ToSignedSamples(const std::uint8_t* pcm, std::size_t count, int bytesPerSample, FLAC__int32* out)
{
    switch (bytesPerSample) {
    case 1:
        for (std::size_t i = 0; i < count; ++i)
            out[i] = static_cast<FLAC__int32>(pcm[i]) - 128;
        break;
    case 2:
        for (std::size_t i = 0; i < count; ++i, pcm += 2)
            out[i] = static_cast<std::int16_t>(pcm[0] | pcm[1] << 8);
        break;
    case 3:
        for (std::size_t i = 0; i < count; ++i, pcm += 3) {
            const std::uint32_t v = pcm[0] | pcm[1] << 8 | static_cast<std::uint32_t>(pcm[2]) << 16;
            out[i] = static_cast<std::int32_t>(v << 8) >> 8;
        }
        break;
    default:
        for (std::size_t i = 0; i < count; ++i, pcm += 4) {
            const std::uint32_t v = pcm[0] | pcm[1] << 8 | pcm[2] << 16 | static_cast<std::uint32_t>(pcm[3]) << 24;
            out[i] = static_cast<std::int32_t>(v);
        }
        break;
    }
}

} // namespace

TFLACOut::TFLACOut(TComponent* owner, const TFLACEncoderApi& flac)
    : TAudioFileOut(owner), flac_(flac), encoder_(nullptr, TEncoderDeleter{flac.stream_encoder_delete})
{
    if (!Designing() && !flac_.Loaded)
        throw EAudioException(std::string(TFLACBinding::WindowsFileName) + " library could not be loaded.");
}

TFLACOut::~TFLACOut() { ShutdownWorker(); }

void TFLACOut::SetBestModelSearch(bool value)
{
    if (value) {
        enableMidSideStereo_ = true;
        enableLooseMidSideStereo_ = false;
    }
    bestModelSearch_ = value;
}

void TFLACOut::SetEnableLooseMidSideStereo(bool value)
{
    if (value)
        enableMidSideStereo_ = true;
    enableLooseMidSideStereo_ = value;
}

void TFLACOut::StartOutput()
{
    CheckFileName();
    OpenFileStream();
    endOfInput_ = false;
    streamError_.clear();
    encoder_.reset(flac_.stream_encoder_new());
    if (!encoder_) {
        Stream.reset();
        throw EAudioException(kInitError);
    }
    TAudioInput& input = *Input();
    try {
        input.StartReading();
    } catch (...) {
        encoder_.reset();
        Stream.reset();
        throw;
    }
    try {
        ConfigureEncoder(input);
        InitializeEncoder();
    } catch (...) {
        encoder_.reset();
        try {
            input.StopReading();
        } catch (...) {
            // The first error is the one to report.
        }
        Stream.reset();
        throw;
    }
}

void TFLACOut::ConfigureEncoder(TAudioInput& input)
{
    // Samples are whole bytes here; FLAC itself refuses other channel counts.
    const std::int32_t bits = input.BitsPerSample();
    const std::int32_t channels = input.ChannelCount();
    if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || channels < 1)
        throw EAudioException(kInitError);
    bytesPerSample_ = bits / 8;
    channels_ = channels;

    FLAC__StreamEncoder* encoder = encoder_.get();
    flac_.stream_encoder_set_verify(encoder, verify_);
    flac_.stream_encoder_set_channels(encoder, static_cast<std::uint32_t>(channels_));
    flac_.stream_encoder_set_bits_per_sample(encoder, static_cast<std::uint32_t>(bits));
    flac_.stream_encoder_set_sample_rate(encoder, static_cast<std::uint32_t>(input.SampleRate()));
    if (channels_ == 2) {
        flac_.stream_encoder_set_do_mid_side_stereo(encoder, enableMidSideStereo_);
        flac_.stream_encoder_set_loose_mid_side_stereo(encoder, enableLooseMidSideStereo_);
    }
    flac_.stream_encoder_set_blocksize(encoder, blockSize_);
    flac_.stream_encoder_set_max_lpc_order(encoder, maxLPCOrder_);
    // Coefficient precision plus sample width must fit the encoder's 32-bit arithmetic.
    if (bits + qlpCoeffPrecision_ > 31)
        qlpCoeffPrecision_ = static_cast<std::uint16_t>(bits < 31 ? 31 - bits : 0);
    flac_.stream_encoder_set_qlp_coeff_precision(encoder, qlpCoeffPrecision_);
    flac_.stream_encoder_set_do_qlp_coeff_prec_search(encoder, qlpCoeffPrecisionSearch_);
    flac_.stream_encoder_set_min_residual_partition_order(encoder, minResidualPartitionOrder_);
    flac_.stream_encoder_set_max_residual_partition_order(encoder, maxResidualPartitionOrder_);
    flac_.stream_encoder_set_do_exhaustive_model_search(encoder, bestModelSearch_);
    if (input.Size() > 0) {
        // Rounded to nearest, halves to even (the default floating-point rounding mode).
        const double frames = static_cast<double>(input.Size()) / bytesPerSample_ / channels_;
        flac_.stream_encoder_set_total_samples_estimate(encoder, static_cast<FLAC__uint64>(std::llrint(frames)));
    }
}

void TFLACOut::InitializeEncoder()
{
    FLAC__StreamEncoder* encoder = encoder_.get();
    if (flac_.stream_encoder_init_stream(encoder, WriteCallback, SeekCallback, TellCallback, nullptr, this) !=
        FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        throw EAudioException(streamError_.empty() ? std::string(kInitError) : streamError_);
    // One step reads one block; a BlockSize of 0 lets the encoder choose it.
    const std::size_t frames = flac_.stream_encoder_get_blocksize(encoder);
    const std::size_t channels = static_cast<std::size_t>(channels_);
    pcmBuffer_.assign(frames * channels * static_cast<std::size_t>(bytesPerSample_), 0);
    samples_.assign(frames * channels, 0);
}

bool TFLACOut::OutputStep(bool abort)
{
    if (auto r = StepPrologue(abort))
        return *r;
    if (endOfInput_)
        return false;
    const auto size = static_cast<std::int32_t>(pcmBuffer_.size());
    std::int32_t got = 0;
    {
        TInputLockGuard guard(inputLock_);
        while (got < size) {
            const std::int32_t n = Input()->ReadData(pcmBuffer_.data() + got, size - got);
            if (n <= 0) {
                endOfInput_ = true;
                break;
            }
            got += n;
        }
    }
    if (got == 0)
        return false;
    const auto frames = static_cast<std::uint32_t>(got / (bytesPerSample_ * channels_));
    ToSignedSamples(pcmBuffer_.data(), static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_),
                    bytesPerSample_, samples_.data());
    // A refusal caused by a failed write names the file and the system's reason.
    if (!flac_.stream_encoder_process_interleaved(encoder_.get(), samples_.data(), frames))
        throw EAudioException(streamError_.empty() ? std::string(kEncodeError) : streamError_);
    return true;
}

void TFLACOut::FinishOutput()
{
    // After a failed finish the pipeline calls this once more; the run is over by then.
    if (!Stream)
        return;
    // A failed finish means the end of the stream or its header never reached the file:
    // that must not pass for a finished file.
    bool finished = true;
    if (encoder_) {
        finished = flac_.stream_encoder_finish(encoder_.get()) != 0;
        encoder_.reset();
    }
    pcmBuffer_ = {};
    samples_ = {};
    Stream.reset();
    if (TAudioInput* input = Input())
        input->StopReading();
    if (!finished)
        throw EAudioException(streamError_.empty() ? std::string(kEncodeError) : streamError_);
}

void TFLACOut::NoteStreamError(const std::string& message) noexcept
{
    try {
        if (streamError_.empty())
            streamError_ = message;
    } catch (...) {
        // Out of memory: the status the callback returns still reports the failure.
    }
}

// The callbacks run inside libFLAC: no exception may leave them.

FLAC__StreamEncoderWriteStatus TFLACOut::WriteCallback(const FLAC__StreamEncoder*, const FLAC__byte buffer[],
                                                       size_t bytes, uint32_t, uint32_t, void* clientData)
{
    auto* self = static_cast<TFLACOut*>(clientData);
    try {
        self->WriteToStream(buffer, static_cast<std::int64_t>(bytes));
        return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
    } catch (const std::exception& e) {
        self->NoteStreamError(e.what());
    } catch (...) {
        self->NoteStreamError(kEncodeError);
    }
    return FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
}

FLAC__StreamEncoderSeekStatus TFLACOut::SeekCallback(const FLAC__StreamEncoder*, FLAC__uint64 offset,
                                                     void* clientData)
{
    auto* self = static_cast<TFLACOut*>(clientData);
    try {
        const auto target = static_cast<std::int64_t>(offset);
        if (self->Stream->Seek(target, TSeekOrigin::soBeginning) == target)
            return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
        self->NoteStreamError(FormatText("Cannot seek in file \"%s\". %s", {self->FileName(), LastSystemErrorText()}));
    } catch (...) {
        self->NoteStreamError(kEncodeError);
    }
    return FLAC__STREAM_ENCODER_SEEK_STATUS_ERROR;
}

FLAC__StreamEncoderTellStatus TFLACOut::TellCallback(const FLAC__StreamEncoder*, FLAC__uint64* offset,
                                                     void* clientData)
{
    auto* self = static_cast<TFLACOut*>(clientData);
    try {
        const std::int64_t position = self->Stream->Position();
        if (position >= 0) {
            *offset = static_cast<FLAC__uint64>(position);
            return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
        }
        self->NoteStreamError(FormatText("Cannot seek in file \"%s\". %s", {self->FileName(), LastSystemErrorText()}));
    } catch (...) {
        self->NoteStreamError(kEncodeError);
    }
    return FLAC__STREAM_ENCODER_TELL_STATUS_ERROR;
}
