#include "Songs.h"

#include <algorithm>
#include <cstdlib>

#include "Score.h"
#include "Synth.h"

namespace demo {
namespace {

// Small deviations in time and touch, as a player's hands make them.
struct Feel {
  Random random;
  double timing;    // seconds, at most
  float touch;      // velocity, at most
  double Time(double at) { return std::max(0.0, at + timing * random.Bipolar()); }
  float Velocity(float v) { return std::clamp(v + touch * random.Bipolar(), 0.05f, 1.0f); }
};

template <typename Play>
void PlayMelody(const std::vector<MelodyNote>& melody, double fromBeat, const Tempo& tempo, Play play) {
  for (const MelodyNote& n : melody) {
    if (n.Midi == 0) continue;
    play(tempo.Seconds(fromBeat + n.Beat), tempo.Seconds(n.Beats), n.Midi);
  }
}

// The chord's third (or the root when it has none) at or above low.
int ThirdOf(const Chord& chord, int low) {
  Chord third = chord;
  third.Bass = (chord.Root + (chord.Intervals.size() > 1 ? chord.Intervals[1] : 0)) % 12;
  return BassNote(third, low);
}

// The pitch sounding in a line at the given beat.
int PitchAt(const std::vector<MelodyNote>& line, double beat) {
  int midi = 0;
  for (const MelodyNote& n : line)
    if (n.Beat <= beat + 1e-9) midi = n.Midi;
  return midi;
}

}  // namespace

Song MorningLight() {
  const Tempo tempo{80};
  const auto chords = ParseProgression("C G/B Am Em/G F C/E Dm7 G7");
  const auto themeA = ParseMelody(
      "G4:1 C5:1 E5:1.5 D5:.5 | D5:1 B4:1 G4:2 | A4:1 C5:1 E5:1 A5:1 | G5:1.5 F5:.5 E5:2 |"
      "F5:1 E5:.5 D5:.5 C5:1 A4:1 | G4:1 C5:1 E5:2 | F5:1 E5:1 D5:1 C5:1 | D5:3 r:1");
  const auto themeB = ParseMelody(
      "E5:1 G5:1 C6:1.5 B5:.5 | B5:1 G5:1 D5:2 | C5:1 E5:1 A5:1 C6:1 | B5:1.5 A5:.5 G5:2 |"
      "A5:1 G5:.5 F5:.5 E5:1 C5:1 | D5:1 E5:1 G5:2 | F5:1 A5:1 G5:1 F5:1 | D5:2 B4:1 D5:1");
  const int bars = 16;
  Mix mix(tempo.Seconds(bars * 4 + 4) + 4.0);
  Feel feel{Random(101), 0.008, 0.06f};

  for (int bar = 0; bar < bars; ++bar) {
    const Chord& chord = chords[static_cast<size_t>(bar % 8)];
    const double barBeat = bar * 4.0;
    const int bass = BassNote(chord, 40);
    const auto upper = Voice(chord, 55, 3);
    const int pattern[8] = {-1, 0, 1, 2, 1, 0, 1, 2};
    for (int eighth = 0; eighth < 8; ++eighth) {
      int midi = pattern[eighth] < 0 ? bass : upper[static_cast<size_t>(pattern[eighth])];
      double beat = barBeat + eighth * 0.5;
      float v = eighth == 0 ? 0.62f : (eighth % 2 ? 0.38f : 0.45f);
      // The sustain pedal holds the broken chord until the bar ends.
      Piano(mix, {feel.Time(tempo.Seconds(beat)), tempo.Seconds(4 - eighth * 0.5), double(midi),
                  feel.Velocity(v), -0.2f, 0.22f});
    }
    if (bar >= 8) {
      for (int midi : Voice(chord, 60, 3))
        Pad(mix, {tempo.Seconds(barBeat), tempo.Seconds(4), double(midi), 0.35f,
                  midi % 2 ? 0.5f : -0.5f, 0.4f});
    }
  }
  PlayMelody(themeA, 0, tempo, [&](double at, double len, int midi) {
    Piano(mix, {feel.Time(at), len, double(midi), feel.Velocity(0.72f), 0.15f, 0.25f});
  });
  PlayMelody(themeB, 32, tempo, [&](double at, double len, int midi) {
    Piano(mix, {feel.Time(at), len, double(midi), feel.Velocity(0.78f), 0.15f, 0.25f});
    Piano(mix, {feel.Time(at), len, double(midi - 12), feel.Velocity(0.42f), 0.05f, 0.25f});
  });
  // Final chord, rolled from the bottom.
  const double end = bars * 4.0;
  const char* roll[] = {"C3", "G3", "C4", "E4", "G4", "C5", "E5"};
  for (int i = 0; i < 7; ++i)
    Piano(mix, {tempo.Seconds(end) + 0.07 * i, tempo.Seconds(4), double(NoteNumber(roll[i])),
                0.55f + 0.03f * i, -0.3f + 0.1f * i, 0.3f});
  return {"Morning Light", mix.Master(0.82f, 0.3f)};
}

Song FiresideWaltz() {
  const Tempo tempo{126};
  const auto chords = ParseProgression("Am Am Dm Dm G G C E7 Am Am Dm Dm F E7 Am Am");
  const auto theme = ParseMelody(
      "E5:2 A5:1 | C6:2 B5:1 | A5:2 F5:1 | D5:3 | B4:1 D5:1 G5:1 | F5:2 D5:1 | E5:2 C5:1 |"
      "B4:2 G#4:1 | A4:1 C5:1 E5:1 | A5:2 G5:1 | F5:1 E5:1 D5:1 | A5:3 | C6:1 A5:1 F5:1 |"
      "E5:1 G#5:1 B5:1 | A5:3 | r:3");
  const int bars = 32;
  Mix mix(tempo.Seconds(bars * 3 + 6) + 3.5);
  Feel feel{Random(202), 0.010, 0.07f};
  uint32_t seed = 1;

  auto strum = [&](const Chord& chord, double beat, float velocity, double beats) {
    auto notes = Voice(chord, 52, 4);
    for (size_t i = 0; i < notes.size(); ++i)
      Guitar(mix, {feel.Time(tempo.Seconds(beat)) + 0.012 * double(i), tempo.Seconds(beats),
                   double(notes[i]), feel.Velocity(velocity), -0.35f + 0.12f * float(i), 0.2f},
             seed++);
  };
  for (int bar = 0; bar < bars; ++bar) {
    const Chord& chord = chords[static_cast<size_t>(bar % 16)];
    const double beat = bar * 3.0;
    Guitar(mix, {feel.Time(tempo.Seconds(beat)), tempo.Seconds(3), double(BassNote(chord, 40)),
                 feel.Velocity(0.75f), -0.1f, 0.15f},
           seed++);
    strum(chord, beat + 1, 0.45f, 0.9);
    strum(chord, beat + 2, 0.4f, 0.9);
  }
  // First time the flute sings the tune; the second time a music box takes it and the flute
  // holds the thirds beneath.
  PlayMelody(theme, 0, tempo, [&](double at, double len, int midi) {
    Flute(mix, {feel.Time(at), len * 0.95, double(midi), feel.Velocity(0.7f), 0.25f, 0.3f}, seed++);
  });
  PlayMelody(theme, 48, tempo, [&](double at, double len, int midi) {
    Bell(mix, {feel.Time(at), len, double(midi), feel.Velocity(0.75f), 0.3f, 0.35f});
  });
  for (int bar = 16; bar < bars; ++bar) {
    const Chord& chord = chords[static_cast<size_t>(bar % 16)];
    Flute(mix, {tempo.Seconds(bar * 3.0), tempo.Seconds(2.9), double(ThirdOf(chord, 64)), 0.45f,
                -0.2f, 0.3f},
          seed++);
  }
  // Ending: the home chord once more, the flute on the tonic.
  const Chord home = ParseChord("Am");
  const double end = bars * 3.0;
  Guitar(mix, {tempo.Seconds(end), tempo.Seconds(6), double(BassNote(home, 40)), 0.75f, -0.1f, 0.2f}, seed++);
  strum(home, end, 0.5, 6);
  Flute(mix, {tempo.Seconds(end), tempo.Seconds(5.5), double(NoteNumber("A4")), 0.6f, 0.25f, 0.35f}, seed++);
  return {"Fireside Waltz", mix.Master(0.78f, 0.4f)};
}

Song NightDrive() {
  const Tempo tempo{112};
  const auto chords = ParseProgression("Dm Bb F C");
  const auto lead = ParseMelody(
      "A4:1.5 D5:1.5 E5:1 | F5:1.5 E5:.5 D5:1 C5:1 | C5:1.5 A4:1.5 C5:1 | E5:1.5 D5:.5 C5:2 |"
      "A4:1.5 D5:1.5 F5:1 | G5:1.5 F5:.5 E5:1 D5:1 | C5:1 F5:1 A5:1 G5:1 | E5:3 r:1");
  // Intro 4 bars, verse 8, chorus 8, outro 4.
  const int bars = 24;
  Mix mix(tempo.Seconds(bars * 4 + 4) + 3.0);
  Feel feel{Random(303), 0.003, 0.05f};
  uint32_t seed = 7;

  for (int bar = 0; bar < bars; ++bar) {
    const Chord& chord = chords[static_cast<size_t>(bar % 4)];
    const double b = bar * 4.0;
    const bool intro = bar < 4, chorus = bar >= 12 && bar < 20, outro = bar >= 20;
    for (int midi : Voice(chord, 57, 4))
      Pad(mix, {tempo.Seconds(b), tempo.Seconds(4), double(midi), outro ? 0.4f : 0.5f,
                midi % 2 ? 0.6f : -0.6f, 0.45f});
    for (int e = 0; e < 8; ++e) {
      bool open = e == 7 && bar % 2 == 1;
      HiHat(mix, feel.Time(tempo.Seconds(b + e * 0.5)), feel.Velocity(e % 2 ? 0.75f : 0.5f), open, seed++);
    }
    if (!intro) {
      const int root = BassNote(chord, 38);
      const int steps[8] = {0, 0, 12, 0, 0, 0, 12, 0};
      for (int e = 0; e < 8; ++e)
        SynthBass(mix, {tempo.Seconds(b + e * 0.5), tempo.Seconds(0.42), double(root + steps[e]),
                        feel.Velocity(e % 2 ? 0.6f : 0.8f), 0, 0.05f});
    }
    if (!intro && !outro) {
      Kick(mix, tempo.Seconds(b), 0.9f);
      Kick(mix, tempo.Seconds(b + 2), 0.85f);
      if (bar % 4 == 3) Kick(mix, tempo.Seconds(b + 2.5), 0.6f);
      Snare(mix, feel.Time(tempo.Seconds(b + 1)), 0.75f, seed++);
      Snare(mix, feel.Time(tempo.Seconds(b + 3)), 0.8f, seed++);
    }
    if (intro || chorus) {
      auto tones = Voice(chord, 62, 3);
      const int order[8] = {0, 1, 2, 1, 0, 1, 2, 1};
      for (int e = 0; e < 8; ++e)
        Bell(mix, {tempo.Seconds(b + e * 0.5), tempo.Seconds(0.4),
                   double(tones[static_cast<size_t>(order[e])] + 12), feel.Velocity(0.35f),
                   e % 2 ? 0.5f : -0.5f, 0.5f});
    }
  }
  PlayMelody(lead, 48, tempo, [&](double at, double len, int midi) {
    SynthLead(mix, {at, len * 0.92, double(midi), feel.Velocity(0.8f), 0.1f, 0.35f});
  });
  // Last chord rings out.
  for (int midi : Voice(ParseChord("Dm"), 50, 5))
    Pad(mix, {tempo.Seconds(bars * 4.0), tempo.Seconds(3), double(midi), 0.45f, midi % 2 ? 0.5f : -0.5f, 0.5f});
  SynthBass(mix, {tempo.Seconds(bars * 4.0), tempo.Seconds(2), double(NoteNumber("D2")), 0.7f, 0, 0.05f});
  return {"Night Drive", mix.Master(0.8f, 0.35f)};
}

Song RainyWindow() {
  const Tempo tempo{84};
  const auto chords = ParseProgression("Gm7 C7 Fmaj7 Dm7 Gm7 C7 Fmaj7 Fmaj7 Fmaj7");
  // Swung eighths: two thirds and one third of a beat.
  const auto melody = ParseMelody(
      "D5:.667 F5:.333 A5:1 G5:1 F5:1 | E5:1.5 G5:.5 Bb5:1 A5:1 | A5:2 r:1 C5:1 |"
      "D5:.667 E5:.333 F5:1 A5:1 C6:1 | Bb5:1.5 A5:.5 G5:1 F5:1 | E5:1 G5:1 Bb4:1 C5:1 |"
      "C5:1 E5:1 F5:2 | r:4");
  const int bars = 9;
  Mix mix(tempo.Seconds(bars * 4) + 3.5);
  Feel feel{Random(404), 0.012, 0.07f};
  uint32_t seed = 11;

  for (int bar = 0; bar < bars; ++bar) {
    const Chord& chord = chords[static_cast<size_t>(bar)];
    const Chord& next = chords[static_cast<size_t>(std::min(bar + 1, bars - 1))];
    const double b = bar * 4.0;
    const bool last = bar == bars - 1;
    auto voicing = Voice(chord, 53, 4);
    for (int midi : voicing) {
      ElectricPiano(mix, {feel.Time(tempo.Seconds(b)), tempo.Seconds(last ? 4 : 1.4), double(midi),
                          feel.Velocity(0.5f), -0.25f, 0.3f});
      if (!last)
        ElectricPiano(mix, {feel.Time(tempo.Seconds(b + 1.667)), tempo.Seconds(1.2), double(midi),
                            feel.Velocity(0.42f), -0.25f, 0.3f});
    }
    // Walking bass: root, third, fifth, then a half step into the next root.
    const int root = BassNote(chord, 40);
    const int nextRoot = BassNote(next, 40);
    int walk[4] = {root, ThirdOf(chord, root), root + 7, nextRoot + (nextRoot > root ? -1 : 1)};
    for (int q = 0; q < (last ? 1 : 4); ++q)
      UprightBass(mix, {feel.Time(tempo.Seconds(b + q)), tempo.Seconds(last ? 3.5 : 0.9), double(walk[q]),
                        feel.Velocity(q == 0 ? 0.85f : 0.7f), 0.05f, 0.1f});
    if (!last) {
      Kick(mix, tempo.Seconds(b), 0.35f);
      Kick(mix, tempo.Seconds(b + 2), 0.3f);
      Brush(mix, feel.Time(tempo.Seconds(b + 1)), 0.7f, seed++);
      Brush(mix, feel.Time(tempo.Seconds(b + 3)), 0.75f, seed++);
      for (int q = 0; q < 4; ++q) {
        Shaker(mix, feel.Time(tempo.Seconds(b + q)), feel.Velocity(0.7f), seed++);
        Shaker(mix, feel.Time(tempo.Seconds(b + q + 0.667)), feel.Velocity(0.45f), seed++);
      }
    }
  }
  PlayMelody(melody, 0, tempo, [&](double at, double len, int midi) {
    ElectricPiano(mix, {feel.Time(at), len * 0.9, double(midi), feel.Velocity(0.75f), 0.3f, 0.3f});
  });
  return {"Rainy Window", mix.Master(0.8f, 0.45f)};
}

Song EveningChorale() {
  const Tempo tempo{66};
  // One chord per half note.
  const auto chords = ParseProgression("G D Em Bm C G Am D G Em C D Bm Em Am D7 G");
  const auto soprano = ParseMelody(
      "B4:2 A4:2 | G4:2 F#4:2 | E4:2 G4:2 | A4:2 F#4:2 | G4:2 B4:2 | C5:2 A4:2 | B4:2 G4:2 |"
      "A4:1 C5:1 F#4:2 | G4:8");
  const auto bass = ParseMelody(
      "G3:2 F#3:2 | E3:2 D3:2 | C3:2 B2:2 | A2:2 D3:2 | G2:2 E3:2 | C3:2 D3:2 | B2:2 E3:2 |"
      "C3:2 D3:2 | G2:8");
  const double total = 16 * 2 + 8;
  Mix mix(tempo.Seconds(total) + 4.5);

  // Inner voices follow the chords with the smallest moves, beneath the tune and above the bass.
  struct Voiced {
    double Beat, Beats;
    int Alto, Tenor;
  };
  std::vector<Voiced> inner;
  int alto = NoteNumber("D4"), tenor = NoteNumber("B3");
  for (size_t i = 0; i < chords.size(); ++i) {
    const Chord& chord = chords[i];
    const int s = PitchAt(soprano, 2.0 * double(i));
    const int bs = PitchAt(bass, 2.0 * double(i));
    const auto tones = Voice(chord, 45, 16);
    int bestCost = 1 << 30, bestA = alto, bestT = tenor;
    for (int a : tones) {
      for (int t : tones) {
        if (!(t < a && a < s && t > bs && s - a <= 9 && a - t <= 9 && a >= 55 && t >= 48)) continue;
        int cost = std::abs(a - alto) + std::abs(t - tenor);
        int third = (chord.Root + chord.Intervals[1]) % 12;
        bool hasThird = a % 12 == third || t % 12 == third || s % 12 == third;
        if (!hasThird) cost += 6;
        if (a % 12 == t % 12) cost += 2;
        if (cost < bestCost) bestCost = cost, bestA = a, bestT = t;
      }
    }
    alto = bestA;
    tenor = bestT;
    double beat = 2.0 * double(i);
    double beats = i + 1 == chords.size() ? 8 : 2;
    inner.push_back({beat, beats, alto, tenor});
  }
  // Held notes are tied rather than struck again, as an organist plays them.
  auto playVoice = [&](std::vector<MelodyNote> line, float pan) {
    for (size_t i = 0; i < line.size(); ++i) {
      double beats = line[i].Beats;
      size_t j = i;
      while (j + 1 < line.size() && line[j + 1].Midi == line[i].Midi) beats += line[++j].Beats;
      Organ(mix, {tempo.Seconds(line[i].Beat) + 0.004 * pan, tempo.Seconds(beats) - 0.03,
                  double(line[i].Midi), 0.8f, pan, 0.55f});
      i = j;
    }
  };
  std::vector<MelodyNote> altoLine, tenorLine;
  for (const Voiced& v : inner) {
    altoLine.push_back({v.Beat, v.Beats, v.Alto});
    tenorLine.push_back({v.Beat, v.Beats, v.Tenor});
  }
  playVoice(soprano, 0.3f);
  playVoice(altoLine, 0.1f);
  playVoice(tenorLine, -0.1f);
  playVoice(bass, -0.3f);
  return {"Evening Chorale", mix.Master(0.9f, 0.25f)};
}

}  // namespace demo
