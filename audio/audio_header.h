// A look at the header of an unscrambled sound or music file before SDL_mixer sees it. SDL 1.2's WAV
// readers allocate whatever length a chunk claims, its WAV music reader loops for ever when the data
// chunk is missing, and its rate converter overruns its fixed table of filters for sample rates far from
// the device's; its MIDI reader leaks on every file it refuses. The game's own sounds are WAV and Ogg
// Vorbis files at ordinary rates, so only those reach SDL_mixer.
#pragma once

#include <cstddef>
#include <cstdint>

// False for a RIFF file that is not a WAVE or whose chunks claim more than the file holds, a WAVE
// without its "fmt " or "data" chunk, a WAVE or Ogg Vorbis stream with other than 1 or 2 channels or a
// rate outside 4000..96000 Hz (in an Ogg file, in any of its chained links), and every file that is
// neither a WAVE nor an Ogg Vorbis stream.
bool audioHeaderIsSafe(const uint8_t* bytes, size_t length);
