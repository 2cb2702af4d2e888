// Faces, heights and weights of NormalFont and TitleFont, chosen by the language code and,
// for Simplified Chinese, by the reported OS version.
#pragma once

#include <string>

namespace z417 {

struct FontEntry {
    std::string face;
    int height; // logical units, used as the pixel size
    int weight; // 400 normal, 700 bold
};

struct FontPair {
    FontEntry normal;
    FontEntry title;
};

// Pitch-and-family value of every font the program makes (variable pitch family 0x20).
inline constexpr int kFontPitchAndFamily = 0x20;

// "CHS" at version 6.2 gets "黑体", "CHS" on any other version "宋体", "CHT" "黑体" at 14/18,
// anything else Arial/Tahoma. The language code is compared whole and case-sensitively.
FontPair fontsFor(const std::string& languageCode, int osVersionMajor, int osVersionMinor);

} // namespace z417
