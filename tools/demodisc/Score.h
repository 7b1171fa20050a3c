// Writing music down: note names, melodies in a compact text form, chords and voicings.
#pragma once

#include <string_view>
#include <vector>

namespace demo {

// "C4" is 60; sharps with '#', flats with 'b' ("F#3", "Bb2").
int NoteNumber(std::string_view name);

struct MelodyNote {
  double Beat = 0;   // from the start of the melody
  double Beats = 0;
  int Midi = 0;      // 0 for a rest
};

// "E5:1 D5:.5 C5 r:2 | G4:1": name[:beats], the length carrying over; '|' is ignored (bar
// lines for the reader).
std::vector<MelodyNote> ParseMelody(std::string_view text);

struct Chord {
  int Root = 0;                 // pitch class
  int Bass = 0;                 // pitch class of the lowest note (slash chords)
  std::vector<int> Intervals;   // from the root, root first
};

// "C", "Am", "G7", "Dm7", "Fmaj7", "Bb", "E7", "G/B", "Bm", "D7".
Chord ParseChord(std::string_view name);
// A bar-by-bar progression, names separated by blanks.
std::vector<Chord> ParseProgression(std::string_view text);

// The chord's tones upwards from the first one at or above low, count notes.
std::vector<int> Voice(const Chord& chord, int low, int count);
// The bass pitch class at or above low.
int BassNote(const Chord& chord, int low);

struct Tempo {
  double Bpm;
  double Seconds(double beats) const { return beats * 60.0 / Bpm; }
};

}  // namespace demo
