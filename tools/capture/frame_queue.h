#pragma once
// A short queue of read-back frames between the thread that renders and the one that converts
// and writes them. Bounded, so a slow writer holds the renderer back instead of filling memory.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

struct QueuedFrame {
    uint64_t index = 0;         // the frame's number in the show
    std::vector<uint8_t> rgba;  // bottom row first, as GL reads it
};

class FrameQueue {
public:
    explicit FrameQueue(size_t capacity) : capacity_(capacity) {}

    // Waits while the queue is full. False when the queue was closed meanwhile.
    bool push(QueuedFrame frame)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return frames_.size() < capacity_ || closed_; });
        if (closed_)
            return false;
        frames_.push_back(std::move(frame));
        changed_.notify_all();
        return true;
    }

    // Waits for a frame. False once the queue is closed and empty.
    bool pop(QueuedFrame& frame)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !frames_.empty() || closed_; });
        if (frames_.empty())
            return false;
        frame = std::move(frames_.front());
        frames_.pop_front();
        changed_.notify_all();
        return true;
    }

    // No more frames: the consumer drains what is queued, then stops.
    void close()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QueuedFrame> frames_;
    size_t capacity_;
    bool closed_ = false;
};
