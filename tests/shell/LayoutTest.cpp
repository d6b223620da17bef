#include <gtest/gtest.h>

#include <QSplitterHandle>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>

#include "controls/CGdipButton.h"
#include "controls/CXProgressCtrl.h"
#include "shell/CBottomLeftView.h"
#include "shell/CBottomRightView.h"
#include "shell/CBottomView.h"
#include "shell/CCJShellList.h"
#include "shell/CCJShellTree.h"
#include "shell/CDisabledCSplitterWnd.h"
#include "shell/CMainFrame.h"
#include "shell/CMiddleView.h"
#include "shell/CTopLeftView.h"
#include "shell/CTopMiddleView.h"
#include "shell/CTopRightView.h"
#include "shell/CTopView.h"
#include "shell/DevListCtrl.h"
#include "shell/FramePanes.h"
#include "shell/RepListCtrl.h"

namespace korvana {
namespace {

QList<int> Widths(const CDisabledCSplitterWnd* splitter) {
    QList<int> widths;
    for (int i = 0; i < splitter->count(); ++i) {
        widths.push_back(splitter->widget(i)->width());
    }
    return widths;
}

class FrameLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_frame = std::make_unique<CMainFrame>(m_dir.filePath(QStringLiteral("Repository/")));
        m_frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
    }

    void ResizeTo(QSize size) {
        m_frame->resize(size);
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST(FitAt800x600, ListsShowTheSamplesWithoutScrollingSidewaysAndWithWholeSizesAndDates) {
    QTemporaryDir dir;
    const QString repository = dir.filePath(QStringLiteral("Repository/"));
    ASSERT_TRUE(QDir().mkpath(repository));
    const QDir samples(QStringLiteral(KORVANA_SAMPLES_DIR));
    for (const QString& name : samples.entryList({"*.mid", "*.MID"}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(samples.filePath(name), repository + name));
    }
    CMainFrame frame(repository);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    ASSERT_TRUE(FindBottomLeftView(&frame)->m_shellTree->TunnelTree(samples.path()));
    QCoreApplication::processEvents();
    const std::vector<CCJListCtrl*> lists = {FindTopLeftView(&frame)->m_wndDevList,
                                             FindTopRightView(&frame)->List(),
                                             FindBottomRightView(&frame)->m_shellList};
    for (const CCJListCtrl* list : lists) {
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible()) << list->metaObject()->className();
        EXPECT_LE(list->header()->length(), list->viewport()->width())
            << list->metaObject()->className();
    }
    for (const CCJListCtrl* list : {lists[1], lists[2]}) {
        ASSERT_GE(list->GetItemCount(), 12) << list->metaObject()->className();
        for (int row = 0; row < list->GetItemCount(); ++row) {
            for (const int column : {2, 4}) {
                const QString text = list->GetItemText(row, column);
                EXPECT_LE(list->fontMetrics().horizontalAdvance(text) + 12,
                          list->columnWidth(column))
                    << text.toStdString();
            }
        }
    }
}

TEST_F(FrameLayout, StartsAt800x600AndNeverGetsSmaller) {
    EXPECT_EQ(m_frame->size(), QSize(800, 600));
    EXPECT_EQ(m_frame->minimumSize(), QSize(800, 600));
    ResizeTo(QSize(500, 400));
    EXPECT_EQ(m_frame->size(), QSize(800, 600));
}

TEST_F(FrameLayout, RowsAndColumnsFollowTheWindowSize) {
    for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1600, 1200)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        ResizeTo(size);
        const int outer = m_frame->frameGeometry().height();
        const int top = std::max((2 * outer - 120) / 5, 100);
        const int bar = CDisabledCSplitterWnd::c_nBarWidth;
        EXPECT_EQ(FindTopView(m_frame.get())->geometry(), QRect(0, 0, size.width(), top));
        EXPECT_EQ(FindMiddleView(m_frame.get())->geometry(), QRect(0, top + bar, size.width(), 60));
        // The bottom row takes the rest of the client area.
        EXPECT_EQ(FindBottomView(m_frame.get())->geometry(),
                  QRect(0, top + bar + 60 + bar, size.width(), size.height() - top - 60 - 2 * bar));

        const int w = size.width();
        EXPECT_EQ(Widths(FindTopView(m_frame.get())->m_wndSplitter),
                  QList<int>({w / 3 - 110, 110, w - (w / 3 - 110) - 110 - 2 * bar}));
        EXPECT_EQ(Widths(FindBottomView(m_frame.get())->m_wndSplitter),
                  QList<int>({w / 3, w - w / 3 - bar}));
    }
}

TEST_F(FrameLayout, BarsCannotBeDragged) {
    const QList<CDisabledCSplitterWnd*> splitters{m_frame->m_wndSplitter,
                                                  FindTopView(m_frame.get())->m_wndSplitter,
                                                  FindBottomView(m_frame.get())->m_wndSplitter};
    for (CDisabledCSplitterWnd* splitter : splitters) {
        const QList<int> before = splitter->sizes();
        QSplitterHandle* handle = splitter->handle(1);
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle + QPoint(60, 60));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle + QPoint(60, 60));
        EXPECT_EQ(splitter->sizes(), before);
    }
}

TEST_F(FrameLayout, CommandBarKeepsItsButtonsAtTheEdges) {
    for (const int width : {800, 1200}) {
        ResizeTo(QSize(width, 600));
        const CMiddleView* bar = FindMiddleView(m_frame.get());
        EXPECT_EQ(bar->m_btnConnect->geometry(), QRect(30, 18, 110, 40));
        EXPECT_EQ(bar->m_btnRefresh->geometry(), QRect(180, 18, 110, 40));
        EXPECT_EQ(bar->m_btnCopyUp->geometry(), QRect(width - 450, 18, 100, 40));
        EXPECT_EQ(bar->m_btnCopyDown->geometry(), QRect(width - 320, 18, 110, 40));
        EXPECT_EQ(bar->m_btnHelp->geometry(), QRect(width - 190, 18, 70, 40));
        EXPECT_EQ(bar->m_btnAbout->geometry(), QRect(width - 100, 18, 70, 40));
    }
}

TEST_F(FrameLayout, TransferPaneHoldsTheButtonAndAHiddenBar) {
    const CTopMiddleView* transfer = FindTopMiddleView(m_frame.get());
    ASSERT_NE(transfer, nullptr);
    EXPECT_EQ(transfer->m_btnSend->geometry(), QRect(10, 35, 112, 50));
    EXPECT_EQ(transfer->m_progress->geometry(), QRect(14, 105, 94, 20));
    EXPECT_FALSE(transfer->m_progress->isVisible());
    EXPECT_NE(transfer->m_btnSend->m_pNormalImage, nullptr);
    EXPECT_NE(transfer->m_btnSend->m_pActiveImage, nullptr);
}

TEST_F(FrameLayout, EveryPaneIsFoundFromAnyWidgetOfTheWindow) {
    QWidget* deep = FindBottomView(m_frame.get())->m_wndSplitter->widget(1);
    EXPECT_NE(FindTopLeftView(deep), nullptr);
    EXPECT_NE(FindTopMiddleView(deep), nullptr);
    EXPECT_NE(FindTopRightView(deep), nullptr);
    EXPECT_NE(FindMiddleView(deep), nullptr);
    EXPECT_NE(FindBottomLeftView(deep), nullptr);
    EXPECT_NE(FindBottomRightView(deep), nullptr);
    QWidget outsider;
    EXPECT_EQ(FindTopRightView(&outsider), nullptr);
    EXPECT_EQ(FindBottomRightView(nullptr), nullptr);
}

TEST(TopRow, ColumnsOfA900PixelRowAndNarrowRowsKeepTheirLayout) {
    QTemporaryDir dir;
    CTopView row(dir.path() + QStringLiteral("/"));
    row.resize(900, 200);
    row.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    EXPECT_EQ(Widths(row.m_wndSplitter), QList<int>({190, 110, 600 - 8}));
    row.resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(Widths(row.m_wndSplitter), QList<int>({190, 110, 600 - 8}));
}

}  // namespace
}  // namespace korvana
