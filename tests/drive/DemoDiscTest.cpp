// The demo disc the build made: its music tracks and its data track.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TrackRow {
    int Number;
    std::uint32_t First, Sectors;
    std::string Kind;
};

std::vector<TrackRow> ReadTrackTable()
{
    std::ifstream in(KESTRIP_DEMO_DIR "/demo.tracks.txt");
    std::vector<TrackRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        TrackRow row{};
        fields >> row.Number >> row.First >> row.Sectors >> row.Kind;
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::uint8_t> ReadBin(std::uint32_t first, std::uint32_t sectors)
{
    std::ifstream in(KESTRIP_DEMO_DIR "/demo.bin", std::ios::binary);
    in.seekg(std::streamoff(first) * 2352);
    std::vector<std::uint8_t> bytes(std::size_t(sectors) * 2352);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_EQ(in.gcount(), std::streamsize(bytes.size()));
    return bytes;
}

std::vector<double> Samples(const std::vector<std::uint8_t>& bytes)
{
    std::vector<double> out(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8) / 32768.0;
    return out;
}

// Arithmetic in GF(2^8) with the polynomial x^8 + x^4 + x^3 + x^2 + 1, done the long way.
std::uint8_t GfMul(std::uint8_t a, std::uint8_t b)
{
    unsigned product = 0, x = a;
    for (int bit = 0; bit < 8; ++bit) {
        if (b & (1 << bit))
            product ^= x << bit;
    }
    for (int bit = 15; bit >= 8; --bit) {
        if (product & (1u << bit))
            product ^= 0x11Du << (bit - 8);
    }
    return static_cast<std::uint8_t>(product);
}

std::uint8_t GfPow(int exponent)
{
    std::uint8_t r = 1;
    for (int i = 0; i < exponent; ++i)
        r = GfMul(r, 2);
    return r;
}

// The detection code's generator (x^16 + x^15 + x^2 + 1)(x^16 + x^2 + x + 1), bit by bit.
std::uint32_t Edc(const std::uint8_t* data, std::size_t count)
{
    std::uint64_t a = (1u << 16) | (1u << 15) | (1u << 2) | 1, b = (1u << 16) | (1u << 2) | (1u << 1) | 1, poly = 0;
    for (int i = 0; i <= 16; ++i) {
        if (b & (1u << i))
            poly ^= a << i;
    }
    std::uint32_t reflected = 0;
    for (int i = 0; i < 32; ++i) {
        if (poly & (1ull << i))
            reflected |= 1u << (31 - i);
    }
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? reflected : 0);
    }
    return crc;
}

// Both syndromes of every P column and Q diagonal must be zero.
void ExpectParityHolds(const std::uint8_t* sector, std::uint32_t lba)
{
    const std::uint8_t* d = sector + 12;
    for (int column = 0; column < 86; ++column) {
        std::uint8_t s0 = 0, s1 = 0;
        for (int i = 0; i < 26; ++i) {
            std::uint8_t v = d[column + 86 * i];
            s0 ^= v;
            s1 ^= GfMul(v, GfPow(25 - i));
        }
        ASSERT_EQ(s0 | s1, 0) << "P column " << column << " of sector " << lba;
    }
    for (int diagonal = 0; diagonal < 52; ++diagonal) {
        std::uint8_t s0 = 0, s1 = 0;
        int index = (diagonal / 2) * 86 + (diagonal % 2);
        for (int i = 0; i < 45; ++i) {
            std::uint8_t v = i < 43 ? d[index] : d[2236 + diagonal + 52 * (i - 43)];
            index = (index + 88) % 2236;
            s0 ^= v;
            s1 ^= GfMul(v, GfPow(44 - i));
        }
        ASSERT_EQ(s0 | s1, 0) << "Q diagonal " << diagonal << " of sector " << lba;
    }
}

std::uint8_t Bcd(std::uint32_t v) { return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10)); }

} // namespace

TEST(DemoDisc, HasFiveAudioTracksOfMusicAndADataTrackLast)
{
    auto rows = ReadTrackTable();
    ASSERT_EQ(rows.size(), 6u);
    std::uint32_t next = 0;
    std::vector<std::vector<double>> openings;
    for (const TrackRow& row : rows) {
        EXPECT_EQ(row.First, next);
        next += row.Sectors;
        if (row.Number == 6) {
            EXPECT_EQ(row.Kind, "data");
            continue;
        }
        EXPECT_EQ(row.Kind, "audio");
        double seconds = row.Sectors / 75.0;
        EXPECT_GE(seconds, 20.0) << row.Number;
        EXPECT_LE(seconds, 70.0) << row.Number;
        auto samples = Samples(ReadBin(row.First, row.Sectors));
        double peak = 0, energy = 0;
        for (double s : samples) {
            peak = std::max(peak, std::fabs(s));
            energy += s * s;
        }
        double rmsDb = 10 * std::log10(energy / samples.size());
        EXPECT_LT(peak, 0.9) << "track " << row.Number << " clips";
        EXPECT_GT(rmsDb, -24.0) << "track " << row.Number << " is too quiet";
        // Music does not start or end with a click.
        EXPECT_LT(std::fabs(samples.front()) + std::fabs(samples.back()), 0.01) << row.Number;
        openings.emplace_back(samples.begin() + 2 * 44100, samples.begin() + 12 * 44100);
    }
    // Different pieces: no two openings are alike.
    for (std::size_t a = 0; a < openings.size(); ++a) {
        for (std::size_t b = a + 1; b < openings.size(); ++b) {
            double dot = 0, na = 0, nb = 0;
            for (std::size_t i = 0; i < openings[a].size(); ++i) {
                dot += openings[a][i] * openings[b][i];
                na += openings[a][i] * openings[a][i];
                nb += openings[b][i] * openings[b][i];
            }
            EXPECT_LT(std::fabs(dot) / std::sqrt(na * nb), 0.3) << a + 1 << " and " << b + 1;
        }
    }
}

TEST(DemoDisc, DataTrackSectorsAreValidMode1)
{
    auto rows = ReadTrackTable();
    ASSERT_EQ(rows.size(), 6u);
    const TrackRow& data = rows.back();
    auto bytes = ReadBin(data.First, data.Sectors);
    for (std::uint32_t s = 0; s < data.Sectors; ++s) {
        const std::uint8_t* sector = bytes.data() + std::size_t(s) * 2352;
        const std::uint32_t lba = data.First + s, address = lba + 150;
        ASSERT_EQ(sector[0], 0x00);
        for (int i = 1; i <= 10; ++i)
            ASSERT_EQ(sector[i], 0xFF);
        ASSERT_EQ(sector[11], 0x00);
        ASSERT_EQ(sector[12], Bcd(address / 4500));
        ASSERT_EQ(sector[13], Bcd(address / 75 % 60));
        ASSERT_EQ(sector[14], Bcd(address % 75));
        ASSERT_EQ(sector[15], 0x01);
        std::uint32_t stored = sector[2064] | sector[2065] << 8 | sector[2066] << 16 | std::uint32_t(sector[2067]) << 24;
        ASSERT_EQ(stored, Edc(sector, 2064)) << "sector " << lba;
        for (int i = 2068; i < 2076; ++i)
            ASSERT_EQ(sector[i], 0);
        ExpectParityHolds(sector, lba);
    }
    // The file system's descriptor sits 16 blocks into the track.
    const std::uint8_t* pvd = bytes.data() + 16 * 2352 + 16;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pvd + 1), 5), "CD001");
}
