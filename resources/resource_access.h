// Resources by number: what gameplay calls. Each function gets its object from the one ResourceManager
// (or, for music, has the MusicPlayer load it) and turns a failure into the fatal message naming the
// file. Every object returned holds one reference, given back with the manager's release.
#pragma once

class Texture;
class Mesh;
class Sound;

// A negative number gives the shared empty object of the kind, silently.
Texture* textureByNumber(int number);
Mesh* meshByNumber(int number);
Sound* soundByNumber(int number);

// Switches the looping music to track n (loaded paused, then resumed); the track already selected is
// left alone; a negative number stops the music.
void selectMusic(int number);
// The track selected last, -1 at start.
int currentMusicNumber();
// Forgets the selected track, so the next selectMusic loads afresh (for a new game in the same process).
void resetMusicSelection();

// Plays sound n once at volume 0..1 on the first free mixer channel.
void playSoundOnce(int number, float volume);

// One more reference on an object handed out earlier; an unknown pointer is fatal.
Texture* shareTexture(Texture* texture);
Mesh* shareMesh(Mesh* mesh);
Sound* shareSound(Sound* sound);
