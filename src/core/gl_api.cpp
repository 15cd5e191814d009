#include "core/gl_api.h"

#define SHOW_GL_DEFINE_ENTRY(type, name) type name = nullptr;
SHOW_GL_ENTRY_POINTS(SHOW_GL_DEFINE_ENTRY)
#undef SHOW_GL_DEFINE_ENTRY

bool loadGLEntryPoints(GLProcLoader load)
{
    // Each entry is looked up and stored before it is tested, so a missing one leaves every
    // slot before it filled and every slot after it empty.
#define SHOW_GL_LOAD_ENTRY(type, name)                                   \
    name = reinterpret_cast<type>(reinterpret_cast<void (*)()>(load(#name))); \
    if (name == nullptr)                                                 \
        return false;
    SHOW_GL_ENTRY_POINTS(SHOW_GL_LOAD_ENTRY)
#undef SHOW_GL_LOAD_ENTRY
    return true;
}

void applyContextDefaults()
{
    glDisable(GL_DITHER);
    glDisable(GL_MULTISAMPLE);
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
}
