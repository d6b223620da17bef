#pragma once

// The start-up picture: shown centred on the screen while the main window and its views are
// made, gone at the first idle moment after the main window is up.

#include <QPixmap>
#include <QWidget>

namespace korvana {

class CSplashWnd : public QWidget {
    Q_OBJECT

public:
    ~CSplashWnd() override;

    static void EnableSplashScreen(bool enable) { c_bShowSplashWnd = enable; }
    // Shows the splash if enabled and not shown yet; nothing when the picture is missing.
    static void ShowSplashScreen(QWidget* parent = nullptr);
    // Closes the splash and repaints the main window at once.
    static void HideSplashScreen();

    static CSplashWnd* c_pSplashWnd;
    static bool c_bShowSplashWnd;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit CSplashWnd(QPixmap picture, QWidget* parent);

    QPixmap m_bitmap;
};

}  // namespace korvana
