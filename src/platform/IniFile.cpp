#include "platform/IniFile.h"

#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"

#include <cerrno>

namespace z417 {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// One line of the file: [begin, contentEnd) is its text, [contentEnd, end) its line end
// ("\n", "\r\n" or nothing for a last line without one).
struct Line {
    size_t begin;
    size_t contentEnd;
    size_t end;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        const size_t contentEnd = (nl > pos && text[nl - 1] == '\r') ? nl - 1 : nl;
        lines.push_back({pos, contentEnd, nl + 1});
        pos = nl + 1;
    }
    return lines;
}

enum class LineKind { Blank, Section, Entry, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section name or key
    std::string_view value; // entry value
    size_t equals = 0;      // offset of the entry's '=' in the whole text
};

ParsedLine parseLine(std::string_view text, const Line& line) {
    size_t begin = line.begin;
    if (begin == 0 && text.substr(0, kBom.size()) == kBom) {
        begin = kBom.size();
    }
    ParsedLine parsed;
    const std::string_view raw = text.substr(begin, line.contentEnd - begin);
    const std::string_view content = trim(raw);
    if (content.empty()) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    if (content.front() == '[') {
        const size_t close = content.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            parsed.kind = LineKind::Section;
            parsed.name = trim(content.substr(1, close - 1));
        }
        return parsed; // a '[' without ']' is neither a section nor an entry
    }
    if (content.front() == ';') {
        return parsed;
    }
    const size_t eq = raw.find('=');
    if (eq == std::string_view::npos) {
        return parsed;
    }
    parsed.name = trim(raw.substr(0, eq));
    if (parsed.name.empty()) {
        return parsed;
    }
    parsed.kind = LineKind::Entry;
    parsed.value = trim(raw.substr(eq + 1));
    parsed.equals = begin + eq;
    return parsed;
}

// Index of the header line of the first section named section, or lines.size().
size_t findSection(std::string_view text, const std::vector<Line>& lines,
                   std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(text, lines[i]);
        if (parsed.kind == LineKind::Section && equalsIgnoringCase(parsed.name, section)) {
            return i;
        }
    }
    return lines.size();
}

std::string_view detectLineEnd(std::string_view text) {
    const size_t nl = text.find('\n');
    if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

bool hasForbiddenByte(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool validName(std::string_view name) {
    return !name.empty() && !hasForbiddenByte(name) && trim(name).size() == name.size();
}

// Applies one entry to text (already checked by iniEntryWritable).
void applyEntry(std::string& text, std::string_view section, std::string_view key,
                std::string_view value) {
    const std::string_view lineEnd = detectLineEnd(text);
    const std::vector<Line> lines = splitLines(text);
    const size_t header = findSection(text, lines, section);

    if (header == lines.size()) {
        // New section at the end of the file, after one blank line.
        const bool onlyBom = text.size() == kBom.size() && text == kBom;
        if (!text.empty() && !onlyBom) {
            const Line& last = lines.back();
            if (last.end == last.contentEnd) {
                text.append(lineEnd);
            }
            if (parseLine(text, last).kind != LineKind::Blank) {
                text.append(lineEnd);
            }
        }
        text.append("[").append(section).append("]").append(lineEnd);
        text.append(key).append("=").append(value).append(lineEnd);
        return;
    }

    size_t lastFilled = header; // the line after which a new entry goes
    for (size_t i = header + 1; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(text, lines[i]);
        if (parsed.kind == LineKind::Section) {
            break;
        }
        if (parsed.kind == LineKind::Entry && equalsIgnoringCase(parsed.name, key)) {
            // Keep everything up to '=' and the blanks after it; replace the rest of the line.
            // A value that starts with blanks brings its own, so that writing it twice gives
            // the same line.
            const bool keepSpacing = value.empty() || !isBlank(value.front());
            size_t valueStart = parsed.equals + 1;
            while (keepSpacing && valueStart < lines[i].contentEnd && isBlank(text[valueStart])) {
                ++valueStart;
            }
            text.replace(valueStart, lines[i].contentEnd - valueStart, value);
            return;
        }
        if (parsed.kind != LineKind::Blank) {
            lastFilled = i;
        }
    }

    const Line& after = lines[lastFilled];
    std::string insert;
    if (after.end == after.contentEnd) {
        insert.append(lineEnd); // the last line of the file had no line end
    }
    insert.append(key).append("=").append(value).append(lineEnd);
    text.insert(after.end, insert);
}

// A value in a matching pair of quotes loses them, as the Windows profile functions read it.
std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16Le(std::string& out, char32_t c) {
    const auto unit = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    if (c >= 0x10000) {
        c -= 0x10000;
        unit(0xD800 + (c >> 10));
        unit(0xDC00 + (c & 0x3FF));
    } else {
        unit(c);
    }
}

std::string utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    const auto unitAt = [&bytes](size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) |
               (static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unitAt(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
            unitAt(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    if (i < bytes.size()) {
        appendUtf8(out, kReplacement);
    }
    return out;
}

std::string utf8ToUtf16Le(std::string_view text) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = utf8PrefixBytes(text.substr(pos), 1);
        const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[pos + k]); };
        char32_t c = byte(0);
        if (length == 1 && c >= 0x80) {
            c = kReplacement;
        } else if (length == 2) {
            c = ((c & 0x1F) << 6) | (byte(1) & 0x3F);
        } else if (length == 3) {
            c = ((c & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        } else if (length == 4) {
            c = ((c & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) |
                (byte(3) & 0x3F);
        }
        appendUtf16Le(out, c);
        pos += length;
    }
    return out;
}

} // namespace

std::string decodeProfileBytes(const std::string& bytes, ProfileEncoding& encoding) {
    if (bytes.compare(0, kUtf16LeBom.size(), kUtf16LeBom) == 0) {
        encoding = ProfileEncoding::Utf16Le;
        return utf16LeToUtf8(std::string_view(bytes).substr(kUtf16LeBom.size()));
    }
    encoding = ProfileEncoding::Utf8;
    return bytes;
}

std::string encodeProfileText(const std::string& text, ProfileEncoding encoding) {
    if (encoding == ProfileEncoding::Utf8) {
        return text;
    }
    return std::string(kUtf16LeBom) + utf8ToUtf16Le(text);
}

Result<ProfileText> readProfileFile(const std::string& path) {
    const Result<std::string> bytes = readFileContents(path, kProfileFileMaxBytes);
    if (!bytes)
        return bytes.status();
    ProfileText read;
    read.text = decodeProfileBytes(*bytes, read.encoding);
    return read;
}

size_t utf8PrefixBytes(std::string_view text, size_t maxChars) {
    const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](size_t i, unsigned char low, unsigned char high) {
        return i < text.size() && byteAt(i) >= low && byteAt(i) <= high;
    };
    size_t pos = 0;
    size_t chars = 0;
    while (pos < text.size() && chars < maxChars) {
        const unsigned char lead = byteAt(pos);
        size_t length = 1;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = continuation(pos + 1, 0x80, 0xBF) ? 2 : 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
            length = continuation(pos + 1, low, high) && continuation(pos + 2, 0x80, 0xBF) ? 3 : 1;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
            length = continuation(pos + 1, low, high) && continuation(pos + 2, 0x80, 0xBF) &&
                             continuation(pos + 3, 0x80, 0xBF)
                         ? 4
                         : 1;
        }
        pos += length;
        ++chars;
    }
    return pos;
}

bool iniEntryWritable(std::string_view section, std::string_view key, std::string_view value) {
    if (!validName(section) || !validName(key) || hasForbiddenByte(value)) {
        return false;
    }
    return key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

std::string iniLookup(const std::string& fileContent, const std::string& section,
                      const std::string& key) {
    if (section.empty() || key.empty()) {
        return {};
    }
    const std::vector<Line> lines = splitLines(fileContent);
    const size_t header = findSection(fileContent, lines, section);
    for (size_t i = header + 1; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(fileContent, lines[i]);
        if (parsed.kind == LineKind::Section) {
            break;
        }
        if (parsed.kind == LineKind::Entry && equalsIgnoringCase(parsed.name, key)) {
            std::string_view value = withoutQuotes(parsed.value);
            value = value.substr(0, value.find('\0')); // the buffer is a C string
            return std::string(value.substr(0, utf8PrefixBytes(value, kProfileBufferChars - 1)));
        }
    }
    return {};
}

std::string iniUpdate(const std::string& fileContent, const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& keyValues) {
    std::string text = fileContent;
    for (const auto& [key, value] : keyValues) {
        if (iniEntryWritable(section, key, value)) {
            applyEntry(text, section, key, value);
        }
    }
    return text;
}

std::string readProfileString(const std::string& path, const std::string& section,
                              const std::string& key) {
    const Result<ProfileText> read = readProfileFile(path);
    return read ? iniLookup(read->text, section, key) : std::string();
}

Status writeProfileString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value) {
    return writeProfileStrings(path, section, {{key, value}});
}

Status writeProfileStrings(const std::string& path, const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& keyValues) {
    for (const auto& [key, value] : keyValues) {
        if (!iniEntryWritable(section, key, value)) {
            return fileFailure(path, EINVAL);
        }
    }
    const Result<ProfileText> read = readProfileFile(path);
    const int readError = read ? 0 : read.status().systemError;
    const std::string content = read ? read->text : std::string();
    const ProfileEncoding encoding = read ? read->encoding : ProfileEncoding::Utf8;
    // A file that exists but cannot be read must not be replaced by one holding only the new
    // entries: that would throw away everything else in it.
    if (readError != 0 && readError != ENOENT) {
        return fileFailure(path, readError);
    }
    const std::string updated = iniUpdate(content, section, keyValues);
    if (readError == 0 && updated == content) {
        return {};
    }
    Result<std::string> bytes = profileFileBytes(path, updated, encoding);
    if (!bytes) {
        return bytes.status();
    }
    return writeFileAtomically(path, *bytes);
}

Result<std::string> profileFileBytes(const std::string& path, const std::string& text,
                                     ProfileEncoding encoding) {
    std::string bytes = encodeProfileText(text, encoding);
    if (bytes.size() > kProfileFileMaxBytes) {
        return fileFailure(path, EFBIG);
    }
    return bytes;
}

} // namespace z417
