// The IMA ADPCM block encoder on its own: codes worked out by hand, the stereo layout, and
// long signals through the test's own decoder.
#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "WaveOutFileReader.h"
#include "common/PipelineTestKit.h"
#include "outputs/WaveImaAdpcm.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WaveImaEncoder, CodesOfAMonoBlockMatchTheWorkedExample)
{
    // p=0 i=0: 100 -> code 7 (p 11, i 8); 100 -> 7 (p 41, i 16); 0 -> 12 (p 3, i 18);
    // 0 -> 8 (p -2, i 17); 0 -> 0; 0 -> 8; 0 -> 0; 0 -> 8, leaving the step index at 13.
    const std::int16_t frames[9] = {0, 100, 100, 0, 0, 0, 0, 0, 0};
    TImaChannelState state[1];
    Bytes block(8, 0xAA);
    EncodeImaBlock(frames, 1, 8, state, block.data());
    EXPECT_EQ(block, (Bytes{0x00, 0x00, 0x00, 0x00, 0x77, 0x8C, 0x80, 0x80}));
    EXPECT_EQ(state[0].StepIndex, 13);

    // The next block starts from its own first sample and the carried step index.
    const std::int16_t next[9] = {-1234, -1234, -1234, -1234, -1234, -1234, -1234, -1234, -1234};
    EncodeImaBlock(next, 1, 8, state, block.data());
    EXPECT_EQ(block[0], 0x2E);
    EXPECT_EQ(block[1], 0xFB);
    EXPECT_EQ(block[2], 13);
    EXPECT_EQ(block[3], 0);
}

TEST(WaveImaEncoder, StereoBlocksAlternateGroupsOfEightCodes)
{
    std::int16_t frames[2 * 9];
    const std::int16_t left[9] = {0, 100, 100, 0, 0, 0, 0, 0, 0};
    for (int k = 0; k < 9; ++k) {
        frames[2 * k] = left[k];
        frames[2 * k + 1] = -1234; // constant: every code 0
    }
    TImaChannelState state[2];
    Bytes block(16, 0xAA);
    EncodeImaBlock(frames, 2, 16, state, block.data());
    EXPECT_EQ(block, (Bytes{0x00, 0x00, 0x00, 0x00, 0x2E, 0xFB, 0x00, 0x00, 0x77, 0x8C, 0x80, 0x80, 0, 0, 0, 0}));
}

TEST(WaveImaEncoder, BlockGeometry)
{
    EXPECT_EQ(ImaSamplesPerBlock(512, 1), 1017);
    EXPECT_EQ(ImaSamplesPerBlock(512, 2), 505);
    EXPECT_EQ(ImaSamplesPerBlock(1024, 2), 1017);

    EXPECT_FALSE(ImaLayoutProblem(512, 1));
    EXPECT_FALSE(ImaLayoutProblem(8, 1));
    EXPECT_FALSE(ImaLayoutProblem(16, 2));
    EXPECT_EQ(ImaLayoutProblem(512, 3), "Cannot encode 3 channels into ADPCM (1 or 2 are possible).");
    EXPECT_EQ(ImaLayoutProblem(4, 2), "ADPCM block size 4 is not possible with 2 channels.");
    EXPECT_EQ(ImaLayoutProblem(4, 1), "ADPCM block size 4 is not possible with 1 channel.");
    // Stereo codes come in 8-byte pairs of groups; 516 would leave half a pair.
    EXPECT_TRUE(ImaLayoutProblem(516, 2));
    // 131,057 samples per block do not fit the header's 16-bit field.
    EXPECT_TRUE(ImaLayoutProblem(65532, 1));
    EXPECT_FALSE(ImaLayoutProblem(32768, 1));
}

// Encodes `frames` block by block as a run does and decodes the blocks again.
void RoundTrip(int channels, int blockSize, std::size_t frames)
{
    SCOPED_TRACE(std::to_string(channels) + " channels, blocks of " + std::to_string(blockSize));
    const auto input = wavetest::ToSamples(testkit::MakeTestSignal(frames, channels));
    const auto perBlock = static_cast<std::size_t>(ImaSamplesPerBlock(blockSize, channels));
    const std::size_t blocks = frames / perBlock;
    TImaChannelState state[2];
    std::vector<std::int16_t> decoded;
    std::vector<int> headerIndices;
    for (std::size_t b = 0; b < blocks; ++b) {
        Bytes block(static_cast<std::size_t>(blockSize));
        EncodeImaBlock(&input[b * perBlock * channels], channels, blockSize, state, block.data());
        headerIndices.push_back(block[2]);
        const auto samples = wavetest::DecodeImaBlock(block.data(), block.size(), channels);
        // Block headers carry the input's samples exactly.
        for (int ch = 0; ch < channels; ++ch)
            ASSERT_EQ(samples[ch], input[b * perBlock * channels + ch]) << "block " << b;
        decoded.insert(decoded.end(), samples.begin(), samples.end());
    }
    // The step index goes on from block to block instead of starting over.
    EXPECT_EQ(headerIndices.front(), 0);
    EXPECT_GT(*std::max_element(headerIndices.begin(), headerIndices.end()), 0);
    ASSERT_EQ(decoded.size(), blocks * perBlock * channels);
    EXPECT_GT(wavetest::SnrDb(input, decoded, decoded.size()), 25.0);
}

TEST(WaveImaEncoder, LongSignalsDecodeCloseToTheInput)
{
    RoundTrip(1, 512, 44100);
    RoundTrip(2, 512, 44100);
    RoundTrip(2, 2048, 44100);
    RoundTrip(1, 36, 4000);
}

TEST(WaveImaEncoder, FullScaleSquareWaveStaysInRange)
{
    // Jumps between the extremes drive the prediction into its clamp; it must settle at the
    // extremes, not wrap around to the other sign.
    std::vector<std::int16_t> input(2 * 505);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = (i / 80) % 2 ? 32767 : -32768;
    TImaChannelState state[2];
    Bytes block(512);
    EncodeImaBlock(input.data(), 2, 512, state, block.data());
    const auto decoded = wavetest::DecodeImaBlock(block.data(), block.size(), 2);
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (i / 2 % 40 == 39) { // the last frame of each half period
            EXPECT_LT(std::abs(decoded[i] - input[i]), 500) << "sample " << i;
        }
    }
    EXPECT_LE(state[0].StepIndex, 88);
}

} // namespace
