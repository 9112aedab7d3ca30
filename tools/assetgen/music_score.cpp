// The notes of the arrangement, bar by bar. Progression: Am F C G | Am F Dm E, so the loop's last bar
// leads back into its first.
#include "tools/assetgen/music_score.h"

namespace {
struct Chord {
    int root;     // bass note
    int tones[3]; // close voicing around middle C
};

const Chord kChords[8] = {
    {45, {57, 60, 64}}, // Am
    {41, {57, 60, 65}}, // F
    {48, {55, 60, 64}}, // C
    {43, {55, 59, 62}}, // G
    {45, {57, 60, 64}}, // Am
    {41, {57, 60, 65}}, // F
    {38, {57, 62, 65}}, // Dm
    {40, {56, 59, 64}}, // E
};

// The tune: start beat, length in beats, pitch.
const float kMelody[][3] = {
    {0, 1.5f, 76},  {1.5f, 0.5f, 74},  {2, 1, 72},    {3, 0.5f, 71},    {3.5f, 0.5f, 72},  {4, 2, 69},
    {6, 1, 72},     {7, 1, 77},        {8, 1.5f, 76}, {9.5f, 0.5f, 79}, {10, 1, 76},       {11, 1, 72},
    {12, 2.5f, 74}, {14.5f, 0.5f, 71}, {15, 1, 67},   {16, 1, 69},      {17, 0.5f, 72},    {17.5f, 0.5f, 76},
    {18, 1.5f, 81}, {19.5f, 0.5f, 79}, {20, 1, 77},   {21, 0.5f, 76},   {21.5f, 0.5f, 74}, {22, 2, 72},
    {24, 1, 74},    {25, 1, 77},       {26, 1, 81},   {27, 1, 77},      {28, 2, 76},       {30, 1, 68},
    {31, 1, 71},
};

void addPad(std::vector<Note>& notes) {
    for (int bar = 0; bar < 8; ++bar) {
        for (int i = 0; i < 3; ++i) {
            notes.push_back(
                {Instrument::Pad, bar * 4.0f, 4.0f, kChords[bar].tones[i], 0.8f, -0.6f + 0.6f * i});
        }
    }
}

void addBass(std::vector<Note>& notes) {
    // Root, a pushed root, the fifth, and an octave pickup into the next beat.
    const float pattern[][3] = {{0, 1.2f, 0}, {1.5f, 0.4f, 0}, {2, 0.9f, 7}, {3, 0.4f, 12}, {3.5f, 0.4f, 0}};
    for (int bar = 0; bar < 8; ++bar) {
        for (const auto& step : pattern) {
            const float velocity = step[0] == 0 ? 1.0f : 0.75f;
            notes.push_back({Instrument::Bass, bar * 4 + step[0], step[1],
                             kChords[bar].root + static_cast<int>(step[2]), velocity, 0.0f});
        }
    }
}

void addPluck(std::vector<Note>& notes) {
    // Sixteenths climbing and falling through the chord, an octave up.
    const int order[16] = {0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 5, 4, 3, 2};
    for (int bar = 0; bar < 8; ++bar) {
        const Chord& chord = kChords[bar];
        const int tones[6] = {chord.tones[0] + 12, chord.tones[1] + 12, chord.tones[2] + 12,
                              chord.tones[0] + 24, chord.tones[1] + 24, chord.tones[2] + 24};
        for (int i = 0; i < 16; ++i) {
            const float velocity = (i % 4 == 0) ? 0.9f : (i % 2 == 0 ? 0.65f : 0.5f);
            const float pan = (i % 2 == 0) ? -0.35f : 0.35f;
            notes.push_back({Instrument::Pluck, bar * 4 + i * 0.25f, 0.2f, tones[order[i]], velocity, pan});
        }
    }
}

void addDrums(std::vector<Note>& notes) {
    for (int bar = 0; bar < 8; ++bar) {
        const float b = bar * 4.0f;
        notes.push_back({Instrument::Kick, b, 0.5f, 0, 1.0f, 0});
        notes.push_back({Instrument::Kick, b + 2, 0.5f, 0, 0.9f, 0});
        if (bar % 2 == 1) {
            notes.push_back({Instrument::Kick, b + 2.5f, 0.5f, 0, 0.6f, 0});
        }
        notes.push_back({Instrument::Snare, b + 1, 0.5f, 0, 0.8f, 0.1f});
        notes.push_back({Instrument::Snare, b + 3, 0.5f, 0, 0.8f, 0.1f});
        if (bar == 7) {
            notes.push_back({Instrument::Snare, b + 3.75f, 0.25f, 0, 0.45f, 0.1f});
        }
        for (int i = 0; i < 8; ++i) {
            const float velocity = (i % 2 == 1) ? 0.9f : 0.45f;
            notes.push_back({Instrument::Hat, b + i * 0.5f, 0.25f, 0, velocity, 0.3f});
        }
    }
}

void addLead(std::vector<Note>& notes) {
    for (const auto& n : kMelody) {
        notes.push_back({Instrument::Lead, n[0], n[1] * 0.92f, static_cast<int>(n[2]), 0.85f, -0.1f});
    }
}

void addBells(std::vector<Note>& notes) {
    // A high chord tone at the start of every bar, and an answer on the off-beat of every other bar.
    for (int bar = 0; bar < 8; ++bar) {
        const Chord& chord = kChords[bar];
        notes.push_back({Instrument::Bell, bar * 4.0f, 2.0f, chord.tones[2] + 24, 0.8f, 0.45f});
        if (bar % 2 == 1) {
            notes.push_back({Instrument::Bell, bar * 4 + 2.5f, 1.0f, chord.tones[0] + 24, 0.55f, -0.45f});
        }
    }
}
} // namespace

std::vector<Note> layerNotes(Layer layer) {
    std::vector<Note> notes;
    switch (layer) {
    case kLayerPad:
        addPad(notes);
        break;
    case kLayerBass:
        addBass(notes);
        break;
    case kLayerPluck:
        addPluck(notes);
        break;
    case kLayerDrums:
        addDrums(notes);
        break;
    case kLayerLead:
        addLead(notes);
        break;
    case kLayerBells:
        addBells(notes);
        break;
    case kLayerCount:
        break;
    }
    return notes;
}

float trackLayerGain(int track, Layer layer) {
    // Columns: pad, bass, pluck, drums, lead, bells.
    static const float kMix[10][kLayerCount] = {
        {0.45f, 0, 0, 0, 0, 0.8f}, // 0: after the end, pad and bells alone
        {1, 0, 0, 0, 0, 0},        // 1: the first room
        {1, 1, 0, 0, 0, 0},        // 2
        {1, 1, 1, 0, 0, 0},        // 3
        {1, 1, 1, 1, 0, 0},        // 4
        {1, 1, 1, 1, 1, 0},        // 5: every room open
        {1, 1, 1, 0, 1, 0.6f},     // 6: avatar 4 has left
        {1, 1, 0, 0, 1, 0.8f},     // 7: avatar 3
        {1, 0, 0, 0, 0.8f, 0.9f},  // 8: avatar 2
        {0.8f, 0, 0, 0, 0, 1},     // 9: avatar 1
    };
    if (track < 0 || track > 9 || layer < 0 || layer >= kLayerCount) {
        return 0;
    }
    return kMix[track][layer];
}

float layerReverbSend(Layer layer) {
    static const float kSend[kLayerCount] = {0.35f, 0.05f, 0.4f, 0.12f, 0.35f, 0.55f};
    return (layer >= 0 && layer < kLayerCount) ? kSend[layer] : 0.0f;
}
