#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "ShellTestSupport.h"
#include "resources/help/HelpArchive.h"
#include "shell/AppFolder.h"
#include "shell/CHelpWnd.h"
#include "shell/CMiddleView.h"

namespace korvana {
namespace {

QByteArray Source(const char* name) {
    return test::ReadBytes(QStringLiteral(KORVANA_HELP_DIR "/") + QLatin1String(name));
}

TEST(HelpDocument, TheArchiveIsMadeFromThePageAsCheckedIn) {
    const QByteArray html = Source("Help.html");
    ASSERT_FALSE(html.isEmpty());
    EXPECT_EQ(Source("Help.mht"), MakeHelpArchive(html))
        << "run korvana-help-archive resources/help/Help.html resources/help/Help.mht";
}

TEST(HelpDocument, TheArchiveHoldsThePageWhole) {
    const QByteArray html = Source("Help.html");
    const QByteArray archive = MakeHelpArchive(html);
    const qsizetype start = archive.indexOf("\r\n\r\n", archive.indexOf("base64")) + 4;
    const qsizetype end = archive.indexOf("\r\n\r\n--", start);
    ASSERT_GT(end, start);
    EXPECT_EQ(QByteArray::fromBase64(archive.mid(start, end - start)), html);
    for (const QByteArray& line : archive.split('\n')) {
        EXPECT_LE(line.size(), 77);
    }
}

TEST(HelpDocument, LiesBesideTheProgram) {
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    EXPECT_EQ(test::ReadBytes(folder + "Help.html"), Source("Help.html"));
    EXPECT_EQ(test::ReadBytes(folder + "Help.mht"), Source("Help.mht"));
}

TEST(HelpDocument, TheHelpButtonsDocumentIsInTheDataFolder) {
    EXPECT_TRUE(QFileInfo::exists(GetDataFolder() + HelpDocumentName()))
        << (GetDataFolder() + HelpDocumentName()).toStdString();
}

TEST(HelpDocument, ExplainsEveryRefusalTheUserCanSee) {
    const QByteArray html = Source("Help.html");
    for (const char* message :
         {"File is not supported!", "Error: PPQN is not 192", "Time signature is required!",
          "Tempo is required!", "Mixed tracks are not allowed!",
          "MIDI file containing track 1-8 is not supported!", "Note Off Error!", "Fix and Add",
          "Overwrite?", "Delete files?"}) {
        EXPECT_TRUE(html.contains(message)) << message;
    }
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
TEST(HelpDocument, ShowsInAWindowOfItsOwnWhenTheDesktopHasNoProgramForIt) {
    // A desktop opener that finds no program, as on a machine without a browser.
    QTemporaryDir bin;
    ASSERT_TRUE(test::WriteBytes(bin.filePath("xdg-open"), "#!/bin/sh\nexit 3\n"));
    ASSERT_TRUE(
        QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    CMiddleView bar;
    bar.OnHelpButton();
    auto helpWindow = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* help = qobject_cast<CHelpWnd*>(widget);
                help != nullptr && help->isVisible()) {
                return help;
            }
        }
        return static_cast<CHelpWnd*>(nullptr);
    };
    const bool shown = QTest::qWaitFor([&] { return helpWindow() != nullptr; }, 10000);
    qputenv("PATH", path);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(helpWindow()->m_browser->toPlainText().contains("File is not supported!"));
    helpWindow()->close();
}
#endif

}  // namespace
}  // namespace korvana
