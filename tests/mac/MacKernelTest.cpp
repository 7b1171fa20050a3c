// The NN filters' vector kernels against the scalar reference, and whole frames compressed
// with each kernel: the same values and the same bytes, on real music, random values and
// the extremes (clipped histories, wrapping coefficients and dot products).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <limits>
#include <random>
#include <vector>

#include "common/PipelineTestKit.h"
#include "mac/ApeFormat.h"
#include "mac/ApeTestSupport.h"
#include "mac/FrameEncoder.h"
#include "mac/NNFilter.h"

namespace {

using Values = std::vector<std::int32_t>;

std::vector<mac::SimdLevel> VectorLevels() {
    std::vector<mac::SimdLevel> levels;
    for (mac::SimdLevel l : {mac::SimdLevel::Sse2, mac::SimdLevel::Avx2})
        if (mac::SimdLevelAvailable(l)) levels.push_back(l);
    return levels;
}

// Real music when the corpus is there, music-like synthesis otherwise (interleaved stereo).
apetest::Bytes MusicPcm(std::size_t frames) {
    const std::string corpus = apetest::CorpusFolder();
    apetest::Bytes pcm = corpus.empty() ? apetest::Bytes() : apetest::ReadWavPcm(corpus + "track01.wav");
    // Forty seconds in: the track is under way.
    const std::size_t skip = 40 * 176400;
    if (pcm.size() >= skip + frames * 4) return apetest::Bytes(pcm.begin() + long(skip), pcm.begin() + long(skip + frames * 4));
    return testkit::MakeTestSignal(frames, 2, 21);
}

Values LeftSamples(const apetest::Bytes& stereo) {
    Values out(stereo.size() / 4);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = std::int16_t(stereo[4 * i] | stereo[4 * i + 1] << 8);
    return out;
}

// Filter inputs: named sequences, long enough to slide the history windows many times.
struct Input {
    const char* name;
    Values values;
};

std::vector<Input> Inputs() {
    constexpr std::size_t n = 5000;
    std::mt19937 random(7);
    std::vector<Input> inputs;
    inputs.push_back({"music", LeftSamples(MusicPcm(n))});
    Values music2x = inputs.back().values;
    for (auto& v : music2x) v *= 3;  // beyond 16 bits: clipped in the history
    inputs.push_back({"loud music", music2x});

    Values full(n), small(n), extremes(n), huge(n), mixed(n);
    std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    std::uniform_int_distribution<std::int32_t> sixteen(-32768, 32767);
    const std::int32_t ends[] = {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
                                 -32768, 32767, -32769, 32768, 0, 1, -1};
    for (std::size_t i = 0; i < n; ++i) {
        full[i] = any(random);
        small[i] = sixteen(random) / 64;
        extremes[i] = ends[random() % std::size(ends)];
        // A constant no prediction reaches: the residual keeps its sign, so the coefficients
        // climb until they wrap, and the dot products with them wrap too.
        huge[i] = 1'000'000'000;
        mixed[i] = i % 700 < 350 ? (i % 2 ? 32767 : -32768) : 0;  // full-scale square, silence
    }
    inputs.push_back({"random 32-bit", full});
    inputs.push_back({"random quiet", small});
    inputs.push_back({"extremes", extremes});
    inputs.push_back({"beyond reach", huge});
    inputs.push_back({"square and silence", mixed});
    return inputs;
}

// Runs the filter over the values in uneven pieces (so that state carries between calls)
// and notes how far the coefficients went.
struct FilterRun {
    Values out;
    int minCoefficient = 0, maxCoefficient = 0;
};

FilterRun Filter(mac::NNFilter& f, const Values& in) {
    FilterRun run{in};
    const std::size_t pieces[] = {1, 7, 513, 64, 1000};
    for (std::size_t at = 0, k = 0; at < in.size(); ++k) {
        const std::size_t piece = std::min(pieces[k % std::size(pieces)], in.size() - at);
        f.Apply(run.out.data() + at, piece);
        at += piece;
        const auto [lo, hi] = std::minmax_element(f.Coefficients(), f.Coefficients() + f.Order());
        run.minCoefficient = std::min<int>(run.minCoefficient, *lo);
        run.maxCoefficient = std::max<int>(run.maxCoefficient, *hi);
    }
    return run;
}

}  // namespace

// Every filter shape of every level, each vector kernel, every input: the residuals equal
// the reference's, and the coefficients end equal.
TEST(MacKernels, NNFilterKernelsMatchTheScalarReference) {
    const auto levels = VectorLevels();
    ASSERT_FALSE(levels.empty()) << "an x64 CPU has SSE2";
    std::string names;
    for (mac::SimdLevel l : levels) names += std::string(names.empty() ? "" : ", ") + mac::SimdLevelName(l);
    RecordProperty("kernels", names);
    std::printf("vector kernels on this CPU: %s\n", names.c_str());
    bool wrapped = false;
    for (int level : {2000, 3000, 4000}) {
        for (const mac::NNFilterSpec& spec : mac::EncoderFilters(level)) {
            for (const Input& input : Inputs()) {
                mac::NNFilter reference(spec.order, spec.fractionBits, mac::SimdLevel::Scalar);
                const FilterRun expected = Filter(reference, input.values);
                wrapped = wrapped || (expected.maxCoefficient > 25000 && expected.minCoefficient < -25000);
                for (mac::SimdLevel simd : levels) {
                    mac::NNFilter f(spec.order, spec.fractionBits, simd);
                    const FilterRun got = Filter(f, input.values);
                    const auto mismatch = std::mismatch(got.out.begin(), got.out.end(), expected.out.begin());
                    EXPECT_TRUE(mismatch.first == got.out.end())
                        << mac::SimdLevelName(simd) << ", order " << spec.order << ", " << input.name
                        << ": first difference at value " << (mismatch.first - got.out.begin());
                    EXPECT_TRUE(std::equal(f.Coefficients(), f.Coefficients() + spec.order, reference.Coefficients()))
                        << mac::SimdLevelName(simd) << ", order " << spec.order << ", " << input.name;
                }
            }
        }
    }
    EXPECT_TRUE(wrapped) << "no input drove the coefficients to both ends";
}

// The two channels' filters run interleaved give what each gives alone, and a filter reset
// in between starts afresh.
TEST(MacKernels, PairedFiltersMatchSeparateOnes) {
    const auto inputs = Inputs();
    for (mac::SimdLevel simd : VectorLevels()) {
        for (const mac::NNFilterSpec spec : {mac::NNFilterSpec{16, 11}, mac::NNFilterSpec{256, 13}}) {
            mac::NNFilter alone(spec.order, spec.fractionBits, mac::SimdLevel::Scalar);
            mac::NNFilter first(spec.order, spec.fractionBits, simd), second(spec.order, spec.fractionBits, simd);
            for (std::size_t k = 0; k + 1 < inputs.size(); ++k) {
                Values a = inputs[k].values, b = inputs[k + 1].values;
                Values expectedA = a, expectedB = b;
                alone.Reset();
                alone.Apply(expectedA.data(), expectedA.size());
                alone.Reset();
                alone.Apply(expectedB.data(), expectedB.size());
                first.Reset();
                second.Reset();
                mac::NNFilter::ApplyPair(first, a.data(), second, b.data(), a.size());
                EXPECT_EQ(a, expectedA) << mac::SimdLevelName(simd) << " " << spec.order << " " << inputs[k].name;
                EXPECT_EQ(b, expectedB) << mac::SimdLevelName(simd) << " " << spec.order << " " << inputs[k + 1].name;
            }
        }
    }
}

// Whole frames, stereo and mono, at every level: each kernel gives the reference's bytes.
TEST(MacKernels, FramesAreTheSameBytesWithEveryKernel) {
    const std::uint32_t blocks = 3 * 44100;
    std::mt19937 random(11);
    apetest::Bytes noise(blocks * 4);
    for (auto& b : noise) b = std::uint8_t(random());
    const struct {
        const char* name;
        apetest::Bytes pcm;
    } signals[] = {{"music", MusicPcm(blocks)}, {"hard", apetest::MakeHardSignal(blocks, 2, 5)}, {"noise", noise}};
    for (int level : {1000, 2000, 3000, 4000}) {
        for (const auto& signal : signals) {
            for (int channels : {2, 1}) {
                const std::uint32_t n = std::uint32_t(signal.pcm.size() / (2 * std::size_t(channels)));
                mac::FrameEncoder reference(level, channels, mac::SimdLevel::Scalar);
                const auto expected = reference.Encode(signal.pcm.data(), n);
                const apetest::Bytes expectedBytes(expected.begin(), expected.end());
                EXPECT_GT(expectedBytes.size(), 1000u);
                for (mac::SimdLevel simd : VectorLevels()) {
                    mac::FrameEncoder encoder(level, channels, simd);
                    const auto got = encoder.Encode(signal.pcm.data(), n);
                    EXPECT_TRUE(std::equal(got.begin(), got.end(), expectedBytes.begin(), expectedBytes.end()))
                        << mac::SimdLevelName(simd) << ", level " << level << ", " << signal.name << ", "
                        << channels << " channel(s)";
                }
            }
        }
    }
}
