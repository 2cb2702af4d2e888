#include "platform/AsciiCase.h"

#include <gtest/gtest.h>

#include <clocale>

namespace z417 {
namespace {

// Only A-Z and a-z fold; bytes of other scripts, Latin-1 letters and the neighbours of the
// ASCII letters compare exactly, even under a locale that knows their case.
TEST(AsciiCase, FoldsOnlyAsciiLetters) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Setting", "sETTING", true},
        {"", "", true},
        {"Skin", "Skins", false},
        {"@[`{", "`{@[", false},                           // around 'A'-'Z' and 'a'-'z'
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\xA9", false}, // UTF-8 É and é
        {"\xC9", "\xE9", false},                           // Latin-1 É and é
        {"\xE4\xB8\xAD", "\xE4\xB8\xAD", true},
    };
    const char* const before = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = before ? before : "C";
    for (const char* locale : {"C", "C.UTF-8", "en_US.ISO-8859-1"}) {
        if (!std::setlocale(LC_CTYPE, locale))
            continue;
        for (const Case& c : cases)
            EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal) << locale << ": " << c.a;
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

} // namespace
} // namespace z417
