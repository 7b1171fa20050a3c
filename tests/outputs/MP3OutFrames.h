#pragma once
// Reads an MP3 file's layout from its bytes: the MPEG audio frames one after another and an
// ID3v1 tag at the end, as a player would find them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mp3test {

struct TMpegFrame {
    int version = 0; // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
    int kbps = 0;
    int sampleRate = 0;
    bool monoMode = false;
    std::size_t offset = 0;
    std::size_t length = 0;
    int SamplesPerFrame() const { return version == 10 ? 1152 : 576; }
};

struct TMpegLayout {
    std::vector<TMpegFrame> frames;
    bool hasId3v1 = false;
    // False when something other than whole frames and the tag was found.
    bool wellFormed = true;
    std::string problem;
};

inline TMpegLayout ScanMpegFile(const std::vector<std::uint8_t>& bytes)
{
    static constexpr int kMpeg1Kbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int kMpeg2Kbps[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
    TMpegLayout layout;
    std::size_t at = 0;
    auto fail = [&](const std::string& why) {
        layout.wellFormed = false;
        layout.problem = why + " at byte " + std::to_string(at);
        return layout;
    };
    while (at < bytes.size()) {
        if (bytes.size() - at == 128 && bytes[at] == 'T' && bytes[at + 1] == 'A' && bytes[at + 2] == 'G') {
            layout.hasId3v1 = true;
            return layout;
        }
        if (bytes.size() - at < 4)
            return fail("truncated header");
        const std::uint8_t* h = &bytes[at];
        if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
            return fail("no frame sync");
        const int versionBits = (h[1] >> 3) & 3;
        const int layerBits = (h[1] >> 1) & 3;
        const int bitrateIndex = h[2] >> 4;
        const int rateIndex = (h[2] >> 2) & 3;
        if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
            return fail("not a Layer III frame header");
        TMpegFrame frame;
        frame.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
        const int row = frame.version == 10 ? 0 : frame.version == 20 ? 1 : 2;
        frame.kbps = frame.version == 10 ? kMpeg1Kbps[bitrateIndex] : kMpeg2Kbps[bitrateIndex];
        frame.sampleRate = kRates[row][rateIndex];
        frame.monoMode = (h[3] >> 6) == 3;
        frame.offset = at;
        frame.length = static_cast<std::size_t>((frame.version == 10 ? 144000 : 72000) * frame.kbps / frame.sampleRate +
                                                ((h[2] >> 1) & 1));
        if (at + frame.length > bytes.size())
            return fail("frame runs past the end");
        layout.frames.push_back(frame);
        at += frame.length;
    }
    return layout;
}

} // namespace mp3test
