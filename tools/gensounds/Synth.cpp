#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One cycle of a sine, read with linear interpolation: fast, and the same on every run.
class SineTable {
 public:
  SineTable() {
    for (int i = 0; i <= kSize; ++i) v_[i] = std::sin(2 * kPi * i / kSize);
  }
  double operator()(double cycles) const {
    const double f = (cycles - std::floor(cycles)) * kSize;
    const int i = static_cast<int>(f);
    return v_[i] + (v_[i + 1] - v_[i]) * (f - i);
  }

 private:
  static constexpr int kSize = 4096;
  std::array<double, kSize + 1> v_;
};
const SineTable Sine;

class Rng {
 public:
  explicit Rng(uint32_t seed) : s_(seed * 2654435761u + 12345u) {}
  uint32_t Next() { return s_ = s_ * 1664525u + 1013904223u; }
  int Below(int n) { return static_cast<int>((Next() >> 8) % static_cast<uint32_t>(n)); }
  double Unit() { return (Next() >> 8) / 16777216.0; }
  double Noise() { return 2 * Unit() - 1; }

 private:
  uint32_t s_;
};

double MidiHz(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12); }
int64_t Seconds(double s) { return static_cast<int64_t>(std::lround(s * kRate)); }

// Samples being mixed. A looping piece wraps: whatever runs past its end sounds at its start,
// so every tail that crosses the seam continues across it and the loop joins without a click.
class Track {
 public:
  Track(size_t frames, bool wrap) : s_(frames, 0.0), wrap_(wrap) {}
  void Add(int64_t at, double v) {
    const int64_t n = static_cast<int64_t>(s_.size());
    if (wrap_)
      s_[static_cast<size_t>(((at % n) + n) % n)] += v;
    else if (at >= 0 && at < n)
      s_[static_cast<size_t>(at)] += v;
  }
  size_t Size() const { return s_.size(); }
  std::vector<double>& Samples() { return s_; }

 private:
  std::vector<double> s_;
  bool wrap_;
};

// ---- voices ------------------------------------------------------------------------------

// A plucked string (zither-like): harmonics that die away faster the higher they are.
void Pluck(Track& t, int64_t at, double hz, double amp, double bright = 0.45,
           double seconds = 1.6) {
  constexpr int kH = 6;
  double a[kH], env[kH], fall[kH];
  for (int k = 0; k < kH; ++k) {
    if ((k + 1) * hz > kRate * 0.45) {
      a[k] = 0;
    } else {
      a[k] = std::pow(bright, k) / (k + 1);
    }
    env[k] = 1;
    fall[k] = std::exp(-(2.2 + 1.6 * k) / kRate);
  }
  const int64_t n = Seconds(seconds), attack = Seconds(0.004), fade = Seconds(0.02);
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    double v = 0;
    for (int k = 0; k < kH; ++k) {
      v += a[k] * env[k] * Sine((k + 1) * hz * time);
      env[k] *= fall[k];
    }
    double g = std::min(1.0, static_cast<double>(i) / attack);
    if (i > n - fade) g *= static_cast<double>(n - i) / fade;
    t.Add(at + i, amp * g * v);
  }
}

// A bamboo flute: soft attack, a little vibrato once the note settles.
void Flute(Track& t, int64_t at, double hz, int64_t length, double amp) {
  const int64_t attack = Seconds(0.07), release = Seconds(0.18), n = length + release;
  double phase = 0, vibrato = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    const double depth = 0.005 * std::clamp((time - 0.25) / 0.3, 0.0, 1.0);
    phase += hz * (1 + depth * Sine(vibrato)) / kRate;
    vibrato += 5.3 / kRate;
    double g = std::min(1.0, static_cast<double>(i) / attack);
    if (i >= length) g *= 1.0 - static_cast<double>(i - length) / release;
    const double v =
        Sine(phase) + 0.28 * Sine(2 * phase) + 0.1 * Sine(3 * phase) + 0.04 * Sine(4 * phase);
    t.Add(at + i, amp * g * v);
  }
}

// A small bronze bell: frequency modulation with an inharmonic ratio and a fading index.
void Bell(Track& t, int64_t at, double hz, double amp, double seconds = 2.0) {
  const int64_t n = Seconds(seconds), fade = Seconds(0.05);
  // High bells get a smaller index: sidebands past half the rate would fold back as noise.
  const double peakIndex = std::clamp((0.45 * kRate - hz) / (2.76 * hz) - 1, 0.0, 2.2);
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    const double index = peakIndex * std::exp(-4.0 * time);
    const double v = Sine(hz * time + index / (2 * kPi) * Sine(2.76 * hz * time));
    double g = std::exp(-2.4 * time) * std::min(1.0, static_cast<double>(i) / Seconds(0.002));
    if (i > n - fade) g *= static_cast<double>(n - i) / fade;
    t.Add(at + i, amp * g * v);
  }
}

// A soft low drum: a sine falling in pitch.
void Drum(Track& t, int64_t at, double amp, double top = 120, double low = 55) {
  const int64_t n = Seconds(0.4);
  double phase = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    phase += (low + (top - low) * std::exp(-time * 22)) / kRate;
    const double g = std::exp(-time * 9) * std::min(1.0, static_cast<double>(i) / Seconds(0.002)) *
                     (1.0 - static_cast<double>(i) / n);
    t.Add(at + i, amp * g * Sine(phase));
  }
}

// A wooden block: two short resonances.
void Woodblock(Track& t, int64_t at, double amp, double hz = 1050) {
  const int64_t n = Seconds(0.09);
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    const double v = std::exp(-time * 55) * Sine(hz * time) +
                     0.5 * std::exp(-time * 80) * Sine(hz * 1.47 * time);
    const double g =
        std::min(1.0, static_cast<double>(i) / Seconds(0.001)) * (1.0 - static_cast<double>(i) / n);
    t.Add(at + i, amp * g * v);
  }
}

// A held chord tone with a slow swell, slightly detuned against itself.
void Pad(Track& t, int64_t at, double hz, int64_t length, double amp) {
  const int64_t attack = Seconds(0.35), release = Seconds(0.5), n = length + release;
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    double g = std::min(1.0, static_cast<double>(i) / attack);
    if (i >= length) g *= 1.0 - static_cast<double>(i - length) / release;
    const double v =
        0.5 * Sine(hz * 1.003 * time) + 0.5 * Sine(hz * 0.997 * time) + 0.2 * Sine(2 * hz * time);
    t.Add(at + i, amp * g * v);
  }
}

// A plucked bass note.
void Bass(Track& t, int64_t at, double hz, int64_t length, double amp) {
  const int64_t release = Seconds(0.08), n = length + release;
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    double g = std::exp(-time * 1.4) * std::min(1.0, static_cast<double>(i) / Seconds(0.006));
    if (i >= length) g *= 1.0 - static_cast<double>(i - length) / release;
    t.Add(at + i, amp * g * (Sine(hz * time) + 0.3 * Sine(2 * hz * time)));
  }
}

// Echoes of the whole piece, wrapped like the notes, so the loop stays seamless.
void Echo(Track& t, double delaySeconds, double gain) {
  std::vector<double>& s = t.Samples();
  const std::vector<double> dry = s;
  const size_t n = s.size(), d = static_cast<size_t>(Seconds(delaySeconds)) % n;
  for (size_t i = 0; i < n; ++i) s[(i + d) % n] += gain * dry[i];
}

// Scales to the peak, or to the loudness `rms` (a fraction of full scale) when that is lower,
// so tracks of different instruments sound about equally loud.
std::vector<int16_t> ToPcm(Track& t, double peak, double rms = 1.0) {
  const std::vector<double>& s = t.Samples();
  double top = 1e-9, power = 0;
  for (double v : s) {
    top = std::max(top, std::fabs(v));
    power += v * v;
  }
  const double level = std::sqrt(power / std::max<size_t>(1, s.size())) + 1e-9;
  std::vector<int16_t> out(s.size());
  const double scale = std::min(peak / top, rms / level) * 32767;
  for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<int16_t>(std::lround(s[i] * scale));
  return out;
}

// ---- composer ----------------------------------------------------------------------------

enum class Mood { Lively, Gentle, Calm, March, Solemn };

struct Piece {
  const char* path;
  Mood mood;
  int bpm;
  int bars;
  int tonic;  // MIDI note of the tonic at the bottom of the melody's range
  uint32_t seed;
};

constexpr int kPentatonic[5] = {0, 2, 4, 7, 9};
int DegreeSemitones(int degree) {
  const int octave = degree >= 0 ? degree / 5 : -((-degree + 4) / 5);
  return 12 * octave + kPentatonic[degree - 5 * octave];
}

// Chords as pentatonic degrees (root first): I, vi, ii, V.
constexpr int kChords[4][3] = {{0, 2, 3}, {4, 0, 2}, {1, 3, 4}, {3, 1, 4}};
constexpr int kI = 0, kVi = 1, kIi = 2, kV = 3;

struct Note {
  int start;   // in eighths from the phrase start
  int length;  // in eighths
  int degree;
};

// Rhythms of one bar, in eighths (eight per bar).
const std::vector<std::vector<int>>& Rhythms(Mood mood) {
  static const std::vector<std::vector<int>> lively = {{2, 2, 1, 1, 2}, {1, 1, 2, 2, 2},
                                                       {2, 1, 1, 2, 2}, {3, 1, 2, 2},
                                                       {2, 2, 4},       {1, 1, 1, 1, 2, 2}};
  static const std::vector<std::vector<int>> slow = {{4, 4},    {6, 2},    {2, 2, 4},
                                                     {3, 1, 4}, {4, 2, 2}, {8}};
  static const std::vector<std::vector<int>> march = {
      {2, 2, 2, 2}, {3, 1, 2, 2}, {2, 2, 4}, {2, 1, 1, 4}};
  if (mood == Mood::Lively) return lively;
  if (mood == Mood::March) return march;
  return slow;
}

int NearestChordTone(int degree, int chord) {
  int best = degree, bestDist = 99;
  for (int d = degree - 3; d <= degree + 3; ++d) {
    for (int c : kChords[chord]) {
      if (((d % 5) + 5) % 5 == c && std::abs(d - degree) < bestDist) {
        best = d;
        bestDist = std::abs(d - degree);
      }
    }
  }
  return best;
}

// One bar of melody over `chord`, walking on from `degree`.
std::vector<Note> MelodyBar(Rng& rng, Mood mood, int chord, int& degree, int barStart) {
  static const int steps[] = {-2, -1, -1, 0, 1, 1, 2};
  const auto& rhythms = Rhythms(mood);
  const std::vector<int>& rhythm = rhythms[rng.Below(static_cast<int>(rhythms.size()))];
  std::vector<Note> notes;
  int at = 0;
  for (size_t i = 0; i < rhythm.size(); ++i) {
    degree = std::clamp(degree + steps[rng.Below(7)], 2, 9);
    if (i == 0 || rhythm[i] >= 4) degree = std::clamp(NearestChordTone(degree, chord), 2, 9);
    notes.push_back({barStart + at, rhythm[i], degree});
    at += rhythm[i];
  }
  return notes;
}

std::vector<int> Progression(int bars) {
  static const int head[4] = {kI, kVi, kIi, kV};
  static const int tail[4] = {kVi, kIi, kV, kI};
  std::vector<int> chords(bars);
  for (int b = 0; b < bars; ++b) chords[b] = b >= bars - 4 ? tail[b - (bars - 4)] : head[b % 4];
  return chords;
}

// The melody of the whole piece in two-bar phrases: A A' B A'' (or A A' B B' A A''), the last
// phrase settling on the tonic so the loop's return to the start sounds like a homecoming.
std::vector<Note> Melody(Rng& rng, Mood mood, const std::vector<int>& chords) {
  const int bars = static_cast<int>(chords.size());
  const int phrases = bars / 2;
  std::vector<std::vector<Note>> plan(phrases);
  auto make = [&](int phrase, int start) {
    std::vector<Note> notes;
    int degree = start;
    for (int b = 0; b < 2; ++b) {
      const auto bar = MelodyBar(rng, mood, chords[2 * phrase + b], degree, 8 * b);
      notes.insert(notes.end(), bar.begin(), bar.end());
    }
    return notes;
  };
  const std::vector<Note> a = make(0, 5);
  std::vector<Note> b = make(std::min(2, phrases - 1), 7);
  for (int p = 0; p < phrases; ++p) {
    const bool aKind = phrases == 4 ? p != 2 : (p < 2 || p >= 4);
    std::vector<Note> notes = aKind ? a : b;
    if (p % 2 == 1 || p == phrases - 1) {
      // A varied second bar keeps the repeat from sounding mechanical.
      notes.erase(
          std::remove_if(notes.begin(), notes.end(), [](const Note& n) { return n.start >= 8; }),
          notes.end());
      int degree = notes.empty() ? 5 : notes.back().degree;
      const auto bar = MelodyBar(rng, mood, chords[2 * p + 1], degree, 8);
      notes.insert(notes.end(), bar.begin(), bar.end());
    }
    if (p == phrases - 1) {
      // End on the tonic, held to the end of the bar.
      Note& last = notes.back();
      last.degree = last.degree >= 7 ? 10 : 5;
      last.length = 16 - last.start;
    }
    for (Note& n : notes) n.start += 16 * p;
    plan[p] = notes;
  }
  std::vector<Note> all;
  for (const auto& p : plan) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::vector<int16_t> Compose(const Piece& piece) {
  Rng rng(piece.seed);
  const int64_t eighth = std::lround(kRate * 60.0 / piece.bpm / 2);
  const int64_t bar = 8 * eighth;
  Track t(static_cast<size_t>(bar * piece.bars), true);
  const std::vector<int> chords = Progression(piece.bars);
  const std::vector<Note> melody = Melody(rng, piece.mood, chords);
  auto hz = [&](int degree, int octaveShift = 0) {
    return MidiHz(piece.tonic + DegreeSemitones(degree) + 12 * octaveShift);
  };

  // The lead.
  for (const Note& n : melody) {
    const int64_t at = n.start * eighth;
    switch (piece.mood) {
      case Mood::Lively:
      case Mood::March: Pluck(t, at, hz(n.degree), 0.55, 0.5); break;
      case Mood::Gentle: Flute(t, at, hz(n.degree), n.length * eighth - eighth / 4, 0.42); break;
      case Mood::Calm:
        // A flute that a zither doubles on the long notes.
        Flute(t, at, hz(n.degree), n.length * eighth - eighth / 4, 0.36);
        if (n.length >= 4) Pluck(t, at, hz(n.degree), 0.22, 0.35);
        break;
      case Mood::Solemn:
        Flute(t, at, hz(n.degree, -1), n.length * eighth - eighth / 4, 0.45);
        break;
    }
  }

  // Harmony, bass and percussion, bar by bar.
  for (int b = 0; b < piece.bars; ++b) {
    const int64_t at = b * bar;
    const int* chord = kChords[chords[b]];
    const double root = hz(chord[0], -2);
    switch (piece.mood) {
      case Mood::Lively:
        Bass(t, at, root, 3 * eighth, 0.38);
        Bass(t, at + 4 * eighth, hz(chord[1], -2), 3 * eighth, 0.3);
        for (int e = 0; e < 8; ++e) Pluck(t, at + e * eighth, hz(chord[e % 3], -1), 0.12, 0.3, 0.6);
        Drum(t, at, 0.32);
        Drum(t, at + 4 * eighth, 0.22);
        Woodblock(t, at + 2 * eighth, 0.22);
        Woodblock(t, at + 6 * eighth, 0.22);
        if (b % 2 == 0) Woodblock(t, at + 7 * eighth, 0.12, 1400);
        if (b % 4 == 0) Bell(t, at, hz(chord[0], 1), 0.16);
        break;
      case Mood::March:
        Bass(t, at, root, 2 * eighth, 0.36);
        Bass(t, at + 2 * eighth, hz(chord[1], -2), 2 * eighth, 0.28);
        Bass(t, at + 4 * eighth, root, 2 * eighth, 0.36);
        Bass(t, at + 6 * eighth, hz(chord[2], -2), 2 * eighth, 0.28);
        Drum(t, at, 0.34);
        Drum(t, at + 4 * eighth, 0.26);
        Woodblock(t, at + 2 * eighth, 0.2);
        Woodblock(t, at + 6 * eighth, 0.2);
        Woodblock(t, at + 7 * eighth, 0.1, 1400);
        for (int k = 0; k < 3; ++k) Pad(t, at, hz(chord[k], -1), bar - eighth, 0.06);
        break;
      case Mood::Gentle:
        for (int k = 0; k < 3; ++k) Pad(t, at, hz(chord[k], -1), bar - eighth, 0.08);
        for (int q = 0; q < 4; ++q)
          Pluck(t, at + 2 * q * eighth, hz(chord[q % 3], q == 3 ? 0 : -1), 0.14, 0.35);
        Bass(t, at, root, 6 * eighth, 0.25);
        if (b % 4 == 0) Bell(t, at, hz(chord[0], 1), 0.12);
        break;
      case Mood::Calm:
        for (int k = 0; k < 3; ++k) Pad(t, at, hz(chord[k], -1), bar - eighth, 0.09);
        Pad(t, at, root, bar - eighth, 0.12);
        for (int k = 0; k < 2; ++k) {
          const int e = 2 * rng.Below(4) + 1;
          Pluck(t, at + e * eighth, hz(chord[rng.Below(3)], 1), 0.1, 0.3);
        }
        break;
      case Mood::Solemn:
        for (int k = 0; k < 3; ++k) Pad(t, at, hz(chord[k], -2), bar - eighth, 0.1);
        Bell(t, at, hz(chord[0], -1), 0.2, 2.5);
        if (b % 2 == 1) Bell(t, at + 4 * eighth, hz(chord[2]), 0.08);
        Drum(t, at, 0.25, 90, 45);
        break;
    }
  }
  Echo(t, 60.0 / piece.bpm * 0.75, 0.22);
  Echo(t, 60.0 / piece.bpm * 1.5, 0.1);
  return ToPcm(t, 0.8, 0.16);
}

const std::vector<Piece>& Pieces() {
  static const std::vector<Piece> pieces = {
      {"music/t02.wav", Mood::Lively, 112, 12, 62, 102},  // title
      {"music/t09.wav", Mood::Lively, 100, 12, 67, 109},  // main menu
      {"music/T03.wav", Mood::Gentle, 84, 8, 65, 203},    // how to play
      {"music/T08.wav", Mood::March, 96, 8, 64, 208},     // tournament B menus
      {"music/Track02.wav", Mood::Calm, 72, 8, 62, 302},
      {"music/Track03.wav", Mood::Gentle, 80, 8, 67, 303},
      {"music/Track04.wav", Mood::Calm, 66, 8, 57, 304},
      {"music/Track05.wav", Mood::Solemn, 62, 8, 64, 305},
      {"music/Track06.wav", Mood::Calm, 76, 8, 60, 306},
      {"music/Track07.wav", Mood::Gentle, 84, 8, 65, 307},
      {"music/Track08.wav", Mood::March, 92, 12, 62, 308},  // tournament screens
      {"music/Track09.wav", Mood::Calm, 70, 8, 67, 309},
      {"music/Track10.wav", Mood::Solemn, 64, 8, 57, 310},  // ladder menus
      {"music/Track11.wav", Mood::Gentle, 78, 8, 60, 311},
      {"music/Track12.wav", Mood::Gentle, 88, 8, 64, 312},  // top-ten lists
      {"music/Track13.wav", Mood::Calm, 68, 8, 65, 313},
      {"music/Track14.wav", Mood::Calm, 74, 8, 62, 314},
      {"music/Track15.wav", Mood::Gentle, 82, 8, 57, 315},
      {"music/Track16.wav", Mood::Solemn, 62, 8, 67, 316},
  };
  return pieces;
}

// ---- effects -----------------------------------------------------------------------------

// Effects play once: they must start and end at silence.
std::vector<int16_t> Finish(Track& t, double peak) {
  std::vector<double>& s = t.Samples();
  const int64_t fade = std::min<int64_t>(Seconds(0.006), static_cast<int64_t>(s.size()) / 4);
  for (int64_t i = 0; i < fade; ++i) {
    s[static_cast<size_t>(i)] *= static_cast<double>(i) / fade;
    s[s.size() - 1 - static_cast<size_t>(i)] *= static_cast<double>(i) / fade;
  }
  return ToPcm(t, peak);
}

// Hover: a light upward blip.
std::vector<int16_t> Hover() {
  Track t(static_cast<size_t>(Seconds(0.05)), false);
  const int64_t n = static_cast<int64_t>(t.Size());
  double phase = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(i) / n;
    phase += (1400 + 500 * x) / kRate;
    t.Add(i, std::sin(kPi * x) * std::exp(-2 * x) * Sine(phase));
  }
  return Finish(t, 0.45);
}

// Button click: a short wooden thump.
std::vector<int16_t> Click() {
  Track t(static_cast<size_t>(Seconds(0.12)), false);
  Drum(t, 0, 0.8, 170, 75);
  Woodblock(t, 0, 0.35, 2100);
  return Finish(t, 0.75);
}

// A bubble: a quick rising plop.
std::vector<int16_t> Plop() {
  Track t(static_cast<size_t>(Seconds(0.12)), false);
  const int64_t n = static_cast<int64_t>(t.Size());
  double phase = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(i) / n;
    phase += (260 + 420 * x * x) / kRate;
    t.Add(i, std::sin(kPi * std::sqrt(x)) * Sine(phase));
  }
  return Finish(t, 0.7);
}

// A stone set down on a wooden board: a noise click and the board's short resonances.
std::vector<int16_t> Stone() {
  Track t(static_cast<size_t>(Seconds(0.2)), false);
  Rng rng(3);
  const int64_t n = static_cast<int64_t>(t.Size());
  double low = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double time = static_cast<double>(i) / kRate;
    low += 0.35 * (rng.Noise() - low);
    double v = low * std::exp(-time * 900);
    v += 0.7 * std::exp(-time * 38) * Sine(640 * time);
    v += 0.45 * std::exp(-time * 60) * Sine(1490 * time);
    v += 0.25 * std::exp(-time * 95) * Sine(2730 * time);
    t.Add(i, v * std::min(1.0, static_cast<double>(i) / Seconds(0.0005)));
  }
  return Finish(t, 0.8);
}

// A foul: two short buzzes.
std::vector<int16_t> Buzz() {
  Track t(static_cast<size_t>(Seconds(0.38)), false);
  for (int pulse = 0; pulse < 2; ++pulse) {
    const int64_t start = pulse * Seconds(0.2), len = Seconds(0.15), edge = Seconds(0.008);
    for (int64_t i = 0; i < len; ++i) {
      const double time = static_cast<double>(i) / kRate;
      double v = 0;
      for (int k = 1; k <= 9; k += 2) v += Sine(196 * k * time) / k;
      const double g =
          std::min({1.0, static_cast<double>(i) / edge, static_cast<double>(len - i) / edge});
      t.Add(start + i, g * v);
    }
  }
  return Finish(t, 0.6);
}

// A threat: a bright two-bell chime.
std::vector<int16_t> Chime() {
  Track t(static_cast<size_t>(Seconds(0.6)), false);
  Bell(t, 0, MidiHz(88), 0.6, 0.6);
  Bell(t, Seconds(0.09), MidiHz(95), 0.5, 0.5);
  return Finish(t, 0.7);
}

// The human won: a bright fanfare that repeats for as long as the winner's picture blinks.
std::vector<int16_t> Victory() {
  const int64_t eighth = std::lround(kRate * 60.0 / 132 / 2);
  Track t(static_cast<size_t>(16 * eighth), true);
  const int tonic = 67;
  const int up[8] = {0, 1, 2, 3, 4, 5, 7, 5};
  for (int e = 0; e < 8; ++e)
    Pluck(t, e * eighth, MidiHz(tonic + DegreeSemitones(up[e])), 0.5, 0.55);
  for (int k = 0; k < 3; ++k) {
    Pluck(t, 8 * eighth, MidiHz(tonic + DegreeSemitones(kChords[kV][k])), 0.35, 0.5);
    Pluck(t, 12 * eighth, MidiHz(tonic + DegreeSemitones(kChords[kI][k] + 5)), 0.4, 0.55);
  }
  Bell(t, 0, MidiHz(tonic + 12), 0.25);
  Bell(t, 12 * eighth, MidiHz(tonic + 19), 0.3);
  for (int q = 0; q < 4; ++q) Drum(t, 4 * q * eighth, q % 2 ? 0.3 : 0.5);
  for (int e = 2; e < 16; e += 4) Woodblock(t, e * eighth, 0.2);
  Bass(t, 0, MidiHz(tonic - 24), 7 * eighth, 0.4);
  Bass(t, 8 * eighth, MidiHz(tonic - 24 + 7), 3 * eighth, 0.35);
  Bass(t, 12 * eighth, MidiHz(tonic - 24), 4 * eighth, 0.4);
  Echo(t, 0.17, 0.2);
  return ToPcm(t, 0.8);
}

// A computer won: a slow falling line in the minor mode over a low drone.
std::vector<int16_t> Defeat() {
  const int64_t eighth = std::lround(kRate * 60.0 / 76 / 2);
  Track t(static_cast<size_t>(16 * eighth), true);
  // Minor pentatonic: 0 3 5 7 10.
  const int line[4] = {15, 10, 7, 3};
  for (int q = 0; q < 4; ++q) Flute(t, 4 * q * eighth, MidiHz(62 + line[q]), 3 * eighth, 0.4);
  Pad(t, 0, MidiHz(38), 15 * eighth, 0.25);
  Pad(t, 0, MidiHz(45), 15 * eighth, 0.15);
  Bell(t, 0, MidiHz(50), 0.3, 3.0);
  Bell(t, 8 * eighth, MidiHz(53), 0.18, 2.5);
  Drum(t, 0, 0.3, 80, 40);
  Echo(t, 0.3, 0.2);
  return ToPcm(t, 0.75);
}

struct Effect {
  const char* path;
  bool loops;
  std::vector<int16_t> (*make)();
};

const std::vector<Effect>& Effects() {
  static const std::vector<Effect> effects = {
      {"sound/Dipping_.wav", false, Hover}, {"sound/Bass.wav", false, Click},
      {"sound/Plop_.wav", false, Plop},     {"sound/Driphit.wav", false, Stone},
      {"sound/Error.wav", false, Buzz},     {"sound/FX014.wav", false, Chime},
      {"sound/S138.wav", true, Victory},    {"sound/S119.wav", true, Defeat},
  };
  return effects;
}

}  // namespace

const std::vector<SoundFile>& GameSounds() {
  static const std::vector<SoundFile> all = [] {
    std::vector<SoundFile> v;
    for (const Piece& p : Pieces()) v.push_back({p.path, true});
    for (const Effect& e : Effects()) v.push_back({e.path, e.loops});
    return v;
  }();
  return all;
}

std::vector<int16_t> Render(const std::string& path) {
  for (const Piece& p : Pieces())
    if (path == p.path) return Compose(p);
  for (const Effect& e : Effects())
    if (path == e.path) return e.make();
  return {};
}

}  // namespace Synth
