// Test sounds: mono Ogg Vorbis through the shared encoder, and a minimal WAV writer.
#include "tests/support/ogg_writer.h"

#include <cmath>

namespace {
void appendLittleEndian(uint32_t value, int bytes, std::vector<uint8_t>* out) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}
} // namespace

std::vector<uint8_t> encodeOggVorbis(const std::vector<int16_t>& samples, int rate) {
    std::vector<std::vector<float>> mono(1);
    mono[0].reserve(samples.size());
    for (int16_t sample : samples) {
        mono[0].push_back(static_cast<float>(sample) / 32768.0f);
    }
    std::vector<uint8_t> out;
    encodeOggVorbis(mono, rate, 0.4f, 1, out);
    return out;
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate) {
    std::vector<uint8_t> out;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    appendLittleEndian(36 + dataBytes, 4, &out);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    appendLittleEndian(16, 4, &out);                              // format chunk length
    appendLittleEndian(1, 2, &out);                               // PCM
    appendLittleEndian(1, 2, &out);                               // mono
    appendLittleEndian(static_cast<uint32_t>(rate), 4, &out);     // sample rate
    appendLittleEndian(static_cast<uint32_t>(rate) * 2, 4, &out); // bytes per second
    appendLittleEndian(2, 2, &out);                               // bytes per frame
    appendLittleEndian(16, 2, &out);                              // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    appendLittleEndian(dataBytes, 4, &out);
    for (int16_t sample : samples) {
        appendLittleEndian(static_cast<uint16_t>(sample), 2, &out);
    }
    return out;
}

std::vector<int16_t> sineTone(double frequency, double amplitude, double seconds, int rate) {
    const size_t count = static_cast<size_t>(seconds * rate);
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<int16_t>(
            std::lround(32767.0 * amplitude *
                        std::sin(2.0 * 3.14159265358979 * frequency * static_cast<double>(i) / rate)));
    }
    return samples;
}
