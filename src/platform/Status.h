// What a core operation reports: whether it did its work, and the messages for the person
// (caption and text, UTF-8) in the order they arose. The core never shows anything itself:
// the window turns the messages into message boxes, the command-line tool into stderr lines.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace z417 {

struct Message {
    std::string caption;
    std::string text;
    bool operator==(const Message& o) const { return caption == o.caption && text == o.text; }
};

struct [[nodiscard]] Status {
    bool ok = true;
    std::vector<Message> messages;

    // A failure with a message for the person.
    static Status failure(std::string caption, std::string text) {
        return {false, {Message{std::move(caption), std::move(text)}}};
    }
    // A failure that has nothing to show (the caller may explain it its own way).
    static Status silentFailure() { return {false, {}}; }

    explicit operator bool() const { return ok; }

    // A later step of the same operation: its messages follow ours, and the whole succeeds
    // only when every step did.
    Status& add(Status step) {
        ok = ok && step.ok;
        return addMessages(std::move(step));
    }
    // Only the messages of another operation; whether this one succeeded stays as it is.
    Status& addMessages(Status other) {
        for (Message& m : other.messages)
            messages.push_back(std::move(m));
        return *this;
    }
};

} // namespace z417
