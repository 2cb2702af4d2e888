#include "assign/LedTexts.h"

namespace z417 {

const std::vector<std::string>& brightnessTexts() {
    static const std::vector<std::string> texts = {"5%",  "15%", "25%", "35%", "45%",
                                                   "55%", "65%", "75%", "85%", "100%"};
    return texts;
}

const std::vector<std::string>& breathSpeedTexts() {
    static const std::vector<std::string> texts = {"8S", "7S", "6S", "5S", "4S"};
    return texts;
}

const std::vector<std::string>& neonSpeedTexts() {
    // Value v lasts (v + 1) half seconds.
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int v = 0; v < 30; ++v) {
            const int halves = v + 1;
            t.push_back(std::to_string(halves / 2) + (halves % 2 ? ".5S" : "S"));
        }
        t[0] = "0.5S";
        return t;
    }();
    return texts;
}

std::string textAt(const std::vector<std::string>& list, unsigned index) {
    return index < list.size() ? list[index] : std::string();
}

} // namespace z417
