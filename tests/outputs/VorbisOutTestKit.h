#pragma once
// Reading back what TVorbisOut wrote: the Ogg page structure checked byte by byte, the
// identification headers, and the audio decoded by the real libvorbisfile.
#include <cstdint>
#include <string>
#include <vector>

namespace vorbistest {

struct OggPage {
    std::uint8_t flags = 0; // 1 continued, 2 beginning of stream, 4 end of stream
    std::int64_t granule = 0;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
    bool crcGood = false;
    std::vector<std::uint8_t> body;
    bool BeginsStream() const { return flags & 2; }
    bool EndsStream() const { return flags & 4; }
};

// Splits a file into Ogg pages. `trailing` receives the count of bytes after the last whole
// page (0 for a well-formed file).
std::vector<OggPage> ReadOggPages(const std::string& fileName, std::size_t* trailing = nullptr);

// Fields of a Vorbis identification header (the first packet of a logical stream).
struct IdentificationHeader {
    int channels = 0;
    std::int64_t sampleRate = 0;
    std::int32_t bitrateMaximum = 0;
    std::int32_t bitrateNominal = 0;
    std::int32_t bitrateMinimum = 0;
};
// Reads it from a beginning-of-stream page; fails the test when the page holds none.
IdentificationHeader ParseIdentification(const OggPage& page);

struct DecodedLink {
    long serial = 0;
    int channels = 0;
    long rate = 0;
    std::int64_t frames = 0;
    std::vector<std::string> comments;
};
struct DecodedFile {
    std::vector<DecodedLink> links;
    std::vector<std::int16_t> pcm; // every link, interleaved
};
// Decodes through libvorbisfile; raises std::runtime_error when it refuses the file.
DecodedFile DecodeOggVorbis(const std::string& fileName);

// Interleaved little-endian 16-bit bytes as samples.
std::vector<std::int16_t> Samples(const std::vector<std::uint8_t>& bytes);

// RMS of (decoded - source) over RMS of source, on the common length.
double RelativeRmsError(const std::vector<std::int16_t>& source, const std::vector<std::int16_t>& decoded);

// Checks a finished file with tools we did not write (ogginfo, ffprobe, ffmpeg) through
// VorbisOutCheck.sh. Natively it runs now and adds a test failure with the tools' words;
// in the Windows build it is written to a list beside the file, which a follow-up test runs
// once the Windows test program has ended.
void CheckWithTools(const std::string& check, const std::string& fileName, const std::vector<std::string>& args = {});

} // namespace vorbistest
