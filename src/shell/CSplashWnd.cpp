#include "shell/CSplashWnd.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

#include "controls/CGdiPlusBitmap.h"
#include "controls/ResourceIds.h"

namespace korvana {

CSplashWnd* CSplashWnd::c_pSplashWnd = nullptr;
bool CSplashWnd::c_bShowSplashWnd = false;

CSplashWnd::CSplashWnd(QPixmap picture, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_bitmap(std::move(picture)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.deviceIndependentSize().toSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

CSplashWnd::~CSplashWnd() {
    c_pSplashWnd = nullptr;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent) {
    if (!c_bShowSplashWnd || c_pSplashWnd != nullptr) {
        return;
    }
    CGdiPlusBitmapResource picture;
    if (!picture.Load(IDB_SPLASH, QStringLiteral("PNG"))) {
        return;
    }
    c_pSplashWnd = new CSplashWnd(QPixmap::fromImage(*picture.Bitmap()), parent);
    c_pSplashWnd->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    c_pSplashWnd->repaint();
    // The first tick comes when the event loop first runs idle: the main window is up then.
    c_pSplashWnd->startTimer(1);
}

void CSplashWnd::HideSplashScreen() {
    if (c_pSplashWnd == nullptr) {
        return;
    }
    CSplashWnd* splash = c_pSplashWnd;
    splash->close();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != splash && window->isVisible()) {
            window->repaint();
        }
    }
}

void CSplashWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter(this).drawPixmap(rect(), m_bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent* /*event*/) {
    HideSplashScreen();
}

}  // namespace korvana
