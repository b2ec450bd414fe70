// A small deterministic random source: the same seed gives the same cases on
// every platform and standard library, so a failure can be replayed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace differential {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }
    bool percent(unsigned p) { return below(100) < p; }
    int between(int low, int high) { return low + static_cast<int>(below(static_cast<std::size_t>(high - low + 1))); }

    template <typename T>
    const T &pick(const std::vector<T> &items) { return items[below(items.size())]; }

private:
    std::uint64_t state_;
};

}  // namespace differential
