// A small deterministic synthesizer: a few plucked, blown, struck and percussive voices, a
// pentatonic composer, and the game's music tracks and effects built from them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Synth {

constexpr uint32_t kRate = 22050;

// Every sound the game names, as it spells them, relative to the game directory.
struct SoundFile {
  const char* path;  // "music/T03.wav"
  bool loops;        // played looping: its end must run into its start without a click
};
const std::vector<SoundFile>& GameSounds();

// The samples of one of the files above (mono, kRate); empty for an unknown path.
std::vector<int16_t> Render(const std::string& path);

}  // namespace Synth
