// The message drain's memory of the quit: whatever follows the quit in a drain, and however
// many drains follow, the quit stays taken.
#include "platform/quit_latch.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

constexpr unsigned quitMessage = 0x0012;
constexpr unsigned paintMessage = 0x000F;
constexpr unsigned timerMessage = 0x0113;
constexpr unsigned keyDownMessage = 0x0100;

// One drain over the messages, in order; true when the drain ends with the quit taken.
bool drain(QuitLatch& latch, std::initializer_list<unsigned> messages)
{
    for (unsigned message : messages)
        latch.note(message);
    return latch.quitTaken();
}

}  // namespace

TEST(QuitLatch, NoQuitWithoutTheQuitMessage)
{
    QuitLatch latch(quitMessage);
    EXPECT_FALSE(drain(latch, {}));
    EXPECT_FALSE(drain(latch, {paintMessage, timerMessage, keyDownMessage}));
}

TEST(QuitLatch, QuitAsTheLastMessageIsTaken)
{
    QuitLatch latch(quitMessage);
    EXPECT_TRUE(drain(latch, {paintMessage, quitMessage}));
}

TEST(QuitLatch, MessagesAfterTheQuitInTheSameDrainDoNotHideIt)
{
    QuitLatch latch(quitMessage);
    EXPECT_TRUE(drain(latch, {quitMessage, paintMessage}));

    QuitLatch later(quitMessage);
    EXPECT_TRUE(drain(later, {keyDownMessage, quitMessage, timerMessage, paintMessage}));
}

TEST(QuitLatch, QuitStaysTakenInLaterDrains)
{
    QuitLatch latch(quitMessage);
    ASSERT_TRUE(drain(latch, {quitMessage}));
    EXPECT_TRUE(drain(latch, {}));
    EXPECT_TRUE(drain(latch, {timerMessage}));
    EXPECT_TRUE(drain(latch, {paintMessage, keyDownMessage}));
}
