#include "audio/music.h"
bool musicLoad(const char*) { return true; }
void musicStart() {}
