#include "Score.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace demo {

int NoteNumber(std::string_view name) {
  static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::invalid_argument(std::string(name));
  int pc = steps[name[0] - 'A'];
  size_t i = 1;
  while (i < name.size() && (name[i] == '#' || name[i] == 'b')) pc += name[i++] == '#' ? 1 : -1;
  if (i >= name.size()) throw std::invalid_argument(std::string(name));
  int octave = std::atoi(std::string(name.substr(i)).c_str());
  return 12 * (octave + 1) + pc;
}

std::vector<MelodyNote> ParseMelody(std::string_view text) {
  std::vector<MelodyNote> notes;
  double beat = 0, length = 1;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '|' || text[i] == '\n')) ++i;
    if (i >= text.size()) break;
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '|' && text[end] != '\n') ++end;
    std::string_view token = text.substr(i, end - i);
    i = end;
    size_t colon = token.find(':');
    if (colon != std::string_view::npos)
      length = std::strtod(std::string(token.substr(colon + 1)).c_str(), nullptr);
    std::string_view pitch = token.substr(0, colon);
    int midi = pitch == "r" ? 0 : NoteNumber(pitch);
    notes.push_back({beat, length, midi});
    beat += length;
  }
  return notes;
}

Chord ParseChord(std::string_view name) {
  Chord chord;
  size_t slash = name.find('/');
  std::string_view main = name.substr(0, slash);
  // Reuse the note parser for the root by giving it an octave.
  size_t rootEnd = 1;
  while (rootEnd < main.size() && (main[rootEnd] == '#' || main[rootEnd] == 'b')) ++rootEnd;
  chord.Root = NoteNumber(std::string(main.substr(0, rootEnd)) + "0") % 12;
  std::string_view quality = main.substr(rootEnd);
  if (quality == "") chord.Intervals = {0, 4, 7};
  else if (quality == "m") chord.Intervals = {0, 3, 7};
  else if (quality == "7") chord.Intervals = {0, 4, 7, 10};
  else if (quality == "m7") chord.Intervals = {0, 3, 7, 10};
  else if (quality == "maj7") chord.Intervals = {0, 4, 7, 11};
  else throw std::invalid_argument(std::string(name));
  chord.Bass = slash == std::string_view::npos
                   ? chord.Root
                   : NoteNumber(std::string(name.substr(slash + 1)) + "0") % 12;
  return chord;
}

std::vector<Chord> ParseProgression(std::string_view text) {
  std::vector<Chord> chords;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '|')) ++i;
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '|') ++end;
    if (end > i) chords.push_back(ParseChord(text.substr(i, end - i)));
    i = end;
  }
  return chords;
}

std::vector<int> Voice(const Chord& chord, int low, int count) {
  std::vector<int> notes;
  for (int midi = low; static_cast<int>(notes.size()) < count; ++midi) {
    int interval = ((midi - chord.Root) % 12 + 12) % 12;
    for (int i : chord.Intervals) {
      if (i == interval) {
        notes.push_back(midi);
        break;
      }
    }
  }
  return notes;
}

int BassNote(const Chord& chord, int low) {
  int midi = low;
  while (((midi - chord.Bass) % 12 + 12) % 12 != 0) ++midi;
  return midi;
}

}  // namespace demo
