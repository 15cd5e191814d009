#include "core/gl_api.h"

#include <cstddef>

#define SHOW_GL_DEFINE_ENTRY(type, name) type name = nullptr;
SHOW_GL_ENTRY_POINTS(SHOW_GL_DEFINE_ENTRY)
#undef SHOW_GL_DEFINE_ENTRY

PFNGLGETSTRINGIPROC glGetStringi = nullptr;

namespace {

const char* missingEntry = nullptr;

void loadExtensionListEntry(GLProcLoader load)
{
    glGetStringi = reinterpret_cast<PFNGLGETSTRINGIPROC>(reinterpret_cast<void (*)()>(load("glGetStringi")));
}

// Each entry's place in the table.
enum GLEntry : std::size_t {
#define SHOW_GL_ENTRY_INDEX(type, name) entryIndex_##name,
    SHOW_GL_ENTRY_POINTS(SHOW_GL_ENTRY_INDEX)
#undef SHOW_GL_ENTRY_INDEX
        entryIndexCount
};
static_assert(entryIndexCount == glEntryPointCount, "glEntryPointCount must match the table");

}  // namespace

#if !defined(SHOW_GL_CHECK)

bool loadGLEntryPoints(GLProcLoader load)
{
    // Each entry is looked up and stored before it is tested, so a missing one leaves every
    // slot before it filled and every slot after it empty.
    // The table's arguments are a type and a slot's name, never expressions: neither needs
    // (nor, inside a cast, allows) parentheses.
    // NOLINTBEGIN(bugprone-macro-parentheses)
#define SHOW_GL_LOAD_ENTRY(type, name) \
    name = reinterpret_cast<type>(reinterpret_cast<void (*)()>(load(#name))); \
    if (name == nullptr) { \
        missingEntry = #name; \
        return false; \
    }
    // NOLINTEND(bugprone-macro-parentheses)
    missingEntry = nullptr;
    SHOW_GL_ENTRY_POINTS(SHOW_GL_LOAD_ENTRY)
#undef SHOW_GL_LOAD_ENTRY
    loadExtensionListEntry(load);
    return true;
}

#else

namespace {

// The driver's functions, in table order; the public slots hold checked wrappers around them.
void (*driverEntryPoints[glEntryPointCount])() = {};

const char* const entryPointNames[glEntryPointCount] = {
#define SHOW_GL_ENTRY_NAME(type, name) #name,
    SHOW_GL_ENTRY_POINTS(SHOW_GL_ENTRY_NAME)
#undef SHOW_GL_ENTRY_NAME
};

// The wrapper of table entry `Entry`, with exactly the entry's own signature.
template <typename F> struct CheckedEntry;

template <typename R, typename... A> struct CheckedEntry<R(APIENTRY*)(A...)> {
    template <std::size_t Entry> static R APIENTRY call(A... arguments)
    {
        const auto driverFunction = reinterpret_cast<R(APIENTRY*)(A...)>(driverEntryPoints[Entry]);
        return CheckedGL<R(APIENTRY*)(A...)>{entryPointNames[Entry], driverFunction}(arguments...);
    }
};

}  // namespace

bool loadGLEntryPoints(GLProcLoader load)
{
    // As in the shipping build: each entry is stored before it is tested, and loading stops at
    // the first missing one, whose public slot is left null like the slots after it.
    // NOLINTBEGIN(bugprone-macro-parentheses): a type and a slot's name, as above
#define SHOW_GL_LOAD_ENTRY(type, name) \
    driverEntryPoints[entryIndex_##name] = reinterpret_cast<void (*)()>(load(#name)); \
    if (driverEntryPoints[entryIndex_##name] == nullptr) { \
        name = nullptr; \
        missingEntry = #name; \
        return false; \
    } \
    name = &CheckedEntry<type>::call<entryIndex_##name>;
    // NOLINTEND(bugprone-macro-parentheses)
    missingEntry = nullptr;
    SHOW_GL_ENTRY_POINTS(SHOW_GL_LOAD_ENTRY)
#undef SHOW_GL_LOAD_ENTRY
    loadExtensionListEntry(load);
    return true;
}

#endif

const char* firstMissingGLEntryPoint()
{
    return missingEntry;
}

void applyContextDefaults()
{
    glDisable(GL_DITHER);
    glDisable(GL_MULTISAMPLE);
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
}
