// Time as the device protocol sees it. Every wait goes through here so tests and the
// simulated mouse can run on a virtual clock that never sleeps.
#pragma once

namespace z417 {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMs(unsigned ms) = 0;
    virtual double nowMs() const = 0; // milliseconds from an arbitrary origin
};

// The machine's monotonic clock; sleepMs really sleeps.
class SystemClock final : public Clock {
public:
    void sleepMs(unsigned ms) override;
    double nowMs() const override;
};

// Time advances only by sleepMs; nothing ever sleeps.
class VirtualClock final : public Clock {
public:
    void sleepMs(unsigned ms) override { now_ += ms; }
    double nowMs() const override { return now_; }
    void advance(double ms) { now_ += ms; }

private:
    double now_ = 0.0;
};

} // namespace z417
