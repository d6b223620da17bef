// For songs of many shapes, the repaired song is accepted by the keyboard's check and plays every
// note of the original: same key and velocity, start within one tick at 192 per quarter, length
// within two ticks (or cut, as reported), all notes of one channel on one channel, unless the
// channel's drop was reported.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "RandomSongs.h"
#include "common/SafeFile.h"
#include "conversion/CMidiPattern.h"
#include "conversion/CMidiReader.h"
#include "conversion/SongFix.h"

namespace korvana {
namespace {

using test::Bytes;

struct Note {
    double start;  // at 192 per quarter
    int key;
    int velocity;
    std::optional<double> length;  // none when nothing ends the note
};

// The notes of each channel, all tracks together in time order (the lower track first at one
// time), each note-on ended by the next note-off of its key, as the keyboard's check pairs them.
std::map<int, std::vector<Note>> NotesByChannel(const TempFolder& folder, const Bytes& song) {
    test::WriteBytes(folder.Path() / "notes.mid", song);
    CMidiReader reader;
    reader.m_strFileName = (folder.Path() / "notes.mid").string();
    reader.LoadFile();
    EXPECT_EQ(reader.ReadHeader(), CMidiReader::kHeaderOk);
    const double scale = 192.0 / reader.m_nPPQN;
    reader.ReadTracks();
    std::map<int, std::vector<MidiEvent>> byChannel;
    CMidiReader::MergedEvents merged(reader);
    for (MidiEvent event; merged.Next(event);) {
        if (event.byStatus < 0xF0)
            byChannel[event.byStatus & 0x0F].push_back(event);
    }
    std::map<int, std::vector<Note>> notes;
    for (const auto& [channel, events] : byChannel) {
        for (std::size_t i = 0; i < events.size(); ++i) {
            const MidiEvent& on = events[i];
            if ((on.byStatus & 0xF0) != 0x90 || on.byData[1] == 0)
                continue;
            Note note{on.dwTime * scale, on.byData[0], on.byData[1], std::nullopt};
            for (std::size_t j = i + 1; j < events.size(); ++j) {
                const MidiEvent& end = events[j];
                const int kind = end.byStatus & 0xF0;
                if (end.byData[0] == on.byData[0] &&
                    (kind == 0x80 || (kind == 0x90 && end.byData[1] == 0))) {
                    note.length = (end.dwTime - on.dwTime) * scale;
                    break;
                }
            }
            notes[channel].push_back(note);
        }
    }
    return notes;
}

// Whether repaired holds every note of original by the rule above, one for one.
bool PlaysEveryNote(std::vector<Note> original, std::vector<Note> repaired) {
    if (original.size() != repaired.size())
        return false;
    std::vector<bool> used(repaired.size());
    for (const Note& note : original) {
        bool found = false;
        for (std::size_t i = 0; i < repaired.size() && !found; ++i) {
            const Note& candidate = repaired[i];
            if (used[i] || candidate.key != note.key || candidate.velocity != note.velocity ||
                std::abs(candidate.start - note.start) > 1.0 + 1e-9)
                continue;
            if (note.length) {
                const double wanted = std::min(*note.length, double{CMidiPattern::kMaxNoteLength});
                if (*candidate.length > wanted + 2.0 + 1e-9 ||
                    (*note.length <= CMidiPattern::kMaxNoteLength &&
                     *candidate.length < wanted - 2.0 - 1e-9))
                    continue;
            }
            used[i] = found = true;
        }
        if (!found)
            return false;
    }
    return true;
}

bool Reported(const std::vector<std::string>& changes, const std::string& start) {
    return std::any_of(changes.begin(), changes.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

TEST(RepairProperty, EveryRepairedSongIsAcceptedAndPlaysEveryNote) {
    const TempFolder folder;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        const test::RandomSong song = test::MakeRandomSong(seed);
        SCOPED_TRACE("seed " + std::to_string(seed) + ": " + song.shape);
        test::WriteBytes(folder.Path() / "song.mid", song.bytes);
        const SongFix fix = FixSong(folder.Path() / "song.mid");
        ASSERT_TRUE(fix.fixable) << (fix.errors.empty() ? "" : fix.errors.front());

        const auto before = NotesByChannel(folder, song.bytes);
        const auto after = NotesByChannel(folder, fix.bytes);
        std::vector<bool> taken(16);
        std::size_t kept = 0;
        for (const auto& [channel, notes] : before) {
            if (Reported(fix.changes, "Dropped channel " + std::to_string(channel + 1) + " ")) {
                EXPECT_GT(before.size(), 7u) << "channel " << channel + 1 << " dropped";
                continue;
            }
            ++kept;
            bool found = false;
            for (const auto& [target, played] : after) {
                if (!taken[static_cast<std::size_t>(target)] && PlaysEveryNote(notes, played)) {
                    taken[static_cast<std::size_t>(target)] = found = true;
                    break;
                }
            }
            EXPECT_TRUE(found) << "the notes of channel " << channel + 1;
        }
        EXPECT_EQ(kept, after.size());
        EXPECT_EQ(kept, std::min<std::size_t>(before.size(), 7));
    }
}

}  // namespace
}  // namespace korvana
