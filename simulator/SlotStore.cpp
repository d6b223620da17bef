#include "SlotStore.h"

#include <cstdio>
#include <system_error>

#include "SafeFile.h"

namespace korvana {
namespace fs = std::filesystem;

SlotStore::SlotStore(int slotCount, std::optional<fs::path> folder)
    : m_slots(static_cast<std::size_t>(slotCount)), m_folder(std::move(folder)) {}

fs::path SlotStore::SlotFile(int slot) const {
    char name[32];
    std::snprintf(name, sizeof name, "slot-%03d.bin", slot);
    return m_folder ? *m_folder / name : fs::path(name);
}

bool SlotStore::Load(std::string& error) {
    if (!m_folder)
        return true;
    std::error_code ec;
    fs::create_directories(*m_folder, ec);
    if (!fs::is_directory(*m_folder, ec)) {
        error = "cannot use the store folder " + m_folder->string();
        return false;
    }
    for (int slot = 0; slot < Count(); ++slot) {
        const fs::path file = SlotFile(slot);
        if (!fs::exists(file, ec))
            continue;
        std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file);
        if (!bytes) {
            error = "cannot read " + file.string();
            return false;
        }
        m_slots[static_cast<std::size_t>(slot)] = std::move(*bytes);
    }
    return true;
}

const std::vector<std::uint8_t>* SlotStore::Get(int slot) const {
    if (slot < 0 || slot >= Count() || !m_slots[static_cast<std::size_t>(slot)])
        return nullptr;
    return &*m_slots[static_cast<std::size_t>(slot)];
}

bool SlotStore::Put(int slot, std::vector<std::uint8_t> bytes) {
    if (slot < 0 || slot >= Count())
        return false;
    if (m_folder && !WriteFileAtomically(SlotFile(slot), bytes))
        return false;
    m_slots[static_cast<std::size_t>(slot)] = std::move(bytes);
    return true;
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
