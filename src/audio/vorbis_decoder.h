#pragma once
// The Ogg Vorbis decoder (stb_vorbis), built for memory input and float output only: no stdio,
// no push API, no integer conversion. Every unit that names a decoder call includes this header
// so all of them see the same options as the implementation in third_party_stb_vorbis.cpp.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#define STB_VORBIS_NO_INTEGER_CONVERSION
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>
#undef STB_VORBIS_HEADER_ONLY
