// A simulated Z417 mouse behind the transport interface: the firmware as this project
// defines it, with switchable misbehaviour. Its state lives in memory or in a small state
// file, so that separate processes (the command-line tool, the demo) share one mouse.
//
// The mouse presents its model's collections (the first model of the table), one path each:
// sim:<name>/input0 .. inputN, in the order of the model's row; for the Z417 the data channel,
// the command channel, consumer control and a vendor collection.
//
// Firmware: every command report is unscrambled on arrival and must carry report ID 1 and
// the signature AA CC EE DD, else it is ignored. Answers echo the command report; the answer
// to the status query 0x80 carries the report rate in byte 6 and the DPI stage in byte 7. Set
// status 0x00 stores both. Command 0x80+k (k = 1..5) makes the next data-channel get return
// chunk k of the 320-byte memory; command n (2..6) makes the next data-channel set store into
// chunk n (n = 6: a scratch chunk that no read returns). Answers and data reports are always
// scrambled (unless told otherwise).
//
// Errors: the Transport functions report failures through their results; the inspection and
// control functions throw std::runtime_error (state file unreadable or not writable), which
// only tests and the front ends of the simulated mouse meet.
#pragma once

#include "device/MouseModel.h"
#include "platform/Transport.h"
#include "platform/UdevMonitor.h"
#include "profile/ProfileBlock.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace z417 {

struct SimFault {
    enum class Kind {
        None,
        Unscrambled,  // answers and data reports go out plain
        BadSignature, // the status answer's signature is wrong
        BadReportId,  // command answers carry report ID 2
        Silent,       // every getFeature fails
        UnplugAfter,  // every transfer after the N-th fails; the mouse is gone
        ShortReply,   // data-channel answers carry only their first N bytes
        SlowReply,    // answers come MS milliseconds late (kept by the front end that waits)
    };
    Kind kind = Kind::None;
    unsigned afterTransfers = 0; // N of UnplugAfter and ShortReply, MS of SlowReply

    static SimFault unplugAfter(unsigned n) { return SimFault{Kind::UnplugAfter, n}; }
    bool operator==(const SimFault& o) const {
        return kind == o.kind && afterTransfers == o.afterTransfers;
    }
    bool operator!=(const SimFault& o) const { return !(*this == o); }
};

// "none", "unscrambled", "bad-signature", "bad-report-id", "silent", "unplug-after:N",
// "short-reply:N", "slow-reply:MS".
bool parseSimFault(const std::string& text, SimFault& out);
std::string formatSimFault(const SimFault& fault);
// The same, with a readable reason when the text is not a fault.
Result<SimFault> parseSimulatedFault(const std::string& text);

class SimulatedMouse final : public Transport {
public:
    // One set report the mouse accepted: as it arrived, and after the mouse unscrambled it.
    struct ReceivedSet {
        int collection;
        std::vector<uint8_t> wire;
        std::vector<uint8_t> plain;
    };

    // What a new mouse is made with.
    struct Config {
        uint8_t sensorVariant = 0;
        uint8_t reportRate = 1;
        uint8_t dpiStage = 0;
        SimFault::Kind fault = SimFault::Kind::None;
        unsigned unplugAfter = 0; // N of SimFault::Kind::UnplugAfter
    };

    // A mouse in memory only.
    explicit SimulatedMouse(uint8_t sensorVariant = 0, uint8_t reportRate = 1, uint8_t dpiStage = 0,
                            SimFault fault = {}, std::string name = "z417");
    // The mouse whose state lives in stateFile (made by createStateFile).
    explicit SimulatedMouse(const std::string& stateFile);

    // Writes the state file of a freshly made, plugged-in mouse.
    static void createStateFile(const std::string& path, uint8_t sensorVariant, uint8_t reportRate,
                                uint8_t dpiStage, SimFault fault = {});
    // The same without exceptions.
    static Status createStateFile(const std::string& path, const Config& config);
    // Loads the mouse of a state file.
    static Result<std::unique_ptr<SimulatedMouse>> load(const std::string& stateFile);

    // Transport.
    Result<std::vector<HidCollection>> enumerate() override;
    Result<Handle> open(const std::string& path) override;
    Status setFeature(Handle h, const uint8_t* data, size_t length) override;
    Status getFeature(Handle h, uint8_t* data, size_t length) override;
    Status close(Handle h) override;
    // The answer to a get request, as the device would give it: the number of bytes it sends
    // (at most length; 0: it stalls). data[0] carries the report ID asked for.
    size_t answer(Handle h, uint8_t* data, size_t length);

    // Inspection and control (a file-backed mouse reads and writes its file).
    const std::array<uint8_t, kImageSize>& memory();
    const std::array<uint8_t, kChunkSize>& scratchChunk(); // what followed command 6
    uint8_t reportRate();
    uint8_t dpiStage();
    uint8_t sensorVariant();
    unsigned transferCount(); // transfers since the fault was set
    bool present();           // plugged in and not gone
    SimFault fault();
    void setFault(SimFault fault); // also restarts the transfer count
    void plug();                   // a gone mouse comes back; an UnplugAfter that fired is cleared
    void unplug();
    // The same without exceptions, for the front ends (the demo's script, the uhid mouse).
    Status setPlugged(bool plugged);
    void setOpenError(int errnoValue); // opens fail with this errno (0: they succeed)
    void setMemory(const std::array<uint8_t, kImageSize>& memory);

    const MouseModel& model() const { return model_; }
    std::string collectionPath(int collection) const;
    int dataCollection() const { return collectionOf(model_, ChannelRole::Data); }
    int commandCollection() const { return collectionOf(model_, ChannelRole::Command); }
    // The node events of plugging the mouse in or out, as the udev monitor gives them: one
    // node per collection, all in one device group.
    std::vector<HidrawEvent> hotplugEvents(HidrawEvent::Kind kind) const;

    std::vector<ReceivedSet> receivedSets; // this object's log, not kept in the file

private:
    struct State {
        std::string name;
        bool plugged = true;
        unsigned generation = 0; // handles opened before a re-plug stay dead
        SimFault fault;
        unsigned transfers = 0;
        int openError = 0;
        uint8_t reportRate = 1;
        uint8_t dpiStage = 0;
        std::array<uint8_t, 8> lastCommand{}; // plain; report ID 0 = none
        int pendingRead = 0;                  // chunk 1..5 the next data get returns
        int pendingWrite = 0;                 // chunk 2..6 the next data set stores
        std::array<uint8_t, kImageSize> memory{};
        std::array<uint8_t, kChunkSize> scratch{};
    };
    struct OpenHandle {
        int collection;
        unsigned generation;
    };
    class FieldReader;

    static State freshState(uint8_t sensorVariant, uint8_t reportRate, uint8_t dpiStage,
                            SimFault fault, std::string name);
    static bool presentIn(const State& s);
    static std::string serialize(const State& s);
    static bool deserialize(const std::string& text, State& s, std::string& error);

    bool refresh(); // file mode: reload the state; false with lastError_ on failure
    bool persist(); // file mode: write the state back
    void refreshOrThrow();
    void persistOrThrow();
    Result<int> beginTransfer(Handle h); // collection of a live handle of a present mouse

    const MouseModel& model_ = defaultModel();
    State state_;
    std::string stateFile_; // empty: memory only
    std::string fileText_;  // the state file's text as last read or written
    std::map<Handle, OpenHandle> handles_;
    Handle nextHandle_ = 3;
    std::string lastError_;
};

} // namespace z417
