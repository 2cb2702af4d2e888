#include "JsonForm.h"

#include "platform/IniFile.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstddef>
#include <optional>
#include <set>

namespace z417 {
namespace {

using Json = nlohmann::ordered_json;

enum class Shape { Byte, Bytes, PerButton, Colours };

struct Field {
    const char* name;
    size_t offset;
    size_t size;
    Shape shape;
};

#define Z417_FIELD(name, shape)                                                                    \
    { #name, offsetof(SettingsRecord, name), sizeof(SettingsRecord::name), shape }

// Every byte of the record, in file order.
const Field kFields[] = {
    Z417_FIELD(reserved00, Shape::Bytes),
    Z417_FIELD(reportRate, Shape::Byte),
    Z417_FIELD(reserved06, Shape::Byte),
    Z417_FIELD(dpiLevel, Shape::Bytes),
    Z417_FIELD(dpiStageEnabled, Shape::Bytes),
    Z417_FIELD(dpiColor, Shape::Colours),
    Z417_FIELD(lightMode, Shape::Byte),
    Z417_FIELD(lightBrightness, Shape::Byte),
    Z417_FIELD(breathSpeed, Shape::Byte),
    Z417_FIELD(neonSpeed, Shape::Byte),
    Z417_FIELD(reserved33, Shape::Byte),
    Z417_FIELD(breathEffect, Shape::Byte),
    Z417_FIELD(reserved35, Shape::Bytes),
    Z417_FIELD(activeKeySet, Shape::Byte),
    Z417_FIELD(fireMakeTime, Shape::Byte),
    Z417_FIELD(fireBreakTime, Shape::Byte),
    Z417_FIELD(snipeDpi, Shape::Byte),
    Z417_FIELD(keyFunction, Shape::PerButton),
    Z417_FIELD(mediaIndex, Shape::PerButton),
    Z417_FIELD(windowsIndex, Shape::PerButton),
    Z417_FIELD(hotKeyIndex, Shape::PerButton),
    Z417_FIELD(singleKeyUsage, Shape::PerButton),
    Z417_FIELD(snipeChoice, Shape::PerButton),
    Z417_FIELD(fireChoice, Shape::PerButton),
    Z417_FIELD(fireKeyCode, Shape::PerButton),
    Z417_FIELD(fireTimes, Shape::PerButton),
    Z417_FIELD(dpiSwitchParam, Shape::PerButton),
};

#undef Z417_FIELD

constexpr const char* kFormat = "z417-settings";
constexpr int kVersion = 1;
const char* const kSetNames[kKeySetCount] = {"A", "B"};
// What a read of "str.ini" gives back of a value: longer labels would come back cut.
constexpr size_t kLabelMaxChars = kProfileBufferChars - 1;

Json bytesJson(const uint8_t* bytes, size_t count) {
    Json out = Json::array();
    for (size_t i = 0; i < count; ++i)
        out.push_back(bytes[i]);
    return out;
}

Json fieldJson(const Field& f, const uint8_t* bytes) {
    switch (f.shape) {
    case Shape::Byte:
        return bytes[0];
    case Shape::Bytes:
        return bytesJson(bytes, f.size);
    case Shape::PerButton:
        return Json{{"A", bytesJson(bytes, kSlotCount)},
                    {"B", bytesJson(bytes + kSlotCount, kSlotCount)}};
    case Shape::Colours:
        break;
    }
    Json out = Json::array();
    for (size_t i = 0; i < f.size; i += 3)
        out.push_back(bytesJson(bytes + i, 3));
    return out;
}

std::string languageName(const std::string& code) {
    return code == "CHS" || code == "CHT" ? code : "EN";
}

struct BadField {
    std::string line;
};

[[noreturn]] void refuse(const std::string& field, const std::string& why) {
    throw BadField{field + ": " + why};
}

const Json& member(const Json& object, const char* name, const std::string& where) {
    const auto it = object.find(name);
    if (it == object.end())
        refuse(where + name, "missing");
    return *it;
}

void onlyMembers(const Json& object, const std::set<std::string>& known, const std::string& where) {
    if (!object.is_object())
        refuse(where.empty() ? "(top level)" : where.substr(0, where.size() - 1),
               "must be an object");
    for (const auto& item : object.items())
        if (!known.count(item.key()))
            refuse(where + item.key(), "unknown member");
}

uint8_t byteFrom(const Json& value, const std::string& field) {
    if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 255)
        refuse(field, "must be a whole number from 0 to 255");
    return static_cast<uint8_t>(value.get<int>());
}

void bytesFrom(const Json& value, size_t count, uint8_t* out, const std::string& field) {
    if (!value.is_array() || value.size() != count)
        refuse(field, "must be an array of " + std::to_string(count) + " numbers");
    for (size_t i = 0; i < count; ++i)
        out[i] = byteFrom(value[i], field + "[" + std::to_string(i) + "]");
}

void fieldFrom(const Field& f, const Json& value, uint8_t* bytes, const std::string& field) {
    switch (f.shape) {
    case Shape::Byte:
        bytes[0] = byteFrom(value, field);
        return;
    case Shape::Bytes:
        bytesFrom(value, f.size, bytes, field);
        return;
    case Shape::PerButton:
        onlyMembers(value, {"A", "B"}, field + ".");
        for (int k = 0; k < kKeySetCount; ++k)
            bytesFrom(member(value, kSetNames[k], field + "."), kSlotCount, bytes + k * kSlotCount,
                      field + "." + kSetNames[k]);
        return;
    case Shape::Colours:
        break;
    }
    if (!value.is_array() || value.size() != f.size / 3)
        refuse(field, "must be an array of " + std::to_string(f.size / 3) + " colours");
    for (size_t i = 0; i < f.size / 3; ++i)
        bytesFrom(value[i], 3, bytes + 3 * i, field + "[" + std::to_string(i) + "]");
}

// A label the files can hold and a read gives back whole.
void checkLabel(const std::string& text, const std::string& at) {
    if (!iniEntryWritable("Setting-EN", "Item1", text))
        refuse(at, "must not hold a line break or NUL");
    if (utf8PrefixBytes(text, kLabelMaxChars) < text.size())
        refuse(at, "longer than " + std::to_string(kLabelMaxChars) +
                       " characters, more than the settings file gives back");
}

// "A1".."B8": the key set and slot a raw label belongs to.
bool rawSlot(const std::string& key, int& set, int& slot) {
    if (key.size() != 2 || (key[0] != 'A' && key[0] != 'B') || key[1] < '1' ||
        key[1] > '0' + kSlotCount)
        return false;
    set = key[0] == 'B' ? 1 : 0;
    slot = key[1] - '1';
    return true;
}

std::optional<std::string> fromHex(const std::string& hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const auto digit = [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c))
                       ? (c <= '9' ? c - '0'
                                   : (std::tolower(static_cast<unsigned char>(c)) - 'a' + 10))
                       : -1;
        };
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::string toHex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

bool isUtf8(const std::string& text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = utf8PrefixBytes(std::string_view(text).substr(pos), 1);
        if (length == 1 && static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
        pos += length;
    }
    return true;
}

// Labels that are not UTF-8 (written by another program in Latin-1 or GBK) travel as their
// bytes in hex, beside the string that shows them with U+FFFD.
void rawLabelsFrom(const Json& raw, SettingsState& state) {
    if (!raw.is_object())
        refuse("labels.raw", "must be an object");
    for (const auto& item : raw.items()) {
        const std::string at = "labels.raw." + item.key();
        int set = 0, slot = 0;
        if (!rawSlot(item.key(), set, slot))
            refuse(at, "unknown member (A1 to B8)");
        const auto bytes =
            item.value().is_string() ? fromHex(item.value().get<std::string>()) : std::nullopt;
        if (!bytes)
            refuse(at, "must be a string of hex digit pairs");
        checkLabel(*bytes, at);
        state.labels.label[set][slot] = *bytes;
    }
}

// The labels go to the section of the files' own language, the one the window reads, so
// that they match the record whichever language the export was made in.
void labelsFrom(const Json& labels, SettingsState& state) {
    onlyMembers(labels, {"language", "A", "B", "raw"}, "labels.");
    const Json& language = member(labels, "language", "labels.");
    if (!language.is_string() || (language != "CHS" && language != "CHT" && language != "EN"))
        refuse("labels.language", "must be \"CHS\", \"CHT\" or \"EN\"");
    for (int k = 0; k < kKeySetCount; ++k) {
        const std::string field = std::string("labels.") + kSetNames[k];
        const Json& list = member(labels, kSetNames[k], "labels.");
        if (!list.is_array() || list.size() != kSlotCount)
            refuse(field, "must be an array of 8 strings");
        for (int s = 0; s < kSlotCount; ++s) {
            const std::string at = field + "[" + std::to_string(s) + "]";
            if (!list[static_cast<size_t>(s)].is_string())
                refuse(at, "must be a string");
            const std::string text = list[static_cast<size_t>(s)].get<std::string>();
            checkLabel(text, at);
            state.labels.label[k][s] = text;
        }
    }
    if (const auto raw = labels.find("raw"); raw != labels.end())
        rawLabelsFrom(*raw, state);
}

void stateFrom(const Json& doc, SettingsState& state) {
    onlyMembers(doc, {"format", "version", "firstRunFlag", "record", "labels"}, "");
    if (member(doc, "format", "") != kFormat)
        refuse("format", std::string("must be \"") + kFormat + "\"");
    if (member(doc, "version", "") != kVersion)
        refuse("version", "must be " + std::to_string(kVersion));
    state.firstRunFlag = byteFrom(member(doc, "firstRunFlag", ""), "firstRunFlag");
    const Json& record = member(doc, "record", "");
    std::set<std::string> names;
    for (const Field& f : kFields)
        names.insert(f.name);
    onlyMembers(record, names, "record.");
    for (const Field& f : kFields)
        fieldFrom(f, member(record, f.name, "record."), state.record.bytes() + f.offset,
                  std::string("record.") + f.name);
    labelsFrom(member(doc, "labels", ""), state);
}

// One member per line, its value compact, so that a diff of two exports names the fields.
std::string membersText(const Json& object, const std::string& indent) {
    std::string text = "{\n";
    size_t left = object.size();
    for (const auto& item : object.items()) {
        // A label that is not UTF-8 shows U+FFFD here; its bytes travel in labels.raw.
        text += indent + "  " + Json(item.key()).dump() + ": " +
                item.value().dump(-1, ' ', false, Json::error_handler_t::replace) +
                (--left ? ",\n" : "\n");
    }
    return text + indent + "}";
}

} // namespace

std::string settingsToJson(const SettingsState& state) {
    Json record = Json::object();
    for (const Field& f : kFields)
        record[f.name] = fieldJson(f, state.record.bytes() + f.offset);
    Json labels = {{"language", languageName(state.languageCode)}};
    Json raw = Json::object();
    for (int k = 0; k < kKeySetCount; ++k) {
        Json list = Json::array();
        for (int s = 0; s < kSlotCount; ++s) {
            const std::string& label = state.labels.label[k][s];
            list.push_back(label);
            if (!isUtf8(label))
                raw[kSetNames[k] + std::to_string(s + 1)] = toHex(label);
        }
        labels[kSetNames[k]] = list;
    }
    if (!raw.empty())
        labels["raw"] = raw;
    return "{\n  \"format\": " + Json(kFormat).dump() +
           ",\n  \"version\": " + std::to_string(kVersion) +
           ",\n  \"firstRunFlag\": " + std::to_string(state.firstRunFlag) +
           ",\n  \"record\": " + membersText(record, "  ") +
           ",\n  \"labels\": " + membersText(labels, "  ") + "\n}\n";
}

Status settingsFromJson(const std::string& text, SettingsState& state) {
    const Json doc = Json::parse(text, nullptr, false);
    if (doc.is_discarded())
        return Status::failure("", "not valid JSON");
    SettingsState parsed = state;
    try {
        stateFrom(doc, parsed);
    } catch (const BadField& bad) {
        return Status::failure("", bad.line);
    }
    state = parsed;
    return {};
}

} // namespace z417
