// The stb_vorbis implementation, with the options every user of vorbis_decoder.h sees.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#define STB_VORBIS_NO_INTEGER_CONVERSION
#include <stb/stb_vorbis.h>
