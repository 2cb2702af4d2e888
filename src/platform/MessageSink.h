// Where the core reports failures to the person: a message box in the GUI, stderr in the
// command-line tool, a recording list in tests. Texts are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace z417 {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void messageBox(const std::string& text, const std::string& caption) = 0;
};

// Keeps every message for inspection.
class RecordingMessageSink final : public MessageSink {
public:
    struct Message {
        std::string text;
        std::string caption;
    };
    void messageBox(const std::string& text, const std::string& caption) override {
        messages.push_back({text, caption});
    }
    std::vector<Message> messages;
};

} // namespace z417
