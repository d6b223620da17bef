#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ShellTestSupport.h"
#include "shell/CCJShell.h"

namespace korvana {
namespace {

TEST(SizeText, IsWholeKilobytesOfAThousandBytes) {
    const std::pair<quint64, const char*> cases[] = {
        {0, "0KB"},
        {1, "1KB"},
        {999, "1KB"},
        {1000, "1KB"},
        {1999, "1KB"},
        {2000, "2KB"},
        {123456, "123KB"},
        {4294967296ULL, "4294967KB"},
        {5000000000ULL, "5000000KB"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(CCJShell::FormatFileSize(bytes), QString::fromLatin1(text)) << bytes;
    }
}

TEST(TimeText, IsMonthDayYearHourMinuteInLocalTime) {
    const QDateTime local(QDate(2014, 3, 5), QTime(14, 7, 59));
    EXPECT_EQ(CCJShell::FormatFileTime(local), QStringLiteral("03/05/2014 14:07"));
    EXPECT_EQ(CCJShell::FormatFileTime(local.toUTC()), QStringLiteral("03/05/2014 14:07"));
    EXPECT_EQ(CCJShell::FormatFileTime(QDateTime(QDate(1999, 12, 31), QTime(0, 0))),
              QStringLiteral("12/31/1999 00:00"));
    EXPECT_EQ(CCJShell::FormatFileTime(QDateTime()), QString());
}

TEST(RowTexts, ShowNameSizeTypeAndTimeWithNoSizeForEmptyFilesAndFolders) {
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("x.mid"));
    const QString small = dir.filePath(QStringLiteral("small.MID"));
    ASSERT_TRUE(test::WriteBytes(empty, {}));
    ASSERT_TRUE(test::WriteBytes(small, QByteArray(999, 'x')));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QDateTime time(QDate(2014, 3, 5), QTime(14, 7));
    ASSERT_TRUE(test::SetModified(small, time));

    const QStringList emptyRow = CCJShell::MidiRowTexts(QFileInfo(empty));
    ASSERT_EQ(emptyRow.size(), 5);
    EXPECT_EQ(emptyRow[0], QStringLiteral("x.mid"));
    EXPECT_EQ(emptyRow[1], QString());
    EXPECT_EQ(emptyRow[2], QString());

    const QStringList smallRow = CCJShell::MidiRowTexts(QFileInfo(small));
    EXPECT_EQ(smallRow[0], QStringLiteral("small.MID"));
    EXPECT_EQ(smallRow[1], QString()) << "not a song, so no song name";
    EXPECT_EQ(smallRow[2], QStringLiteral("1KB"));
    EXPECT_FALSE(smallRow[3].isEmpty());
    EXPECT_EQ(smallRow[4], QStringLiteral("03/05/2014 14:07"));

    const QStringList folderRow = CCJShell::MidiRowTexts(QFileInfo(dir.filePath("folder")));
    EXPECT_EQ(folderRow[0], QStringLiteral("folder"));
    EXPECT_EQ(folderRow[2], QString());
    EXPECT_FALSE(folderRow[3].isEmpty());
    EXPECT_NE(folderRow[3], smallRow[3]);
}

TEST(RowTexts, ShowTheSongNameReadFromTheFile) {
    QTemporaryDir dir;
    const std::pair<QByteArray, QString> cases[] = {
        {"Bossa Nova", QStringLiteral("Bossa Nova")},
        {"Caf\xC3\xA9", QStringLiteral("Café")},
        {"Caf\xE9", QStringLiteral("Café")},
        {"", QString()},
    };
    for (const auto& [bytes, name] : cases) {
        const QString path = dir.filePath(QStringLiteral("song.mid"));
        ASSERT_TRUE(test::WriteBytes(path, test::MidiSong(bytes)));
        EXPECT_EQ(CCJShell::MidiRowTexts(QFileInfo(path))[1], name) << bytes.toStdString();
    }
    const QString cut = dir.filePath(QStringLiteral("cut.mid"));
    ASSERT_TRUE(test::WriteBytes(cut, test::MidiSong("Whole").chopped(3)));
    EXPECT_EQ(CCJShell::MidiRowTexts(QFileInfo(cut))[1], QString()) << "a damaged file has none";
}

TEST(Paths, JoinWithOneSeparatorAndSurviveAnyName) {
    EXPECT_EQ(CCJShell::JoinPath(QStringLiteral("/a"), QStringLiteral("b")),
              QStringLiteral("/a/b"));
    EXPECT_EQ(CCJShell::JoinPath(QStringLiteral("/a/"), QStringLiteral("b")),
              QStringLiteral("/a/b"));
    EXPECT_EQ(CCJShell::JoinPath(QStringLiteral("/"), QStringLiteral("b")), QStringLiteral("/b"));
    const QString odd = QStringLiteral("/tmp/Müller – ♪.mid");
    EXPECT_EQ(CCJShell::FromPath(CCJShell::ToPath(odd)), odd);
}

}  // namespace
}  // namespace korvana
