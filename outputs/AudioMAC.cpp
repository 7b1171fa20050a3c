#include "AudioMAC.h"

#include <algorithm>
#include <cstring>

namespace {

struct TErrorText {
    std::int32_t code;
    const char* text;
};

constexpr TErrorText kErrorTexts[] = {
    {0, "OK"},
    {1000, "I/O read error"},
    {1001, "I/O write error"},
    {1002, "invalid input file"},
    {1003, "invalid output file"},
    {1004, "input file file too large"},
    {1005, "input file unsupported bit depth"},
    {1006, "input file unsupported sample rate"},
    {1007, "input file unsupported channel count"},
    {1008, "input file too small"},
    {1009, "invalid checksum"},
    {1010, "decompressing frame"},
    {1011, "initializing unmac"},
    {1012, "invalid function parameter"},
    {1013, "unsupported file type"},
    {2000, "insufficient memory"},
    {3000, "loading MAC.dll"},
    {3001, "loading MACinfo.dll"},
    {3002, "loading UnMAC.dll"},
    {4000, "user stopped processing"},
    {4001, "skipped..."},
    {5000, "bad parameter"},
    {6000, "APE compress too much data"},
};

} // namespace

std::string EAPEException::ErrorText(std::int32_t code)
{
    for (const TErrorText& entry : kErrorTexts)
        if (entry.code == code)
            return entry.text;
    return "undefined (" + std::to_string(code) + ")";
}

EAPEException::EAPEException(std::int32_t code) : Exception("MACDll error: " + ErrorText(code)), code_(code) {}

TAPECompress::TAPECompress(const TMACApi& mac) : mac_(mac)
{
    CompressorHandle = mac_.Create(&ErrorCode);
    if (ErrorCode != 0) {
        // A handle that came with an error is not left behind.
        if (CompressorHandle)
            mac_.Destroy(CompressorHandle);
        throw EAPEException(ErrorCode);
    }
}

TAPECompress::~TAPECompress()
{
    if (CompressorHandle)
        mac_.Destroy(CompressorHandle);
}

std::int32_t TAPECompress::StartFile(const std::string& fileName, const TWaveFormatEx& waveFormat,
                                     std::int32_t maxAudioBytes, std::int32_t compressionLevel,
                                     const void* headerData, std::int32_t headerBytes)
{
    return mac_.Start(CompressorHandle, fileName.c_str(), &waveFormat, maxAudioBytes, compressionLevel, headerData,
                      headerBytes);
}

std::uint8_t* TAPECompress::LockBuffer(std::int32_t& bytesAvailable)
{
    return mac_.LockBuffer(CompressorHandle, &bytesAvailable);
}

std::int32_t TAPECompress::UnlockBuffer(std::int32_t bytes) { return mac_.UnlockBuffer(CompressorHandle, bytes, 1); }

std::int32_t TAPECompress::FinishFile(std::uint8_t* terminatingData, std::int32_t terminatingBytes,
                                      std::int32_t wavTerminatingBytes)
{
    return mac_.Finish(CompressorHandle, terminatingData, terminatingBytes, wavTerminatingBytes);
}

TMACOut::TMACOut(TComponent* owner, const TMACApi& mac) : TAudioFileOut(owner), mac_(mac)
{
    if (!Designing() && !mac_.Loaded)
        throw EAudioException(std::string(TMACBinding::WindowsFileName) + " library could not be loaded.");
}

TMACOut::~TMACOut() { ShutdownWorker(); }

void TMACOut::SetCompressionLevel(std::int32_t value)
{
    const bool known = value == 1000 || value == 2000 || value == 3000 || value == 4000;
    compressionLevel_ = known ? value : 2000;
}

void TMACOut::StartOutput()
{
    CheckFileName();
    TAudioInput& input = *Input();
    input.StartReading();
    try {
        EndOfInput = false;
        Compressor = std::make_unique<TAPECompress>(mac_);
        WaveFormat = TWaveFormatEx{};
        mac_.FillWaveFormatEx(&WaveFormat, input.SampleRate(), input.BitsPerSample(), input.ChannelCount());
        const std::int32_t r = Compressor->StartFile(FileName(), WaveFormat, maxAudioBytes_, compressionLevel_, nullptr,
                                                     MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION);
        if (r != 0)
            throw EAudioException("Error starting APECompress.\r\n" + EAPEException::ErrorText(r));
    } catch (...) {
        Compressor.reset();
        try {
            input.StopReading();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
}

bool TMACOut::OutputStep(bool abort)
{
    if (auto r = StepPrologue(abort))
        return *r;
    if (EndOfInput)
        return false;
    const std::int32_t n = Input()->ReadData(PCMBuffer.data(), BufferSize);
    if (n <= 0) {
        EndOfInput = true;
        return true;
    }
    std::int32_t done = 0;
    while (done < n) {
        std::int32_t available = 0;
        std::uint8_t* buffer = Compressor->LockBuffer(available);
        // Waiting for room the library does not give would never end.
        if (!buffer || available <= 0)
            throw EAudioException("APECompress.LockBuffer Error: no room for " + std::to_string(n - done) + " bytes");
        const std::int32_t piece = std::min(available, n - done);
        std::memcpy(buffer, PCMBuffer.data() + done, static_cast<std::size_t>(piece));
        const std::int32_t u = Compressor->UnlockBuffer(piece);
        if (u != 0)
            throw EAudioException("APECompress.UnlockBuffer Error: " + std::to_string(u));
        done += piece;
    }
    return true;
}

void TMACOut::FinishOutput()
{
    // After a failed finish the pipeline calls this once more; the run is over by then.
    if (!Compressor)
        return;
    const std::int32_t r = Compressor->FinishFile(nullptr, 0, 0);
    Compressor.reset();
    if (TAudioInput* input = Input())
        input->StopReading();
    // A file whose end or header did not reach the disk must not pass for a finished one.
    if (r != 0)
        throw EAudioException("APECompress.Finish Error: " + std::to_string(r));
}
