// SPDX-License-Identifier: MIT
// How far the reading of a table has come: the reader counts, and a window shows the count
// while the read runs on another thread. Units are what the reader knows in advance: bytes of
// a CSV text, records of a database table.
#pragma once
#include <atomic>
#include <cstdint>

namespace pagloom {

class ReadProgress {
  public:
    // A read of `total` units begins; 0 when the total is not known.
    void Start(std::uint64_t total) {
        done_.store(0, std::memory_order_relaxed);
        total_.store(total, std::memory_order_relaxed);
    }
    void Set(std::uint64_t done) { done_.store(done, std::memory_order_relaxed); }
    // Percent of the current read, or -1 when its total is not known.
    int Percent() const {
        const std::uint64_t total = total_.load(std::memory_order_relaxed);
        if (total == 0) return -1;
        const std::uint64_t done = done_.load(std::memory_order_relaxed);
        return done >= total ? 100 : static_cast<int>(done * 100 / total);
    }

  private:
    std::atomic<std::uint64_t> done_{0};
    std::atomic<std::uint64_t> total_{0};
};

}  // namespace pagloom
