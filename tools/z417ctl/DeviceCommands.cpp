#include "DeviceCommands.h"

#include "Report.h"

#include "device/DeviceLink.h"
#include "device/SimulatedMouse.h"
#include "device/TransportFactory.h"
#include "platform/AtomicFile.h"
#include "platform/BalloonSocket.h"
#include "profile/ApplySequence.h"
#include "profile/SettingsRecord.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace z417 {
namespace {

// One session with the mouse: transport, clock, link and the optional trace file. Device
// messages go to stderr as "CAPTION: TEXT"; the command then ends with 1.
struct Session {
    std::unique_ptr<Transport> transport;
    SystemClock clock;
    std::unique_ptr<DeviceLink> link;
    FILE* trace = nullptr;
    FILE* err = stderr;
    int messageCount = 0;

    // Prints the messages and passes on whether the operation succeeded.
    bool report(const Status& status) {
        for (const Message& m : status.messages)
            std::fprintf(err, "%s: %s\n", m.caption.c_str(), m.text.c_str());
        messageCount += static_cast<int>(status.messages.size());
        return status.ok;
    }

    ~Session() {
        link.reset();
        if (trace)
            std::fclose(trace);
    }
};

// The trace goes to a regular file only: a FIFO is never waited on, and a device or anything
// else is neither truncated nor written.
Result<FILE*> openTraceFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return Status::silentFailure(path + ": " + std::strerror(errno));
    struct stat st {};
    int e = fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : kErrNotRegularFile;
    if (e == 0 && (ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, 0) != 0))
        e = errno;
    FILE* file = e == 0 ? fdopen(fd, "w") : nullptr;
    if (!file) {
        const std::string line = path + ": " + fileErrorText(e != 0 ? e : errno);
        close(fd);
        return Status::silentFailure(line);
    }
    return file;
}

// Opens the mouse for the command; with connectAndRead the mouse is connected as the utility
// connects it (its image read, and its sensor variant taken over) into block.
bool openSession(const GlobalOptions& global, Session& s, FILE* err,
                 ProfileBlock* connectAndRead = nullptr) {
    Result<std::unique_ptr<Transport>> transport = makeTransport(global.device);
    if (!transport) {
        failWith(err, transport.status().reason);
        return false;
    }
    s.transport = std::move(transport).value();
    s.err = err;
    s.link = std::make_unique<DeviceLink>(*s.transport, s.clock);
    if (!global.tracePath.empty()) {
        const Result<FILE*> trace = openTraceFile(global.tracePath);
        if (!trace) {
            failWith(err, trace.status().reason);
            return false;
        }
        s.trace = *trace;
        FILE* f = s.trace;
        s.link->setTrace([f](const TraceEntry& e) {
            std::fprintf(f, "%.3f %s %s", e.ms, e.command ? "cmd" : "data", e.set ? "set" : "get");
            for (uint8_t b : e.bytes)
                std::fprintf(f, " %02x", b);
            std::fputc('\n', f);
        });
    }
    const Status opened = connectAndRead ? s.link->connect(*connectAndRead) : s.link->openMouse();
    if (!s.report(opened)) {
        if (s.messageCount == 0)
            failWith(err, opened.reason);
        return false;
    }
    // The mouse always speaks as after a connect once it has been connected.
    s.link->startSession();
    return true;
}

int finish(Session& s, bool ok, FILE* err) {
    if (s.trace && std::fflush(s.trace) != 0)
        return failWith(err, std::string("trace: ") + std::strerror(errno));
    return ok && s.messageCount == 0 ? 0 : 1;
}

} // namespace

int cmdSimCreate(const std::string& stateFile, const std::map<std::string, std::string>& options,
                 FILE* out, FILE* err) {
    SimulatedMouse::Config config;
    Status given = byteOption(options, "--variant", config.sensorVariant);
    given.add(byteOption(options, "--report-rate", config.reportRate));
    given.add(byteOption(options, "--dpi-stage", config.dpiStage));
    if (!given)
        return failWith(err, given.reason);
    if (auto it = options.find("--fault"); it != options.end()) {
        Result<SimFault> fault = parseSimulatedFault(it->second);
        if (!fault)
            return failWith(err, fault.status().reason);
        config.fault = fault->kind;
        config.unplugAfter = fault->afterTransfers;
    }
    if (Status made = SimulatedMouse::createStateFile(stateFile, config); !made)
        return failWith(err, made.reason);
    std::fprintf(out, "simulated mouse created in %s\n", stateFile.c_str());
    return 0;
}

int cmdList(const GlobalOptions& global, FILE* out, FILE* err) {
    Result<std::unique_ptr<Transport>> transport = makeTransport(global.device);
    if (!transport)
        return failWith(err, transport.status().reason);
    Result<std::vector<HidCollection>> collections = (*transport)->enumerate();
    if (!collections)
        return failWith(err, collections.status().reason);
    for (const HidCollection& c : *collections) {
        const MouseModel* model = findModel(c.vendorId, c.productId);
        const ChannelRole channel = channelRole(c);
        const char* role = channel == ChannelRole::Data      ? " data channel"
                           : channel == ChannelRole::Command ? " command channel"
                                                             : "";
        const std::string tag = model ? std::string(" [") + model->name + "]" : "";
        std::fprintf(out, "%s %04x:%04x usage page 0x%04x usage 0x%04x feature %u%s%s\n",
                     c.path.c_str(), c.vendorId, c.productId, c.usagePage, c.usage,
                     c.featureReportLength, tag.c_str(), role);
    }
    if (collections->empty())
        std::fprintf(out, "no HID collections found\n");
    return 0;
}

int cmdStatus(const GlobalOptions& global, FILE* out, FILE* err) {
    Session s;
    if (!openSession(global, s, err))
        return 1;
    ProfileBlock block{};
    const bool ok = s.report(s.link->GetDPIStage(block));
    if (ok)
        std::fprintf(out, "report rate: %d Hz (code %u)\nDPI stage: %u\n",
                     reportRateHz(block.reportRate), block.reportRate, block.dpiStage);
    return finish(s, ok, err);
}

int cmdRead(const GlobalOptions& global, const std::string& outPath, FILE* out, FILE* err) {
    Session s;
    if (!openSession(global, s, err))
        return 1;
    ProfileBlock block{};
    if (!s.report(s.link->ReadOperation(block)))
        return finish(s, false, err);
    const std::string bytes(reinterpret_cast<const char*>(block.bytes()), sizeof block);
    if (const Status written = writeFileAtomically(outPath, bytes); !written)
        return failWith(err, statusLine(written));
    std::fprintf(out, "read %zu bytes (sensor variant %u) into %s\n", sizeof block,
                 block.deviceImage.sensorVariant, outPath.c_str());
    return finish(s, true, err);
}

int cmdApply(const GlobalOptions& global, const std::string& configPath, FILE* out, FILE* err) {
    const Result<SettingsRecord> record = loadConfigFile(configPath);
    if (!record)
        return failWith(err, record.status().reason);
    // The image starts from what the mouse holds, so its own bytes go back unchanged, and
    // the DPI codes follow the mouse's sensor variant.
    Session s;
    ProfileBlock block{};
    if (!openSession(global, s, err, &block))
        return 1;
    if (s.messageCount != 0) // the read at connect failed and has said so
        return finish(s, false, err);
    s.report(uploadSettings(*record, block, *s.link));
    const int rc = finish(s, true, err);
    if (rc == 0)
        std::fprintf(out, "applied %s\n", configPath.c_str());
    return rc;
}

bool readSensorVariant(const GlobalOptions& global, uint8_t& variant, FILE* err) {
    Session s;
    ProfileBlock block{};
    if (!openSession(global, s, err, &block) || finish(s, true, err) != 0)
        return false;
    variant = block.deviceImage.sensorVariant;
    return true;
}

int cmdBalloon(const std::string& type, const std::string& kind, FILE* err) {
    int t = 0, k = 0;
    if (!parseBalloonRequest(type + " " + kind, t, k))
        return failWith(err, "balloon takes two whole numbers, not '" + type + " " + kind + "'");
    const Status sent = sendBalloonRequest(t, k);
    return sent ? 0 : failWith(err, statusLine(sent));
}

} // namespace z417
