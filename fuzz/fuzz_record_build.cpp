// Loads an arbitrary settings record, builds the device image from it over an arbitrary
// block, and checks that the build never touches a byte it does not own.
#include "profile/BuildStep.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace z417;

namespace {

bool owned(size_t image) {
    return (image >= 0x80 && image < 0x8C) || (image >= 0xA0 && image < 0xAC) ||
           (image >= 0xC6 && image < 0xCD) || image == 0xCE || image == 0xCF ||
           (image >= 0xD7 && image < 0xE0) || (image >= 0x118 && image < 0x130);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Layout of the input: a "config.bin" (220 bytes), then a block (322), then the variant.
    if (size < 220)
        return 0;
    SettingsRecord record{};
    std::memcpy(record.bytes(), data + 1, sizeof record);
    ProfileBlock block{};
    const size_t blockBytes = std::min(sizeof block, size - 220);
    std::memcpy(block.bytes(), data + 220, blockBytes);
    const uint8_t variant = size > 220 + sizeof block ? data[220 + sizeof block] : 0;

    const ProfileBlock before = block;
    buildProfileBlock(record, variant, block);
    if (block.dpiStage != before.dpiStage)
        std::abort();
    for (size_t i = 0; i < kImageSize; ++i)
        if (!owned(i) && block.deviceImage.bytes()[i] != before.deviceImage.bytes()[i])
            std::abort();
    // The build is a function of its inputs: running it again changes nothing.
    const ProfileBlock once = block;
    buildProfileBlock(record, variant, block);
    if (std::memcmp(&once, &block, sizeof block) != 0)
        std::abort();
    return 0;
}
