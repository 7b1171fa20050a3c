#include "mac/ApeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/PipelineTestKit.h"
#include "mac/Checksums.h"

namespace apetest {

namespace {

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

#ifndef _WIN32
std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
#endif

}  // namespace

ApeFileInfo ReadApeFile(const Bytes& file) {
    ApeFileInfo info;
    if (file.size() < 76 || std::memcmp(file.data(), "MAC ", 4) != 0) {
        ADD_FAILURE() << "not an APE file (" << file.size() << " bytes)";
        return info;
    }
    info.version = std::uint16_t(Le16(file, 4));
    info.descriptorBytes = Le32(file, 8);
    info.headerBytes = Le32(file, 12);
    info.seekTableBytes = Le32(file, 16);
    info.wavHeaderBytes = Le32(file, 20);
    info.frameDataBytes = Le32(file, 24);
    info.wavTailBytes = Le32(file, 32);
    std::copy_n(file.begin() + 36, 16, info.md5.begin());
    const std::size_t h = info.descriptorBytes;
    info.level = std::uint16_t(Le16(file, h));
    info.formatFlags = std::uint16_t(Le16(file, h + 2));
    info.blocksPerFrame = Le32(file, h + 4);
    info.finalFrameBlocks = Le32(file, h + 8);
    info.totalFrames = Le32(file, h + 12);
    info.bitsPerSample = std::uint16_t(Le16(file, h + 16));
    info.channels = std::uint16_t(Le16(file, h + 18));
    info.sampleRate = Le32(file, h + 20);
    const std::size_t seekAt = h + info.headerBytes;
    info.firstFrame = std::uint32_t(seekAt + info.seekTableBytes + info.wavHeaderBytes);
    if (info.firstFrame + std::uint64_t(info.frameDataBytes) + info.wavTailBytes > file.size()) {
        ADD_FAILURE() << "file shorter than its descriptor says";
        return info;
    }
    for (std::size_t i = 0; i < info.seekTableBytes / 4; ++i)
        info.seekTable.push_back(Le32(file, seekAt + 4 * i));

    mac::Md5 md5;
    const std::size_t wavHeaderAt = seekAt + info.seekTableBytes;
    md5.Update(file.data() + wavHeaderAt, info.wavHeaderBytes);
    md5.Update(file.data() + info.firstFrame, info.frameDataBytes);
    md5.Update(file.data() + file.size() - info.wavTailBytes, info.wavTailBytes);
    md5.Update(file.data() + h, info.headerBytes + info.seekTableBytes);
    info.computedMd5 = md5.Final();
    return info;
}

#ifndef _WIN32
std::optional<Bytes> DecodeWithFfmpeg(const std::string& apePath, std::string* log) {
    const std::string decoded = apePath + ".decoded";
    const std::string command = "ffmpeg -nostdin -hide_banner -v error -err_detect crccheck+explode -i " +
                                Quoted(apePath) + " -f s16le -y " + Quoted(decoded) + " 2>&1";
    std::string output;
    const int status = testkit::RunCommand(command, &output);
    if (log) *log = output;
    if (status != 0) return std::nullopt;
    Bytes bytes = testkit::ReadFileBytes(decoded);
    std::remove(decoded.c_str());
    return bytes;
}
#endif

void ExpectDecodesTo(const std::string& apePath, const Bytes& pcm) {
#ifdef _WIN32
    testkit::WriteFileBytes(apePath + ".raw", pcm);
#else
    std::string log;
    const std::optional<Bytes> decoded = DecodeWithFfmpeg(apePath, &log);
    ASSERT_TRUE(decoded) << "ffmpeg could not decode " << apePath << ": " << log;
    EXPECT_EQ(log, "") << apePath;
    ASSERT_EQ(decoded->size(), pcm.size()) << apePath;
    const auto mismatch = std::mismatch(pcm.begin(), pcm.end(), decoded->begin());
    EXPECT_TRUE(mismatch.first == pcm.end())
        << apePath << ": first difference at byte " << (mismatch.first - pcm.begin());
#endif
}

std::string CorpusFolder() {
    const char* dir = std::getenv("KESTRIP_CORPUS_DIR");
    if (!dir || !*dir) return {};
    std::string folder = dir;
#ifdef _WIN32
    // Wine shows the Linux file system as drive Z:.
    if (folder[0] == '/') {
        std::replace(folder.begin(), folder.end(), '/', '\\');
        folder = "Z:" + folder;
    }
    folder += "\\";
#else
    folder += "/";
#endif
    return folder;
}

Bytes ReadWavPcm(const std::string& path) {
    Bytes file;
    try {
        file = testkit::ReadFileBytes(path);
    } catch (const std::exception&) {
        return {};
    }
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0) return {};
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::uint32_t size = Le32(file, at + 4);
        if (std::memcmp(file.data() + at, "data", 4) == 0) {
            const std::size_t n = std::min<std::size_t>(size, file.size() - at - 8);
            return Bytes(file.begin() + long(at) + 8, file.begin() + long(at + 8 + n));
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

Bytes MakeHardSignal(std::size_t frames, int channels, std::uint32_t seed) {
    Bytes out(frames * std::size_t(channels) * 2);
    std::uint32_t noise = seed * 2654435761u + 7;
    auto put = [&](std::size_t frame, int channel, std::int32_t v) {
        const auto s = std::uint16_t(std::int16_t(std::clamp(v, -32768, 32767)));
        const std::size_t at = (frame * std::size_t(channels) + std::size_t(channel)) * 2;
        out[at] = std::uint8_t(s);
        out[at + 1] = std::uint8_t(s >> 8);
    };
    for (std::size_t i = 0; i < frames; ++i) {
        const std::size_t section = (i / 4000) % 6;
        std::int32_t shared = 0;
        for (int c = 0; c < channels; ++c) {
            noise = noise * 1664525u + 1013904223u;
            std::int32_t v = 0;
            switch (section) {
                case 0: v = 0; break;                                          // silence
                case 1: v = std::int32_t(noise >> 16) - 32768; break;          // full-scale noise
                case 2: v = (i / 37) % 2 ? 32767 : -32768; break;              // full-scale square
                case 3: v = i % 4000 == 2000 ? (c ? -32768 : 32767) : 0; break;  // one spike
                case 4: v = c == 0 ? std::int32_t(noise >> 20) - 2048 : shared; break;  // L == R
                default: v = std::int32_t((i * 977) % 65536) - 32768; break;   // ramps, wrapping
            }
            if (c == 0) shared = v;
            put(i, c, v);
        }
    }
    return out;
}

Bytes LeftChannel(const Bytes& stereo) {
    Bytes mono;
    mono.reserve(stereo.size() / 2);
    for (std::size_t i = 0; i + 3 < stereo.size(); i += 4) {
        mono.push_back(stereo[i]);
        mono.push_back(stereo[i + 1]);
    }
    return mono;
}

}  // namespace apetest
