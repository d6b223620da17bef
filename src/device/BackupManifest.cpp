#include "device/BackupManifest.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>

namespace korvana {
namespace {

using Json = nlohmann::json;

constexpr int kHighestSlot = 255;

bool IsSlotNumber(const Json& value) {
    return value.is_number_integer() && value.get<std::int64_t>() >= 0 &&
           value.get<std::int64_t>() <= kHighestSlot;
}

bool IsDigest(const Json& value) {
    if (!value.is_string())
        return false;
    const auto& text = value.get_ref<const std::string&>();
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// A name of a file in the backup folder itself: nothing that names a folder or leaves it.
bool IsPlainFileName(const Json& value) {
    if (!value.is_string())
        return false;
    const auto& name = value.get_ref<const std::string&>();
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos &&
           std::none_of(name.begin(), name.end(), [](char c) { return c == '\0'; });
}

std::optional<std::vector<int>> SlotList(const Json& manifest, const char* key) {
    const auto found = manifest.find(key);
    if (found == manifest.end())
        return std::vector<int>{};
    if (!found->is_array())
        return std::nullopt;
    std::vector<int> slots;
    for (const Json& slot : *found) {
        if (!IsSlotNumber(slot))
            return std::nullopt;
        slots.push_back(slot.get<int>());
    }
    std::sort(slots.begin(), slots.end());
    return slots;
}

std::optional<BackedUpSlot> SlotEntry(const Json& entry) {
    if (!entry.is_object())
        return std::nullopt;
    const auto slot = entry.find("slot");
    const auto name = entry.find("name");
    const auto file = entry.find("file");
    const auto size = entry.find("size");
    const auto sha256 = entry.find("sha256");
    if (slot == entry.end() || !IsSlotNumber(*slot) || name == entry.end() || !name->is_string() ||
        file == entry.end() || !IsPlainFileName(*file) || size == entry.end() ||
        !size->is_number_unsigned() || sha256 == entry.end() || !IsDigest(*sha256))
        return std::nullopt;
    return BackedUpSlot{slot->get<int>(), name->get<std::string>(), file->get<std::string>(),
                        size->get<std::uint64_t>(), sha256->get<std::string>()};
}

}  // namespace

std::string BackupFileName(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "slot-%03d.mix", slot);
    return name;
}

std::string ManifestTime(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(time);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss clock{seconds - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::string ManifestJson(const BackupManifest& manifest) {
    nlohmann::ordered_json json;
    json["format"] = kBackupFormat;
    json["version"] = kBackupVersion;
    json["device"] = manifest.device;
    json["created"] = manifest.created;
    json["slots"] = nlohmann::ordered_json::array();
    for (const BackedUpSlot& slot : manifest.backedUp) {
        json["slots"].push_back({{"slot", slot.slot},
                                 {"name", slot.name},
                                 {"file", slot.file},
                                 {"size", slot.size},
                                 {"sha256", slot.sha256}});
    }
    json["empty"] = manifest.empty;
    if (!manifest.failed.empty())
        json["failed"] = manifest.failed;
    // Keyboards name slots in their own 8-bit text; JSON must stay valid UTF-8.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<BackupManifest> ParseManifest(std::string_view text, std::string& error) {
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        error = "is not JSON";
        return std::nullopt;
    }
    const auto format = json.find("format");
    const auto version = json.find("version");
    if (format == json.end() || *format != kBackupFormat || version == json.end() ||
        *version != kBackupVersion) {
        error = "is not a korvana-backup manifest of version 1";
        return std::nullopt;
    }
    BackupManifest manifest;
    const auto device = json.find("device");
    const auto created = json.find("created");
    const auto slots = json.find("slots");
    if (device == json.end() || !device->is_string() || created == json.end() ||
        !created->is_string() || slots == json.end() || !slots->is_array()) {
        error = "lacks the device, the time or the list of slots";
        return std::nullopt;
    }
    manifest.device = device->get<std::string>();
    manifest.created = created->get<std::string>();
    for (const Json& entry : *slots) {
        std::optional<BackedUpSlot> slot = SlotEntry(entry);
        if (!slot) {
            error =
                "lists a slot without a number from 0 to 255, a name, a plain file name, a "
                "size and a SHA-256";
            return std::nullopt;
        }
        manifest.backedUp.push_back(std::move(*slot));
    }
    std::sort(manifest.backedUp.begin(), manifest.backedUp.end(),
              [](const BackedUpSlot& a, const BackedUpSlot& b) { return a.slot < b.slot; });
    std::optional<std::vector<int>> empty = SlotList(json, "empty");
    std::optional<std::vector<int>> failed = SlotList(json, "failed");
    if (!empty || !failed) {
        error = "lists empty or failed slots that are not numbers from 0 to 255";
        return std::nullopt;
    }
    manifest.empty = std::move(*empty);
    manifest.failed = std::move(*failed);
    std::set<int> seen;
    std::set<std::string> files;
    auto unique = [&seen](int slot) { return seen.insert(slot).second; };
    for (const BackedUpSlot& slot : manifest.backedUp) {
        if (!unique(slot.slot) || !files.insert(slot.file).second) {
            error = "lists slot " + std::to_string(slot.slot) + " or its file twice";
            return std::nullopt;
        }
    }
    for (const std::vector<int>* list : {&manifest.empty, &manifest.failed}) {
        for (int slot : *list) {
            if (!unique(slot)) {
                error = "lists slot " + std::to_string(slot) + " twice";
                return std::nullopt;
            }
        }
    }
    return manifest;
}

}  // namespace korvana
