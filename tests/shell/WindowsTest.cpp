#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "shell/CAboutDlg.h"
#include "shell/CSplashWnd.h"

namespace korvana {
namespace {

TEST(Splash, ShowsOnlyWhenEnabledAndGoesAtTheFirstIdleMoment) {
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen();
    EXPECT_EQ(CSplashWnd::c_pSplashWnd, nullptr);

    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
    CSplashWnd* splash = CSplashWnd::c_pSplashWnd;
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(800, 600));
    EXPECT_EQ(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    CSplashWnd::ShowSplashScreen();
    EXPECT_EQ(CSplashWnd::c_pSplashWnd, splash) << "one splash at a time";

    QTRY_COMPARE(CSplashWnd::c_pSplashWnd, nullptr);
    CSplashWnd::EnableSplashScreen(false);
}

TEST(About, NamesTheProgramAndClosesWithOk) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Korvana"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts.push_back(label->text());
    }
    EXPECT_TRUE(texts.contains(CAboutDlg::VersionLine()));
    EXPECT_TRUE(CAboutDlg::VersionLine().startsWith(QStringLiteral("Korvana Version ")));
    about.show();
    QPushButton* ok = about.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace korvana
