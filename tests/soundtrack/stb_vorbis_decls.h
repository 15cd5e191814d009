#pragma once
// The decoder's declarations only; the implementation is compiled in third_party_stb_vorbis.cpp.
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>
#undef STB_VORBIS_HEADER_ONLY
