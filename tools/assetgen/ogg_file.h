// Ogg Vorbis encoding of a stereo loop held in memory.
#pragma once

#include <cstdint>
#include <vector>

// Encodes the two channels (equal length, samples in -1..1) at the given rate and VBR quality (-0.1..1).
// The stream's serial number is fixed by the caller so the output bytes never change between runs.
// The last page's granule position is the exact frame count, so decoders stop on the last sample.
// False (and out empty) if the encoder refuses the settings.
bool encodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right, int rate, float quality,
                     int serial, std::vector<uint8_t>& out);
