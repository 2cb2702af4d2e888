#include "device/MouseConnection.h"

#include "device/MouseModel.h"

namespace z417 {

namespace {

std::string groupOf(const HidrawEvent& e) {
    // A node without a group has no siblings: it forms a mouse on its own.
    return e.device.deviceGroup.empty() ? "node:" + e.node : e.device.deviceGroup;
}

} // namespace

MouseConnection::Roles MouseConnection::rolesOf(const MouseModel& model, const KnownNode& node) {
    Roles roles;
    for (const TopLevelCollection& c : node.collections) {
        const ChannelRole role =
            channelRole(model, CollectionShape{c.usagePage, c.usage, c.featureReportLength});
        roles.data = roles.data || role == ChannelRole::Data;
        roles.command = roles.command || role == ChannelRole::Command;
    }
    return roles;
}

bool MouseConnection::Mouse::complete() const {
    bool data = false, command = false;
    for (const auto& [node, roles] : nodes) {
        data = data || roles.data;
        command = command || roles.command;
    }
    return data && command;
}

void MouseConnection::seed(const std::vector<HidrawEvent>& present) {
    for (const HidrawEvent& e : present)
        apply(e);
}

MouseConnection::Effect MouseConnection::apply(const HidrawEvent& e) {
    Effect effect;
    const MouseModel* model = findModel(e.device.vendorId, e.device.productId);
    if (!model)
        return effect;
    effect.known = true;
    effect.group = groupOf(e);
    Mouse& mouse = mice_[effect.group];
    effect.wasComplete = mouse.complete();
    const Roles roles = rolesOf(*model, e.device);
    // A removal names the node as it was added, so a node that arrived before anyone
    // listened is known by its removal as well.
    effect.carriesChannel = roles.data || roles.command;
    if (e.kind == HidrawEvent::Kind::Removed) {
        mouse.nodes.erase(e.node);
        effect.nowComplete = mouse.complete();
        if (mouse.nodes.empty())
            mice_.erase(effect.group);
        return effect;
    }
    mouse.nodes[e.node] = roles;
    effect.nowComplete = mouse.complete();
    return effect;
}

MouseConnection::Outcome MouseConnection::handle(const HidrawEvent& e) {
    const Effect effect = apply(e);
    if (!effect.known)
        return {};
    if (!effect.carriesChannel)
        return {};
    if (e.kind == HidrawEvent::Kind::Added) {
        // A channel that completes a mouse (or comes again after a failed connect) is an
        // arrival; while connected, a second mouse or a doubled event changes nothing.
        if (effect.nowComplete && !link_.connected())
            return arrived();
        return {};
    }
    const std::string& open = link_.connectedGroup();
    const bool ours = link_.connected() && (open.empty() || open == effect.group);
    if (ours || (effect.wasComplete && !link_.connected()))
        return removed();
    return {}; // another mouse going leaves the open one alone
}

MouseConnection::Outcome MouseConnection::arrived() {
    Status status = link_.connect(block_);
    return {status.ok ? Change::Connected : Change::Lost, std::move(status)};
}

MouseConnection::Outcome MouseConnection::removed() {
    Status status = link_.openMouse();
    if (status)
        return {Change::None, std::move(status)};
    link_.closeHandles();
    return {Change::Lost, std::move(status)};
}

} // namespace z417
