// Ogg Vorbis encoding into memory through libvorbisenc's variable bit-rate mode.
#pragma once

#include <cstdint>
#include <vector>

// Encodes one or two equally long channels (samples in -1..1) at the given rate and VBR quality
// (-0.1..1). The stream's serial number is the caller's, so the bytes never change between runs, and
// the last page's granule position is the exact frame count, so decoders stop on the last sample.
// False (and out empty) for no channels, more than two, channels of unequal length, or settings the
// encoder refuses.
bool encodeOggVorbis(const std::vector<std::vector<float>>& channels, int rate, float quality, int serial,
                     std::vector<uint8_t>& out);
