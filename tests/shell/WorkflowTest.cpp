#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ShellTestSupport.h"
#include "common/RecordingPrompt.h"
#include "shell/CBottomLeftView.h"
#include "shell/CBottomRightView.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"
#include "shell/CMainFrame.h"
#include "shell/CMiddleView.h"
#include "shell/CTopRightView.h"
#include "shell/FramePanes.h"
#include "shell/RepListCtrl.h"

namespace korvana {
namespace {

void Select(CCJListCtrl& list, const QStringList& names) {
    list.clearSelection();
    for (const QString& name : names) {
        list.SetRowSelected(static_cast<int>(test::Column(list).indexOf(name)), true);
    }
}

// The whole window over a repository and a browser folder of the test's own; the check
// refuses songs whose bytes say "refused".
class Workflow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_repository = m_dir.path() + QStringLiteral("/Repository/");
        m_songs = m_dir.path() + QStringLiteral("/songs");
        ASSERT_TRUE(QDir().mkpath(m_repository));
        ASSERT_TRUE(QDir().mkpath(m_songs));
        m_frame = std::make_unique<CMainFrame>(m_repository);
        Repository().m_songCheck = [](const QString& song) {
            return SongVerdict{test::ReadBytes(song) != "refused", {}, {}};
        };
    }

    CTopRightView& Repository() { return *FindTopRightView(m_frame.get()); }
    CMiddleView& Bar() { return *FindMiddleView(m_frame.get()); }
    CCJShellList& Files() { return *FindBottomRightView(m_frame.get())->m_shellList; }
    CCJShellTree& Tree() { return *FindBottomLeftView(m_frame.get())->m_shellTree; }
    QString Song(const QString& name) const { return m_songs + QLatin1Char('/') + name; }

    QTemporaryDir m_dir;
    QString m_repository;
    QString m_songs;
    RecordingPrompt m_prompt;
    ScopedPrompt m_scoped{m_prompt};
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(Workflow, CopyUpChecksEachFileAndRebuildsTheRepositoryOnce) {
    ASSERT_TRUE(test::WriteBytes(Song("one.mid"), "one"));
    ASSERT_TRUE(test::WriteBytes(Song("two.MID"), "refused"));
    ASSERT_TRUE(test::WriteBytes(Song("three.mid"), "three"));
    ASSERT_TRUE(QDir(m_songs).mkdir("folder"));
    ASSERT_TRUE(Tree().TunnelTree(m_songs));
    Select(Files(), {"folder", "one.mid", "two.MID", "three.mid"});
    Bar().OnCopyUp();
    EXPECT_EQ(m_prompt.m_texts,
              std::vector<std::string>({"Added 2 of 3 files. Not supported:\n\ntwo.MID"}));
    EXPECT_EQ(test::Entries(m_repository), QStringList({"one.mid", "three.mid"}));
    EXPECT_EQ(test::Column(*Repository().List()), QStringList({"one.mid", "three.mid"}));
}

TEST_F(Workflow, CopyUpWithOnlyFoldersOrNothingSelectedDoesNothing) {
    ASSERT_TRUE(QDir(m_songs).mkdir("folder"));
    ASSERT_TRUE(Tree().TunnelTree(m_songs));
    Select(Files(), {"folder"});
    ASSERT_TRUE(test::WriteBytes(m_repository + "unlisted.mid", "x"));
    Bar().OnCopyUp();
    Files().clearSelection();
    Bar().OnCopyUp();
    EXPECT_TRUE(m_prompt.m_texts.empty());
    EXPECT_TRUE(test::Column(*Repository().List()).isEmpty()) << "no rebuild either";
}

TEST_F(Workflow, CopyDownAsksBeforeOverwritingAndRebuildsTheFileList) {
    ASSERT_TRUE(test::WriteBytes(m_repository + "song.mid", "from repository"));
    ASSERT_TRUE(test::WriteBytes(m_repository + "fresh.mid", "fresh"));
    ASSERT_TRUE(test::WriteBytes(Song("song.mid"), "user's"));
    Repository().RefreshRepository();
    ASSERT_TRUE(Tree().TunnelTree(m_songs));
    Select(*Repository().List(), {"fresh.mid", "song.mid"});

    m_prompt.Script({PromptAnswer::No});
    Bar().OnCopyDown();
    EXPECT_EQ(m_prompt.m_texts, std::vector<std::string>({"Overwrite?  song.mid"}));
    EXPECT_EQ(test::ReadBytes(Song("song.mid")), QByteArray("user's"));
    EXPECT_EQ(test::Column(Files()), QStringList({"fresh.mid", "song.mid"}));

    m_prompt.Script({PromptAnswer::Yes, PromptAnswer::Yes});
    Bar().OnCopyDown();
    EXPECT_EQ(test::ReadBytes(Song("song.mid")), QByteArray("from repository"));
    EXPECT_EQ(test::Entries(m_songs), QStringList({"fresh.mid", "song.mid"}));
}

TEST_F(Workflow, CopyDownWithoutABrowserFolderDoesNothing) {
    ASSERT_TRUE(test::WriteBytes(m_repository + "song.mid", "x"));
    Repository().RefreshRepository();
    Select(*Repository().List(), {"song.mid"});
    Tree().setCurrentItem(nullptr);
    Bar().OnCopyDown();
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(Workflow, RefreshRebuildsRepositoryAndBrowserAndKeepsTheFolder) {
    ASSERT_TRUE(Tree().TunnelTree(m_songs));
    ASSERT_TRUE(test::WriteBytes(m_repository + "new.mid", "x"));
    ASSERT_TRUE(test::WriteBytes(Song("new.mid"), "x"));
    ASSERT_TRUE(QDir(m_songs).mkdir("made later"));
    Bar().OnRefreshAll();
    EXPECT_EQ(test::Column(*Repository().List()), QStringList({"new.mid"}));
    EXPECT_EQ(test::Column(Files()), QStringList({"made later", "new.mid"}));
    EXPECT_EQ(Tree().GetSelectedFolderPath(), m_songs);
    EXPECT_NE(Tree().currentItem(), nullptr);
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

}  // namespace
}  // namespace korvana
