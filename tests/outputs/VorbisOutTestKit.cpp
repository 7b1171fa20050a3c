#include "VorbisOutTestKit.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <stdexcept>

#include "classlib/FileStream.h"
#include "common/PipelineTestKit.h"
#include "outputs/VorbisFileBinding.h"

namespace vorbistest {

namespace {

std::uint32_t OggCrc(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    for (std::size_t i = 0; i < size; ++i)
        crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }

ov_callbacks StreamCallbacks()
{
    ov_callbacks callbacks{};
    callbacks.read_func = [](void* buffer, size_t size, size_t count, void* source) -> size_t {
        return size ? static_cast<size_t>(static_cast<TFileStream*>(source)->Read(buffer, size * count)) / size : 0;
    };
    callbacks.seek_func = [](void* source, ogg_int64_t offset, int whence) -> int {
        TSeekOrigin origin = whence == SEEK_SET   ? TSeekOrigin::soBeginning
                             : whence == SEEK_CUR ? TSeekOrigin::soCurrent
                                                  : TSeekOrigin::soEnd;
        return static_cast<TFileStream*>(source)->Seek(offset, origin) < 0 ? -1 : 0;
    };
    callbacks.tell_func = [](void* source) -> long {
        return static_cast<long>(static_cast<TFileStream*>(source)->Position());
    };
    return callbacks;
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::vector<OggPage> ReadOggPages(const std::string& fileName, std::size_t* trailing)
{
    const std::vector<std::uint8_t> bytes = testkit::ReadFileBytes(fileName);
    std::vector<OggPage> pages;
    std::size_t at = 0;
    while (at + 27 <= bytes.size() && std::equal(bytes.begin() + at, bytes.begin() + at + 4, "OggS")) {
        const std::uint8_t* h = bytes.data() + at;
        const std::size_t segments = h[26];
        if (at + 27 + segments > bytes.size())
            break;
        std::size_t bodySize = 0;
        for (std::size_t i = 0; i < segments; ++i)
            bodySize += h[27 + i];
        const std::size_t headerSize = 27 + segments;
        if (at + headerSize + bodySize > bytes.size())
            break;
        OggPage page;
        page.flags = h[5];
        page.granule = static_cast<std::int64_t>(Le32(h + 6) | static_cast<std::uint64_t>(Le32(h + 10)) << 32);
        page.serial = Le32(h + 14);
        page.sequence = Le32(h + 18);
        std::array<std::uint8_t, 4> zero{};
        std::uint32_t crc = OggCrc(h, 22);
        crc = OggCrc(zero.data(), 4, crc);
        crc = OggCrc(h + 26, headerSize - 26 + bodySize, crc);
        page.crcGood = crc == Le32(h + 22);
        page.body.assign(h + headerSize, h + headerSize + bodySize);
        pages.push_back(std::move(page));
        at += headerSize + bodySize;
    }
    if (trailing)
        *trailing = bytes.size() - at;
    return pages;
}

IdentificationHeader ParseIdentification(const OggPage& page)
{
    IdentificationHeader header;
    const auto& b = page.body;
    const bool valid = b.size() >= 30 && b[0] == 1 && std::equal(b.begin() + 1, b.begin() + 7, "vorbis");
    EXPECT_TRUE(valid) << "no identification header on the page";
    if (!valid)
        return header;
    header.channels = b[11];
    header.sampleRate = Le32(&b[12]);
    header.bitrateMaximum = static_cast<std::int32_t>(Le32(&b[16]));
    header.bitrateNominal = static_cast<std::int32_t>(Le32(&b[20]));
    header.bitrateMinimum = static_cast<std::int32_t>(Le32(&b[24]));
    return header;
}

DecodedFile DecodeOggVorbis(const std::string& fileName)
{
    const TVorbisFileBinding& ov = VorbisFileLibrary();
    if (!ov.Loaded())
        throw std::runtime_error("vorbisfile library not loaded");
    TFileStream in(fileName, fmOpenRead);
    OggVorbis_File file;
    if (ov.ov_open_callbacks(&in, &file, nullptr, 0, StreamCallbacks()) != 0)
        throw std::runtime_error("libvorbisfile does not accept " + fileName);
    DecodedFile decoded;
    for (long i = 0; i < ov.ov_streams(&file); ++i) {
        DecodedLink link;
        link.serial = ov.ov_serialnumber(&file, static_cast<int>(i));
        const vorbis_info* info = ov.ov_info(&file, static_cast<int>(i));
        link.channels = info->channels;
        link.rate = info->rate;
        link.frames = ov.ov_pcm_total(&file, static_cast<int>(i));
        const vorbis_comment* comment = ov.ov_comment(&file, static_cast<int>(i));
        for (int c = 0; c < comment->comments; ++c)
            link.comments.emplace_back(comment->user_comments[c], static_cast<std::size_t>(comment->comment_lengths[c]));
        decoded.links.push_back(std::move(link));
    }
    char buffer[8192];
    int section = 0;
    long got;
    while ((got = ov.ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
        const auto* samples = reinterpret_cast<const std::int16_t*>(buffer);
        decoded.pcm.insert(decoded.pcm.end(), samples, samples + got / 2);
    }
    ov.ov_clear(&file);
    if (got < 0)
        throw std::runtime_error("libvorbisfile read error " + std::to_string(got) + " in " + fileName);
    return decoded;
}

std::vector<std::int16_t> Samples(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return samples;
}

double RelativeRmsError(const std::vector<std::int16_t>& source, const std::vector<std::int16_t>& decoded)
{
    const std::size_t n = std::min(source.size(), decoded.size());
    double signal = 0, error = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = static_cast<double>(decoded[i]) - source[i];
        signal += static_cast<double>(source[i]) * source[i];
        error += d * d;
    }
    return signal > 0 ? std::sqrt(error / signal) : 1.0;
}

void CheckWithTools(const std::string& check, const std::string& fileName, const std::vector<std::string>& args)
{
#ifdef _WIN32
    const auto slash = fileName.find_last_of("\\/");
    const std::string folder = fileName.substr(0, slash + 1);
    std::string line = check + "\t" + fileName.substr(slash + 1);
    for (const std::string& arg : args)
        line += "\t" + arg;
    line += "\n";
    const std::string list = folder + "vorbis-checks.txt";
    TFileStream out(list, FileExists(list) ? fmOpenReadWrite : fmCreate);
    out.Seek(0, TSeekOrigin::soEnd);
    out.WriteBuffer(line.data(), static_cast<std::int64_t>(line.size()));
#else
    std::string command = "bash " + ShellQuote(VORBIS_OUT_CHECK_SCRIPT) + " " + ShellQuote(check) + " " + ShellQuote(fileName);
    for (const std::string& arg : args)
        command += " " + ShellQuote(arg);
    std::string output;
    const int status = testkit::RunCommand(command + " 2>&1", &output);
    EXPECT_EQ(status, 0) << check << " " << fileName << ":\n" << output;
#endif
}

} // namespace vorbistest
