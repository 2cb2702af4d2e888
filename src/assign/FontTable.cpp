#include "assign/FontTable.h"

namespace z417 {

namespace {

constexpr int kAnyVersion = -1;

struct FontRow {
    const char* languageCode; // nullptr: any other code
    int versionMajor;         // kAnyVersion: every version
    int versionMinor;
    const char* normalFace;
    int normalHeight;
    int normalWeight;
    const char* titleFace;
    int titleHeight;
    int titleWeight;
};

// First matching row wins; the last row catches every other language code.
constexpr FontRow kFontRows[] = {
    {"CHS", 6, 2, "黑体", 13, 400, "黑体", 18, 700},
    {"CHS", kAnyVersion, kAnyVersion, "宋体", 13, 400, "宋体", 18, 700},
    {"CHT", kAnyVersion, kAnyVersion, "黑体", 14, 400, "黑体", 18, 700},
    {nullptr, kAnyVersion, kAnyVersion, "Arial", 14, 400, "Tahoma", 18, 700},
};

bool matches(const FontRow& row, const std::string& code, int major, int minor) {
    if (row.languageCode != nullptr && code != row.languageCode) {
        return false;
    }
    if (row.versionMajor == kAnyVersion) {
        return true;
    }
    return major == row.versionMajor && minor == row.versionMinor;
}

FontPair toPair(const FontRow& row) {
    return {{row.normalFace, row.normalHeight, row.normalWeight},
            {row.titleFace, row.titleHeight, row.titleWeight}};
}

} // namespace

FontPair fontsFor(const std::string& languageCode, int osVersionMajor, int osVersionMinor) {
    for (const FontRow& row : kFontRows) {
        if (matches(row, languageCode, osVersionMajor, osVersionMinor)) {
            return toPair(row);
        }
    }
    // Not reached: the last row matches every code.
    return toPair(kFontRows[sizeof kFontRows / sizeof kFontRows[0] - 1]);
}

} // namespace z417
