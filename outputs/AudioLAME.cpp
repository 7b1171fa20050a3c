#include "AudioLAME.h"

#include <exception>
#include <utility>

#include "classlib/Exception.h"

namespace {

std::string MissingLibraryText() { return std::string(TLAMEBinding::WindowsFileName) + " library could not be loaded."; }

// ID3v1 text is Latin-1 while our strings are UTF-8; a character Latin-1 lacks, or a
// malformed sequence, becomes '?'.
std::string Utf8ToLatin1(const std::string& text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            out += '?';
            ++i;
            continue;
        }
        unsigned codePoint = length == 1 ? lead : lead & (0x7Fu >> length);
        bool wellFormed = true;
        for (std::size_t k = 1; k < length && wellFormed; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (!wellFormed) {
            out += '?';
            ++i;
            continue;
        }
        out += codePoint <= 0xFF ? static_cast<char>(codePoint) : '?';
        i += length;
    }
    return out;
}

} // namespace

std::int32_t MP3BitRateKbps(TMP3BitRate rate)
{
    static constexpr std::int32_t kKbps[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 192, 224, 256, 320};
    return kKbps[static_cast<int>(rate)];
}

TMP3Out::TMP3Out(TComponent* owner, std::shared_ptr<const TLAMEBinding> lame)
    : TAudioFileOut(owner), lame_(std::move(lame))
{
    if (!Designing() && !(lame_ && lame_->Loaded()))
        throw EAudioException(MissingLibraryText());
}

TMP3Out::~TMP3Out()
{
    ShutdownWorker();
    // A run cut short by destruction is not finished, but leaves no encoder behind.
    CloseEncoder();
}

void TMP3Out::SetTagField(std::string& field, std::string value)
{
    if (!Busy())
        field = std::move(value);
}

void TMP3Out::StartOutput()
{
    CheckFileName();
    if (!(lame_ && lame_->Loaded()))
        throw EAudioException(MissingLibraryText());
    // FileMode always reads back foRewrite here, so this creates or truncates the file.
    OpenFileStream();
    audioStart_ = Stream->Position();
    try {
        inputReading_ = true;
        Input()->StartReading();
        SetUpEncoder(*Input());
        encodedBuffer_ = std::make_unique<unsigned char[]>(kEncodedBufferSize);
        encodedBufferSize_ = kEncodedBufferSize;
    } catch (...) {
        CloseEncoder();
        Stream.reset();
        inputReading_ = false;
        try {
            Input()->StopReading();
        } catch (...) {
            // The error that stopped the start is the one to report.
        }
        throw;
    }
}

void TMP3Out::SetUpEncoder(TAudioInput& input)
{
    encoder_ = lame_->lame_init();
    if (!encoder_)
        throw EAudioException(FormatText("Encoding \"%s\" failed: lame_init returned no encoder.", {FileName()}));
    const std::int32_t size = input.Size();
    const std::int32_t frameBytes = input.BitsPerSample() / 8 * input.ChannelCount();
    // A format without whole bytes per frame leaves the count unset instead of dividing by 0.
    if (size > 0 && frameBytes > 0)
        lame_->lame_set_num_samples(encoder_, static_cast<unsigned long>(size / frameBytes));
    lame_->lame_set_in_samplerate(encoder_, input.SampleRate());
    lame_->lame_set_num_channels(encoder_, 2);
    lame_->lame_set_brate(encoder_, MP3BitRateKbps(bitRate_));
    CheckEncoderResult(lame_->lame_init_params(encoder_), "lame_init_params");
}

bool TMP3Out::OutputStep(bool abort)
{
    if (auto result = StepPrologue(abort))
        return *result;
    std::int32_t bytes = 0;
    std::int32_t channels = 0;
    {
        TInputLockGuard guard(inputLock_);
        TAudioInput* input = Input();
        bytes = input->ReadData(pcmBuffer_.data(), kPCMBufferSize);
        channels = input->ChannelCount();
    }
    if (bytes <= 0)
        return false;
    int encoded = 0;
    if (channels == 2) {
        encoded = lame_->lame_encode_buffer_interleaved(encoder_, pcmBuffer_.data(), bytes / 4, encodedBuffer_.get(),
                                                        encodedBufferSize_);
        CheckEncoderResult(encoded, "lame_encode_buffer_interleaved");
    } else {
        // One channel is sent as two equal ones.
        encoded = lame_->lame_encode_buffer(encoder_, pcmBuffer_.data(), pcmBuffer_.data(), bytes / 2,
                                            encodedBuffer_.get(), encodedBufferSize_);
        CheckEncoderResult(encoded, "lame_encode_buffer");
    }
    WriteToStream(encodedBuffer_.get(), encoded);
    return true;
}

void TMP3Out::FinishOutput()
{
    // The file is closed, the encoder released and the input stopped even when the flush
    // or its write fails; that failure is raised afterwards.
    std::exception_ptr failure;
    if (encoder_) {
        try {
            HandTagsToEncoder();
            const int flushed = lame_->lame_encode_flush(encoder_, encodedBuffer_.get(), encodedBufferSize_);
            CheckEncoderResult(flushed, "lame_encode_flush");
            WriteToStream(encodedBuffer_.get(), flushed);
            WriteTagFrame();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    Stream.reset();
    CloseEncoder();
    encodedBuffer_.reset();
    encodedBufferSize_ = 0;
    if (inputReading_) {
        inputReading_ = false;
        if (TAudioInput* input = Input())
            input->StopReading();
    }
    if (failure)
        std::rethrow_exception(failure);
}

// The flush writes these as an ID3v1 tag at the end of the file.
void TMP3Out::HandTagsToEncoder()
{
    lame_->id3tag_init(encoder_);
    lame_->id3tag_set_title(encoder_, Utf8ToLatin1(id3Title_).c_str());
    lame_->id3tag_set_artist(encoder_, Utf8ToLatin1(id3Artist_).c_str());
    lame_->id3tag_set_album(encoder_, Utf8ToLatin1(id3Album_).c_str());
    lame_->id3tag_set_year(encoder_, Utf8ToLatin1(id3Year_).c_str());
    lame_->id3tag_set_track(encoder_, Utf8ToLatin1(id3Track_).c_str());
    lame_->id3tag_set_comment(encoder_, Utf8ToLatin1(id3Comment_).c_str());
}

void TMP3Out::CheckEncoderResult(int result, const char* call) const
{
    if (result < 0)
        throw EAudioException(FormatText("Encoding \"%s\" failed: %s returned error %s.",
                                         {FileName(), call, std::to_string(result)}));
}

// The encoder reserves its first frame for a tag that tells decoders its delay, its padding
// and the exact length; without it every player adds that silence to the track.
void TMP3Out::WriteTagFrame()
{
    if (!lame_->lame_get_lametag_frame)
        return;
    unsigned char frame[4096];
    const std::size_t n = lame_->lame_get_lametag_frame(encoder_, frame, sizeof frame);
    if (n == 0 || n > sizeof frame)
        return;
    const std::int64_t end = Stream->Position();
    Stream->Seek(audioStart_, TSeekOrigin::soBeginning);
    WriteToStream(frame, static_cast<std::int64_t>(n));
    Stream->Seek(end, TSeekOrigin::soBeginning);
}

void TMP3Out::CloseEncoder()
{
    if (encoder_)
        lame_->lame_close(encoder_);
    encoder_ = nullptr;
}
