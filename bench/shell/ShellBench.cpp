// Start-up of the window to its first paint with 1,000 songs in the repository, and rebuilds of
// the repository list and of a browser folder holding 1,000 MIDI files, song names read from
// every file. Prints the first (cold) figure and the median of the repetitions in milliseconds.
//
//   korvana_shell_bench [repetitions]

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "ShellTestSupport.h"
#include "resources/KorvanaResources.h"
#include "shell/CBottomRightView.h"
#include "shell/CCJShellList.h"
#include "shell/CMainFrame.h"
#include "shell/CTopRightView.h"
#include "shell/FramePanes.h"

namespace korvana {
namespace {

constexpr int kSongs = 1000;

// Notes the first paint of any widget of one window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : m_pWindow(window) {}
    bool m_bPainted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == m_pWindow) {
            m_bPainted = true;
        }
        return false;
    }

private:
    QWidget* m_pWindow;
};

bool FillFolder(const QString& folder) {
    for (int i = 0; i < kSongs; ++i) {
        const QByteArray name = "Pattern " + QByteArray::number(i);
        const QString file = QStringLiteral("%1/SONG%2.MID").arg(folder).arg(i, 4, 10, QChar('0'));
        if (!test::WriteBytes(file, test::MidiSong(name))) {
            return false;
        }
    }
    return true;
}

struct Figure {
    double cold = 0;
    double median = 0;
};

Figure Measure(int repetitions, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    Figure figure{times.front(), 0};
    std::sort(times.begin(), times.end());
    figure.median = times[times.size() / 2];
    return figure;
}

void StartUpToFirstPaint(const QString& repository) {
    CMainFrame frame(repository);
    FirstPaint paint(&frame);
    qApp->installEventFilter(&paint);
    frame.show();
    while (!paint.m_bPainted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    qApp->removeEventFilter(&paint);
}

void Report(const char* what, const Figure& figure, double goal) {
    std::printf("%-46s cold %8.1f ms   median %8.1f ms   goal < %4.0f ms\n", what, figure.cold,
                figure.median, goal);
}

}  // namespace
}  // namespace korvana

int main(int argc, char** argv) {
    using namespace korvana;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    InitResources();
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    const QString repository = dir.filePath(QStringLiteral("Repository/"));
    const QString browser = dir.filePath(QStringLiteral("Browser"));
    if (!QDir().mkpath(repository) || !QDir().mkpath(browser) || !FillFolder(repository) ||
        !FillFolder(browser)) {
        std::fputs("cannot write the songs\n", stderr);
        return 1;
    }

    Report("start-up to first paint, 1,000 songs",
           Measure(repetitions, [&] { StartUpToFirstPaint(repository); }), 1000);

    CMainFrame frame(repository);
    frame.show();
    CTopRightView* view = FindTopRightView(&frame);
    Report("repository list rebuild, 1,000 songs",
           Measure(repetitions, [&] { view->RefreshRepository(); }), 300);
    CCJShellList* list = FindBottomRightView(&frame)->m_shellList;
    Report("browser folder rebuild, 1,000 MIDI files",
           Measure(repetitions, [&] { list->PopulateList(browser); }), 300);
    const bool named = list->GetItemCount() == kSongs && !list->GetItemText(0, 1).isEmpty();
    std::printf("song names read: %s\n", named ? "yes" : "no");
    return 0;
}
