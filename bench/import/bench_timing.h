#pragma once
// Seconds since a moment, for the import benchmarks' counters of their phases.

#include <chrono>

namespace tv::bench {

inline double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace tv::bench
