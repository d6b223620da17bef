// Backups and restores of the in-process simulated keyboard, and the verify that reads a slot
// back after sending it.

#include <gtest/gtest.h>

#include <fstream>

#include "SimulatorFixture.h"
#include "SongImage.h"
#include "common/SafeFile.h"
#include "common/Sha256.h"
#include "device/KeyboardBackup.h"
#include "device/KeyboardRestore.h"
#include "device/SongImageTransfer.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class BackupRestoreTest : public SimulatorFixture {
protected:
    // Songs in slots 0, 3 and 15 (the highest) of 16, of sizes that fill no block evenly.
    void Fill() {
        for (const auto& [slot, size] : {std::pair{0, 300}, {3, 1025}, {15, 4001}})
            ASSERT_TRUE(Store().Put(slot, SongImage(size, static_cast<std::uint8_t>(slot + 1))));
    }
    std::vector<std::optional<Bytes>> Slots() {
        std::vector<std::optional<Bytes>> slots;
        for (int slot = 0; slot < Store().Count(); ++slot) {
            const Bytes* bytes = Store().Get(slot);
            slots.push_back(bytes ? std::optional(*bytes) : std::nullopt);
        }
        return slots;
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_backup))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    LoadedBackup Load() {
        std::string error;
        std::optional<LoadedBackup> backup = LoadBackup(m_backup, error);
        EXPECT_TRUE(backup) << error;
        return backup.value_or(LoadedBackup{});
    }

    TempFolder m_folder;
    const fs::path m_backup = m_folder.Path() / "backup";
};

TEST_F(BackupRestoreTest, BackupWipeRestoreGivesTheSameSlotsByteForByte) {
    Fill();
    const auto before = Slots();
    std::vector<SlotProgress> steps;
    const BackupOutcome outcome = BackupKeyboard(
        m_link, m_backup, "Korvana Keyboard", [&](const SlotProgress& p) { steps.push_back(p); });
    ASSERT_TRUE(outcome.Complete()) << outcome.error;
    EXPECT_EQ(Entries(), (std::vector<std::string>{"backup.json", "slot-000.mix", "slot-003.mix",
                                                   "slot-015.mix"}));
    EXPECT_EQ(ReadWholeFile(m_backup / "slot-015.mix"), before[15]);
    const BackupManifest& manifest = outcome.manifest;
    EXPECT_EQ(manifest.device, "Korvana Keyboard");
    ASSERT_EQ(manifest.backedUp.size(), 3u);
    EXPECT_EQ(manifest.backedUp[1].slot, 3);
    EXPECT_EQ(manifest.backedUp[1].name, SlotStore::NameOf(*before[3]));
    EXPECT_EQ(manifest.backedUp[1].size, 82u + 1025u);
    EXPECT_EQ(manifest.backedUp[1].sha256, Sha256Hex(*before[3]));
    EXPECT_EQ(manifest.empty.size(), 13u);
    EXPECT_TRUE(manifest.failed.empty());
    EXPECT_EQ(ReadWholeFile(m_backup / "backup.json"), [&] {
        const std::string json = ManifestJson(manifest);
        return Bytes(json.begin(), json.end());
    }());
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().index, 3u);
    EXPECT_EQ(steps.back().count, 3u);
    EXPECT_EQ(steps.back().bytesDone, 82u + 4001u);

    Attach();                                        // a wiped keyboard
    ASSERT_TRUE(Store().Put(7, SongImage(500, 9)));  // listed empty in the backup
    const RestoreOutcome restored =
        RestoreBackup(m_link, Load(), {.exact = true, .verify = true}, {});
    EXPECT_EQ(restored.restored, (std::vector<int>{0, 3, 15}));
    EXPECT_TRUE(restored.failed.empty());
    EXPECT_EQ(restored.deleted, std::vector<int>{7});
    EXPECT_EQ(Slots(), before);
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(BackupRestoreTest, AFolderThatHoldsAnythingIsRefused) {
    EXPECT_EQ(BackupFolderProblem(m_backup), std::nullopt);
    fs::create_directory(m_backup);
    EXPECT_EQ(BackupFolderProblem(m_backup), std::nullopt);
    std::ofstream(m_backup / ".hidden") << "x";
    EXPECT_EQ(BackupFolderProblem(m_backup), "is not empty");
    EXPECT_EQ(BackupFolderProblem(m_backup / ".hidden"), "is not a folder");
}

TEST_F(BackupRestoreTest, ASlotThatCannotBeFetchedLeavesNoFileAndTheOthersAreStillFetched) {
    Fill();
    SimulatorFaults faults;
    faults.refuseReadOfSlot = 3;
    Simulator().SetFaults(faults);
    const BackupOutcome outcome = BackupKeyboard(m_link, m_backup, "K", {});
    EXPECT_TRUE(outcome.error.empty());
    EXPECT_FALSE(outcome.Complete());
    EXPECT_EQ(outcome.failures, (std::vector<SlotFailure>{{3, "Upload error!"}}));
    EXPECT_EQ(outcome.manifest.failed, std::vector<int>{3});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"backup.json", "slot-000.mix", "slot-015.mix"}));
    // What was fetched restores; the failed slot is not claimed.
    EXPECT_EQ(Load().images.size(), 2u);
}

TEST_F(BackupRestoreTest, ADamagedBackupIsRefusedBeforeAnythingIsSent) {
    Fill();
    ASSERT_TRUE(BackupKeyboard(m_link, m_backup, "K", {}).Complete());
    const Bytes good = *ReadWholeFile(m_backup / "slot-003.mix");
    const Bytes manifest = *ReadWholeFile(m_backup / "backup.json");
    Bytes flipped = good;
    flipped[500] ^= 0x01;
    Bytes cut = good;
    cut.pop_back();
    struct Case {
        const char* what;
        fs::path file;
        std::optional<Bytes> bytes;  // nothing: removed
        std::string named;           // the file the error names
    };
    const std::vector<Case> cases = {
        {"a flipped byte", "slot-003.mix", flipped, "slot-003.mix: SHA-256 differs"},
        {"one byte short", "slot-003.mix", cut, "slot-003.mix: 1106 bytes, the manifest says 1107"},
        {"a missing file", "slot-003.mix", std::nullopt, "slot-003.mix: missing"},
        {"no manifest", "backup.json", std::nullopt, "backup.json: missing"},
        {"another format", "backup.json", Bytes{'{', '}'}, "backup.json: is not a korvana-backup"},
    };
    Attach();
    const std::size_t messages = Simulator().MessagesReceived();
    for (const Case& c : cases) {
        const fs::path path = m_backup / c.file;
        const Bytes original = *ReadWholeFile(path);
        if (c.bytes)
            ASSERT_TRUE(WriteFileAtomically(path, *c.bytes));
        else
            fs::remove(path);
        std::string error;
        EXPECT_FALSE(LoadBackup(m_backup, error)) << c.what;
        EXPECT_NE(error.find(c.named), std::string::npos) << c.what << ": " << error;
        ASSERT_TRUE(WriteFileAtomically(path, original));
    }
    EXPECT_EQ(Simulator().MessagesReceived(), messages);
    EXPECT_EQ(Load().images.size(), 3u);
}

TEST_F(BackupRestoreTest, ACapacityRefusalIsReportedForItsSlotAndTheOthersStillGo) {
    Fill();
    ASSERT_TRUE(BackupKeyboard(m_link, m_backup, "K", {}).Complete());
    SimulatorOptions small;
    small.capacity = 82 + 1025 + 82 + 300;  // slots 0 and 3 fit, 15 does not
    Attach(small);
    const RestoreOutcome outcome = RestoreBackup(m_link, Load(), {}, {});
    EXPECT_EQ(outcome.restored, (std::vector<int>{0, 3}));
    EXPECT_EQ(outcome.failed, (std::vector<SlotFailure>{{15, "Capacity is not allowed!"}}));
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(BackupRestoreTest, VerifyFindsAByteTheKeyboardStoredWrong) {
    const Bytes image = SongImage(2000, 3);
    SimulatorFaults faults;
    faults.flipStoredByte = 1500;
    Simulator().SetFaults(faults);
    const ImageSendResult result = SendSongImage(m_link, image, 15, true);
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.error, "verify failed at byte 1500");

    Simulator().SetFaults(faults);
    EXPECT_TRUE(SendSongImage(m_link, image, 2, false).Ok());  // unverified, the damage goes unseen
    EXPECT_NE(*Store().Get(2), image);
    EXPECT_TRUE(SendSongImage(m_link, image, 2, true).Ok());
}

// A stop asked for, or the ports closing, halfway through slot 3: its fetch ends after the
// block under way, and slot 15 is not asked for at all.
TEST_F(BackupRestoreTest, AnInterruptedBackupEndsAfterTheCurrentBlock) {
    const struct {
        const char* what;
        void (*interrupt)(CMidiTrans&);
        Interruption expected;
        const char* reason;
    } cases[] = {
        {"stop", [](CMidiTrans& link) { link.RequestStop(); }, Interruption::Stopped, "stopped"},
        {"port gone", [](CMidiTrans& link) { link.Disconnect(); }, Interruption::KeyboardGone,
         "Upload error!"},
    };
    for (const auto& c : cases) {
        Attach();
        Fill();
        std::size_t furthest = 0;
        int lastSlot = 0;
        const BackupOutcome outcome =
            BackupKeyboard(m_link, m_backup / c.what, "K", [&](const SlotProgress& p) {
                lastSlot = p.slot;
                furthest = std::max(furthest, p.slot == 3 ? p.bytesDone : 0);
                if (p.slot == 3 && p.bytesDone == kBlockSize)
                    c.interrupt(m_link);
            });
        EXPECT_EQ(outcome.interruption, c.expected) << c.what;
        EXPECT_EQ(outcome.failures, (std::vector<SlotFailure>{{3, c.reason}, {15, "not fetched"}}))
            << c.what;
        EXPECT_EQ(furthest, kBlockSize) << c.what;
        EXPECT_EQ(lastSlot, 3) << c.what;
        m_link.ClearStop();
    }
}

TEST_F(BackupRestoreTest, AStoppedRestoreLeavesTheSlotUnderWayAsItWas) {
    Fill();
    const auto before = Slots();
    ASSERT_TRUE(BackupKeyboard(m_link, m_backup, "K", {}).Complete());
    ASSERT_TRUE(Store().Erase(0));
    ASSERT_TRUE(Store().Put(3, SongImage(1500, 9)));
    const Bytes kept = *Store().Get(3);
    const RestoreOutcome outcome = RestoreBackup(m_link, Load(), {}, [&](const SlotProgress& p) {
        if (p.slot == 3 && p.bytesDone >= 230)
            m_link.RequestStop();
    });
    EXPECT_EQ(outcome.interruption, Interruption::Stopped);
    EXPECT_EQ(outcome.restored, std::vector<int>{0});
    EXPECT_EQ(outcome.failed, (std::vector<SlotFailure>{{3, "stopped"}, {15, "not sent"}}));
    EXPECT_EQ(Store().Get(0) ? *Store().Get(0) : Bytes{}, before[0]);
    EXPECT_EQ(*Store().Get(3), kept);
    EXPECT_TRUE(SendSongImage(m_link, kept, 4, false).error == "Download error!")
        << "a stop holds until cleared";
    m_link.ClearStop();
    EXPECT_TRUE(SendSongImage(m_link, kept, 4, false).Ok());
}

TEST(ReadBackDifference, OffsetOrLengths) {
    const Bytes sent = {1, 2, 3, 4};
    EXPECT_EQ(ReadBackDifference(sent, sent), std::nullopt);
    EXPECT_EQ(ReadBackDifference(sent, Bytes{1, 2, 3, 5}), "verify failed at byte 3");
    EXPECT_EQ(ReadBackDifference(sent, Bytes{0, 2, 3, 4}), "verify failed at byte 0");
    EXPECT_EQ(ReadBackDifference(sent, Bytes{1, 2, 3}), "verify failed: length 3, sent 4");
}

}  // namespace
}  // namespace korvana::test
