// The audio device: opened once at start-up with fixed settings, closed by closePlatform.
#pragma once

// 22050 Hz, signed 16-bit little-endian, stereo, 2048-sample buffer, 16 mixing channels.
bool openAudio();
// Closes the device again; harmless when it never opened.
void closeAudio();
