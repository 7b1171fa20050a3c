#include "DiscImageKit.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "classlib/FileStream.h"

namespace disckit {

static std::filesystem::path FsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::uint8_t PatternByte(std::uint64_t offset)
{
    std::uint64_t sector = offset / kSectorBytes, inSector = offset % kSectorBytes;
    return static_cast<std::uint8_t>(sector * 131 + inSector * 7 + (inSector >> 8) * 3 + (sector >> 8));
}

std::string Msf(std::uint32_t sector)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", sector / 4500, sector / 75 % 60, sector % 75);
    return text;
}

void WriteText(const std::string& path, const std::string& text)
{
    TFileStream stream(path, fmCreate);
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

std::string ReadText(const std::string& path)
{
    if (!FileExists(path))
        return {};
    TFileStream stream(path, fmOpenRead);
    std::string text(static_cast<std::size_t>(stream.Size()), '\0');
    stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    return text;
}

void ResizeFile(const std::string& path, std::uint64_t bytes) { std::filesystem::resize_file(FsPath(path), bytes); }

ImageSpec Consecutive(const std::vector<std::uint32_t>& lengths, const std::string& title)
{
    ImageSpec spec;
    spec.Title = title;
    for (std::uint32_t length : lengths) {
        spec.Tracks.push_back({spec.TotalSectors, true, {}});
        spec.TotalSectors += length;
    }
    return spec;
}

Image WriteImage(const std::string& folder, const std::string& name, const ImageSpec& spec)
{
    Image image{folder + name + ".cue", folder + name + ".bin", spec};
    {
        TFileStream bin(image.BinPath, fmCreate);
        if (!spec.Sparse) {
            std::vector<std::uint8_t> sector(kSectorBytes);
            for (std::uint32_t s = 0; s < spec.TotalSectors; ++s) {
                for (std::uint32_t i = 0; i < kSectorBytes; ++i)
                    sector[i] = PatternByte(std::uint64_t(s) * kSectorBytes + i);
                bin.WriteBuffer(sector.data(), kSectorBytes);
            }
        }
    }
    if (spec.Sparse)
        ResizeFile(image.BinPath, std::uint64_t(spec.TotalSectors) * kSectorBytes);

    std::string cue;
    if (!spec.Title.empty())
        cue += "TITLE \"" + spec.Title + "\"\r\n";
    cue += "FILE \"" + name + ".bin\" BINARY\r\n";
    for (std::size_t i = 0; i < spec.Tracks.size(); ++i) {
        const TrackSpec& t = spec.Tracks[i];
        char line[48];
        std::snprintf(line, sizeof line, "  TRACK %02zu %s\r\n", i + 1, t.Audio ? "AUDIO" : "MODE1/2352");
        cue += line;
        if (!t.Flags.empty())
            cue += "    FLAGS " + t.Flags + "\r\n";
        if (i == 0 && t.Start > 0)
            cue += "    INDEX 00 00:00:00\r\n";
        cue += "    INDEX 01 " + Msf(t.Start) + "\r\n";
    }
    WriteText(image.CuePath, cue);
    return image;
}

std::vector<std::uint8_t> ReadSectors(const Image& image, std::uint32_t firstSector, std::uint32_t endSector)
{
    TFileStream bin(image.BinPath, fmOpenRead);
    std::vector<std::uint8_t> bytes(std::size_t(endSector - firstSector) * kSectorBytes);
    bin.SetPosition(std::int64_t(firstSector) * kSectorBytes);
    bin.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

} // namespace disckit
