#pragma once
// What a message drain remembers of the quit message. The quit need not be the last message a
// drain takes: input, timers or paints can follow it in the same drain. Once taken it stays
// taken, in that drain and every later one: the window it answers is already destroyed, and
// forgetting it would leave the frame loop running with nothing left to stop it.

class QuitLatch {
public:
    constexpr explicit QuitLatch(unsigned quitMessage) : quitMessage_(quitMessage) {}

    // Every message the drain takes, in the order taken.
    constexpr void note(unsigned message)
    {
        if (message == quitMessage_)
            taken_ = true;
    }

    constexpr bool quitTaken() const { return taken_; }

private:
    unsigned quitMessage_;
    bool taken_ = false;
};
