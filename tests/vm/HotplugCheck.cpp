// Runs in the test machine: the device layer follows the virtual mouse's plug and unplug
// through the kernel's own uevents (UdevMonitor, MouseConnection, DeviceLink, hidraw), and the
// protocol's speed through the real kernel path is measured.
//   z417-vm-hotplug UHID_MOUSE STATE_FILE CYCLES
#include "../support/MessageLog.h"
#include "device/DeviceLink.h"
#include "device/MouseConnection.h"
#include "platform/HidrawTransport.h"
#include "platform/UdevMonitor.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace z417;

namespace {

// The reactions as the window would show them: a detected balloon per connect, a warning
// balloon and a hide per loss.
struct CountingEvents {
    int detected = 0, warnings = 0, hides = 0;
    void count(MouseConnection::Change change) {
        if (change == MouseConnection::Change::Connected)
            ++detected;
        if (change == MouseConnection::Change::Lost) {
            ++warnings;
            ++hides;
        }
    }
};

std::unique_ptr<UdevMonitor> startMonitor() {
    Result<std::unique_ptr<UdevMonitor>> monitor = UdevMonitor::start();
    if (!monitor) {
        std::printf("FAIL: the udev monitor: %s\n", monitor.status().reason.c_str());
        std::exit(1);
    }
    return std::move(monitor).value();
}

int failures = 0;
void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    failures += ok ? 0 : 1;
}

class Harness {
public:
    Harness() : monitor_(startMonitor()), link_(transport_, clock_), connection_(link_, block_) {
        connection_.seed(monitor_->presentNodes());
    }

    // Feeds the link every notification until the mouse's node count is nodes (a hang guard
    // of a minute ends the wait; it never decides a result).
    bool settle(size_t nodes) {
        for (int i = 0; i < 600; ++i) {
            for (const HidrawEvent& e : monitor_->readPending().events) {
                ++notifications_;
                MouseConnection::Outcome o = connection_.handle(e);
                events_.count(o.change);
                shown_(o.status);
            }
            if (mouseNodes() == nodes)
                return true;
            pollfd p{monitor_->fd(), POLLIN, 0};
            ::poll(&p, 1, 100);
        }
        return false;
    }
    size_t mouseNodes() const {
        size_t n = 0;
        for (const auto& [name, node] : monitor_->knownNodes())
            n += findModel(node.vendorId, node.productId) != nullptr;
        return n;
    }

    SystemClock clock_;
    HidrawTransport transport_;
    test::MessageLog shown_;
    std::unique_ptr<UdevMonitor> monitor_;
    DeviceLink link_;
    ProfileBlock block_{};
    MouseConnection connection_;
    CountingEvents events_;
    int notifications_ = 0;
};

double msOf(const std::function<bool()>& operation, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = operation();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void benchmark(Harness& h) {
    constexpr int kRounds = 3;
    double read = 0, write = 0;
    bool ok = true, each = true;
    for (int i = 0; i < kRounds; ++i) {
        read += msOf([&] { return h.shown_(h.link_.ReadOperation(h.block_)); }, each);
        ok = ok && each;
        write += msOf([&] { return h.shown_(h.link_.WriteOperation(h.block_)); }, each);
        ok = ok && each;
    }
    check(ok, "reads and uploads through the kernel for the benchmark");
    std::printf("benchmark: ReadOperation %.3f x its 500 ms of waits, WriteOperation %.3f x its "
                "520 ms (mean of %d through hidraw and uhid)\n",
                read / kRounds / 500.0, write / kRounds / 520.0, kRounds);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: z417-vm-hotplug UHID_MOUSE STATE_FILE CYCLES\n");
        return 2;
    }
    const int cycles = std::stoi(argv[3]);
    Harness h;
    check(h.monitor_ != nullptr, "the udev monitor listens (kernel events, no udev daemon)");

    int control[2];
    if (::pipe(control) != 0)
        return 1;
    const pid_t mouse = ::fork();
    if (mouse == 0) {
        ::dup2(control[0], 0);
        ::close(control[1]);
        ::execl(argv[1], argv[1], "--state", argv[2], "--uniq", "hotplug", (char*)nullptr);
        _exit(127);
    }
    ::close(control[0]);
    auto tell = [&](const char* line) { (void)!::write(control[1], line, std::strlen(line)); };

    check(h.settle(2), "the plug is seen");
    check(h.events_.detected == 1 && h.link_.connected() && h.link_.imageRead(),
          "one plug: one detected balloon, connected, the image read");
    for (int i = 0; i < cycles; ++i) {
        tell("unplug\n");
        check(h.settle(0), "unplug " + std::to_string(i + 1) + " is seen");
        check(!h.link_.connected(), "disconnected after the unplug");
        tell("plug\n");
        check(h.settle(2), "plug " + std::to_string(i + 2) + " is seen");
        check(h.link_.connected() && h.link_.imageRead(), "reconnected and read afresh");
    }
    check(h.events_.detected == cycles + 1, "exactly one detected balloon per plug");
    check(h.events_.warnings == cycles && h.events_.hides == cycles,
          "exactly one warning balloon and one hide per unplug");
    std::printf("notifications: %d for %d plugs and %d unplugs\n", h.notifications_, cycles + 1,
                cycles);
    benchmark(h);
    check(h.shown_.messages.empty(), "no message box");
    tell("quit\n");
    int status = 0;
    ::waitpid(mouse, &status, 0);
    return failures == 0 ? 0 : 1;
}
