#pragma once

// The simulated keyboard's song slots: in memory, and when given a folder also on disk, one file
// per filled slot written whole or not at all, so the slots survive a restart.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvana {

class SlotStore {
public:
    SlotStore(int slotCount, std::optional<std::filesystem::path> folder);

    // Reads the filled slots back from the folder (creating it when missing) and removes the
    // temporaries of stores that a killed keyboard left unfinished. A slot file that cannot hold
    // a song (a folder, a pipe, larger than any image) leaves its slot empty, with a line in
    // skipped; false with error only when the folder itself is unusable.
    bool Load(std::string& error, std::vector<std::string>& skipped);

    int Count() const { return static_cast<int>(m_slots.size()); }
    // The slot's song, or null for an empty slot or a number out of range.
    const std::vector<std::uint8_t>* Get(int slot) const;
    bool Put(int slot, std::vector<std::uint8_t> bytes);
    // Put in two steps, so that the slow one can run without holding up readers of the slots:
    // Persist writes the slot's file whole (nothing without a folder) and touches no slot; Keep
    // then fills the slot in memory.
    bool Persist(int slot, std::span<const std::uint8_t> bytes) const;
    void Keep(int slot, std::vector<std::uint8_t> bytes);
    bool Erase(int slot);
    // Bytes held by every slot but the given one.
    std::uint64_t UsedExcept(int slot) const;

    // A filled slot's name, derived from its bytes alone so that the same song always gets the
    // same name: "Song-" and eight hexadecimal digits.
    static std::string NameOf(std::span<const std::uint8_t> bytes);

    std::filesystem::path SlotFile(int slot) const;

private:
    void RemoveStaleTemporaries() const;

    std::vector<std::optional<std::vector<std::uint8_t>>> m_slots;
    std::optional<std::filesystem::path> m_folder;
};

}  // namespace korvana
