#include "shell/TransferFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "ShellTestSupport.h"
#include "common/RecordingPrompt.h"

namespace korvana {
namespace {

class Transfer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_source.isValid());
        ASSERT_TRUE(m_target.isValid());
    }

    QString Source(const QString& name) const { return m_source.filePath(name); }
    QString Target(const QString& name) const { return m_target.filePath(name); }

    TransferSource Item(const QString& name) const { return {Source(name), name}; }

    QTemporaryDir m_source;
    QTemporaryDir m_target;
    RecordingPrompt m_prompt;
    ScopedPrompt m_scoped{m_prompt};
};

TEST_F(Transfer, OverwriteAnswersDecideFileByFileAndCancelStopsTheRest) {
    struct Case {
        std::vector<PromptAnswer> answers;
        QList<bool> replaced;  // a.mid, b.mid, c.mid
        size_t questions;
    };
    const Case cases[] = {
        {{PromptAnswer::Yes, PromptAnswer::Yes, PromptAnswer::Yes}, {true, true, true}, 3},
        {{PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::No}, {false, true, false}, 3},
        {{PromptAnswer::Yes, PromptAnswer::Cancel}, {true, false, false}, 2},
        {{PromptAnswer::Cancel}, {false, false, false}, 1},
    };
    const QStringList names{"a.mid", "b.mid", "c.mid"};
    for (const Case& c : cases) {
        m_prompt.m_texts.clear();
        m_prompt.m_answers.assign(c.answers.begin(), c.answers.end());
        std::vector<TransferSource> items;
        for (const QString& name : names) {
            ASSERT_TRUE(test::WriteBytes(Source(name), "new " + name.toLatin1()));
            ASSERT_TRUE(test::WriteBytes(Target(name), "old"));
            items.push_back(Item(name));
        }
        TransferFiles(items, m_target.path(), {});
        ASSERT_EQ(m_prompt.m_texts.size(), c.questions);
        EXPECT_EQ(m_prompt.m_texts[0], "Overwrite?  a.mid");
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray expected = c.replaced[i] ? "new " + names[i].toLatin1() : "old";
            EXPECT_EQ(test::ReadBytes(Target(names[i])), expected) << names[i].toStdString();
        }
        EXPECT_EQ(test::Entries(m_target.path()), names) << "no temporary file is left";
    }
}

TEST_F(Transfer, MissingSourcesAndFoldersArePassedOverSilently) {
    ASSERT_TRUE(QDir(m_source.path()).mkdir("folder.mid"));
    ASSERT_TRUE(test::WriteBytes(Source("real.mid"), "song"));
    TransferFiles({Item("absent.mid"), Item("folder.mid"), Item("real.mid")}, m_target.path(), {});
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_EQ(test::Entries(m_target.path()), QStringList({"real.mid"}));
}

TEST_F(Transfer, ARefusedSongIsNamedAndNotCopiedWhileTheOthersGoOn) {
    for (const char* name : {"good.mid", "bad.mid", "fine.mid"}) {
        ASSERT_TRUE(test::WriteBytes(Source(name), name));
    }
    std::vector<QString> checked;
    const SongCheck refuseBad = [&](const QString& song) {
        checked.push_back(song);
        return SongVerdict{test::ReadBytes(song) != "bad.mid", {"message"}, {"entry"}};
    };
    TransferFiles({Item("good.mid"), Item("bad.mid"), Item("fine.mid")}, m_target.path(),
                  refuseBad);
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>(
                                    {"Added 2 of 3 files. Not supported:\n\nbad.mid\n    message\n"
                                     "    entry"}));
    EXPECT_EQ(test::Entries(m_target.path()), QStringList({"fine.mid", "good.mid"}));
    // Each check ran on a private copy, not on the user's file.
    ASSERT_EQ(checked.size(), 3u);
    for (const QString& song : checked) {
        EXPECT_FALSE(song.startsWith(m_source.path())) << song.toStdString();
        EXPECT_FALSE(QFile::exists(song)) << "the private copy is gone afterwards";
    }
    EXPECT_EQ(test::Entries(m_source.path()), QStringList({"bad.mid", "fine.mid", "good.mid"}));
}

TEST_F(Transfer, TheConvertersCheckLeavesTheUsersFilesAlone) {
    ASSERT_TRUE(test::WriteBytes(Source("abc.mid"), test::MidiSong("Abc")));
    ASSERT_TRUE(test::WriteBytes(Source("abc.dat"), "user's own dat"));
    ASSERT_TRUE(test::WriteBytes(Source("abc.sty"), "user's own sty"));
    TransferFiles({Item("abc.mid")}, m_target.path(), CheckWithConverter);
    EXPECT_EQ(test::Entries(m_source.path()), QStringList({"abc.dat", "abc.mid", "abc.sty"}));
    EXPECT_EQ(test::ReadBytes(Source("abc.dat")), QByteArray("user's own dat"));
    EXPECT_EQ(test::ReadBytes(Source("abc.sty")), QByteArray("user's own sty"));
    const QStringList stored = test::Entries(m_target.path());
    EXPECT_TRUE(stored.isEmpty() || stored == QStringList({"abc.mid"}));
}

TEST_F(Transfer, ASingleRefusedSongShowsTheConvertersMessagesThenItsName) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVANA_SAMPLES_DIR "/refused-no-tempo.mid"),
                            Source("refused-no-tempo.mid")));
    EXPECT_EQ(TransferFiles({Item("refused-no-tempo.mid")}, m_target.path(), CheckWithConverter),
              0);
    EXPECT_EQ(m_prompt.m_texts,
              std::vector<std::string>(
                  {"Tempo is required!", "refused-no-tempo.mid:  File is not supported!"}));
}

TEST_F(Transfer, SeveralSongsEndInOneSummaryOfEveryRefusalWithItsReasons) {
    const QStringList names = QDir(QStringLiteral(KORVANA_SAMPLES_DIR))
                                  .entryList({QStringLiteral("*.mid"), QStringLiteral("*.MID")},
                                             QDir::Files, QDir::Name | QDir::IgnoreCase);
    std::vector<TransferSource> items;
    for (const QString& name : names) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(KORVANA_SAMPLES_DIR "/") + name, Source(name)));
        items.push_back(Item(name));
    }
    EXPECT_EQ(TransferFiles(items, m_target.path(), CheckWithConverter), 5);
    EXPECT_EQ(test::Entries(m_target.path()),
              QStringList({"bossa-fill.mid", "drum-loop-format0.mid", "pop-8beat.mid",
                           "shuffle-6-8.MID", "waltz.mid"}));
    ASSERT_EQ(m_prompt.m_texts.size(), 1u);
    EXPECT_EQ(m_prompt.m_texts[0],
              "Added 5 of 12 files. Not supported:\n"
              "\nrefused-cut-short.mid"
              "\n    refused-cut-short.mid Init Error:2\n"
              "\nrefused-melody-channel-1.mid"
              "\n    MIDI file containing track 1-8 is not supported!\n"
              "\nrefused-missing-note-off.mid"
              "\n    Note Off Error!"
              "\n    refused-missing-note-off.mid Track 1 Error Back Find 0x9N 99 26\n"
              "\nrefused-mixed-channels.mid"
              "\n    Mixed tracks are not allowed!"
              "\n    refused-mixed-channels.mid Track 1 Error\n"
              "\nrefused-no-tempo.mid"
              "\n    Tempo is required!"
              "\n     Tempo Error\n"
              "\nrefused-note-after-end.mid"
              "\n    refused-note-after-end.mid Process Error\n"
              "\nrefused-ppqn-480.mid"
              "\n    Error: PPQN is not 192"
              "\n    Warning: PPQN is not 192");
    EXPECT_EQ(test::Entries(m_source.path()), names) << "nothing is left beside the songs";
}

TEST_F(Transfer, AFailedCopyLeavesNoPartialFile) {
    ASSERT_TRUE(test::WriteBytes(Source("song.mid"), "song"));
    ASSERT_TRUE(QDir(m_target.path()).mkdir("song.mid"));
    m_prompt.Script({PromptAnswer::Yes});
    TransferFiles({Item("song.mid")}, m_target.path(), {});
    EXPECT_EQ(test::Entries(m_target.path()), QStringList({"song.mid"}));
    EXPECT_TRUE(QFileInfo(Target("song.mid")).isDir());
}

}  // namespace
}  // namespace korvana
