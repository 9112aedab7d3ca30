// The browser's software GL compiles a program for the processor the first time a draw uses it, with
// the game waiting on the first frame meanwhile. Drawing once in each way the play screen draws, before
// the game loads its pictures, lets that compiling run in the browser's GPU process while the game sets
// up.
#pragma once

// Draws a few pixels in a corner in each of the play screen's ways (untextured with a colour per corner
// or one colour, pictures with and without alpha, cut out and blended), then clears the window and
// leaves the GL state as it found it. Needs the window open.
void warmUpDrawing();
