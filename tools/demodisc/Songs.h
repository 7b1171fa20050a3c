// The five pieces of the demo disc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct Song {
  std::string Title;
  std::vector<int16_t> Pcm;  // interleaved stereo, whole CD sectors
};

Song MorningLight();    // piano ballad in C major
Song FiresideWaltz();   // guitar and flute waltz in A minor
Song NightDrive();      // synth-pop in D minor with drums
Song RainyWindow();     // electric piano jazz in F major, swung
Song EveningChorale();  // organ hymn in G major

}  // namespace demo
