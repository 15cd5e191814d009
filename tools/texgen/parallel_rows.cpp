#include "parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void forEachRowInParallel(int rows, const std::function<void(int row)>& body)
{
    // Rows are handed out one at a time, so a slow band does not hold the others up.
    std::atomic<int> next{0};
    auto work = [&] {
        for (int row = next++; row < rows; row = next++)
            body(row);
    };
    unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < count; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
}
