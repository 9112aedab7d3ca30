// The one arrangement every music track is a layer of: A minor, 90 beats per minute, eight bars of 4/4,
// looping every 64/3 seconds. The game switches between tracks mid-loop at the same position, so all
// tracks share this score and differ only in which layers sound.
#pragma once

#include <vector>

constexpr int kMusicRate = 22050;
constexpr int kBeatFrames = 14700;                    // 2/3 s at 90 bpm
constexpr int kLoopBeats = 32;                        // eight bars
constexpr int kLoopFrames = kBeatFrames * kLoopBeats; // 470,400 frames, 64/3 s

enum class Instrument { Pad, Bass, Pluck, Kick, Snare, Hat, Lead, Bell };

struct Note {
    Instrument instrument;
    float startBeat; // 0 .. kLoopBeats; notes that ring past the end wrap round to the start
    float beats;     // held length; the release comes after it
    int midi;        // pitch (69 = A 440 Hz); ignored by the drums
    float velocity;  // 0..1
    float pan;       // -1 left .. 1 right
};

enum Layer { kLayerPad, kLayerBass, kLayerPluck, kLayerDrums, kLayerLead, kLayerBells, kLayerCount };

std::vector<Note> layerNotes(Layer layer);

// How loud each layer sounds in music track n (0..9): track 1 is the first quiet layer, 2 to 5 add one
// layer each, 6 to 9 thin the full arrangement out again, and 0 is what remains after the game ends.
float trackLayerGain(int track, Layer layer);

// How much of each layer goes into the shared room reverb.
float layerReverbSend(Layer layer);
