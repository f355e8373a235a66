#pragma once

// Work shared out over a few threads, as the pictures and the recordings are made.

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace tool {

// Runs `work(i)` for every i in [0, count) on `parallel` threads (at least one), each thread
// taking the next i as soon as it is done with one. Returns when all are done.
template <typename Work>
void forEachParallel(int count, int parallel, Work work) {
    std::atomic<int> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, parallel); ++t) {
        threads.emplace_back([&] {
            for (int i = next++; i < count; i = next++) work(i);
        });
    }
    for (std::thread& t : threads) t.join();
}

}  // namespace tool
