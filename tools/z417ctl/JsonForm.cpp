#include "JsonForm.h"

#include "platform/IniFile.h"

#include <nlohmann/json.hpp>

#include <cstddef>
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

void labelsFrom(const Json& labels, SettingsState& state) {
    onlyMembers(labels, {"language", "A", "B"}, "labels.");
    const Json& language = member(labels, "language", "labels.");
    if (!language.is_string() || (language != "CHS" && language != "CHT" && language != "EN"))
        refuse("labels.language", "must be \"CHS\", \"CHT\" or \"EN\"");
    state.languageCode = language.get<std::string>();
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
            if (!iniEntryWritable("Setting-EN", kLabelKeys[k][s], text))
                refuse(at, "must not hold a line break or NUL");
            state.labels.label[k][s] = text;
        }
    }
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
        // Labels are carried as the files hold them; bytes that are not UTF-8 become U+FFFD.
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
    for (int k = 0; k < kKeySetCount; ++k) {
        Json list = Json::array();
        for (int s = 0; s < kSlotCount; ++s)
            list.push_back(state.labels.label[k][s]);
        labels[kSetNames[k]] = list;
    }
    return "{\n  \"format\": " + Json(kFormat).dump() +
           ",\n  \"version\": " + std::to_string(kVersion) +
           ",\n  \"firstRunFlag\": " + std::to_string(state.firstRunFlag) +
           ",\n  \"record\": " + membersText(record, "  ") +
           ",\n  \"labels\": " + membersText(labels, "  ") + "\n}\n";
}

bool settingsFromJson(const std::string& text, SettingsState& state, std::string& error) {
    const Json doc = Json::parse(text, nullptr, false);
    if (doc.is_discarded()) {
        error = "not valid JSON";
        return false;
    }
    SettingsState parsed = state;
    try {
        stateFrom(doc, parsed);
    } catch (const BadField& bad) {
        error = bad.line;
        return false;
    }
    state = parsed;
    return true;
}

} // namespace z417
