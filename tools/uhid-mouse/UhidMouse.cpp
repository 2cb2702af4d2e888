#include "UhidMouse.h"

#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <unistd.h>

namespace z417 {

namespace {

constexpr uint32_t kVersion = 0x0100;

void copyText(char* to, size_t size, const std::string& from) {
    std::strncpy(to, from.c_str(), size - 1);
    to[size - 1] = '\0';
}

} // namespace

UhidMouse::UhidMouse(SimulatedMouse& mouse, std::string uniq)
    : mouse_(mouse), uniq_(std::move(uniq)), model_(mouse.model()),
      fds_(static_cast<size_t>(model_.interfaceCount), -1),
      channels_(static_cast<size_t>(model_.interfaceCount), Transport::kInvalidHandle) {}

UhidMouse::~UhidMouse() {
    unplug();
}

Status UhidMouse::plug() {
    if (plugged())
        return {};
    if (Status back = mouse_.setPlugged(true); !back)
        return back;
    if (Status opened = openChannels(); !opened)
        return opened;
    for (int i = 0; i < interfaceCount(); ++i) {
        fds_[i] = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
        if (fds_[i] < 0) {
            Status failed = Status::failedCall("cannot open /dev/uhid", errno);
            failed.reason += " (it needs root or write access to /dev/uhid, and the uhid module: "
                             "sudo modprobe uhid)";
            unplug();
            return failed;
        }
        uhid_event ev{};
        ev.type = UHID_CREATE2;
        uhid_create2_req& req = ev.u.create2;
        copyText(reinterpret_cast<char*>(req.name), sizeof req.name, model_.usbName);
        copyText(reinterpret_cast<char*>(req.phys), sizeof req.phys,
                 "z417-uhid/" + uniq_ + "/input" + std::to_string(i));
        copyText(reinterpret_cast<char*>(req.uniq), sizeof req.uniq, uniq_);
        const InterfaceDescriptor& d = model_.interfaces[i];
        req.rd_size = static_cast<uint16_t>(d.size);
        std::memcpy(req.rd_data, d.bytes, d.size);
        req.bus = BUS_USB;
        req.vendor = model_.vendorId;
        req.product = model_.productId;
        req.version = kVersion;
        if (!send(i, &ev, sizeof ev)) {
            Status failed = Status::failedCall("cannot create the uhid device", errno);
            unplug();
            return failed;
        }
    }
    return {};
}

Status UhidMouse::openChannels() {
    for (int i = 0; i < interfaceCount(); ++i) {
        if (channels_[i] != Transport::kInvalidHandle)
            (void)mouse_.close(channels_[i]);
        channels_[i] = Transport::kInvalidHandle;
        Result<Transport::Handle> h =
            mouse_.open(mouse_.collectionPath(model_.interfaces[i].collection));
        if (!h)
            return Status::failedCall("the simulated mouse cannot be opened",
                                         h.status().systemError);
        channels_[i] = *h;
    }
    return {};
}

void UhidMouse::unplug() {
    for (int i = 0; i < interfaceCount(); ++i) {
        if (fds_[i] >= 0) {
            uhid_event ev{};
            ev.type = UHID_DESTROY;
            send(i, &ev, sizeof ev);
            ::close(fds_[i]);
            fds_[i] = -1;
        }
        if (channels_[i] != Transport::kInvalidHandle)
            (void)mouse_.close(channels_[i]);
        channels_[i] = Transport::kInvalidHandle;
    }
}

bool UhidMouse::send(int interface, const void* event, size_t size) {
    ssize_t n;
    do {
        n = ::write(fds_[interface], event, size);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(size);
}

bool UhidMouse::handleEvent(int interface) {
    uhid_event ev{};
    ssize_t n;
    do {
        n = ::read(fds_[interface], &ev, sizeof ev);
    } while (n < 0 && errno == EINTR);
    if (n <= 0)
        return true; // nothing read: the next poll tells more
    if (ev.type == UHID_GET_REPORT)
        answerGet(interface, ev.u.get_report.id, ev.u.get_report.rnum, ev.u.get_report.rtype);
    else if (ev.type == UHID_SET_REPORT)
        answerSet(interface, ev.u.set_report.id, ev.u.set_report.rnum, ev.u.set_report.rtype,
                  ev.u.set_report.data, ev.u.set_report.size);
    else
        return true; // start, stop, open, close, output: nothing to answer
    if (mouse_.present())
        return true;
    unplug();
    return false;
}

void UhidMouse::waitIfSlow() {
    const SimFault fault = mouse_.fault();
    if (fault.kind == SimFault::Kind::SlowReply)
        std::this_thread::sleep_for(std::chrono::milliseconds(fault.afterTransfers));
}

void UhidMouse::answerGet(int interface, uint32_t id, uint8_t reportId, uint8_t type) {
    const InterfaceDescriptor& d = model_.interfaces[interface];
    uhid_event reply{};
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = id;
    reply.u.get_report_reply.err = EIO;
    if (type == UHID_FEATURE_REPORT && reportId == d.featureReportId) {
        // Behind usbhid an answer starts with its report ID, 0 for an unnumbered report.
        uint8_t* data = reply.u.get_report_reply.data;
        data[0] = reportId;
        const size_t n = mouse_.answer(channels_[interface], data, d.featureReportLength);
        if (n > 0) {
            reply.u.get_report_reply.err = 0;
            reply.u.get_report_reply.size = static_cast<uint16_t>(n);
        }
    }
    waitIfSlow();
    send(interface, &reply, sizeof reply);
}

void UhidMouse::answerSet(int interface, uint32_t id, uint8_t reportId, uint8_t type,
                          const uint8_t* data, size_t size) {
    const InterfaceDescriptor& d = model_.interfaces[interface];
    uhid_event reply{};
    reply.type = UHID_SET_REPORT_REPLY;
    reply.u.set_report_reply.id = id;
    const bool accepted = type == UHID_FEATURE_REPORT && reportId == d.featureReportId &&
                          mouse_.setFeature(channels_[interface], data, size).ok;
    reply.u.set_report_reply.err = accepted ? 0 : EIO;
    waitIfSlow();
    send(interface, &reply, sizeof reply);
}

} // namespace z417
