#include "simulator/SlotStore.h"

#include <cstdio>
#include <system_error>

#include "common/SafeFile.h"
#include "device/TransferLimits.h"

namespace korvana {
namespace fs = std::filesystem;

SlotStore::SlotStore(int slotCount, std::optional<fs::path> folder)
    : m_slots(static_cast<std::size_t>(slotCount)), m_folder(std::move(folder)) {}

fs::path SlotStore::SlotFile(int slot) const {
    char name[32];
    std::snprintf(name, sizeof name, "slot-%03d.bin", slot);
    return m_folder ? *m_folder / name : fs::path(name);
}

bool SlotStore::Load(std::string& error, std::vector<std::string>& skipped) {
    if (!m_folder)
        return true;
    std::error_code ec;
    fs::create_directories(*m_folder, ec);
    if (!fs::is_directory(*m_folder, ec)) {
        error = "cannot use the store folder " + m_folder->string();
        return false;
    }
    RemoveStaleTemporaries();
    for (int slot = 0; slot < Count(); ++slot) {
        const fs::path file = SlotFile(slot);
        const fs::file_status status = fs::symlink_status(file, ec);
        if (status.type() == fs::file_type::not_found)
            continue;
        // Only a regular file is opened: a folder or a pipe would fail or block the start.
        if (status.type() != fs::file_type::regular) {
            skipped.push_back("skipped " + file.string() + ": not a regular file");
            continue;
        }
        if (fs::file_size(file, ec) > kMaxImageSize || ec) {
            skipped.push_back("skipped " + file.string() + ": larger than any song");
            continue;
        }
        std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file);
        if (!bytes) {
            skipped.push_back("skipped " + file.string() + ": cannot be read");
            continue;
        }
        m_slots[static_cast<std::size_t>(slot)] = std::move(*bytes);
    }
    return true;
}

void SlotStore::RemoveStaleTemporaries() const {
    // Named ".slot-NNN.bin.part-..." by the atomic write; only a keyboard killed mid-store
    // leaves one behind, and this store has no other keyboard.
    std::error_code ec;
    for (fs::directory_iterator it(*m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(".slot-") && name.find(".bin.part-") != std::string::npos &&
            it->is_regular_file(ec))
            fs::remove(it->path(), ec);
    }
}

const std::vector<std::uint8_t>* SlotStore::Get(int slot) const {
    if (slot < 0 || slot >= Count() || !m_slots[static_cast<std::size_t>(slot)])
        return nullptr;
    return &*m_slots[static_cast<std::size_t>(slot)];
}

bool SlotStore::Put(int slot, std::vector<std::uint8_t> bytes) {
    if (!Persist(slot, bytes))
        return false;
    Keep(slot, std::move(bytes));
    return true;
}

bool SlotStore::Persist(int slot, std::span<const std::uint8_t> bytes) const {
    if (slot < 0 || slot >= Count())
        return false;
    return !m_folder || WriteFileAtomically(SlotFile(slot), bytes);
}

void SlotStore::Keep(int slot, std::vector<std::uint8_t> bytes) {
    if (slot >= 0 && slot < Count())
        m_slots[static_cast<std::size_t>(slot)] = std::move(bytes);
}

bool SlotStore::Erase(int slot) {
    if (slot < 0 || slot >= Count())
        return false;
    if (m_folder) {
        std::error_code ec;
        fs::remove(SlotFile(slot), ec);
        if (ec)
            return false;
    }
    m_slots[static_cast<std::size_t>(slot)].reset();
    return true;
}

std::uint64_t SlotStore::UsedExcept(int slot) const {
    std::uint64_t used = 0;
    for (int i = 0; i < Count(); ++i) {
        if (i != slot && m_slots[static_cast<std::size_t>(i)])
            used += m_slots[static_cast<std::size_t>(i)]->size();
    }
    return used;
}

std::string SlotStore::NameOf(std::span<const std::uint8_t> bytes) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 16777619u;
    }
    char name[16];
    std::snprintf(name, sizeof name, "Song-%08X", hash);
    return name;
}

}  // namespace korvana
