#include "CTopMiddleView.h"

#include <QResizeEvent>

#include "CGdipButton.h"
#include "CXProgressCtrl.h"
#include "ResourceIds.h"

namespace korvana {

CTopMiddleView::CTopMiddleView(QWidget* parent)
    : QWidget(parent), m_btnSend(new CGdipButton(this)), m_progress(new CXProgressCtrl(this)) {
    setAutoFillBackground(true);
    m_btnSend->LoadImages(IDB_DOWNLOAD_NORMAL, IDB_DOWNLOAD_ACTIVE);
    m_btnSend->SetToolTipText(QStringLiteral("Download"));
    m_progress->hide();
}

void CTopMiddleView::resizeEvent(QResizeEvent* event) {
    const int width = event->size().width();
    m_btnSend->setGeometry(10, 35, width + 2, 50);
    m_progress->setGeometry(14, 105, width - 16, 20);
}

}  // namespace korvana
