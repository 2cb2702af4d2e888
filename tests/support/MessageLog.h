// Keeps the messages of every status handed to it, in order, and answers whether the
// operation succeeded: log(link.ReadOperation(block)).
#pragma once

#include "platform/Status.h"

#include <vector>

namespace z417::test {

struct MessageLog {
    std::vector<Message> messages;

    bool operator()(const Status& status) {
        messages.insert(messages.end(), status.messages.begin(), status.messages.end());
        return status.ok;
    }
};

} // namespace z417::test
