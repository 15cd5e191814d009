#pragma once
// The web's extra to audio/music.h: the page plays the show again after Escape or its end.

// Stops playback; the next musicStart plays the track from its start.
void musicStop();
