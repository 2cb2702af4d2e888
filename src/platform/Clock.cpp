#include "platform/Clock.h"

#include <cerrno>
#include <ctime>

namespace z417 {

void SystemClock::sleepMs(unsigned ms) {
    timespec req{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    timespec rem{};
    // A signal must not shorten a protocol wait: go on sleeping for what is left.
    while (nanosleep(&req, &rem) == -1 && errno == EINTR)
        req = rem;
}

double SystemClock::nowMs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

} // namespace z417
