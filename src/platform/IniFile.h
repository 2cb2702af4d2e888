// Profile (INI) files: the reader and writer behind "str.ini".
//
// The behaviour follows the Windows profile functions the settings were designed around:
// - "[Section]" lines open a section; "key=value" lines inside it are entries. Section and key
//   names are compared without regard to ASCII case. Blanks (space, tab, CR, VT, FF) around
//   the line, the section name, the key and the value are ignored.
// - A missing file, section or key reads as the empty string. Only the first section of a
//   given name is looked at, and in it the first line for the key.
// - A value comes back as it would through a buffer of kProfileBufferChars characters: at
//   most kProfileBufferChars - 1 characters, counted as UTF-8 code points, cut only between
//   code points (an invalid byte counts as one character), and cut at the first NUL byte.
// - Lines starting with ';' are comments. Lines that are none of the above (garbage, a '['
//   without ']', text without '=') are ignored by readers and kept by writers.
// - A value enclosed in a matching pair of double or single quotes comes back without them,
//   as Windows reads it ('Lan="CHS"' reads CHS); values are written back as given.
// - A file that starts with the UTF-16LE byte order mark is read as UTF-16LE and written back
//   in UTF-16LE with the mark, as Windows writes Unicode profile files; any other file is
//   UTF-8. Files larger than kProfileFileMaxBytes, and anything but a regular file, read as
//   unreadable (see readFileContents).
//
// Writing changes only what it must: an existing entry gets its new value in place (the text
// up to '=' and the blanks right after it stay as they were); a missing entry is added at the
// end of its section, before the section's trailing blank lines; a missing section is added
// at the end of the file, after one blank line; a missing file is created. Every other byte
// of the file (comments, other entries and sections, a UTF-8 byte order mark, garbage) stays
// as it was. New lines use the line end the file already uses (the first one in it decides,
// CRLF or LF); a new file, or one without any line end, gets LF, the native line end here.
// The file is replaced atomically (see AtomicFile.h).
//
// Names and values that the file format cannot carry are refused with EINVAL instead of being
// written into the file: a line break or NUL anywhere; an empty section or key name, or one
// with blanks around it; a key that contains '=' or starts with '[' or ';'. A section name may
// contain brackets (the name runs to the last ']' of its line). A value may contain '=',
// quotes and anything else except line breaks and NUL; blanks around a value are dropped
// again when it is read.
#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace z417 {

constexpr size_t kProfileBufferChars = 1024;
constexpr size_t kProfileFileMaxBytes = 1024 * 1024;

enum class ProfileEncoding { Utf8, Utf16Le };

// A profile file as UTF-8 text, whatever its encoding on disk, and that encoding.
struct ProfileText {
    std::string text;
    ProfileEncoding encoding = ProfileEncoding::Utf8;
};

// A failure is readFileContents' (it names the file and carries the errno).
Result<ProfileText> readProfileFile(const std::string& path);

std::string readProfileString(const std::string& path, const std::string& section,
                              const std::string& key);

// A failure names the file, carries the errno and leaves the old file untouched.
Status writeProfileString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value);
// Several keys of one section in one rewrite, applied in the given order (same result as
// consecutive single writes). Nothing is written when one entry is refused (EINVAL), when the
// file would grow beyond what the reader takes (EFBIG) or when it would not change.
Status writeProfileStrings(const std::string& path, const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& keyValues);

// The bytes of a profile file holding text: encoded as the file was, and refused with EFBIG
// (the failure naming path) when readProfileFile would refuse a file that large.
Result<std::string> profileFileBytes(const std::string& path, const std::string& text,
                                     ProfileEncoding encoding);

// Pure parts, for tests and the fuzzer:
std::string iniLookup(const std::string& fileContent, const std::string& section,
                      const std::string& key);
// Applies the entries in order. Entries that iniEntryWritable refuses are skipped.
std::string iniUpdate(const std::string& fileContent, const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& keyValues);
// Whether section, key and value can be written without changing the file's structure.
bool iniEntryWritable(std::string_view section, std::string_view key, std::string_view value);

// The file's bytes as UTF-8 text and its encoding, and back. Unpaired surrogates, a lone
// last byte and invalid UTF-8 become U+FFFD.
std::string decodeProfileBytes(const std::string& bytes, ProfileEncoding& encoding);
std::string encodeProfileText(const std::string& text, ProfileEncoding encoding);

// The length in bytes of the longest prefix of text holding at most maxChars UTF-8 code
// points; never ends inside a well-formed multi-byte sequence.
size_t utf8PrefixBytes(std::string_view text, size_t maxChars);

} // namespace z417
