#pragma once

#include <chrono>

namespace lw::bench {

using Clock = std::chrono::steady_clock;

// Milliseconds from one moment to another, by default to now.
inline double Ms(Clock::time_point from, Clock::time_point to = Clock::now()) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace lw::bench
