// Sound files made by tests: Ogg Vorbis music (through the encoder library the asset generator uses),
// and plain PCM WAV samples.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/encoders/ogg_encoder.h"

// Encodes mono 16-bit samples at the given rate as an Ogg Vorbis file; empty if the encoder refused.
std::vector<uint8_t> encodeOggVorbis(const std::vector<int16_t>& samples, int rate);
// A RIFF WAVE file holding mono 16-bit PCM samples.
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate);
// A sine tone of the given frequency and peak amplitude (0..1), seconds long.
std::vector<int16_t> sineTone(double frequency, double amplitude, double seconds, int rate);
