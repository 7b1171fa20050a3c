// A small offline synthesiser: notes are rendered one by one into a stereo mix with a reverb
// send; the mix is mastered to 16-bit CD audio. Everything is deterministic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace demo {

constexpr int kRate = 44100;

// xorshift32: the same noise on every run.
class Random {
public:
  explicit Random(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  float Bipolar() { return static_cast<float>(Next() >> 8) / 8388608.0f - 1.0f; }  // [-1, 1)
  float Unit() { return static_cast<float>(Next() >> 8) / 16777216.0f; }           // [0, 1)

private:
  uint32_t state_;
};

struct Note {
  double Start = 0;     // seconds
  double Length = 0;    // seconds until release
  double Midi = 60;     // pitch
  float Velocity = 0.8f;
  float Pan = 0;        // -1 left .. 1 right
  float Send = 0.2f;    // reverb send
};

double MidiToHz(double midi);
float Sine(double phase);  // phase in turns

class Mix {
public:
  explicit Mix(double seconds);
  size_t Frames() const { return left_.size(); }
  // Adds a mono sample at frame, placed by pan, with its share for the reverb.
  void Add(size_t frame, float sample, float pan, float send) {
    if (frame >= left_.size()) return;
    PanGains gains = GainsFor(pan);
    left_[frame] += sample * gains.Left;
    right_[frame] += sample * gains.Right;
    send_[frame] += sample * send;
  }
  void AddStereo(size_t frame, float left, float right, float send) {
    if (frame >= left_.size()) return;
    left_[frame] += left;
    right_[frame] += right;
    send_[frame] += 0.5f * (left + right) * send;
  }
  // Reverb, level and conversion: interleaved 16-bit stereo, whole CD sectors long.
  std::vector<int16_t> Master(float roomSize, float damping) const;

private:
  struct PanGains {
    float Left, Right;
  };
  static PanGains GainsFor(float pan);

  std::vector<float> left_, right_, send_;
};

// Instruments: each renders one note, release tail included.
void Piano(Mix& mix, const Note& note);
void Guitar(Mix& mix, const Note& note, uint32_t seed);
void ElectricPiano(Mix& mix, const Note& note);
void Pad(Mix& mix, const Note& note);
void SynthBass(Mix& mix, const Note& note);
void UprightBass(Mix& mix, const Note& note);
void Flute(Mix& mix, const Note& note, uint32_t seed);
void SynthLead(Mix& mix, const Note& note);
void Bell(Mix& mix, const Note& note);
void Organ(Mix& mix, const Note& note);

// Percussion: time in seconds, velocity 0..1.
void Kick(Mix& mix, double at, float velocity);
void Snare(Mix& mix, double at, float velocity, uint32_t seed);
void HiHat(Mix& mix, double at, float velocity, bool open, uint32_t seed);
void Shaker(Mix& mix, double at, float velocity, uint32_t seed);
void Brush(Mix& mix, double at, float velocity, uint32_t seed);

}  // namespace demo
