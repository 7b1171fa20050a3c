#pragma once
// Disc images for tests: a CUE sheet and a BIN whose every byte tells where it lies, so that
// a misplaced or lost sector shows at once.
#include <cstdint>
#include <string>
#include <vector>

namespace disckit {

constexpr std::uint32_t kSectorBytes = 2352;

struct TrackSpec {
    std::uint32_t Start = 0;   // sector of INDEX 01
    bool Audio = true;
    std::string Flags;         // e.g. "DCP"; empty for none
};

struct ImageSpec {
    std::string Title;                 // TITLE line; none when empty
    std::vector<TrackSpec> Tracks;
    std::uint32_t TotalSectors = 0;    // size of the BIN
    bool Sparse = false;               // BIN of zeros made by extending the file (big discs)
};

struct Image {
    std::string CuePath;
    std::string BinPath;
    ImageSpec Spec;
};

// Writes <folder><name>.cue and <folder><name>.bin (folder ends with a separator; UTF-8).
Image WriteImage(const std::string& folder, const std::string& name, const ImageSpec& spec);
// Consecutive tracks of the given lengths (sectors) from sector 0.
ImageSpec Consecutive(const std::vector<std::uint32_t>& lengths, const std::string& title = {});

// The byte at a position of a patterned BIN.
std::uint8_t PatternByte(std::uint64_t offset);
// Bytes [firstSector, endSector) as the BIN holds them.
std::vector<std::uint8_t> ReadSectors(const Image& image, std::uint32_t firstSector, std::uint32_t endSector);

std::string Msf(std::uint32_t sector);
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
// Cuts or extends a file to the given size.
void ResizeFile(const std::string& path, std::uint64_t bytes);

} // namespace disckit
