#include "AudioWave.h"

#include <algorithm>
#include <exception>

#include "classlib/BufferedStream.h"

namespace {

const char* const kCannotAppend = "Cannot append data to this .wav file.";
const char* const kDifferentFormat = "Cannot append data in different audio format.";
// More than this after the data chunk is not metadata; such a file is not appended to.
constexpr std::int64_t kMaxTrailer = 16 << 20;
const char* const kNot16Bit = "Cannot encode 8 bit sound into ADPCM.";

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

// Length of the run of whole RIFF chunks (printable tag, size, body, pad byte) at the start
// of `bytes`.
std::size_t WholeChunksLength(const std::vector<std::uint8_t>& bytes)
{
    std::size_t at = 0;
    while (bytes.size() - at >= 8) {
        for (std::size_t i = 0; i < 4; ++i)
            if (bytes[at + i] < 0x20 || bytes[at + i] > 0x7E)
                return at;
        const std::uint64_t size = bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 |
                                   static_cast<std::uint64_t>(bytes[at + 7]) << 24;
        const std::uint64_t whole = 8 + size + (size & 1);
        if (whole > bytes.size() - at) {
            // A last chunk without its pad byte is still whole.
            if (8 + size == bytes.size() - at)
                return bytes.size();
            return at;
        }
        at += static_cast<std::size_t>(whole);
    }
    return at;
}

} // namespace

TWaveOut::TWaveOut(TComponent* owner) : TAudioFileOut(owner) {}

TWaveOut::~TWaveOut() { ShutdownWorker(); }

void TWaveOut::SetWavType(TWavType value)
{
    if (Busy() || (value != wtPCM && value != wtDVIADPCM))
        return;
    wavType_ = value;
}

void TWaveOut::SetBlockSize(std::uint16_t value)
{
    if (Busy() || value == 0 || value % 4 != 0)
        return;
    blockSize_ = value;
}

void TWaveOut::SetFileMode(TFileOutputMode value) { fileMode_ = value == foAppend ? foAppend : foRewrite; }

// --- Start ---

void TWaveOut::StartOutput()
{
    endOfInput_ = false;
    CheckFileName();
    run_ = TRun{};
    const bool existed = OpenFileStream();
    Stream = std::make_unique<TWriteBufferedStream>(std::move(Stream));
    try {
        TAudioInput& input = *Input();
        input.StartReading();
        run_.InputStarted = true;

        run_.Appending = existed && FileLength() > 0;
        if (run_.Appending) {
            existing_ = ScanWaveHeader(*Stream);
            if (existing_.Kind != wtPCM && existing_.Kind != wtDVIADPCM)
                throw EAudioException(kCannotAppend);
            // The file decides what is written to it.
            wavType_ = existing_.Kind;
            blockSize_ = existing_.BlockAlign;
        }
        run_.Type = wavType_;
        const std::int32_t sampleRate = input.SampleRate();
        const std::int32_t bitsPerSample = input.BitsPerSample();
        const std::int32_t channels = input.ChannelCount();
        if (run_.Type == wtPCM)
            StartPcm(sampleRate, bitsPerSample, channels);
        else
            StartIma(sampleRate, bitsPerSample, channels);
    } catch (...) {
        AbandonStart();
        throw;
    }
}

void TWaveOut::StartPcm(std::int32_t sampleRate, std::int32_t bitsPerSample, std::int32_t channels)
{
    if (run_.Appending) {
        if (sampleRate != existing_.SampleRate || bitsPerSample != existing_.BitsPerSample ||
            channels != existing_.Channels)
            throw EAudioException(kDifferentFormat);
        run_.AudioStart = SeekToAudioEnd();
        return;
    }
    const std::int32_t size = Input()->Size();
    const auto header = MakePcmHeader(sampleRate, bitsPerSample, channels, static_cast<std::uint32_t>(size));
    WriteHeader(header.data(), static_cast<std::int64_t>(header.size()));
    run_.AnnouncedDataSize = size < 0 ? -1 : size;
    run_.AudioStart = kPcmHeaderSize;
}

void TWaveOut::StartIma(std::int32_t sampleRate, std::int32_t bitsPerSample, std::int32_t channels)
{
    if (bitsPerSample != 16)
        throw EAudioException(kNot16Bit);
    if (run_.Appending && (sampleRate != existing_.SampleRate || channels != existing_.Channels))
        throw EAudioException(kDifferentFormat);
    if (auto problem = ImaLayoutProblem(blockSize_, channels))
        throw EAudioException(*problem);

    run_.Channels = channels;
    run_.BlockSize = blockSize_;
    run_.SamplesPerBlock = ImaSamplesPerBlock(blockSize_, channels);
    const auto samples = static_cast<std::size_t>(run_.SamplesPerBlock) * static_cast<std::size_t>(channels);
    imaInput_.assign(samples * 2, 0);
    imaFrames_.assign(samples, 0);
    imaBlock_.assign(static_cast<std::size_t>(run_.BlockSize), 0);

    if (run_.Appending) {
        // The step indices go on from this component's previous run.
        run_.AudioStart = SeekToAudioEnd();
        return;
    }
    const std::int32_t size = Input()->Size();
    const std::int64_t frames = size < 0 ? 0 : size / 2 / channels;
    // Announce every block that carries audio, the last one usually only in part.
    const std::int64_t dataSize = CeilDiv(frames, run_.SamplesPerBlock) * run_.BlockSize;
    const auto header = MakeImaHeader(sampleRate, channels, run_.BlockSize, static_cast<std::uint32_t>(frames),
                                      static_cast<std::uint32_t>(dataSize));
    WriteHeader(header.data(), static_cast<std::int64_t>(header.size()));
    ima_[0].StepIndex = 0;
    ima_[1].StepIndex = 0;
    run_.AnnouncedDataSize = dataSize;
    run_.AnnouncedFrames = frames;
    run_.AudioStart = kImaHeaderSize;
}

// The header goes down at once: a file that takes no bytes fails the start, not a later step.
void TWaveOut::WriteHeader(const void* data, std::int64_t count)
{
    WriteToStream(data, count);
    if (auto* buffered = dynamic_cast<TWriteBufferedStream*>(Stream.get()); buffered && !buffered->Flush())
        ThrowWriteError(count - buffered->Lost(), count);
}

void TWaveOut::AbandonStart() noexcept
{
    try {
        StopInput();
    } catch (...) {
        // The start's own error is the one to report.
    }
    Stream.reset();
}

void TWaveOut::StopInput()
{
    if (!run_.InputStarted)
        return;
    run_.InputStarted = false;
    if (TAudioInput* input = Input())
        input->StopReading();
}

// --- Steps ---

bool TWaveOut::OutputStep(bool abort)
{
    if (auto result = StepPrologue(abort))
        return *result;
    if (endOfInput_)
        return false;
    return run_.Type == wtPCM ? PcmStep() : ImaStep();
}

std::int32_t TWaveOut::ReadInputLocked(void* buffer, std::int32_t count)
{
    TAudioInput* input = Input();
    if (!input)
        throw EAudioException("Input is not assigned");
    std::int32_t n = 0;
    try {
        n = input->ReadData(buffer, count);
    } catch (const EAudioException&) {
        throw;
    } catch (const std::exception& e) {
        throw EAudioException(std::string("Cannot read audio data from the input. ") + e.what());
    }
    if (n < 0 || n > count)
        throw EAudioException("The input returned " + std::to_string(n) + " bytes for a read of " +
                              std::to_string(count) + ".");
    return n;
}

bool TWaveOut::PcmStep()
{
    std::int32_t n = 0;
    {
        TInputLockGuard guard(inputLock_);
        n = ReadInputLocked(pcmBuffer_.data(), static_cast<std::int32_t>(pcmBuffer_.size()));
    }
    if (n == 0)
        return false;
    WriteToStream(pcmBuffer_.data(), n);
    return true;
}

bool TWaveOut::ImaStep()
{
    const auto wanted = static_cast<std::int32_t>(imaInput_.size());
    std::fill(imaInput_.begin(), imaInput_.end(), std::uint8_t{0});
    std::int32_t filled = 0;
    {
        TInputLockGuard guard(inputLock_);
        while (filled < wanted) {
            const std::int32_t n = ReadInputLocked(imaInput_.data() + filled, wanted - filled);
            if (n == 0) {
                endOfInput_ = true;
                break;
            }
            filled += n;
        }
    }
    for (std::size_t i = 0; i < imaFrames_.size(); ++i)
        imaFrames_[i] = static_cast<std::int16_t>(GetUInt16LE(&imaInput_[2 * i]));
    EncodeImaBlock(imaFrames_.data(), run_.Channels, run_.BlockSize, ima_, imaBlock_.data());
    // A block is written even when nothing was left for it: its samples are silence.
    WriteToStream(imaBlock_.data(), static_cast<std::int64_t>(imaBlock_.size()));
    const std::int64_t frames = filled / (2 * run_.Channels);
    run_.FramesWritten += frames;
    if (frames > 0)
        ++run_.AudioBlocks;
    return true;
}

// --- Finish ---

void TWaveOut::FinishOutput()
{
    std::exception_ptr failure;
    if (Stream) {
        try {
            // The gathered audio goes down first, so the header tells what the file really holds.
            auto* buffered = dynamic_cast<TWriteBufferedStream*>(Stream.get());
            if (buffered)
                buffered->Flush();
            if (run_.Type == wtPCM)
                PatchPcmHeader();
            else
                PatchImaHeader();
            if (buffered && (!buffered->Flush() || buffered->Lost() > 0))
                ThrowWriteError(0, buffered->Lost());
        } catch (...) {
            failure = std::current_exception();
        }
        Stream.reset();
    }
    try {
        StopInput();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (failure)
        std::rethrow_exception(failure);
}

// The header of a new file is corrected whenever it announces other than what was written
// (unknown size, Stop, a short input, an error); an appended file is always updated.
void TWaveOut::PatchPcmHeader()
{
    if (run_.Appending) {
        const std::int64_t audioEnd = Stream->Position();
        const std::int64_t end = RestoreTrailer(audioEnd);
        WriteUInt32At(existing_.DataSizeOffset, audioEnd - existing_.DataStart);
        WriteUInt32At(existing_.RiffSizeOffset, end - existing_.RiffSizeOffset - 4);
        return;
    }
    const std::int64_t length = FileLength();
    {
        const std::int64_t dataSize = length - kPcmHeaderSize;
        if (dataSize == run_.AnnouncedDataSize)
            return;
        WriteUInt32At(kPcmDataSizeOffset, dataSize);
    }
    WriteUInt32At(kRiffSizeOffset, length - 8);
}

// The data chunk ends after the last block that carries audio; a block of nothing but
// padding after it stays outside.
void TWaveOut::PatchImaHeader()
{
    const std::int64_t dataEnd = run_.AudioStart + run_.AudioBlocks * run_.BlockSize;
    if (run_.Appending) {
        const std::int64_t earlierBlocks = (run_.AudioStart - existing_.DataStart) / run_.BlockSize;
        const std::int64_t end = RestoreTrailer(dataEnd);
        WriteUInt32At(existing_.DataSizeOffset, dataEnd - existing_.DataStart);
        WriteUInt32At(existing_.FactCountOffset, earlierBlocks * run_.SamplesPerBlock + run_.FramesWritten);
        WriteUInt32At(existing_.RiffSizeOffset, end - existing_.RiffSizeOffset - 4);
        return;
    } else {
        const std::int64_t dataSize = dataEnd - kImaHeaderSize;
        if (dataSize == run_.AnnouncedDataSize && run_.FramesWritten == run_.AnnouncedFrames)
            return;
        WriteUInt32At(kImaDataSizeOffset, dataSize);
        WriteUInt32At(kImaFactCountOffset, run_.FramesWritten);
    }
    WriteUInt32At(kRiffSizeOffset, dataEnd - 8);
}

std::int64_t TWaveOut::FileLength()
{
    const std::int64_t length = Stream->Size();
    if (length < 0)
        throw EAudioException(
            FormatText("Cannot get the size of file \"%s\". %s", {FileName(), LastSystemErrorText()}));
    return length;
}

std::int64_t TWaveOut::SeekToAudioEnd()
{
    // New audio goes right after the existing audio. Chunks after the data (a LIST of tags,
    // say) are kept and put back after it by RestoreTrailer; appending at the end of the file
    // would have made them part of the audio.
    const std::int64_t length = FileLength();
    const std::int64_t audioEnd = std::min<std::int64_t>(existing_.DataStart + existing_.DataSize, length);
    const std::int64_t chunksStart = std::min<std::int64_t>(audioEnd + (existing_.DataSize & 1), length);
    if (length - chunksStart > kMaxTrailer)
        throw EAudioException(kCannotAppend);
    std::vector<std::uint8_t> rest(static_cast<std::size_t>(length - chunksStart));
    if (Stream->Seek(chunksStart, TSeekOrigin::soBeginning) != chunksStart ||
        Stream->Read(rest.data(), static_cast<std::int64_t>(rest.size())) != static_cast<std::int64_t>(rest.size()) ||
        Stream->Seek(audioEnd, TSeekOrigin::soBeginning) != audioEnd)
        throw EAudioException(FormatText("Cannot read file \"%s\". %s", {FileName(), LastSystemErrorText()}));
    rest.resize(WholeChunksLength(rest)); // padding after the data is not kept
    run_.Trailer = std::move(rest);
    return audioEnd;
}

std::int64_t TWaveOut::RestoreTrailer(std::int64_t audioEnd)
{
    if (run_.Trailer.empty())
        return audioEnd;
    if (Stream->Seek(audioEnd, TSeekOrigin::soBeginning) != audioEnd)
        throw EAudioException(FormatText("Cannot seek in file \"%s\". %s", {FileName(), LastSystemErrorText()}));
    std::int64_t end = audioEnd;
    if ((audioEnd - existing_.DataStart) & 1) {
        const std::uint8_t pad = 0; // chunks start on even offsets
        WriteToStream(&pad, 1);
        ++end;
    }
    WriteToStream(run_.Trailer.data(), static_cast<std::int64_t>(run_.Trailer.size()));
    return end + static_cast<std::int64_t>(run_.Trailer.size());
}

void TWaveOut::WriteUInt32At(std::int64_t offset, std::int64_t value)
{
    if (Stream->Seek(offset, TSeekOrigin::soBeginning) != offset)
        throw EAudioException(FormatText("Cannot seek in file \"%s\". %s", {FileName(), LastSystemErrorText()}));
    std::uint8_t bytes[4];
    PutUInt32LE(bytes, static_cast<std::uint32_t>(value));
    WriteToStream(bytes, 4);
}
