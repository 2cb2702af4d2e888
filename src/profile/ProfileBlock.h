// The image of the mouse's configuration memory: two header bytes and the 320-byte device
// image that travels in five 64-byte chunks. Offsets are the device's; bytes without a name
// belong to the mouse and are sent back exactly as they were read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace z417 {

constexpr int kChunkSize = 64;
constexpr int kChunkCount = 5;
constexpr int kImageSize = kChunkSize * kChunkCount;

struct DeviceImage {
    uint8_t deviceData00[0x80];
    uint8_t buttonEntryA[6][2]; // code byte, type byte per slot 0..5 of set A
    uint8_t deviceData8C[0x14];
    uint8_t buttonEntryB[6][2]; // set B; slots 3 and 4 swap positions
    uint8_t deviceDataAC[0x15];
    uint8_t sensorVariant;
    uint8_t deviceDataC2[4];
    uint8_t lightConst;
    uint8_t lightSub;
    uint8_t lightTimeA;
    uint8_t lightTimeB;
    uint8_t lightMode;
    uint8_t lightLevel;
    uint8_t lightKind;
    uint8_t deviceDataCD;
    uint8_t fireMakeTime;
    uint8_t fireBreakTime;
    uint8_t deviceDataD0[7];
    uint8_t snipeDpi;
    uint8_t dpiCode[8];
    uint8_t consumerUsage[16][2]; // 16-bit little-endian usages
    uint8_t deviceData100[0x18];
    uint8_t stageColor[8][3];
    uint8_t comboKey[8][2]; // modifier usage, key usage

    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(this); }
    uint8_t* chunk(int k) { return bytes() + (k - 1) * kChunkSize; } // k = 1..5
    const uint8_t* chunk(int k) const { return bytes() + (k - 1) * kChunkSize; }
};

static_assert(sizeof(DeviceImage) == kImageSize);
static_assert(offsetof(DeviceImage, buttonEntryA) == 0x80);
static_assert(offsetof(DeviceImage, deviceData8C) == 0x8C);
static_assert(offsetof(DeviceImage, buttonEntryB) == 0xA0);
static_assert(offsetof(DeviceImage, deviceDataAC) == 0xAC);
static_assert(offsetof(DeviceImage, sensorVariant) == 0xC1);
static_assert(offsetof(DeviceImage, deviceDataC2) == 0xC2);
static_assert(offsetof(DeviceImage, lightConst) == 0xC6);
static_assert(offsetof(DeviceImage, lightSub) == 0xC7);
static_assert(offsetof(DeviceImage, lightTimeA) == 0xC8);
static_assert(offsetof(DeviceImage, lightTimeB) == 0xC9);
static_assert(offsetof(DeviceImage, lightMode) == 0xCA);
static_assert(offsetof(DeviceImage, lightLevel) == 0xCB);
static_assert(offsetof(DeviceImage, lightKind) == 0xCC);
static_assert(offsetof(DeviceImage, deviceDataCD) == 0xCD);
static_assert(offsetof(DeviceImage, fireMakeTime) == 0xCE);
static_assert(offsetof(DeviceImage, fireBreakTime) == 0xCF);
static_assert(offsetof(DeviceImage, deviceDataD0) == 0xD0);
static_assert(offsetof(DeviceImage, snipeDpi) == 0xD7);
static_assert(offsetof(DeviceImage, dpiCode) == 0xD8);
static_assert(offsetof(DeviceImage, consumerUsage) == 0xE0);
static_assert(offsetof(DeviceImage, deviceData100) == 0x100);
static_assert(offsetof(DeviceImage, stageColor) == 0x118);
static_assert(offsetof(DeviceImage, comboKey) == 0x130);

struct ProfileBlock {
    uint8_t reportRate; // header byte 0
    uint8_t dpiStage;   // header byte 1: the mouse's current stage, never changed here
    DeviceImage deviceImage;

    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

static_assert(sizeof(ProfileBlock) == 322);
static_assert(offsetof(ProfileBlock, deviceImage) == 2);

} // namespace z417
