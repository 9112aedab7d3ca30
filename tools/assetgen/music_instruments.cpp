// Oscillators, envelopes and a state-variable filter, put together into the eight instruments.
#include "tools/assetgen/music_instruments.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/noise.h"

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr float kSampleTime = 1.0f / kMusicRate;

float midiFrequency(float midi) {
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}

// Softens the jump of a naive saw or square so that the high notes do not alias into whistles.
float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

// Topology-preserving state-variable filter (low-pass, band-pass and high-pass outputs).
class SvFilter {
public:
    void set(float cutoff, float resonance) {
        g_ = std::tan(kPi * std::min(cutoff, 0.45f * kMusicRate) / kMusicRate);
        k_ = 2.0f - 2.0f * resonance;
    }
    void process(float x) {
        const float hp = (x - (g_ + k_) * s1_ - s2_) / (1.0f + g_ * (g_ + k_));
        const float bp = g_ * hp + s1_;
        const float lp = g_ * bp + s2_;
        s1_ = g_ * hp + bp;
        s2_ = g_ * bp + lp;
        low = lp;
        band = bp;
        high = hp;
    }
    float low = 0, band = 0, high = 0;

private:
    float g_ = 0.1f, k_ = 1.4f, s1_ = 0, s2_ = 0;
};

// Attack to 1, decay to the sustain level while held, then release from wherever it is.
float adsr(float t, float held, float attack, float decay, float sustain, float release) {
    float level;
    if (t < attack) {
        level = t / attack;
    } else {
        level = sustain + (1.0f - sustain) * std::exp(-(t - attack) / decay);
    }
    if (t > held) {
        const float atRelease =
            held < attack ? held / attack : sustain + (1.0f - sustain) * std::exp(-(held - attack) / decay);
        level = atRelease * std::exp(-(t - held) / release);
    }
    return level;
}

void addSample(StereoLoop& loop, int frame, float value, float pan) {
    const int index = ((frame % kLoopFrames) + kLoopFrames) % kLoopFrames;
    const float angle = (pan + 1.0f) * 0.25f * kPi;
    loop.left[index] += value * std::cos(angle);
    loop.right[index] += value * std::sin(angle);
}

int startFrame(const Note& note) {
    return static_cast<int>(std::lround(note.startBeat * kBeatFrames));
}
float heldSeconds(const Note& note) {
    return note.beats * kBeatFrames * kSampleTime;
}

void renderPad(const Note& note, int seed, StereoLoop& loop) {
    const float held = heldSeconds(note);
    const int frames = static_cast<int>((held + 1.6f) * kMusicRate);
    const float detune[3] = {-0.09f, 0.0f, 0.085f};
    const float pans[3] = {-0.8f, 0.0f, 0.8f};
    for (int voice = 0; voice < 3; ++voice) {
        const float frequency = midiFrequency(note.midi + detune[voice]);
        float phase = hashUnit(seed, voice, 11);
        SvFilter filter;
        for (int i = 0; i < frames; ++i) {
            const float t = i * kSampleTime;
            const float dt = frequency * kSampleTime;
            const float saw = 2.0f * phase - 1.0f - polyBlep(phase, dt);
            phase += dt;
            phase -= std::floor(phase);
            // A slow swell of the filter gives the chord a breath each bar.
            filter.set(500.0f + 700.0f * std::sin(kPi * std::min(1.0f, t / (held + 0.5f))), 0.2f);
            filter.process(saw);
            const float envelope = adsr(t, held, 0.7f, 1.0f, 0.85f, 0.5f);
            addSample(loop, startFrame(note) + i, filter.low * envelope * 0.055f * note.velocity,
                      std::clamp(note.pan * 0.5f + pans[voice] * 0.5f, -1.0f, 1.0f));
        }
    }
}

void renderBass(const Note& note, StereoLoop& loop) {
    const float held = heldSeconds(note);
    const int frames = static_cast<int>((held + 0.15f) * kMusicRate);
    const float frequency = midiFrequency(static_cast<float>(note.midi));
    float phase = 0;
    SvFilter filter;
    filter.set(650.0f, 0.3f);
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        const float dt = frequency * kSampleTime;
        const float saw = 2.0f * phase - 1.0f - polyBlep(phase, dt);
        const float body = std::sin(2 * kPi * phase) + 0.3f * std::sin(4 * kPi * phase);
        phase += dt;
        phase -= std::floor(phase);
        filter.process(saw);
        const float envelope = adsr(t, held, 0.006f, 0.25f, 0.55f, 0.04f);
        addSample(loop, startFrame(note) + i,
                  (body * 0.7f + filter.low * 0.35f) * envelope * 0.3f * note.velocity, note.pan);
    }
}

constexpr float kPluckDuty = 0.3f;

void renderPluck(const Note& note, int echo, StereoLoop& loop, float delayBeats, float gain, float pan) {
    const int frames = static_cast<int>(0.6f * kMusicRate);
    const float frequency = midiFrequency(static_cast<float>(note.midi));
    const int start = startFrame(note) + static_cast<int>(std::lround(delayBeats * kBeatFrames));
    float phase = 0;
    SvFilter filter;
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        const float dt = frequency * kSampleTime;
        // A 30 % pulse between +1 and -1 averages -0.4; lifting it by that much keeps the pluck from
        // dragging the whole mix off centre (the reverb's combs would even pile the offset up).
        float square = (phase < kPluckDuty ? 1.0f : -1.0f) + (1.0f - 2.0f * kPluckDuty);
        square += polyBlep(phase, dt);
        float shifted = phase + (1.0f - kPluckDuty);
        shifted -= std::floor(shifted);
        square -= polyBlep(shifted, dt);
        phase += dt;
        phase -= std::floor(phase);
        filter.set(700.0f + 2600.0f * std::exp(-t / (0.06f + 0.03f * echo)), 0.35f);
        filter.process(square);
        const float envelope = std::min(1.0f, t / 0.003f) * std::exp(-t / 0.16f);
        addSample(loop, start + i, filter.low * envelope * 0.06f * note.velocity * gain, pan);
    }
}

void renderKick(const Note& note, StereoLoop& loop) {
    const int frames = static_cast<int>(0.45f * kMusicRate);
    float phase = 0;
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        const float frequency = 44.0f + 80.0f * std::exp(-t / 0.035f);
        phase += frequency * kSampleTime;
        const float envelope = std::min(1.0f, t / 0.002f) * std::exp(-t / 0.16f);
        addSample(loop, startFrame(note) + i, std::sin(2 * kPi * phase) * envelope * 0.5f * note.velocity,
                  note.pan);
    }
}

void renderSnare(const Note& note, int seed, StereoLoop& loop) {
    const int frames = static_cast<int>(0.3f * kMusicRate);
    NoiseStream noise(static_cast<uint32_t>(seed) + 77);
    SvFilter filter;
    filter.set(2200.0f, 0.4f);
    float phase = 0;
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        filter.process(noise.next());
        phase += 185.0f * kSampleTime;
        const float tone = std::sin(2 * kPi * phase) * std::exp(-t / 0.03f);
        const float envelope = std::min(1.0f, t / 0.001f) * std::exp(-t / 0.07f);
        addSample(loop, startFrame(note) + i,
                  (filter.band * 1.3f * envelope + tone * 0.4f) * 0.2f * note.velocity, note.pan);
    }
}

void renderHat(const Note& note, int seed, StereoLoop& loop) {
    const int frames = static_cast<int>(0.12f * kMusicRate);
    NoiseStream noise(static_cast<uint32_t>(seed) + 999);
    SvFilter filter;
    filter.set(6500.0f, 0.2f);
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        filter.process(noise.next());
        const float envelope = std::min(1.0f, t / 0.001f) * std::exp(-t / 0.022f);
        addSample(loop, startFrame(note) + i, filter.high * envelope * 0.07f * note.velocity, note.pan);
    }
}

void renderLead(const Note& note, StereoLoop& loop, float delayBeats, float gain, float pan) {
    const float held = heldSeconds(note);
    const int frames = static_cast<int>((held + 0.5f) * kMusicRate);
    const float frequency = midiFrequency(static_cast<float>(note.midi));
    const int start = startFrame(note) + static_cast<int>(std::lround(delayBeats * kBeatFrames));
    float phase = 0;
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        // Vibrato grows in only on held notes.
        const float depth = 0.004f * std::clamp((t - 0.25f) / 0.3f, 0.0f, 1.0f);
        phase += frequency * (1.0f + depth * std::sin(2 * kPi * 5.2f * t)) * kSampleTime;
        phase -= std::floor(phase);
        const float voice =
            std::sin(2 * kPi * phase) + 0.28f * std::sin(4 * kPi * phase) + 0.1f * std::sin(6 * kPi * phase);
        const float envelope = adsr(t, held, 0.035f, 0.4f, 0.75f, 0.12f);
        addSample(loop, start + i, voice * envelope * 0.13f * note.velocity * gain, pan);
    }
}

void renderBell(const Note& note, StereoLoop& loop) {
    const int frames = static_cast<int>(3.5f * kMusicRate);
    const float frequency = midiFrequency(static_cast<float>(note.midi));
    float carrier = 0, modulator = 0;
    for (int i = 0; i < frames; ++i) {
        const float t = i * kSampleTime;
        modulator += 3.5f * frequency * kSampleTime;
        modulator -= std::floor(modulator);
        const float index = 1.6f * std::exp(-t / 0.35f);
        carrier += frequency * kSampleTime;
        carrier -= std::floor(carrier);
        const float value = std::sin(2 * kPi * carrier + index * std::sin(2 * kPi * modulator));
        const float envelope = std::min(1.0f, t / 0.002f) * std::exp(-t / 0.9f);
        addSample(loop, startFrame(note) + i, value * envelope * 0.09f * note.velocity, note.pan);
    }
}
} // namespace

void renderNote(const Note& note, int seed, StereoLoop& loop) {
    switch (note.instrument) {
    case Instrument::Pad:
        renderPad(note, seed, loop);
        break;
    case Instrument::Bass:
        renderBass(note, loop);
        break;
    case Instrument::Pluck:
        // Dotted-eighth echoes, bouncing between the sides.
        renderPluck(note, 0, loop, 0.0f, 1.0f, note.pan);
        renderPluck(note, 1, loop, 0.75f, 0.35f, -note.pan);
        renderPluck(note, 2, loop, 1.5f, 0.12f, note.pan);
        break;
    case Instrument::Kick:
        renderKick(note, loop);
        break;
    case Instrument::Snare:
        renderSnare(note, seed, loop);
        break;
    case Instrument::Hat:
        renderHat(note, seed, loop);
        break;
    case Instrument::Lead:
        renderLead(note, loop, 0.0f, 1.0f, note.pan);
        renderLead(note, loop, 0.75f, 0.22f, 0.6f);
        break;
    case Instrument::Bell:
        renderBell(note, loop);
        break;
    }
}
