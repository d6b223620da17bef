// The slot list's keyboard entries: "Verify after sending" remembered, "Back Up Keyboard…" (its
// parent folder chosen in the folder dialog) and "Restore Backup…" round trip with the window's
// commands greyed meanwhile, and a damaged backup refused before anything is sent.

#include <QDateTime>
#include <QFileDialog>
#include <QSettings>

#include "KeyboardWindowFixture.h"
#include "SongImage.h"
#include "controls/CGdipButton.h"
#include "controls/CXProgressCtrl.h"
#include "shell/WindowSettings.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

class BackupMenu : public KeyboardWindow {
protected:
    void SetUp() override {
        KeyboardWindow::SetUp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        ConnectToKeyboard(KeyboardOf(4), {{1, SongImage(300, 1)}, {3, SongImage(1100, 3)}});
        ASSERT_TRUE(QDir().mkpath(m_backups));
    }
    // The one backup folder made so far.
    QString Backup() {
        const QStringList made = Entries(m_backups);
        return made.size() == 1 ? m_backups + made.front() : QString();
    }
    const std::vector<std::uint8_t>* Stored(int slot) { return m_keyboard->Store().Get(slot); }

    const QString m_backups = m_dir.path() + QStringLiteral("/backups/");
};

TEST_F(BackupMenu, TheSlotListOffersTheKeyboardsEntries) {
    QStringList entries;
    for (const QAction* action : Slots().m_wndDevList->KeyboardActions()) {
        entries.push_back(action->text());
    }
    EXPECT_EQ(entries, QStringList({"Verify after sending", "Back Up Keyboard\u2026",
                                    "Restore Backup\u2026"}));
}

TEST_F(BackupMenu, BackUpWipeRestoreWithTheCommandsGreyedMeanwhile) {
    std::vector<bool> enabled;
    QObject::connect(Transfer().m_progress, &QProgressBar::valueChanged, [&] {
        enabled.push_back(Bar().m_btnConnect->isEnabled() || Bar().m_btnRefresh->isEnabled() ||
                          Transfer().m_btnSend->isEnabled() || Slots().m_wndDevList->isEnabled() ||
                          Transfer().actions().front()->isEnabled());
    });
    Transfer().BackUpInto(m_backups);
    const QString backup = Backup();
    ASSERT_TRUE(QFileInfo(backup).fileName().startsWith("Korvana backup "));
    EXPECT_EQ(m_prompt.m_texts, Texts({"Backed up 2 slots into " + backup.toStdString() + "."}));
    ASSERT_FALSE(enabled.empty());
    EXPECT_EQ(std::count(enabled.begin(), enabled.end(), true), 0);
    EXPECT_TRUE(Bar().m_btnConnect->isEnabled() && Slots().m_wndDevList->isEnabled() &&
                Transfer().m_btnSend->isEnabled());

    const std::vector<std::uint8_t> one = *Stored(1);
    const std::vector<std::uint8_t> three = *Stored(3);
    ASSERT_TRUE(m_keyboard->Store().Erase(1));
    ASSERT_TRUE(m_keyboard->Store().Put(3, SongImage(200, 9)));
    Slots().Refresh();
    m_prompt.m_texts.clear();
    m_prompt.Script({PromptAnswer::Yes});
    Transfer().RestoreFrom(backup);
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Restore 2 songs from the backup into the keyboard?\nThese slots will be "
                     "overwritten: 3 " +
                         SlotStore::NameOf(SongImage(200, 9)) + ".",
                     "Restored slots 1 and 3."}));
    ASSERT_NE(Stored(1), nullptr);
    EXPECT_EQ(*Stored(1), one);
    EXPECT_EQ(*Stored(3), three);
    EXPECT_EQ(Column(*Slots().m_wndDevList)[1], QString::fromStdString(SlotName(1)));
}

TEST_F(BackupMenu, BackUpKeyboardAsksForTheParentFolderThroughTheFolderDialog) {
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->setDirectory(m_backups);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog keeps its override protected
    });
    auto minute = [] {
        return QStringLiteral("Korvana backup ") +
               QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmm"));
    };
    const QString before = minute();
    Slots().m_wndDevList->KeyboardActions().at(1)->trigger();
    const QString made = QFileInfo(Backup()).fileName();
    EXPECT_TRUE(made == before || made == minute()) << made.toStdString();
    EXPECT_EQ(Entries(Backup()), QStringList({"backup.json", "slot-001.mix", "slot-003.mix"}));
}

TEST_F(BackupMenu, ADamagedBackupIsNamedAndNothingIsSentOrAsked) {
    Transfer().BackUpInto(m_backups);
    const QString image = Backup() + "/slot-003.mix";
    QByteArray bytes = ReadBytes(image);
    bytes[400] = static_cast<char>(bytes[400] ^ 1);
    ASSERT_TRUE(WriteBytes(image, bytes));
    ASSERT_TRUE(m_keyboard->Store().Erase(1));
    m_prompt.m_texts.clear();
    Transfer().RestoreFrom(Backup());
    EXPECT_EQ(
        m_prompt.m_texts,
        Texts({image.toStdString() + ": SHA-256 differs from the manifest's. Nothing was sent."}));
    EXPECT_EQ(Stored(1), nullptr);
}

TEST_F(BackupMenu, VerifyAfterSendingIsRememberedAndFindsAByteStoredWrong) {
    EXPECT_FALSE(Slots().m_wndDevList->m_verifyAction->isChecked());
    Slots().m_wndDevList->m_verifyAction->setChecked(true);
    EXPECT_TRUE(WindowSettings::LoadVerifyAfterSending());
    EXPECT_TRUE(DevListCtrl().m_verifyAction->isChecked()) << "a new window starts with it on";

    const std::vector<std::uint8_t> image = SongImage(700, 5);
    ASSERT_TRUE(WriteBytes(m_repository + "Bossa.mix",
                           QByteArray(reinterpret_cast<const char*>(image.data()),
                                      static_cast<qsizetype>(image.size()))));
    Repository().RefreshRepository();
    SelectSongs({"Bossa.mix"});
    SelectSlots({0});
    SimulatorFaults faults;
    faults.flipStoredByte = 500;
    m_keyboard->Simulator().SetFaults(faults);
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts,
              Texts({"Bossa.mix  Download error! Slot 0: verify failed at byte 500."}));
    WindowSettings::SaveVerifyAfterSending(false);
}

}  // namespace
}  // namespace korvana::test
