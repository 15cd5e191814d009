// stb_vorbis, compiled once into each soundtrack test: the same decoder the show uses.
#include <stb/stb_vorbis.h>
