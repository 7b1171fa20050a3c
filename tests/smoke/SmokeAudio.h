#pragma once
// One second of a stereo A major chord, 44.1 kHz 16-bit interleaved, and where it is written.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "classlib/Program.h"

inline constexpr int kSampleRate = 44100;
inline constexpr int kChannels = 2;
inline constexpr int kFrames = kSampleRate;
inline constexpr const char* kSmokeTitle = "Smoke Chord";

inline std::vector<std::int16_t> MakeChord()
{
    const double pi = std::acos(-1.0);
    const double left[] = {220.0, 277.18, 329.63};  // A3 C#4 E4
    const double right[] = {329.63, 440.0, 554.37}; // E4 A4 C#5
    const int fade = kSampleRate / 100;             // no clicks at the ends
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(kFrames) * kChannels);
    for (int i = 0; i < kFrames; ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double envelope = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(kFrames - 1 - i) / fade});
        double l = 0, r = 0;
        for (int k = 0; k < 3; ++k) {
            l += std::sin(2 * pi * left[k] * t);
            r += std::sin(2 * pi * right[k] * t);
        }
        pcm[2 * i] = static_cast<std::int16_t>(std::lround(l * envelope * 0.25 * 32767));
        pcm[2 * i + 1] = static_cast<std::int16_t>(std::lround(r * envelope * 0.22 * 32767));
    }
    return pcm;
}

// A non-ASCII folder beside the test program; the follow-up checks read the same folder.
inline std::string SmokeOutputFolder()
{
    std::string sep = PathSeparator();
    std::string folder = ProgramFolder() + "smoke-output" + sep + "M\xC3\xBAsica \xE9\x9F\xB3\xE6\xA5\xBD" + sep;
    std::filesystem::create_directories(std::filesystem::path(std::u8string(folder.begin(), folder.end())));
    return folder;
}

// Signal-to-noise ratio in dB of a decoded copy against the original.
inline double SignalToNoise(const std::vector<std::int16_t>& original, const std::vector<std::int16_t>& decoded)
{
    double signal = 0, noise = 0;
    for (std::size_t i = 0; i < original.size(); ++i) {
        double s = original[i];
        double d = i < decoded.size() ? decoded[i] : 0.0;
        signal += s * s;
        noise += (s - d) * (s - d);
    }
    return noise == 0 ? 1e9 : 10 * std::log10(signal / noise);
}
