#include "AudioVorbis.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Serial numbers of the Ogg pages from the start of a file up to the first byte that is not
// part of a page.
std::set<std::uint32_t> OggSerialsIn(TStream& stream)
{
    std::set<std::uint32_t> serials;
    const std::int64_t size = stream.Size();
    std::uint8_t header[27 + 255];
    for (std::int64_t at = 0; at + 27 <= size;) {
        stream.Seek(at, TSeekOrigin::soBeginning);
        if (stream.Read(header, 27) != 27 || std::memcmp(header, "OggS", 4) != 0)
            break;
        const int segments = header[26];
        if (stream.Read(header + 27, segments) != segments)
            break;
        std::int64_t bodySize = 0;
        for (int i = 0; i < segments; ++i)
            bodySize += header[27 + i];
        serials.insert(header[14] | header[15] << 8 | header[16] << 16 | static_cast<std::uint32_t>(header[17]) << 24);
        at += 27 + segments + bodySize;
    }
    return serials;
}

std::string MissingLibraryText(const char* windowsFileName)
{
    return std::string(windowsFileName) + " library could not be loaded.";
}

} // namespace

std::int32_t VorbisBitRateValue(TVorbisBitRate rate)
{
    static constexpr std::int32_t kBitsPerSecond[] = {-1,     45000,  48000,  56000,  64000,  80000,
                                                      96000,  112000, 128000, 144000, 160000, 192000,
                                                      224000, 256000, 320000, 499000};
    return kBitsPerSecond[rate];
}

TVorbisOut::TVorbisOut(TComponent* owner, TVorbisLibraries libraries) : TAudioFileOut(owner), libs_(libraries)
{
    if (!Designing())
        CheckLibraries();
}

TVorbisOut::~TVorbisOut()
{
    ShutdownWorker();
    ClearEncoder(); // a run cut short by destruction leaves no library memory behind
}

void TVorbisOut::CheckLibraries() const
{
    if (!libs_.ogg->Loaded())
        throw EAudioException(MissingLibraryText(TOggBinding::WindowsFileName));
    if (!libs_.vorbis->Loaded())
        throw EAudioException(MissingLibraryText(TVorbisBinding::WindowsFileName));
    if (!libs_.vorbisfile->Loaded())
        throw EAudioException(MissingLibraryText(TVorbisFileBinding::WindowsFileName));
    if (!libs_.vorbisenc->Loaded())
        throw EAudioException(MissingLibraryText(TVorbisEncBinding::WindowsFileName));
}

void TVorbisOut::SetFileMode(TFileOutputMode value)
{
    fileMode_ = value;
}

void TVorbisOut::SetDesiredNominalBitrate(TVorbisBitRate value)
{
    nominalBitrate_ = value;
    if (value < minimumBitrate_)
        minimumBitrate_ = value;
    if (maximumBitrate_ < value)
        maximumBitrate_ = value;
    if (value == brAutoSelect)
        maximumBitrate_ = brAutoSelect;
}

void TVorbisOut::SetDesiredMaximumBitrate(TVorbisBitRate value)
{
    if (nominalBitrate_ != brAutoSelect && (value == brAutoSelect || value >= nominalBitrate_))
        maximumBitrate_ = value;
}

void TVorbisOut::SetMinimumBitrate(TVorbisBitRate value)
{
    if (value <= nominalBitrate_)
        minimumBitrate_ = value;
}

// --- a run ---

void TVorbisOut::StartOutput()
{
    CheckFileName();
    const bool appending = OpenFileStream();
    TAudioInput* input = Input();
    try {
        input->StartReading();
    } catch (...) {
        Stream.reset();
        throw;
    }
    try {
        std::int32_t serial = serial_;
        if (appending) {
            // Two logical streams of one file must not share a serial number: readers take
            // the second for a damaged continuation of the first. Take the next free one.
            const std::set<std::uint32_t> used = OggSerialsIn(*Stream);
            while (used.count(static_cast<std::uint32_t>(serial)) != 0)
                serial = static_cast<std::int32_t>(static_cast<std::uint32_t>(serial) + 1);
        }
        if (FileMode() == foAppend)
            Stream->Seek(0, TSeekOrigin::soEnd); // the new logical stream follows what is there
        endOfStream_ = false;
        pendingBytes_ = 0;
        SetUpEncoder(input->ChannelCount(), input->SampleRate());
        libs_.vorbis->vorbis_comment_init(&comment_);
        commentReady_ = true;
        AddComments();
        libs_.vorbis->vorbis_analysis_init(&analysisState_, &info_);
        analysisReady_ = true;
        libs_.vorbis->vorbis_block_init(&analysisState_, &block_);
        blockReady_ = true;
        libs_.ogg->ogg_stream_init(&streamState_, serial);
        streamReady_ = true;
        WriteHeaderPages();
    } catch (...) {
        ClearEncoder();
        try {
            input->StopReading();
        } catch (...) {
        }
        Stream.reset();
        throw;
    }
}

void TVorbisOut::SetUpEncoder(std::int32_t channels, std::int32_t sampleRate)
{
    libs_.vorbis->vorbis_info_init(&info_);
    infoReady_ = true;
    channels_ = channels;
    std::string settings;
    int result;
    if (nominalBitrate_ == brAutoSelect) {
        result = libs_.vorbisenc->vorbis_encode_init_vbr(&info_, channels, sampleRate, compression_);
        char quality[32];
        std::snprintf(quality, sizeof quality, "%.2f", static_cast<double>(compression_));
        settings = std::string("quality ") + quality;
    } else {
        const std::int32_t nominal = VorbisBitRateValue(nominalBitrate_);
        std::int32_t maximum = VorbisBitRateValue(maximumBitrate_);
        if (maximum < nominal)
            maximum = nominal;
        std::int32_t minimum = VorbisBitRateValue(minimumBitrate_);
        if (minimum < 0)
            minimum = nominal;
        result = libs_.vorbisenc->vorbis_encode_init(&info_, channels, sampleRate, maximum, nominal, minimum);
        settings = "bit rates " + std::to_string(maximum) + "/" + std::to_string(nominal) + "/" +
                   std::to_string(minimum) + " (maximum/nominal/minimum)";
    }
    // A set-up the library refused leaves nothing to analyse with: stop here, not in libvorbis.
    if (result != 0)
        throw EAudioException("The Vorbis encoder does not accept " + settings + " for " + std::to_string(channels) +
                              (channels == 1 ? " channel" : " channels") + " at " + std::to_string(sampleRate) +
                              " Hz.");
}

void TVorbisOut::AddComments()
{
    for (const std::string& line : comments_) {
        const auto equals = line.find('=');
        const std::string name = equals == std::string::npos ? std::string() : line.substr(0, equals);
        libs_.vorbis->vorbis_comment_add_tag(&comment_, name.c_str(), CommentValue(name).c_str());
    }
}

std::string TVorbisOut::CommentValue(const std::string& name) const
{
    for (const std::string& line : comments_) {
        const auto equals = line.find('=');
        if (equals != std::string::npos && SameNameIgnoringCase(line.substr(0, equals), name))
            return line.substr(equals + 1);
    }
    return {};
}

void TVorbisOut::WriteHeaderPages()
{
    libs_.vorbis->vorbis_analysis_headerout(&analysisState_, &comment_, &headers_[0], &headers_[1], &headers_[2]);
    for (ogg_packet& header : headers_)
        libs_.ogg->ogg_stream_packetin(&streamState_, &header);
    // Flushing makes the first audio packet start a page of its own.
    while (libs_.ogg->ogg_stream_flush(&streamState_, &page_) != 0)
        WritePage();
}

bool TVorbisOut::OutputStep(bool abort)
{
    if (auto r = StepPrologue(abort))
        return *r;
    if (endOfStream_)
        return false;
    std::int32_t n;
    {
        TInputLockGuard guard(inputLock_);
        n = Input()->ReadData(pcmBuffer_.data() + pendingBytes_, kPCMBufferSize - pendingBytes_);
    }
    if (n > 0)
        SubmitPCM(pendingBytes_ + n);
    else
        libs_.vorbis->vorbis_analysis_wrote(&analysisState_, 0); // end of input
    WriteAudioPages();
    return true;
}

void TVorbisOut::SubmitPCM(std::int32_t bytes)
{
    // Every channel the encoder was set up with is filled from the interleaved frames.
    const std::int32_t channels = channels_;
    const std::int32_t frameBytes = 2 * channels;
    const std::int32_t frames = bytes / frameBytes;
    if (frames > 0) {
        float** buffer = libs_.vorbis->vorbis_analysis_buffer(&analysisState_, kPCMBufferSize / frameBytes);
        const std::uint8_t* p = pcmBuffer_.data();
        for (std::int32_t i = 0; i < frames; ++i)
            for (std::int32_t c = 0; c < channels; ++c, p += 2)
                buffer[c][i] = static_cast<std::int16_t>(p[0] | (p[1] << 8)) / 32768.0f;
        // Wrote with 0 frames would mark the end of input.
        libs_.vorbis->vorbis_analysis_wrote(&analysisState_, frames);
    }
    // A read that ends inside a frame keeps those bytes for the next one, so channels stay aligned.
    pendingBytes_ = bytes - frames * frameBytes;
    std::memmove(pcmBuffer_.data(), pcmBuffer_.data() + frames * frameBytes, static_cast<std::size_t>(pendingBytes_));
}

void TVorbisOut::WriteAudioPages()
{
    while (libs_.vorbis->vorbis_analysis_blockout(&analysisState_, &block_) == 1) {
        libs_.vorbis->vorbis_analysis(&block_, nullptr);
        libs_.vorbis->vorbis_bitrate_addblock(&block_);
        while (libs_.vorbis->vorbis_bitrate_flushpacket(&analysisState_, &packet_) == 1) {
            libs_.ogg->ogg_stream_packetin(&streamState_, &packet_);
            while (!endOfStream_ && libs_.ogg->ogg_stream_pageout(&streamState_, &page_) != 0) {
                WritePage();
                if (libs_.ogg->ogg_page_eos(&page_) != 0)
                    endOfStream_ = true;
            }
        }
    }
}

void TVorbisOut::WritePage()
{
    WriteToStream(page_.header, page_.header_len);
    WriteToStream(page_.body, page_.body_len);
}

void TVorbisOut::FinishOutput()
{
    Stream.reset();
    // Comments and encoder state go even when the input fails to stop.
    struct ClearRunState {
        TVorbisOut& out;
        ~ClearRunState()
        {
            out.comments_.clear();
            out.ClearEncoder();
        }
    } clearRunState{*this};
    if (TAudioInput* input = Input())
        input->StopReading();
}

void TVorbisOut::ClearEncoder()
{
    if (streamReady_)
        libs_.ogg->ogg_stream_clear(&streamState_);
    if (blockReady_)
        libs_.vorbis->vorbis_block_clear(&block_);
    if (analysisReady_)
        libs_.vorbis->vorbis_dsp_clear(&analysisState_);
    if (commentReady_)
        libs_.vorbis->vorbis_comment_clear(&comment_);
    if (infoReady_)
        libs_.vorbis->vorbis_info_clear(&info_);
    streamReady_ = blockReady_ = analysisReady_ = commentReady_ = infoReady_ = false;
}
