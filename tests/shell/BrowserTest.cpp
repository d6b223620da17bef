#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ShellTestSupport.h"
#include "common/RecordingPrompt.h"
#include "controls/CCJFlatHeaderCtrl.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"

namespace korvana {
namespace {

int RowOf(const CCJListCtrl& list, const QString& name) {
    return static_cast<int>(test::Column(list, 0).indexOf(name));
}

// A tree and a list linked as in the window, over a folder of the test's own.
class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path();
        m_list.BuildColumns();
        m_list.SubclassHeader(false);
        m_list.SetTreeCtrl(&m_tree);
        m_tree.SetListCtrl(&m_list);
    }

    QString Path(const QString& name) const { return m_root + QLatin1Char('/') + name; }

    void File(const QString& name, const QByteArray& bytes = QByteArray("data")) {
        ASSERT_TRUE(test::WriteBytes(Path(name), bytes));
    }

    void Folder(const QString& name) { ASSERT_TRUE(QDir().mkpath(Path(name))); }

    QTemporaryDir m_dir;
    QString m_root;
    CCJShellTree m_tree;
    CCJShellList m_list;
    RecordingPrompt m_prompt;
    ScopedPrompt m_scoped{m_prompt};
};

TEST_F(Browser, ListsFoldersAndMidiFilesInAnyCaseOnly) {
    for (const char* name : {"a.mid", "B.MID", "c.Mid", "d.midi", "e.kar", "f.txt", "mid"}) {
        File(QString::fromLatin1(name));
    }
    Folder(QStringLiteral("sub"));
    Folder(QStringLiteral("Another.mid"));
    ASSERT_TRUE(m_list.PopulateList(m_root));
    EXPECT_EQ(test::Column(m_list, 0),
              QStringList({"Another.mid", "sub", "a.mid", "B.MID", "c.Mid"}));
}

TEST_F(Browser, SortsEveryColumnWithItsKindInBothDirections) {
    Folder(QStringLiteral("zeta"));
    Folder(QStringLiteral("Alpha"));
    File(QStringLiteral("b.mid"), test::MidiSong("gamma", 10000));
    File(QStringLiteral("C.mid"), test::MidiSong("alpha", 2000));
    File(QStringLiteral("a.MID"), test::MidiSong("Beta"));
    ASSERT_TRUE(test::SetModified(Path("b.mid"), QDateTime(QDate(2014, 3, 5), QTime(14, 7))));
    ASSERT_TRUE(test::SetModified(Path("C.mid"), QDateTime(QDate(2009, 12, 1), QTime(9, 0))));
    ASSERT_TRUE(test::SetModified(Path("a.MID"), QDateTime(QDate(2014, 3, 5), QTime(9, 30))));
    ASSERT_TRUE(m_list.PopulateList(m_root));

    // Name: folders first, then files, each without regard to letter case.
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"Alpha", "zeta", "a.MID", "b.mid", "C.mid"}));
    m_list.OnHeaderItemClick(0);
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"C.mid", "b.mid", "a.MID", "zeta", "Alpha"}));

    // Song name: as text without regard to letter case; folders have none.
    m_list.OnHeaderItemClick(1);
    EXPECT_EQ(test::Column(m_list, 1).mid(2), QStringList({"alpha", "Beta", "gamma"}));
    m_list.OnHeaderItemClick(1);
    EXPECT_EQ(test::Column(m_list, 1).mid(0, 3), QStringList({"gamma", "Beta", "alpha"}));

    // Size: as numbers, so 10KB comes after 2KB.
    m_list.OnHeaderItemClick(2);
    EXPECT_EQ(test::Column(m_list, 2).mid(2), QStringList({"1KB", "2KB", "10KB"}));
    m_list.OnHeaderItemClick(2);
    EXPECT_EQ(test::Column(m_list, 2).mid(0, 3), QStringList({"10KB", "2KB", "1KB"}));

    // Type: folders and MIDI files as text.
    m_list.OnHeaderItemClick(3);
    const QString folderType = m_list.GetItemText(RowOf(m_list, "zeta"), 3);
    const QString midiType = m_list.GetItemText(RowOf(m_list, "b.mid"), 3);
    const bool folderFirst = folderType.compare(midiType, Qt::CaseInsensitive) < 0;
    EXPECT_EQ(m_list.GetItemText(0, 3), folderFirst ? folderType : midiType);
    m_list.OnHeaderItemClick(3);
    EXPECT_EQ(m_list.GetItemText(0, 3), folderFirst ? midiType : folderType);

    // Modified: as dates and times, not as text ("12/01/2009" sorts after "03/05/2014" as text).
    m_list.OnHeaderItemClick(4);
    const QStringList ascending = test::Column(m_list, 0);
    EXPECT_LT(ascending.indexOf("C.mid"), ascending.indexOf("a.MID"));
    EXPECT_LT(ascending.indexOf("a.MID"), ascending.indexOf("b.mid"));
    m_list.OnHeaderItemClick(4);
    const QStringList descending = test::Column(m_list, 0);
    EXPECT_LT(descending.indexOf("b.mid"), descending.indexOf("a.MID"));
    EXPECT_LT(descending.indexOf("a.MID"), descending.indexOf("C.mid"));
    EXPECT_EQ(m_list.GetFlatHeader()->GetSortColumn(), 4);
    EXPECT_FALSE(m_list.GetFlatHeader()->IsSortAscending());

    // The sort survives a rebuild.
    File(QStringLiteral("new.mid"));
    ASSERT_TRUE(test::SetModified(Path("new.mid"), QDateTime(QDate(2030, 1, 1), QTime(0, 0))));
    m_list.PopulateList(m_root);
    EXPECT_EQ(m_list.GetItemText(0, 0), QStringLiteral("new.mid"));
}

TEST_F(Browser, TunnelsByNameIgnoringCaseAndFillsTheListForTheDeepestFolder) {
    Folder(QStringLiteral("Songs/Latin/Bossa"));
    File(QStringLiteral("Songs/Latin/Bossa/one.mid"));
    File(QStringLiteral("Songs/Latin/two.mid"));
    ASSERT_TRUE(m_tree.TunnelTree(Path("Songs/Latin/Bossa")));
    EXPECT_EQ(m_tree.GetSelectedFolderPath(), Path("Songs/Latin/Bossa"));
    EXPECT_EQ(m_list.GetFolder(), Path("Songs/Latin/Bossa"));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"one.mid"}));

    // A hidden folder is not in the tree: the tunnel stops above it, which stays selected.
    Folder(QStringLiteral("Songs/.cache/deep"));
    ASSERT_TRUE(m_tree.TunnelTree(Path("Songs/.cache/deep")));
    EXPECT_EQ(m_list.GetFolder(), Path("Songs"));
    EXPECT_TRUE(m_prompt.m_texts.empty());
}

TEST_F(Browser, TunnelToAMissingFolderSaysSoAndChangesNothing) {
    Folder(QStringLiteral("here"));
    ASSERT_TRUE(m_tree.TunnelTree(Path("here")));
    EXPECT_FALSE(m_tree.TunnelTree(Path("gone")));
    ASSERT_EQ(m_prompt.m_texts.size(), 1u);
    EXPECT_EQ(m_prompt.m_texts[0], Path("gone").toStdString());
    EXPECT_EQ(m_prompt.m_captions[0], "Folder not found");
    EXPECT_EQ(m_tree.GetSelectedFolderPath(), Path("here"));
}

TEST_F(Browser, TunnelMatchesTheExactNameBeforeAnotherCase) {
    Folder(QStringLiteral("music"));
    Folder(QStringLiteral("Music"));
    File(QStringLiteral("Music/upper.mid"));
    ASSERT_TRUE(m_tree.TunnelTree(Path("Music")));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"upper.mid"}));
}

TEST_F(Browser, TreeLevelsAreReadOnFirstOpeningInNameOrder) {
    Folder(QStringLiteral("top/b"));
    Folder(QStringLiteral("top/A"));
    Folder(QStringLiteral("top/c/inner"));
    ASSERT_TRUE(m_tree.TunnelTree(Path("top")));
    QTreeWidgetItem* top = m_tree.currentItem();
    ASSERT_NE(top, nullptr);
    m_tree.OnItemExpanding(top);
    ASSERT_EQ(top->childCount(), 3);
    EXPECT_EQ(top->child(0)->text(0), QStringLiteral("A"));
    EXPECT_EQ(top->child(2)->text(0), QStringLiteral("c"));
    EXPECT_EQ(top->child(2)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(top->child(0)->childIndicatorPolicy(),
              QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

TEST_F(Browser, DoubleClickEntersFoldersAndReportsVanishedEntries) {
    Folder(QStringLiteral("inner"));
    File(QStringLiteral("inner/x.mid"));
    Folder(QStringLiteral("gone"));
    File(QStringLiteral("lost.mid"));
    ASSERT_TRUE(m_tree.TunnelTree(m_root));

    ASSERT_TRUE(QDir(Path("gone")).removeRecursively());
    m_list.OnListDoubleClick(RowOf(m_list, "gone"));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"inner", "lost.mid"})) << "the list is rebuilt";
    ASSERT_TRUE(QFile::remove(Path("lost.mid")));
    m_list.OnListDoubleClick(RowOf(m_list, "lost.mid"));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"inner"}));
    EXPECT_EQ(m_prompt.m_texts,
              std::vector<std::string>({"Folder is not exist!", "File is not exist!"}));

    m_list.OnListDoubleClick(RowOf(m_list, "inner"));
    EXPECT_EQ(m_tree.GetSelectedFolderPath(), Path("inner"));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"x.mid"}));
}

TEST_F(Browser, DeleteNamesWhatGoesAndMovesFilesAndFoldersToTheTrashOnlyOnYes) {
    const QTemporaryDir elsewhere;
    const test::PrivateTrash trash(elsewhere.path());
    File(QStringLiteral("a.mid"));
    Folder(QStringLiteral("full/deeper"));
    File(QStringLiteral("full/deeper/b.mid"));
    Folder(QStringLiteral("outside"));
    File(QStringLiteral("outside/keep.mid"));
    ASSERT_TRUE(QFile::link(Path("outside"), Path("link")));
    ASSERT_TRUE(m_list.PopulateList(m_root));
    auto select = [this] {
        for (const char* name : {"a.mid", "full", "link"}) {
            m_list.SetRowSelected(RowOf(m_list, QString::fromLatin1(name)), true);
        }
    };

    select();
    m_prompt.Script({PromptAnswer::No});
    File(QStringLiteral("later.mid"));
    m_list.OnDeleteFiles();
    EXPECT_EQ(m_prompt.m_texts,
              std::vector<std::string>({"Delete files?\n\nfull/ (the folder and everything in "
                                        "it)\nlink\na.mid\n\nThey are moved to the trash."}));
    EXPECT_TRUE(QFile::exists(Path("a.mid")));
    EXPECT_NE(RowOf(m_list, "later.mid"), -1) << "rebuilt after No as well";

    select();
    m_prompt.Script({PromptAnswer::Yes});
    m_list.OnDeleteFiles();
    EXPECT_EQ(test::Entries(m_root), QStringList({"later.mid", "outside"}));
    EXPECT_TRUE(QFile::exists(Path("outside/keep.mid"))) << "a link goes, not what it points to";
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"outside", "later.mid"}));
    EXPECT_EQ(trash.Files(), QStringList({"a.mid", "full", "link"}));
    EXPECT_TRUE(QFile::exists(trash.Folder() + "/files/full/deeper/b.mid"));

    m_list.clearSelection();
    m_list.OnDeleteFiles();
    EXPECT_EQ(m_prompt.m_texts.size(), 2u) << "nothing selected, nothing asked";
}

TEST_F(Browser, RenameNeverOverwritesAndStaysInTheFolder) {
    // The folder sits alone in a private parent, where anything moved up would show.
    m_root = m_dir.filePath(QStringLiteral("songs"));
    ASSERT_TRUE(QDir().mkpath(m_root));
    File(QStringLiteral("a.mid"), "first");
    File(QStringLiteral("b.mid"), "second");
    ASSERT_TRUE(m_list.PopulateList(m_root));

    EXPECT_TRUE(m_list.RenameEntry(QStringLiteral("a.mid"), QStringLiteral("a.mid")));
    for (const char* refused : {"b.mid", "", ".", "..", "../up.mid", "x/y.mid"}) {
        EXPECT_FALSE(m_list.RenameEntry(QStringLiteral("a.mid"), QString::fromLatin1(refused)))
            << refused;
    }
    EXPECT_EQ(m_prompt.m_texts.size(), 6u);
    EXPECT_EQ(m_prompt.m_texts[0], "a.mid cannot be renamed to b.mid");
    EXPECT_EQ(test::ReadBytes(Path("b.mid")), QByteArray("second"));
    EXPECT_EQ(test::Entries(m_root), QStringList({"a.mid", "b.mid"}));
    EXPECT_EQ(test::Entries(m_dir.path()), QStringList({"songs"})) << "nothing moved up";

    EXPECT_TRUE(m_list.RenameEntry(QStringLiteral("a.mid"), QStringLiteral("A.MID")));
    EXPECT_EQ(test::Entries(m_root), QStringList({"A.MID", "b.mid"}));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"A.MID", "b.mid"}));
}

TEST_F(Browser, AnEditedLabelRenamesOnceTheEditorHasClosed) {
    File(QStringLiteral("old.mid"));
    ASSERT_TRUE(m_list.PopulateList(m_root));
    emit m_list.labelEdited(0, QStringLiteral("new.mid"));
    EXPECT_TRUE(QFile::exists(Path("old.mid")));
    QCoreApplication::processEvents();
    EXPECT_EQ(test::Entries(m_root), QStringList({"new.mid"}));
    EXPECT_EQ(test::Column(m_list, 0), QStringList({"new.mid"}));
}

TEST(Places, StartWithHomeAndHoldTheRoot) {
    const auto places = CCJShellTree::UserPlaces();
    ASSERT_GE(places.size(), 2u);
    EXPECT_EQ(places[0].strPath, QDir::homePath());
    const bool hasRoot = std::any_of(places.begin(), places.end(), [](const auto& place) {
        return place.strPath == QDir::rootPath();
    });
    EXPECT_TRUE(hasRoot);
    CCJShellTree tree;
    EXPECT_EQ(tree.topLevelItemCount(), static_cast<int>(places.size()));
    EXPECT_TRUE(tree.topLevelItem(0)->isExpanded());
    EXPECT_EQ(tree.GetSelectedFolderPath(), QString()) << "nothing selected at start";
}

}  // namespace
}  // namespace korvana
