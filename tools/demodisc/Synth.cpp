#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace demo {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSineSize = 4096;
constexpr int kFramesPerSector = 588;

const std::array<float, kSineSize + 1>& SineTable() {
  static const std::array<float, kSineSize + 1> table = [] {
    std::array<float, kSineSize + 1> t{};
    for (int i = 0; i <= kSineSize; ++i) t[i] = static_cast<float>(std::sin(2 * kPi * i / kSineSize));
    return t;
  }();
  return table;
}

size_t FrameOf(double seconds) { return static_cast<size_t>(std::max(0.0, seconds) * kRate + 0.5); }

// Attack ramp and release fade around a note of the given length.
float Gate(double t, double length, double attack, double release) {
  float g = t < attack ? static_cast<float>(t / attack) : 1.0f;
  if (t > length) g *= static_cast<float>(std::exp(-(t - length) / release));
  return g;
}

// A note's last 10 ms fade to silence, so that no rendered tail ends with a step.
float Tail(size_t i, size_t frames) {
  const size_t fade = kRate / 100;
  size_t left = frames - i;
  return left >= fade ? 1.0f : static_cast<float>(left) / fade;
}

double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// Chamberlin state-variable low-pass; fine for cut-offs well below a sixth of the rate.
struct LowPass {
  float low = 0, band = 0;
  float Step(float in, float cutoff, float damping) {
    float f = 2.0f * Sine(std::min(cutoff, 7000.0f) / (2.0 * kRate));
    low += f * band;
    float high = in - low - damping * band;
    band += f * high;
    return low;
  }
};

struct OnePole {
  float state = 0;
  float Step(float in, float coefficient) {
    state += coefficient * (in - state);
    return state;
  }
};

// Freeverb-style room: parallel damped combs into series all-passes, per channel.
class Reverb {
public:
  Reverb(float roomSize, float damping) : feedback_(roomSize), damping_(damping) {
    static const int combs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int passes[] = {556, 441, 341, 225};
    for (int side = 0; side < 2; ++side) {
      for (int length : combs) combs_[side].push_back(Comb(length + side * 23));
      for (int length : passes) passes_[side].push_back(AllPass(length + side * 23));
    }
  }

  void Process(float in, float& left, float& right) {
    float* outs[2] = {&left, &right};
    for (int side = 0; side < 2; ++side) {
      float sum = 0;
      for (Comb& c : combs_[side]) sum += c.Step(in, feedback_, damping_);
      for (AllPass& a : passes_[side]) sum = a.Step(sum);
      *outs[side] = sum;
    }
  }

private:
  struct Comb {
    explicit Comb(int length) : buffer(static_cast<size_t>(length)) {}
    float Step(float in, float feedback, float damping) {
      float out = buffer[index];
      store = out * (1 - damping) + store * damping;
      buffer[index] = in + store * feedback;
      index = (index + 1) % buffer.size();
      return out;
    }
    std::vector<float> buffer;
    size_t index = 0;
    float store = 0;
  };
  struct AllPass {
    explicit AllPass(int length) : buffer(static_cast<size_t>(length)) {}
    float Step(float in) {
      float delayed = buffer[index];
      buffer[index] = in + delayed * 0.5f;
      index = (index + 1) % buffer.size();
      return delayed - in;
    }
    std::vector<float> buffer;
    size_t index = 0;
  };

  float feedback_, damping_;
  std::vector<Comb> combs_[2];
  std::vector<AllPass> passes_[2];
};

}  // namespace

double MidiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

float Sine(double phase) {
  phase -= std::floor(phase);
  double x = phase * kSineSize;
  int i = static_cast<int>(x);
  float frac = static_cast<float>(x - i);
  const auto& t = SineTable();
  return t[i] + (t[i + 1] - t[i]) * frac;
}

Mix::Mix(double seconds) {
  size_t frames = FrameOf(seconds);
  frames = (frames + kFramesPerSector - 1) / kFramesPerSector * kFramesPerSector;
  left_.assign(frames, 0.0f);
  right_.assign(frames, 0.0f);
  send_.assign(frames, 0.0f);
}

Mix::PanGains Mix::GainsFor(float pan) {
  double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * kPi / 4;
  return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

std::vector<int16_t> Mix::Master(float roomSize, float damping) const {
  const size_t n = left_.size();
  std::vector<float> l(left_), r(right_);
  Reverb reverb(roomSize, damping);
  for (size_t i = 0; i < n; ++i) {
    float wl, wr;
    reverb.Process(send_[i] * 0.015f, wl, wr);
    l[i] += wl;
    r[i] += wr;
  }
  // Gentle fades keep the edges of the track free of clicks.
  const size_t fadeIn = kRate / 100, fadeOut = kRate;
  double peak = 1e-9, energy = 0;
  for (size_t i = 0; i < n; ++i) {
    float g = 1.0f;
    if (i < fadeIn) g = static_cast<float>(i) / fadeIn;
    if (n - i < fadeOut) g *= static_cast<float>(n - i) / fadeOut;
    l[i] *= g;
    r[i] *= g;
    peak = std::max({peak, double(std::fabs(l[i])), double(std::fabs(r[i]))});
    energy += double(l[i]) * l[i] + double(r[i]) * r[i];
  }
  double rms = std::sqrt(energy / (2.0 * std::max<size_t>(n, 1)));
  // Louder tracks by loudness, but never above -1 dBFS at the peak.
  double gain = std::min(0.891 / peak, 0.16 / std::max(rms, 1e-9));
  std::vector<int16_t> pcm(2 * n);
  for (size_t i = 0; i < n; ++i) {
    for (int c = 0; c < 2; ++c) {
      double v = (c == 0 ? l[i] : r[i]) * gain * 32767.0;
      pcm[2 * i + c] = static_cast<int16_t>(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
    }
  }
  return pcm;
}

// Struck strings: inharmonic partials, each dying faster the higher it is, two slightly
// detuned strings per key and a short felt knock at the start.
void Piano(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const double sustain = std::clamp(4.0 * std::sqrt(261.6 / f), 1.2, 7.0);
  const double release = 0.25;
  const double total = note.Length + release * 5;
  const size_t start = FrameOf(note.Start), frames = FrameOf(total);
  const double inharmonicity = 0.0004;
  const int partials = std::min(8, static_cast<int>(16000 / f));
  struct Partial {
    double Freq;
    float Fast, Slow, FastStep, SlowStep;
    bool Doubled;  // the low partials beat gently between the two strings
  };
  std::vector<Partial> strings;
  for (int k = 1; k <= partials; ++k) {
    double decay = sustain / (1 + 0.7 * (k - 1));
    float amp = static_cast<float>(std::pow(k, -1.4 + 0.5 * note.Velocity));
    strings.push_back({k * f * std::sqrt(1 + inharmonicity * k * k), 0.55f * amp, 0.45f * amp,
                       static_cast<float>(std::exp(-1.0 / (0.18 * decay * kRate))),
                       static_cast<float>(std::exp(-1.0 / (decay * kRate))), k <= 3});
  }
  Random noise(static_cast<uint32_t>(start * 31 + note.Midi));
  OnePole knock;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float sum = 0;
    for (Partial& p : strings) {
      float tone = p.Doubled ? 0.5f * (Sine(p.Freq * t * 1.0004) + Sine(p.Freq * t * 0.9996)) : Sine(p.Freq * t);
      sum += (p.Fast + p.Slow) * tone;
      p.Fast *= p.FastStep;
      p.Slow *= p.SlowStep;
    }
    if (t < 0.012) sum += 0.3f * knock.Step(noise.Bipolar(), 0.2f) * static_cast<float>(1 - t / 0.012);
    float g = Gate(t, note.Length, 0.002, release);
    mix.Add(start + i, Tail(i, frames) * 0.22f * note.Velocity * g * sum, note.Pan, note.Send);
  }
}

// Plucked string by a looped, filtered delay line tuned with a fractional all-pass.
void Guitar(Mix& mix, const Note& note, uint32_t seed) {
  const double f = MidiToHz(note.Midi);
  const double period = double(kRate) / f;
  const int delay = std::max(2, static_cast<int>(period - 0.5));
  const double d = std::clamp(period - 0.5 - delay, 0.05, 1.0);
  const float c = static_cast<float>((1 - d) / (1 + d));
  const float loss = static_cast<float>(std::pow(10.0, -1.1 / f));  // about 3.3 s to fade
  Random noise(seed);
  std::vector<float> line(static_cast<size_t>(delay));
  OnePole soften;
  float mean = 0;
  for (float& s : line) {
    s = soften.Step(noise.Bipolar(), 0.25f + 0.5f * note.Velocity);
    mean += s;
  }
  mean /= static_cast<float>(line.size());
  for (float& s : line) s -= mean;
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 0.6);
  float apIn = 0, apOut = 0;
  size_t index = 0;
  OnePole body;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float out = line[index];
    float next = line[(index + 1) % line.size()];
    float avg = loss * 0.5f * (out + next);
    float ap = c * avg + apIn - c * apOut;
    apIn = avg;
    apOut = ap;
    line[index] = ap;
    index = (index + 1) % line.size();
    float g = Gate(t, note.Length, 0.0005, 0.09);
    mix.Add(start + i, Tail(i, frames) * 0.5f * note.Velocity * g * body.Step(out, 0.6f), note.Pan, note.Send);
  }
}

// Two-operator FM tine with a short metallic bark, as electric pianos sound.
void ElectricPiano(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 1.2);
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double index = (0.4 + 1.8 * note.Velocity) * std::exp(-t / 0.35) + 0.25;
    double tine = 1.2 * note.Velocity * std::exp(-t / 0.04);
    float body = Sine(f * t + index / (2 * kPi) * Sine(f * t));
    float bark = Sine(f * t + tine / (2 * kPi) * Sine(14 * f * t));
    float amp = static_cast<float>(std::exp(-t / (2.2 * std::sqrt(220.0 / f))));
    float g = Gate(t, note.Length, 0.003, 0.15);
    float s = 0.3f * note.Velocity * g * amp * (0.85f * body + 0.15f * bark);
    // A slow tremolo between the speakers.
    float wobble = 0.35f * Sine(4.5 * (note.Start + t));
    mix.Add(start + i, Tail(i, frames) * s, std::clamp(note.Pan + wobble, -1.0f, 1.0f), note.Send);
  }
}

// Soft strings: three detuned band-limited saws through a gentle low-pass.
void Pad(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const double release = 0.9;
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + release * 5);
  const double detune[3] = {0.9965, 1.0, 1.0041};
  double phase[3] = {0.0, 0.33, 0.71};
  LowPass filter;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float sum = 0;
    for (int v = 0; v < 3; ++v) {
      double dt = f * detune[v] / kRate;
      sum += static_cast<float>(2 * phase[v] - 1 - PolyBlep(phase[v], dt));
      phase[v] += dt;
      if (phase[v] >= 1) phase[v] -= 1;
    }
    float cutoff = static_cast<float>(900 + 500 * Sine(0.13 * t));
    float s = filter.Step(sum / 3, cutoff, 1.2f);
    float g = Gate(t, note.Length, 0.6, release);
    mix.Add(start + i, Tail(i, frames) * 0.16f * note.Velocity * g * s, note.Pan, note.Send);
  }
}

// Saw and sub sine with a plucky filter envelope.
void SynthBass(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 0.3);
  double phase = 0;
  LowPass filter;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double dt = f / kRate;
    float saw = static_cast<float>(2 * phase - 1 - PolyBlep(phase, dt));
    phase += dt;
    if (phase >= 1) phase -= 1;
    float cutoff = static_cast<float>(220 + 1400 * note.Velocity * std::exp(-t / 0.12));
    float s = 0.6f * filter.Step(saw, cutoff, 0.7f) + 0.5f * Sine(f * t);
    float g = Gate(t, note.Length, 0.004, 0.05);
    mix.Add(start + i, Tail(i, frames) * 0.26f * note.Velocity * g * s, note.Pan, note.Send);
  }
}

// Round plucked bass: fundamental, a little octave and a thumpy decay.
void UprightBass(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 0.4);
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float amp = static_cast<float>(0.35 * std::exp(-t / 0.08) + 0.65 * std::exp(-t / 0.9));
    float s = Sine(f * t) + 0.3f * Sine(2 * f * t) * static_cast<float>(std::exp(-t / 0.3)) +
              0.1f * Sine(3 * f * t) * static_cast<float>(std::exp(-t / 0.1));
    float g = Gate(t, note.Length, 0.006, 0.07);
    mix.Add(start + i, Tail(i, frames) * 0.42f * note.Velocity * g * amp * s, note.Pan, note.Send);
  }
}

// Breathy flute: near-sine with a few harmonics, delayed vibrato and filtered air noise.
void Flute(Mix& mix, const Note& note, uint32_t seed) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 0.5);
  Random noise(seed);
  LowPass air;
  double phase = 0;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double vibrato = 1 + 0.0045 * std::min(1.0, std::max(0.0, t - 0.2) / 0.3) * Sine(5.2 * t);
    phase += f * vibrato / kRate;
    float tone = Sine(phase) + 0.18f * Sine(2 * phase) + 0.06f * Sine(3 * phase);
    float breath = air.Step(noise.Bipolar(), static_cast<float>(f * 2), 0.5f);
    float g = Gate(t, note.Length, 0.07, 0.09);
    mix.Add(start + i, Tail(i, frames) * 0.24f * note.Velocity * g * (tone + 0.25f * breath), note.Pan, note.Send);
  }
}

// Soft square lead with vibrato, rounded by a low-pass.
void SynthLead(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 0.7);
  double phase = 0;
  LowPass filter;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double vibrato = 1 + 0.005 * std::min(1.0, t / 0.4) * Sine(5.5 * t);
    double dt = f * vibrato / kRate;
    double shifted = phase + 0.5 >= 1 ? phase - 0.5 : phase + 0.5;
    float square = static_cast<float>((phase < 0.5 ? 1.0 : -1.0) + PolyBlep(phase, dt) -
                                      PolyBlep(shifted, dt));
    phase += dt;
    if (phase >= 1) phase -= 1;
    float s = filter.Step(square, static_cast<float>(f * 3.5), 0.9f);
    float g = Gate(t, note.Length, 0.02, 0.12);
    mix.Add(start + i, Tail(i, frames) * 0.16f * note.Velocity * g * s, note.Pan, note.Send);
  }
}

// Glassy bell: inharmonic FM that fades from bright to pure.
void Bell(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 2.5);
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double index = 1.6 * std::exp(-t / 0.25);
    float s = Sine(f * t + index / (2 * kPi) * Sine(3.5 * f * t));
    float amp = static_cast<float>(std::exp(-t / 0.9));
    float g = Gate(t, note.Length, 0.001, 0.5);
    mix.Add(start + i, Tail(i, frames) * 0.15f * note.Velocity * g * amp * s, note.Pan, note.Send);
  }
}

// Drawbar organ (16', 8', 4', 2 2/3', 2', 1 1/3', 1') with a rotating-speaker shimmer.
void Organ(Mix& mix, const Note& note) {
  const double f = MidiToHz(note.Midi);
  const size_t start = FrameOf(note.Start), frames = FrameOf(note.Length + 0.4);
  const double ratios[7] = {0.5, 1.0, 2.0, 3.0, 4.0, 6.0, 8.0};
  const float levels[7] = {0.5f, 1.0f, 0.6f, 0.3f, 0.25f, 0.1f, 0.08f};
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    double rotor = 0.0012 * Sine(5.8 * (note.Start + t));
    float sum = 0;
    for (int k = 0; k < 7; ++k) {
      if (ratios[k] * f > 12000) continue;
      sum += levels[k] * Sine(ratios[k] * f * t * (1 + rotor));
    }
    float pan = note.Pan + 0.25f * Sine(5.8 * (note.Start + t) + 0.25);
    float g = Gate(t, note.Length, 0.012, 0.06);
    mix.Add(start + i, Tail(i, frames) * 0.09f * note.Velocity * g * sum, std::clamp(pan, -1.0f, 1.0f), note.Send);
  }
}

void Kick(Mix& mix, double at, float velocity) {
  const size_t start = FrameOf(at), frames = FrameOf(1.2);
  double phase = 0;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    phase += (48 + 110 * std::exp(-t / 0.035)) / kRate;
    float s = Sine(phase) * static_cast<float>(std::exp(-t / 0.28));
    mix.Add(start + i, Tail(i, frames) * 0.55f * velocity * s, 0, 0.02f);
  }
}

void Snare(Mix& mix, double at, float velocity, uint32_t seed) {
  const size_t start = FrameOf(at), frames = FrameOf(0.45);
  Random noise(seed);
  float previous = 0;
  LowPass soften;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float n = noise.Bipolar();
    float bright = soften.Step(n - previous, 6000, 1.0f);
    previous = n;
    float s = 0.45f * Sine(185 * t) * static_cast<float>(std::exp(-t / 0.06)) +
              0.55f * bright * static_cast<float>(std::exp(-t / 0.11));
    mix.Add(start + i, Tail(i, frames) * 0.36f * velocity * s, 0.1f, 0.25f);
  }
}

void HiHat(Mix& mix, double at, float velocity, bool open, uint32_t seed) {
  const size_t start = FrameOf(at), frames = FrameOf(open ? 0.5 : 0.12);
  Random noise(seed);
  float previous = 0;
  const double decay = open ? 0.16 : 0.03;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float n = noise.Bipolar();
    float s = (n - previous) * static_cast<float>(std::exp(-t / decay));
    previous = n;
    mix.Add(start + i, Tail(i, frames) * 0.07f * velocity * s, 0.35f, 0.1f);
  }
}

void Shaker(Mix& mix, double at, float velocity, uint32_t seed) {
  const size_t start = FrameOf(at), frames = FrameOf(0.14);
  Random noise(seed);
  float previous = 0;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float n = noise.Bipolar();
    float env = static_cast<float>(std::min(1.0, t / 0.012) * std::exp(-t / 0.045));
    mix.Add(start + i, Tail(i, frames) * 0.06f * velocity * (n - previous) * env, -0.4f, 0.15f);
    previous = n;
  }
}

void Brush(Mix& mix, double at, float velocity, uint32_t seed) {
  const size_t start = FrameOf(at), frames = FrameOf(0.35);
  Random noise(seed);
  LowPass soften;
  for (size_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate;
    float env = static_cast<float>(std::min(1.0, t / 0.02) * std::exp(-t / 0.12));
    mix.Add(start + i, Tail(i, frames) * 0.15f * velocity * soften.Step(noise.Bipolar(), 4500, 0.8f) * env, 0.2f, 0.3f);
  }
}

}  // namespace demo
