// The entry-point loader against a fake driver: what it asks for, in what order, and what it
// leaves in the table when the driver lacks an entry. No GL context is involved.
#include "core/gl_api.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> asked;
std::vector<void*> given;  // what the fake driver answered, request by request
std::string missingName;   // the entry the fake driver lacks; "" for none

// A distinct, never-called address per request.
void* fakeAddress(std::size_t request)
{
    return reinterpret_cast<void*>(std::uintptr_t{0x10000} + 16 * request);
}

GLint uniformLocationSeen = -1;
GLint uniformValueSeen = -1;
void APIENTRY fakeUniform1i(GLint location, GLint value)
{
    uniformLocationSeen = location;
    uniformValueSeen = value;
}

void* fakeLoad(const char* name)
{
    asked.emplace_back(name);
    void* address = fakeAddress(asked.size());
    if (name == missingName)
        address = nullptr;
    else if (asked.back() == "glUniform1i")
        address = reinterpret_cast<void*>(&fakeUniform1i);
    given.push_back(address);
    return address;
}

// The table's slots as plain addresses, in table order.
std::vector<void*> tableSlots()
{
    std::vector<void*> slots;
#define SHOW_TEST_SLOT(type, name) slots.push_back(reinterpret_cast<void*>(name));
    SHOW_GL_ENTRY_POINTS(SHOW_TEST_SLOT)
#undef SHOW_TEST_SLOT
    return slots;
}

std::vector<std::string> tableNames()
{
    std::vector<std::string> names;
#define SHOW_TEST_NAME(type, name) names.emplace_back(#name);
    SHOW_GL_ENTRY_POINTS(SHOW_TEST_NAME)
#undef SHOW_TEST_NAME
    return names;
}

class GLLoader : public testing::Test {
protected:
    void SetUp() override
    {
        asked.clear();
        given.clear();
        missingName.clear();
#define SHOW_TEST_CLEAR(type, name) name = nullptr;
        SHOW_GL_ENTRY_POINTS(SHOW_TEST_CLEAR)
#undef SHOW_TEST_CLEAR
    }
};

}  // namespace

TEST_F(GLLoader, AsksForAll83EntriesInTableOrder)
{
    ASSERT_TRUE(loadGLEntryPoints(fakeLoad));
    EXPECT_EQ(firstMissingGLEntryPoint(), nullptr);
    // The table, then glGetStringi for the driver check, which is not one of its entries.
    ASSERT_EQ(asked.size(), 84u);
    EXPECT_EQ(glEntryPointCount, 83);
    EXPECT_EQ(asked.front(), "glActiveTexture");
    EXPECT_EQ(asked[82], "glPrimitiveRestartIndex");
    EXPECT_EQ(asked.back(), "glGetStringi");
    EXPECT_EQ(reinterpret_cast<void*>(glGetStringi), given.back());
    asked.pop_back();
    EXPECT_EQ(asked, tableNames());
    const std::vector<void*> slots = tableSlots();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        EXPECT_NE(slots[i], nullptr) << asked[i];
#if defined(SHOW_GL_CHECK)
        // The public slot holds the checking wrapper, never the driver's function itself.
        EXPECT_NE(slots[i], given[i]) << asked[i];
#else
        EXPECT_EQ(slots[i], given[i]) << asked[i];
#endif
    }
}

TEST_F(GLLoader, AMissingEntryEndsLoadingThereAndLeavesTheLaterSlotsEmpty)
{
    // The double-precision uniforms are what an older driver lacks.
    missingName = "glUniform1d";
    EXPECT_FALSE(loadGLEntryPoints(fakeLoad));
    EXPECT_STREQ(firstMissingGLEntryPoint(), "glUniform1d");
    const std::vector<std::string> names = tableNames();
    std::size_t missingIndex = 0;
    while (names[missingIndex] != missingName)
        ++missingIndex;
    EXPECT_EQ(asked, std::vector<std::string>(names.begin(), names.begin() + std::ptrdiff_t(missingIndex) + 1))
        << "nothing is asked for after the missing entry";
    const std::vector<void*> slots = tableSlots();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (i < missingIndex)
            EXPECT_NE(slots[i], nullptr) << names[i];
        else
            EXPECT_EQ(slots[i], nullptr) << names[i];
    }
}

TEST_F(GLLoader, AMissingFirstEntryLeavesTheWholeTableEmpty)
{
    missingName = "glActiveTexture";
    EXPECT_FALSE(loadGLEntryPoints(fakeLoad));
    EXPECT_STREQ(firstMissingGLEntryPoint(), "glActiveTexture");
    EXPECT_EQ(asked, std::vector<std::string>{"glActiveTexture"});
    for (void* slot : tableSlots())
        EXPECT_EQ(slot, nullptr);

    // glGetStringi is outside the table: a driver without it still loads, and the driver
    // check then finds no extension list.
    SetUp();
    missingName = "glGetStringi";
    EXPECT_TRUE(loadGLEntryPoints(fakeLoad));
    EXPECT_EQ(firstMissingGLEntryPoint(), nullptr);
    EXPECT_EQ(glGetStringi, nullptr);
}

TEST_F(GLLoader, ACallThroughTheTableReachesTheDriversFunction)
{
    ASSERT_TRUE(loadGLEntryPoints(fakeLoad));
    // With no context current, the GL library's glGetError (the checked build's check) answers
    // no error.
    glUniform1i(3, 7);
    EXPECT_EQ(uniformLocationSeen, 3);
    EXPECT_EQ(uniformValueSeen, 7);
}
