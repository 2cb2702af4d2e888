// z417-uhid-mouse: the simulated mouse plugged into the Linux kernel through /dev/uhid, so
// the utility can be tried and tested through real hidraw nodes.
#include "UhidMouse.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "usage: z417-uhid-mouse --state FILE [--uniq TEXT] [--fault KIND] [--unplugged]\n"
    "  Presents the simulated mouse whose state lives in FILE (made when missing) to the\n"
    "  kernel through /dev/uhid. KIND as for z417ctl sim-create, e.g. short-reply:33.\n"
    "  Plug and unplug: SIGUSR1 and SIGUSR2, or the lines \"plug\" and \"unplug\" on standard\n"
    "  input; \"quit\", SIGINT or SIGTERM end it. Each change prints \"plugged\" or\n"
    "  \"unplugged\".\n";

struct Options {
    std::string state;
    std::string uniq;
    std::string fault;
    bool startUnplugged = false;
};

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--state" && hasValue)
            o.state = argv[++i];
        else if (a == "--uniq" && hasValue)
            o.uniq = argv[++i];
        else if (a == "--fault" && hasValue)
            o.fault = argv[++i];
        else if (a == "--unplugged")
            o.startUnplugged = true;
        else
            return false;
    }
    return !o.state.empty();
}

z417::Result<std::unique_ptr<z417::SimulatedMouse>> loadMouse(const Options& o) {
    struct stat st;
    if (::stat(o.state.c_str(), &st) != 0) {
        if (z417::Status made =
                z417::SimulatedMouse::createStateFile(o.state, z417::SimulatedMouse::Config{});
            !made)
            return made;
    }
    auto mouse = z417::SimulatedMouse::load(o.state);
    if (mouse && !o.fault.empty()) {
        z417::SimFault fault;
        if (!z417::parseSimFault(o.fault, fault))
            return z417::Status::silentFailure("unknown fault '" + o.fault + "'");
        (*mouse)->setFault(fault);
    }
    return mouse;
}

bool plugged(z417::UhidMouse& uhid) {
    const z417::Status plugged = uhid.plug();
    if (!plugged)
        std::fprintf(stderr, "z417-uhid-mouse: %s\n", plugged.reason.c_str());
    return plugged.ok;
}

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Runs until told to quit. Returns the exit code.
int run(z417::UhidMouse& uhid, bool plugNow) {
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGUSR1, SIGUSR2, SIGINT, SIGTERM})
        sigaddset(&signals, s);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    const int sigfd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (plugNow) {
        if (!plugged(uhid))
            return 1;
        say("plugged");
    }
    bool readStdin = true;
    for (;;) {
        std::vector<pollfd> fds = {{sigfd, POLLIN, 0}, {readStdin ? 0 : -1, POLLIN, 0}};
        for (int i = 0; i < uhid.interfaceCount(); ++i)
            fds.push_back({uhid.fd(i), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return 1;
        std::string command;
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info;
            if (::read(sigfd, &info, sizeof info) == sizeof info)
                command = info.ssi_signo == SIGUSR1   ? "plug"
                          : info.ssi_signo == SIGUSR2 ? "unplug"
                                                      : "quit";
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char line[64] = {};
            if (std::fgets(line, sizeof line, stdin) == nullptr)
                readStdin = false; // end of input: only signals from now on
            else
                command = std::string(line, std::strcspn(line, "\r\n"));
        }
        for (int i = 0; i < uhid.interfaceCount(); ++i)
            if (uhid.plugged() && (fds[2 + i].revents & POLLIN) && !uhid.handleEvent(i))
                say("unplugged");
        if (command == "quit")
            return 0;
        if (command == "plug" && !uhid.plugged()) {
            if (!plugged(uhid))
                return 1;
            say("plugged");
        } else if (command == "unplug" && uhid.plugged()) {
            uhid.unplug();
            say("unplugged");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.uniq.empty())
        options.uniq = "Z417-" + std::to_string(::getpid());
    auto mouse = loadMouse(options);
    if (!mouse) {
        std::fprintf(stderr, "z417-uhid-mouse: %s\n", mouse.status().reason.c_str());
        return 1;
    }
    z417::UhidMouse uhid(**mouse, options.uniq);
    return run(uhid, !options.startUnplugged);
}
