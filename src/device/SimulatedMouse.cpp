#include "device/SimulatedMouse.h"

#include "device/Scramble.h"
#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>

namespace z417 {

namespace {

constexpr uint8_t kSignature[4] = {0xAA, 0xCC, 0xEE, 0xDD};
constexpr size_t kCommandLength = 8;
constexpr size_t kDataLength = 65;
constexpr int kScratchChunk = 6;
const char kMagic[] = "z417-simulated-mouse 1";

Status gone(int errorCode) {
    return Status::failedCall("simulated mouse", errorCode);
}

const char* kindName(SimFault::Kind k) {
    switch (k) {
    case SimFault::Kind::None:
        return "none";
    case SimFault::Kind::Unscrambled:
        return "unscrambled";
    case SimFault::Kind::BadSignature:
        return "bad-signature";
    case SimFault::Kind::BadReportId:
        return "bad-report-id";
    case SimFault::Kind::Silent:
        return "silent";
    case SimFault::Kind::UnplugAfter:
        return "unplug-after";
    case SimFault::Kind::ShortReply:
        return "short-reply";
    case SimFault::Kind::SlowReply:
        return "slow-reply";
    }
    return "none";
}

std::string toHex(const uint8_t* p, size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(2 * n);
    for (size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 0x0F];
    }
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool fromHex(const std::string& s, uint8_t* p, size_t n) {
    if (s.size() != 2 * n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        int hi = hexDigit(s[2 * i]), lo = hexDigit(s[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        p[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    return true;
}

bool parseUnsigned(const std::string& s, unsigned long max, unsigned long& out) {
    if (s.empty() || s.size() > 10)
        return false;
    unsigned long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned long>(c - '0');
    }
    if (v > max)
        return false;
    out = v;
    return true;
}

} // namespace

bool parseSimFault(const std::string& text, SimFault& out) {
    static const SimFault::Kind plain[] = {SimFault::Kind::None, SimFault::Kind::Unscrambled,
                                           SimFault::Kind::BadSignature,
                                           SimFault::Kind::BadReportId, SimFault::Kind::Silent};
    for (SimFault::Kind k : plain) {
        if (text == kindName(k)) {
            out = SimFault{k, 0};
            return true;
        }
    }
    static const SimFault::Kind counted[] = {SimFault::Kind::UnplugAfter,
                                             SimFault::Kind::ShortReply, SimFault::Kind::SlowReply};
    for (SimFault::Kind k : counted) {
        const std::string prefix = std::string(kindName(k)) + ":";
        unsigned long n = 0;
        if (text.compare(0, prefix.size(), prefix) == 0 &&
            parseUnsigned(text.substr(prefix.size()), 1000000000UL, n)) {
            out = SimFault{k, static_cast<unsigned>(n)};
            return true;
        }
    }
    return false;
}

Result<SimFault> parseSimulatedFault(const std::string& text) {
    SimFault f;
    if (!parseSimFault(text, f))
        return Status::silentFailure(
            "unknown fault '" + text +
            "' (none, unscrambled, bad-signature, bad-report-id, silent, unplug-after:N, "
            "short-reply:N, slow-reply:MS)");
    return f;
}

std::string formatSimFault(const SimFault& fault) {
    if (fault.kind == SimFault::Kind::UnplugAfter || fault.kind == SimFault::Kind::ShortReply ||
        fault.kind == SimFault::Kind::SlowReply)
        return std::string(kindName(fault.kind)) + ":" + std::to_string(fault.afterTransfers);
    return kindName(fault.kind);
}

SimulatedMouse::State SimulatedMouse::freshState(uint8_t sensorVariant, uint8_t reportRate,
                                                 uint8_t dpiStage, SimFault fault,
                                                 std::string name) {
    State s;
    s.name = std::move(name);
    s.fault = fault;
    s.reportRate = reportRate;
    s.dpiStage = dpiStage;
    // Device bytes the program must carry through unchanged: a deterministic pattern with
    // no zero byte, so a byte lost or zeroed on the way shows.
    for (int i = 0; i < kImageSize; ++i) {
        auto v = static_cast<uint8_t>(0x5A + 0x25 * i);
        s.memory[static_cast<size_t>(i)] = v == 0 ? 0xA5 : v;
    }
    s.memory[offsetof(DeviceImage, sensorVariant)] = sensorVariant;
    return s;
}

SimulatedMouse::SimulatedMouse(uint8_t sensorVariant, uint8_t reportRate, uint8_t dpiStage,
                               SimFault fault, std::string name)
    : state_(freshState(sensorVariant, reportRate, dpiStage, fault, std::move(name))) {}

SimulatedMouse::SimulatedMouse(const std::string& stateFile) : stateFile_(stateFile) {
    if (stateFile_.empty())
        throw std::runtime_error("simulated mouse: empty state file name");
    refreshOrThrow();
    // Every transfer writes the state back: a file that cannot take it is reported now, as
    // what it is, instead of as a mouse that does not answer.
    if (const Status written = writeFileAtomically(stateFile_, fileText_, FileFlush::PageCache);
        !written)
        throw std::runtime_error("cannot write the simulated mouse state file " + stateFile_ +
                                 ": " + fileErrorText(written.systemError));
}

void SimulatedMouse::createStateFile(const std::string& path, uint8_t sensorVariant,
                                     uint8_t reportRate, uint8_t dpiStage, SimFault fault) {
    Status created = createStateFile(
        path, Config{sensorVariant, reportRate, dpiStage, fault.kind, fault.afterTransfers});
    if (!created)
        throw std::runtime_error(created.reason);
}

Status SimulatedMouse::createStateFile(const std::string& path, const Config& config) {
    const State s = freshState(config.sensorVariant, config.reportRate, config.dpiStage,
                               SimFault{config.fault, config.unplugAfter}, path);
    if (const Status written = writeFileAtomically(path, serialize(s)); !written)
        return Status::silentFailure("cannot write the simulated mouse state file " + path + ": " +
                                     fileErrorText(written.systemError));
    return {};
}

Result<std::unique_ptr<SimulatedMouse>> SimulatedMouse::load(const std::string& stateFile) {
    if (stateFile.empty())
        return Status::silentFailure("simulated mouse: empty state file name");
    std::unique_ptr<SimulatedMouse> mouse(new SimulatedMouse(0, 1, 0, {}, ""));
    mouse->stateFile_ = stateFile;
    if (!mouse->refresh())
        return Status::silentFailure(mouse->lastError_);
    // Every transfer writes the state back: a file that cannot take it is reported now, as
    // what it is, instead of as a mouse that does not answer.
    if (const Status written =
            writeFileAtomically(stateFile, mouse->fileText_, FileFlush::PageCache);
        !written)
        return Status::silentFailure("cannot write the simulated mouse state file " + stateFile +
                                     ": " + fileErrorText(written.systemError));
    return mouse;
}

// ---- state file ----

std::string SimulatedMouse::serialize(const State& s) {
    std::ostringstream o;
    o << kMagic << '\n'
      << "name " << s.name << '\n'
      << "plugged " << (s.plugged ? 1 : 0) << '\n'
      << "generation " << s.generation << '\n'
      << "fault " << formatSimFault(s.fault) << '\n'
      << "transfers " << s.transfers << '\n'
      << "open-error " << s.openError << '\n'
      << "report-rate " << unsigned{s.reportRate} << '\n'
      << "dpi-stage " << unsigned{s.dpiStage} << '\n'
      << "last-command " << toHex(s.lastCommand.data(), s.lastCommand.size()) << '\n'
      << "pending-read " << s.pendingRead << '\n'
      << "pending-write " << s.pendingWrite << '\n'
      << "memory " << toHex(s.memory.data(), s.memory.size()) << '\n'
      << "scratch " << toHex(s.scratch.data(), s.scratch.size()) << '\n';
    return o.str();
}

// The "key value" lines of a state file after its first line, each key at most once. Every
// read names the field that is missing or bad in the error it leaves.
class SimulatedMouse::FieldReader {
public:
    explicit FieldReader(std::string& error) : error_(error) {}

    bool parse(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty())
                continue;
            const size_t space = line.find(' ');
            std::string key = line.substr(0, space);
            std::string value = space == std::string::npos ? std::string() : line.substr(space + 1);
            if (!fields_.emplace(key, value).second) {
                error_ = "field \"" + key + "\" appears twice";
                return false;
            }
        }
        return true;
    }

    bool text(const char* key, std::string& value) {
        auto it = fields_.find(key);
        if (it == fields_.end()) {
            error_ = std::string("field \"") + key + "\" is missing";
            return false;
        }
        value = it->second;
        return true;
    }

    template <typename T> bool number(const char* key, unsigned long max, T& out) {
        std::string v;
        unsigned long n = 0;
        if (!text(key, v))
            return false;
        if (!parseUnsigned(v, max, n))
            return bad(key, v);
        out = static_cast<T>(n);
        return true;
    }

    bool fault(const char* key, SimFault& out) {
        std::string v;
        return text(key, v) && (parseSimFault(v, out) || bad(key, v));
    }

    bool hex(const char* key, uint8_t* data, size_t size) {
        std::string v;
        if (!text(key, v))
            return false;
        if (!fromHex(v, data, size)) {
            error_ = std::string("field \"") + key + "\" must be " + std::to_string(size) +
                     " bytes in hex";
            return false;
        }
        return true;
    }

    bool readCounters(State& r) {
        unsigned plugged = 0;
        const bool ok =
            text("name", r.name) && number("plugged", 1, plugged) &&
            number("generation", 0xFFFFFFFFUL, r.generation) && fault("fault", r.fault) &&
            number("transfers", 0xFFFFFFFFUL, r.transfers) &&
            number("open-error", 4095, r.openError) && number("report-rate", 255, r.reportRate) &&
            number("dpi-stage", 255, r.dpiStage) && number("pending-read", 5, r.pendingRead) &&
            number("pending-write", 6, r.pendingWrite);
        r.plugged = plugged == 1;
        return ok;
    }

    bool readMemory(State& r) {
        return hex("last-command", r.lastCommand.data(), r.lastCommand.size()) &&
               hex("memory", r.memory.data(), r.memory.size()) &&
               hex("scratch", r.scratch.data(), r.scratch.size());
    }

private:
    bool bad(const char* key, const std::string& v) {
        error_ = std::string("field \"") + key + "\" has a bad value \"" + v + "\"";
        return false;
    }

    std::map<std::string, std::string> fields_;
    std::string& error_;
};

bool SimulatedMouse::deserialize(const std::string& text, State& s, std::string& error) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kMagic) {
        error =
            "not a simulated mouse state file (first line is not \"" + std::string(kMagic) + "\")";
        return false;
    }
    FieldReader fields(error);
    State r;
    if (!fields.parse(in) || !fields.readCounters(r) || !fields.readMemory(r))
        return false;
    s = r;
    return true;
}

bool SimulatedMouse::refresh() {
    if (stateFile_.empty())
        return true;
    Result<std::string> read = readFileContents(stateFile_);
    if (!read) {
        lastError_ = "cannot read the simulated mouse state file " + stateFile_ + ": " +
                     fileErrorText(read.status().systemError);
        return false;
    }
    std::string text = std::move(read).value();
    std::string error;
    if (!deserialize(text, state_, error)) {
        lastError_ = "simulated mouse state file " + stateFile_ + ": " + error;
        return false;
    }
    fileText_ = std::move(text);
    return true;
}

bool SimulatedMouse::persist() {
    if (stateFile_.empty())
        return true;
    std::string text = serialize(state_);
    if (text == fileText_)
        return true;
    // The state changes with nearly every report; the rename keeps the file whole for the
    // other processes, and a state lost to a power cut costs nothing worth a flush to disk.
    if (const Status written = writeFileAtomically(stateFile_, text, FileFlush::PageCache);
        !written) {
        lastError_ = "cannot write the simulated mouse state file " + stateFile_ + ": " +
                     fileErrorText(written.systemError);
        return false;
    }
    fileText_ = std::move(text);
    return true;
}

void SimulatedMouse::refreshOrThrow() {
    if (!refresh())
        throw std::runtime_error(lastError_);
}

void SimulatedMouse::persistOrThrow() {
    if (!persist())
        throw std::runtime_error(lastError_);
}

// ---- inspection and control ----

bool SimulatedMouse::presentIn(const State& s) {
    if (!s.plugged)
        return false;
    return !(s.fault.kind == SimFault::Kind::UnplugAfter && s.transfers >= s.fault.afterTransfers);
}

const std::array<uint8_t, kImageSize>& SimulatedMouse::memory() {
    refreshOrThrow();
    return state_.memory;
}

const std::array<uint8_t, kChunkSize>& SimulatedMouse::scratchChunk() {
    refreshOrThrow();
    return state_.scratch;
}

uint8_t SimulatedMouse::reportRate() {
    refreshOrThrow();
    return state_.reportRate;
}

uint8_t SimulatedMouse::dpiStage() {
    refreshOrThrow();
    return state_.dpiStage;
}

uint8_t SimulatedMouse::sensorVariant() {
    refreshOrThrow();
    return state_.memory[offsetof(DeviceImage, sensorVariant)];
}

unsigned SimulatedMouse::transferCount() {
    refreshOrThrow();
    return state_.transfers;
}

bool SimulatedMouse::present() {
    refreshOrThrow();
    return presentIn(state_);
}

SimFault SimulatedMouse::fault() {
    refreshOrThrow();
    return state_.fault;
}

void SimulatedMouse::setFault(SimFault fault) {
    refreshOrThrow();
    state_.fault = fault;
    state_.transfers = 0;
    persistOrThrow();
}

Status SimulatedMouse::setPlugged(bool plugged) {
    if (!refresh())
        return Status::silentFailure(lastError_);
    if (!plugged) {
        state_.plugged = false;
    } else if (!presentIn(state_)) {
        if (state_.fault.kind == SimFault::Kind::UnplugAfter &&
            state_.transfers >= state_.fault.afterTransfers)
            state_.fault = SimFault{};
        state_.plugged = true;
        ++state_.generation;
        state_.lastCommand.fill(0);
        state_.pendingRead = 0;
        state_.pendingWrite = 0;
    }
    if (!persist())
        return Status::silentFailure(lastError_);
    return {};
}

void SimulatedMouse::plug() {
    if (Status done = setPlugged(true); !done)
        throw std::runtime_error(done.reason);
}

void SimulatedMouse::unplug() {
    if (Status done = setPlugged(false); !done)
        throw std::runtime_error(done.reason);
}

void SimulatedMouse::setOpenError(int errnoValue) {
    refreshOrThrow();
    state_.openError = errnoValue;
    persistOrThrow();
}

void SimulatedMouse::setMemory(const std::array<uint8_t, kImageSize>& memory) {
    refreshOrThrow();
    state_.memory = memory;
    persistOrThrow();
}

std::string SimulatedMouse::collectionPath(int collection) const {
    return "sim:" + state_.name + "/input" + std::to_string(collection);
}

std::vector<HidrawEvent> SimulatedMouse::hotplugEvents(HidrawEvent::Kind kind) const {
    std::vector<HidrawEvent> events;
    for (int i = 0; i < model_.collectionCount; ++i) {
        const CollectionShape& shape = model_.collections[i];
        HidrawEvent e{kind, collectionPath(i), {}};
        e.device.vendorId = model_.vendorId;
        e.device.productId = model_.productId;
        e.device.deviceGroup = "sim:" + state_.name;
        e.device.collections = {
            TopLevelCollection{shape.usagePage, shape.usage, shape.featureReportLength}};
        events.push_back(std::move(e));
    }
    return events;
}

// ---- transport ----

Result<std::vector<HidCollection>> SimulatedMouse::enumerate() {
    if (!refresh())
        return Status::silentFailure(lastError_);
    std::vector<HidCollection> out;
    if (!presentIn(state_))
        return out;
    for (int i = 0; i < model_.collectionCount; ++i) {
        HidCollection c;
        c.path = collectionPath(i);
        c.vendorId = model_.vendorId;
        c.productId = model_.productId;
        c.usagePage = model_.collections[i].usagePage;
        c.usage = model_.collections[i].usage;
        c.featureReportLength = model_.collections[i].featureReportLength;
        c.deviceGroup = "sim:" + state_.name;
        out.push_back(c);
    }
    return out;
}

Result<Transport::Handle> SimulatedMouse::open(const std::string& path) {
    if (!refresh()) {
        Status failed = gone(EIO);
        failed.reason = lastError_;
        return failed;
    }
    if (!presentIn(state_))
        return gone(ENODEV);
    for (int i = 0; i < model_.collectionCount; ++i) {
        if (path != collectionPath(i))
            continue;
        if (state_.openError != 0)
            return gone(state_.openError);
        Handle h = nextHandle_++;
        handles_[h] = OpenHandle{i, state_.generation};
        return h;
    }
    return gone(ENOENT);
}

Status SimulatedMouse::close(Handle h) {
    handles_.erase(h);
    return {};
}

Result<int> SimulatedMouse::beginTransfer(Handle h) {
    auto it = handles_.find(h);
    if (it == handles_.end())
        return gone(EBADF);
    if (!refresh())
        return Status::silentFailure(lastError_);
    if (!presentIn(state_) || it->second.generation != state_.generation)
        return gone(ENODEV); // unplugged: the handle is dead, even after the mouse comes back
    ++state_.transfers;
    return it->second.collection;
}
Status SimulatedMouse::setFeature(Handle h, const uint8_t* data, size_t length) {
    Result<int> begun = beginTransfer(h);
    if (!begun)
        return begun.takeStatus();
    const int collection = *begun;
    bool accepted = false;
    std::vector<uint8_t> plain(data, data + length);

    if (collection == commandCollection() && length == kCommandLength && data[0] == 0x01) {
        accepted = true;
        scrambleCommandReport(plain.data(), false);
        state_.pendingRead = 0;
        state_.pendingWrite = 0;
        if (std::memcmp(plain.data() + 1, kSignature, sizeof kSignature) != 0) {
            state_.lastCommand.fill(0); // not for us: ignored, nothing to answer
        } else {
            std::memcpy(state_.lastCommand.data(), plain.data(), kCommandLength);
            uint8_t command = plain[5];
            if (command == 0x00) {
                state_.reportRate = plain[6];
                state_.dpiStage = plain[7];
            } else if (command >= 0x81 && command <= 0x85) {
                state_.pendingRead = command - 0x80;
            } else if (command >= 2 && command <= 6) {
                state_.pendingWrite = command;
            }
        }
    } else if (collection == dataCollection() && length == kDataLength && data[0] == 0 &&
               state_.pendingWrite != 0) {
        accepted = true;
        scrambleDataReport(plain.data(), false);
        uint8_t* target = state_.pendingWrite == kScratchChunk
                              ? state_.scratch.data()
                              : state_.memory.data() + (state_.pendingWrite - 1) * kChunkSize;
        std::memcpy(target, plain.data() + 1, kChunkSize);
        state_.pendingWrite = 0;
    }
    // Anything else stalls, as a device does with a report it does not know.
    if (!persist())
        return Status::silentFailure(lastError_);
    if (!accepted)
        return gone(EPIPE);
    receivedSets.push_back(
        ReceivedSet{collection, std::vector<uint8_t>(data, data + length), plain});
    return {};
}

Status SimulatedMouse::getFeature(Handle h, uint8_t* data, size_t length) {
    if (length > 0 && answer(h, data, length) == length)
        return {};
    return gone(EPIPE);
}

size_t SimulatedMouse::answer(Handle h, uint8_t* data, size_t length) {
    Result<int> begun = beginTransfer(h);
    if (!begun)
        return 0;
    const int collection = *begun;
    bool scramble = state_.fault.kind != SimFault::Kind::Unscrambled;
    bool answered = false;

    if (state_.fault.kind == SimFault::Kind::Silent) {
        // no answer at all
    } else if (collection == commandCollection() && length == kCommandLength && data[0] == 0x01) {
        uint8_t reply[kCommandLength] = {0x01};
        if (state_.lastCommand[0] == 0x01) {
            std::memcpy(reply, state_.lastCommand.data(), kCommandLength);
            if (state_.lastCommand[5] == 0x80) {
                reply[6] = state_.reportRate;
                reply[7] = state_.dpiStage;
            }
        }
        if (state_.fault.kind == SimFault::Kind::BadSignature)
            reply[4] = static_cast<uint8_t>(~reply[4]);
        if (state_.fault.kind == SimFault::Kind::BadReportId)
            reply[0] = 0x02;
        if (scramble)
            scrambleCommandReport(reply, true);
        std::memcpy(data, reply, kCommandLength);
        answered = true;
    } else if (collection == dataCollection() && length == kDataLength && data[0] == 0 &&
               state_.pendingRead != 0) {
        uint8_t report[kDataLength] = {0};
        std::memcpy(report + 1, state_.memory.data() + (state_.pendingRead - 1) * kChunkSize,
                    kChunkSize);
        if (scramble)
            scrambleDataReport(report, true);
        std::memcpy(data, report, kDataLength);
        state_.pendingRead = 0;
        answered = true;
        if (state_.fault.kind == SimFault::Kind::ShortReply &&
            state_.fault.afterTransfers < length) {
            std::memset(data + state_.fault.afterTransfers, 0,
                        length - state_.fault.afterTransfers);
            length = state_.fault.afterTransfers;
        }
    }
    if (!persist() || !answered)
        return 0;
    return length;
}

} // namespace z417
