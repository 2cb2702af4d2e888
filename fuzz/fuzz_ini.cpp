// Profile file reader and writer on arbitrary bytes.
//
// The input gives a section, a key, a value, a second section and key, and then the file
// content. Checked properties:
// - lookups never return more than 1023 code points, never a NUL, and never crash;
// - an update that the writer accepts reads back exactly (when the value has no surrounding
//   blanks and fits the read buffer), is idempotent, leaves every other entry's value alone,
//   and keeps every line of the old file: either one entry line changed after its '=', or up
//   to three lines were added (blank separator, section header, entry) around the old ones;
// - an update the writer refuses leaves the content unchanged;
// - a file's bytes decoded as the reader decodes them (UTF-16LE after its byte order mark)
//   survive being written back in the same encoding and read again.
#include "platform/IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool equalsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// Lines split at '\n' only, so that a CR stays part of its line and is compared too.
std::vector<std::string> splitAtNewline(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, nl - pos));
        pos = nl + 1;
    }
    return lines;
}

void checkLookupResult(const std::string& value) {
    check(z417::utf8PrefixBytes(value, z417::kProfileBufferChars - 1) == value.size(),
          "lookup longer than the buffer");
    check(value.find('\0') == std::string::npos, "lookup holds NUL");
}

void checkLinesSurvive(std::string before, std::string after) {
    // A byte order mark stays at the start of the file, before whatever comes first.
    const std::string bom = "\xEF\xBB\xBF";
    if (before.compare(0, bom.size(), bom) == 0) {
        check(after.compare(0, bom.size(), bom) == 0, "byte order mark lost");
        before.erase(0, bom.size());
        after.erase(0, bom.size());
    }
    const std::vector<std::string> old = splitAtNewline(before);
    const std::vector<std::string> now = splitAtNewline(after);
    if (now.size() == old.size()) {
        size_t changed = 0;
        for (size_t i = 0; i < old.size(); ++i) {
            if (old[i] == now[i]) {
                continue;
            }
            ++changed;
            const size_t eq = old[i].find('=');
            check(eq != std::string::npos, "a line without '=' changed");
            check(now[i].compare(0, eq + 1, old[i], 0, eq + 1) == 0,
                  "an entry line changed before its value");
        }
        check(changed <= 1, "more than one line changed");
        return;
    }
    check(now.size() > old.size() && now.size() - old.size() <= 3, "wrong number of lines added");
    // A last line without a line end gets the file's line end, whose CR then shows here.
    const bool unterminated = !before.empty() && before.back() != '\n';
    size_t j = 0;
    for (size_t i = 0; i < old.size(); ++i) {
        const std::string& line = old[i];
        const bool last = unterminated && i + 1 == old.size();
        while (j < now.size() && now[j] != line && !(last && now[j] == line + "\r")) {
            ++j;
        }
        check(j < now.size(), "an old line was lost");
        ++j;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(40);
    const std::string key = input.ConsumeRandomLengthString(40);
    const std::string value = input.ConsumeRandomLengthString(2000);
    const std::string section2 = input.ConsumeRandomLengthString(40);
    const std::string key2 = input.ConsumeRandomLengthString(40);
    const std::string content = input.ConsumeRemainingBytesAsString();

    z417::ProfileEncoding encoding = z417::ProfileEncoding::Utf8;
    const std::string text = z417::decodeProfileBytes(content, encoding);
    z417::ProfileEncoding again = z417::ProfileEncoding::Utf8;
    check(z417::decodeProfileBytes(z417::encodeProfileText(text, encoding), again) == text &&
              again == encoding,
          "decoded text does not survive being written back");

    checkLookupResult(z417::iniLookup(content, section, key));
    const std::string otherBefore = z417::iniLookup(content, section2, key2);
    checkLookupResult(otherBefore);

    const std::string updated = z417::iniUpdate(content, section, {{key, value}});
    if (!z417::iniEntryWritable(section, key, value)) {
        check(updated == content, "refused entry changed the content");
        return 0;
    }

    const std::string readBack = z417::iniLookup(updated, section, key);
    checkLookupResult(readBack);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    const bool plainValue =
        (value.empty() || (!isBlank(value.front()) && !isBlank(value.back()))) && !quoted &&
        z417::utf8PrefixBytes(value, z417::kProfileBufferChars - 1) == value.size();
    if (plainValue) {
        check(readBack == value, "written value does not read back");
    }
    check(z417::iniUpdate(updated, section, {{key, value}}) == updated, "update not idempotent");
    checkLinesSurvive(content, updated);

    if (!(equalsNoCase(section2, section) && equalsNoCase(key2, key))) {
        check(z417::iniLookup(updated, section2, key2) == otherBefore, "another entry changed");
    }

    // Several entries at once equal consecutive single updates.
    const std::vector<std::pair<std::string, std::string>> both = {{key, value}, {key2, value}};
    std::string stepwise = z417::iniUpdate(content, section, {both[0]});
    stepwise = z417::iniUpdate(stepwise, section, {both[1]});
    check(z417::iniUpdate(content, section, both) == stepwise, "batch differs from single writes");
    return 0;
}
