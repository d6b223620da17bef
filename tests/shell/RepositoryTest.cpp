#include <gtest/gtest.h>

#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "ShellTestSupport.h"
#include "common/RecordingPrompt.h"
#include "controls/CCJFlatHeaderCtrl.h"
#include "shell/AppFolder.h"
#include "shell/CTopRightView.h"
#include "shell/FileDeletion.h"
#include "shell/RepListCtrl.h"

namespace korvana {
namespace {

const SongCheck kAcceptAll = [](const QString&) { return SongVerdict{true, {}, {}}; };

class Repository : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + QStringLiteral("/Repository/");
        ASSERT_TRUE(QDir().mkpath(m_folder));
    }

    CTopRightView& View() {
        if (!m_view) {
            m_view = std::make_unique<CTopRightView>(m_folder);
            m_view->m_songCheck = kAcceptAll;
        }
        return *m_view;
    }

    QString Outside(const QString& relative) {
        const QString path = m_dir.path() + QStringLiteral("/outside/") + relative;
        QDir().mkpath(QFileInfo(path).path());
        return path;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    std::unique_ptr<CTopRightView> m_view;
    RecordingPrompt m_prompt;
    ScopedPrompt m_scoped{m_prompt};
};

TEST_F(Repository, ListsMidiFilesInAnyCaseInNameOrderWithTheirColumns) {
    for (const char* name : {"b.mid", "A.MID", "c.Mid", "notes.txt", "d.midi"}) {
        ASSERT_TRUE(test::WriteBytes(m_folder + name, "data"));
    }
    ASSERT_TRUE(test::WriteBytes(m_folder + "x.mid", {}));
    ASSERT_TRUE(QDir(m_folder).mkdir("folder.mid"));
    const RepListCtrl& list = *View().List();
    EXPECT_EQ(test::Column(list), QStringList({"A.MID", "b.mid", "c.Mid", "x.mid"}));
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Repository"));
    EXPECT_EQ(list.GetItemText(3, 1), QString());
    EXPECT_EQ(list.GetItemText(3, 2), QString()) << "an empty file shows no size";
    EXPECT_EQ(list.GetItemText(0, 2), QStringLiteral("1KB"));
}

TEST_F(Repository, HeaderClicksSortTheSongsAndTheSortOutlivesARebuild) {
    ASSERT_TRUE(test::WriteBytes(m_folder + "b.mid", QByteArray(5000, 'b')));
    ASSERT_TRUE(test::WriteBytes(m_folder + "A.mid", QByteArray(10, 'a')));
    ASSERT_TRUE(test::WriteBytes(m_folder + "c.mid", QByteArray(2500, 'c')));
    RepListCtrl& list = *View().List();
    EXPECT_EQ(test::Column(list), QStringList({"A.mid", "b.mid", "c.mid"}));
    list.OnHeaderItemClick(0);
    EXPECT_FALSE(list.GetFlatHeader()->IsSortAscending());
    EXPECT_EQ(test::Column(list), QStringList({"c.mid", "b.mid", "A.mid"}));
    list.OnHeaderItemClick(2);
    EXPECT_EQ(test::Column(list), QStringList({"A.mid", "c.mid", "b.mid"})) << "sizes as numbers";
    ASSERT_TRUE(test::WriteBytes(m_folder + "d.mid", QByteArray(3500, 'd')));
    View().RefreshRepository();
    EXPECT_EQ(test::Column(list), QStringList({"A.mid", "c.mid", "d.mid", "b.mid"}));
}

TEST_F(Repository, DropTakesMidiFilesFromTheirOwnPathsUnderCapitalNames) {
    const QString a = Outside("one/a.mid");
    const QString b = Outside("one/b.txt");
    const QString c = Outside("one/C.MID");
    const QString d = Outside("two/deep/d.Mid");
    ASSERT_TRUE(test::WriteBytes(a, "song a"));
    ASSERT_TRUE(test::WriteBytes(b, "text"));
    ASSERT_TRUE(test::WriteBytes(c, "song c"));
    ASSERT_TRUE(test::WriteBytes(d, "song d"));
    View().OnRepositoryDrop({a, b, c, d});
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_EQ(test::Entries(m_folder), QStringList({"A.MID", "C.MID", "D.MID"}));
    EXPECT_EQ(test::ReadBytes(m_folder + "A.MID"), QByteArray("song a"));
    EXPECT_EQ(test::ReadBytes(m_folder + "D.MID"), QByteArray("song d"));
    EXPECT_EQ(test::Column(*View().List()), QStringList({"A.MID", "C.MID", "D.MID"}));
}

TEST_F(Repository, DropReadsTheFileOfItsExactNameWhenOthersDifferOnlyInCase) {
    const QString lower = Outside("same/a.mid");
    const QString upper = Outside("same/A.MID");
    ASSERT_TRUE(test::WriteBytes(lower, "lower"));
    ASSERT_TRUE(test::WriteBytes(upper, "upper"));
    View().OnRepositoryDrop({lower});
    EXPECT_EQ(test::ReadBytes(m_folder + "A.MID"), QByteArray("lower"));
}

TEST_F(Repository, DropOfTheSameNameFromTwoFoldersAsksBeforeOverwriting) {
    const QString first = Outside("x/song.mid");
    const QString second = Outside("y/SONG.mid");
    ASSERT_TRUE(test::WriteBytes(first, "first"));
    ASSERT_TRUE(test::WriteBytes(second, "second"));
    m_prompt.Script({PromptAnswer::No});
    View().OnRepositoryDrop({first, second});
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>({"Overwrite?  SONG.MID"}));
    EXPECT_EQ(test::ReadBytes(m_folder + "SONG.MID"), QByteArray("first"));
}

TEST_F(Repository, DropOfARefusedSongNamesItAndCopiesNothing) {
    const QString song = Outside("refused.mid");
    ASSERT_TRUE(test::WriteBytes(song, test::MidiSong("x")));
    View().m_songCheck = [](const QString&) { return SongVerdict{false, {}, {}}; };
    View().OnRepositoryDrop({song});
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>({"REFUSED.MID:  File is not supported!"}));
    EXPECT_TRUE(test::Entries(m_folder).isEmpty());
    EXPECT_EQ(test::Entries(QFileInfo(song).path()), QStringList({"refused.mid"}));
}

TEST_F(Repository, ARefusedSongThatCanBeRepairedIsOfferedFixAndAddAndOnlyTheRepairEntersIt) {
    const QString song = Outside("slow.mid");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVANA_SAMPLES_DIR "/refused-ppqn-480.mid"), song));
    const QByteArray original = test::ReadBytes(song);
    View().m_songCheck = CheckWithConverter;
    for (const PromptAnswer answer : {PromptAnswer::Ok, PromptAnswer::FixAndAdd}) {
        m_prompt = RecordingPrompt();
        m_prompt.Script({answer});
        View().OnRepositoryDrop({song});
        ASSERT_FALSE(m_prompt.m_texts.empty());
        const std::string& offer = m_prompt.m_texts.back();
        EXPECT_TRUE(m_prompt.m_questions.back());
        EXPECT_EQ(offer.rfind("SLOW.MID:  File is not supported!\n\n", 0), 0u) << offer;
        EXPECT_NE(offer.find("\n- Rescaled every time from 480 to 192 ticks per quarter note"),
                  std::string::npos)
            << offer;
        EXPECT_EQ(test::ReadBytes(song), original) << "the user's file is never touched";
    }
    EXPECT_EQ(test::Column(*View().List()), QStringList({"SLOW.MID"}));
    const QByteArray stored = test::ReadBytes(m_folder + "SLOW.MID");
    EXPECT_NE(stored, original);
    EXPECT_TRUE(CheckWithConverter(m_folder + "SLOW.MID").bAccepted);
}

TEST_F(Repository, SeveralRefusedSongsAreOfferedFixAndAddTogetherEachWithItsChanges) {
    QStringList dropped;
    for (const char* name : {"pop-8beat.mid", "refused-cut-short.mid", "refused-no-tempo.mid",
                             "refused-mixed-channels.mid"}) {
        dropped.push_back(Outside(QStringLiteral("many/") + name));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KORVANA_SAMPLES_DIR "/") + name, dropped.back()));
    }
    const QString own = QFileInfo(dropped.back()).path();
    View().m_songCheck = CheckWithConverter;
    // The second drop finds POP-8BEAT.MID stored and keeps it.
    for (const PromptAnswer answer : {PromptAnswer::Ok, PromptAnswer::FixAndAdd}) {
        const bool first = answer == PromptAnswer::Ok;
        m_prompt = RecordingPrompt();
        m_prompt.Script(first ? std::initializer_list<PromptAnswer>{answer}
                              : std::initializer_list<PromptAnswer>{PromptAnswer::No, answer});
        View().OnRepositoryDrop(dropped);
        ASSERT_EQ(m_prompt.m_texts.size(), first ? 1u : 2u);
        const std::string& offer = m_prompt.m_texts.back();
        EXPECT_EQ(offer.rfind(first ? "Added 1 of 4 files. Not supported:\n\nREFUSED-CUT-SHORT.MID"
                                    : "Added 0 of 4 files. Not supported:\n\nREFUSED-CUT-SHORT.MID",
                              0),
                  0u)
            << offer;
        EXPECT_TRUE(m_prompt.m_questions.back());
        EXPECT_NE(offer.find("\n\nKorvana can repair 2 of them. Fix and Add puts the repaired "
                             "songs into the repository under their names; your own files stay "
                             "as they are. The repairs:\n\nREFUSED-NO-TEMPO.MID\n- Inserted the "
                             "tempo 120 BPM into track 0: the song had none.\n\n"
                             "REFUSED-MIXED-CHANNELS.MID\n- Split track 1 into one track per "
                             "channel: channels 10 and 11."),
                  std::string::npos)
            << offer;
        EXPECT_EQ(test::Column(*View().List()).size(), first ? 1 : 3);
    }
    EXPECT_EQ(test::Column(*View().List()),
              QStringList({"POP-8BEAT.MID", "REFUSED-MIXED-CHANNELS.MID", "REFUSED-NO-TEMPO.MID"}));
    for (const QString& stored : test::Entries(m_folder)) {
        EXPECT_TRUE(CheckWithConverter(m_folder + stored).bAccepted) << stored.toStdString();
    }
    for (const QString& song : dropped) {
        EXPECT_EQ(test::ReadBytes(song), test::ReadBytes(QStringLiteral(KORVANA_SAMPLES_DIR "/") +
                                                         QFileInfo(song).fileName()));
    }
    EXPECT_EQ(test::Entries(own).size(), 4) << "nothing is written beside the user's files";
}

TEST_F(Repository, DropOfOnlyOtherFilesDoesNothing) {
    const QString text = Outside("readme.txt");
    ASSERT_TRUE(test::WriteBytes(text, "text"));
    ASSERT_TRUE(test::WriteBytes(m_folder + "before.mid", "x"));
    View();
    ASSERT_TRUE(test::WriteBytes(m_folder + "later.mid", "x"));
    View().OnRepositoryDrop({text});
    EXPECT_EQ(test::Column(*View().List()), QStringList({"before.mid"})) << "not even rebuilt";
}

TEST_F(Repository, DroppedUrlsReachTheViewAfterTheDropReturns) {
    const QString song = Outside("dropped.mid");
    ASSERT_TRUE(test::WriteBytes(song, "x"));
    RepListCtrl& list = *View().List();
    QSignalSpy dropped(&list, &RepListCtrl::filesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(song), QUrl(QStringLiteral("https://example.org/a.mid"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    EXPECT_EQ(dropped.count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), QStringList({song}));
    EXPECT_EQ(test::Column(list), QStringList({"DROPPED.MID"}));
}

TEST_F(Repository, DeleteNamesTheFilesMovesThemToTheTrashAndAlwaysRebuilds) {
    const test::PrivateTrash trash(m_dir.path());
    QStringList names;
    for (char letter = 'a'; letter <= 'l'; ++letter) {
        names.push_back(QStringLiteral("%1.mid").arg(letter));
        ASSERT_TRUE(test::WriteBytes(m_folder + names.back(), "x"));
    }
    RepListCtrl& list = *View().List();
    auto selectAllButB = [&list] {
        list.selectAll();
        list.SetRowSelected(1, false);
    };
    selectAllButB();
    ASSERT_TRUE(test::WriteBytes(m_folder + "m.mid", "x"));
    m_prompt.Script({PromptAnswer::No});
    list.OnDeleteFiles();
    ASSERT_EQ(m_prompt.m_texts.size(), 1u);
    EXPECT_EQ(m_prompt.m_texts[0],
              "Delete files?\n\na.mid\nc.mid\nd.mid\ne.mid\nf.mid\ng.mid\nh.mid\ni.mid\nj.mid\n"
              "k.mid\nand 1 more\n\nThey are moved to the trash.");
    EXPECT_EQ(list.GetItemCount(), 13) << "rebuilt after No as well";

    selectAllButB();
    list.SetRowSelected(12, false);
    m_prompt.Script({PromptAnswer::Yes});
    list.OnDeleteFiles();
    EXPECT_EQ(test::Entries(m_folder), QStringList({"b.mid", "m.mid"}));
    EXPECT_EQ(test::Column(list), QStringList({"b.mid", "m.mid"}));
    names.removeAt(1);
    EXPECT_EQ(trash.Files(), names);

    list.clearSelection();
    list.OnDeleteFiles();
    EXPECT_EQ(m_prompt.m_texts.size(), 2u) << "nothing selected, nothing asked";
}

TEST_F(Repository, AnUnusableTrashLosesNothingAndAsksBeforeDeletingForGood) {
    const test::PrivateTrash trash(m_dir.path());
    ASSERT_TRUE(test::WriteBytes(trash.Folder(), "a file where the trash would be"));
    ASSERT_TRUE(test::WriteBytes(m_folder + "a.mid", "x"));
    const QStringList before = test::Entries(QDir::currentPath());
    View().List()->SetRowSelected(0, true);
    m_prompt.Script({PromptAnswer::Yes, PromptAnswer::No});
    View().List()->OnDeleteFiles();
    EXPECT_EQ(test::Entries(m_folder), QStringList({"a.mid"}));
    EXPECT_EQ(test::Entries(QDir::currentPath()), before) << "nothing lands in the working folder";
    EXPECT_EQ(m_prompt.m_texts.size(), 2u);
}

TEST_F(Repository, WhatTheTrashRefusesIsDeletedForGoodOnlyAfterASecondYes) {
    ASSERT_TRUE(QDir().mkpath(m_folder + "full/deeper"));
    ASSERT_TRUE(test::WriteBytes(m_folder + "full/deeper/a.mid", "x"));
    const TrashFunction refuse = [](const QString&) { return false; };
    for (const PromptAnswer second : {PromptAnswer::No, PromptAnswer::Yes}) {
        m_prompt.Script({PromptAnswer::Yes, second});
        EXPECT_TRUE(AskAndDeleteEntries({m_folder + "full"}, refuse));
        EXPECT_EQ(QFileInfo::exists(m_folder + "full"), second == PromptAnswer::No);
    }
    ASSERT_EQ(m_prompt.m_texts.size(), 4u);
    EXPECT_EQ(m_prompt.m_texts[1],
              "These cannot be moved to the trash:\n\nfull/ (the folder and everything in "
              "it)\n\nDelete them for good?");
}

TEST_F(Repository, NamesCannotBeEditedInPlace) {
    ASSERT_TRUE(test::WriteBytes(m_folder + "song.mid", "x"));
    const RepListCtrl& list = *View().List();
    EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(list.topLevelItem(0)->flags().testFlag(Qt::ItemIsEditable));
}

TEST(RepositoryFolder, BesideTheProgramWhenWritableAndNotInstalledElseInTheUsersDataFolder) {
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/bin/");
    const QString data = dir.path() + QStringLiteral("/data");
    ASSERT_TRUE(QDir().mkpath(program + "Repository"));
    ASSERT_TRUE(test::WriteBytes(program + "Repository/kept.mid", "kept"));
    EXPECT_EQ(ChooseRepositoryFolder(program, data, false), program + "Repository/");
    EXPECT_EQ(test::Entries(program + "Repository"), QStringList({"kept.mid"}));
    EXPECT_FALSE(QFileInfo::exists(data)) << "the data folder is not touched then";

    // A program folder that cannot hold a folder: a plain file stands where it would be.
    const QString blocked = dir.path() + QStringLiteral("/blocked");
    ASSERT_TRUE(test::WriteBytes(blocked, "file"));
    EXPECT_EQ(ChooseRepositoryFolder(blocked, data, false), data + "/Repository/");
    EXPECT_TRUE(QFileInfo(data + "/Repository").isDir());

    // An installed program keeps songs in the user's data folder even where it could write.
    EXPECT_EQ(ChooseRepositoryFolder(program, data, true), data + "/Repository/");
}

}  // namespace
}  // namespace korvana
