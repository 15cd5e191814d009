// The GL error check on the headless context. In the GL-checking build a failing call, through
// the table or straight to OpenGL 1.1, ends the program with the call and the error named on
// standard error; in every other build the call returns and the error waits for glGetError.
#include "core/gl_api.h"
#include "core/gl_error_check.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

TEST(GLErrorName, NamesEveryGLError)
{
    EXPECT_STREQ(glErrorName(GL_NO_ERROR), "GL_NO_ERROR");
    EXPECT_STREQ(glErrorName(GL_INVALID_ENUM), "GL_INVALID_ENUM");
    EXPECT_STREQ(glErrorName(GL_INVALID_VALUE), "GL_INVALID_VALUE");
    EXPECT_STREQ(glErrorName(GL_INVALID_OPERATION), "GL_INVALID_OPERATION");
    EXPECT_STREQ(glErrorName(GL_STACK_OVERFLOW), "GL_STACK_OVERFLOW");
    EXPECT_STREQ(glErrorName(GL_STACK_UNDERFLOW), "GL_STACK_UNDERFLOW");
    EXPECT_STREQ(glErrorName(GL_OUT_OF_MEMORY), "GL_OUT_OF_MEMORY");
    EXPECT_STREQ(glErrorName(GL_INVALID_FRAMEBUFFER_OPERATION), "GL_INVALID_FRAMEBUFFER_OPERATION");
    EXPECT_STREQ(glErrorName(0x1234), "an unknown GL error");
}

TEST(GLErrorCheck, CallsWithoutAnErrorReturnTheirResults)
{
    ASSERT_TRUE(ensureGLContext());
    glEnable(GL_DEPTH_TEST);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GLboolean(GL_TRUE));
    glDisable(GL_DEPTH_TEST);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GLboolean(GL_FALSE));
    const GLubyte* version = glGetString(GL_VERSION);
    ASSERT_NE(version, nullptr);
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    EXPECT_NE(buffer, 0u);
    glDeleteBuffers(1, &buffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

#if defined(SHOW_GL_CHECK)

namespace {

// Death tests start a fresh copy of this program, which makes its own context.
class GLErrorCheckDeathTest : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace

TEST_F(GLErrorCheckDeathTest, AnOpenGL11CallWithAnErrorAbortsNamingTheCallAndTheError)
{
    EXPECT_EXIT((ensureGLContext(), glEnable(0xFFFF)), testing::KilledBySignal(SIGABRT),
                "GL error GL_INVALID_ENUM \\(0x0500\\) after glEnable\n");
    EXPECT_EXIT((ensureGLContext(), glViewport(0, 0, -1, -1)), testing::KilledBySignal(SIGABRT),
                "GL error GL_INVALID_VALUE \\(0x0501\\) after glViewport\n");
}

TEST_F(GLErrorCheckDeathTest, ATableCallWithAnErrorAbortsNamingTheCallAndTheError)
{
    EXPECT_EXIT((ensureGLContext(), glEnablei(0xFFFF, 0)), testing::KilledBySignal(SIGABRT),
                "GL error GL_INVALID_ENUM \\(0x0500\\) after glEnablei\n");
    // A call that returns a value is checked too.
    EXPECT_EXIT((ensureGLContext(), glCheckFramebufferStatus(0xFFFF)), testing::KilledBySignal(SIGABRT),
                "GL error GL_INVALID_ENUM \\(0x0500\\) after glCheckFramebufferStatus\n");
    // Binding a name that was never generated is an invalid operation in a core context.
    EXPECT_EXIT((ensureGLContext(), glBindVertexArray(4242)), testing::KilledBySignal(SIGABRT),
                "GL error GL_INVALID_OPERATION \\(0x0502\\) after glBindVertexArray\n");
}

#else

TEST(GLErrorCheck, ShippingBuildsLeaveTheErrorToTheCaller)
{
    ASSERT_TRUE(ensureGLContext());
    while (glGetError() != GL_NO_ERROR) {
    }
    // Nothing reads the errors back in between: each is still there for the caller.
    glEnable(0xFFFF);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    glEnablei(0xFFFF, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

#endif
