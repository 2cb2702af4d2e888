// What a core operation reports: whether it did its work, and the messages for the person
// (caption and text, UTF-8) in the order they arose. The core never shows anything itself:
// the window turns the messages into message boxes, the command-line tool into stderr lines.
#pragma once

#include <cstring>
#include <optional>
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
    // Why a failure failed, for a command line or a log, when it has no message for the
    // person (a mouse not found is a balloon in the window, a line from z417ctl).
    std::string reason;
    // The errno value behind a failure the operating system reported, 0 otherwise: the window
    // words such failures its own way ("Error Code is: 28").
    int systemError = 0;

    // A failure with a message for the person.
    static Status failure(std::string caption, std::string text) {
        return {false, {Message{std::move(caption), std::move(text)}}, {}, 0};
    }
    // A failure the operating system reported: caption what failed (a file's path), text the
    // system's own words for the error.
    static Status systemFailure(std::string caption, int error, std::string text) {
        Status s = failure(std::move(caption), std::move(text));
        s.systemError = error;
        return s;
    }
    // A failure that has nothing to show (the caller may explain it its own way).
    static Status silentFailure(std::string reason = {}) {
        return {false, {}, std::move(reason), 0};
    }
    // A system call that failed, with nothing to show the person: what was tried and the
    // system's text for its errno value, as the reason.
    static Status failedCall(const std::string& what, int errorCode);

    explicit operator bool() const { return ok; }

    // A later step of the same operation: its messages follow ours, and the whole succeeds
    // only when every step did.
    Status& add(Status step) {
        if (ok && !step.ok)
            reason = std::move(step.reason);
        ok = ok && step.ok;
        if (systemError == 0)
            systemError = step.systemError;
        return addMessages(std::move(step));
    }
    // Only the messages of another operation; whether this one succeeded stays as it is.
    Status& addMessages(Status other) {
        for (Message& m : other.messages)
            messages.push_back(std::move(m));
        return *this;
    }
};

// The operating system's own text for an errno value ("No space left on device").
inline std::string systemErrorText(int errorCode) {
    return std::strerror(errorCode);
}

inline Status Status::failedCall(const std::string& what, int errorCode) {
    return {false, {}, what + ": " + systemErrorText(errorCode), errorCode};
}

// A value, or the status that says why there is none. The one way the core returns
// something that may fail: no out-parameters for errors, no errno left behind.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failure) : status_(std::move(failure)) {
        if (status_.ok) // a failure must say it failed, even when it carries no message
            status_.ok = false;
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() & { return *value_; }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }

    // Success, or the failure with its messages.
    const Status& status() const { return status_; }
    Status takeStatus() { return std::move(status_); }

private:
    std::optional<T> value_;
    Status status_;
};

} // namespace z417
