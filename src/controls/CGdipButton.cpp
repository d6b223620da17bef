#include "controls/CGdipButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <cmath>

namespace korvana {

namespace {

// Where the pictures start inside the button.
constexpr QPoint kPictureOrigin(1, 1);

}  // namespace

CGdipButton::CGdipButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

CGdipButton::~CGdipButton() = default;

bool CGdipButton::LoadImages(int normalId, int activeId) {
    const QString type = QStringLiteral("PNG");
    m_pNormalImage = std::make_unique<CGdiPlusBitmapResource>(normalId, type);
    m_pActiveImage = std::make_unique<CGdiPlusBitmapResource>(activeId, type);
    const bool loaded = m_pNormalImage->IsLoaded() && m_pActiveImage->IsLoaded();
    if (!m_pNormalImage->IsLoaded()) {
        m_pNormalImage.reset();
    }
    if (!m_pActiveImage->IsLoaded()) {
        m_pActiveImage.reset();
    }
    ResetLooks();
    return loaded;
}

void CGdipButton::SetToolTipText(const QString& text, bool activate) {
    if (text.isEmpty()) {
        return;
    }
    m_strTip = text;
    setToolTip(activate ? text : QString());
}

void CGdipButton::ResetLooks() {
    ClearLooks();
    update();
}

void CGdipButton::ClearLooks() {
    m_bCachesReady = false;
    m_pCurrent = nullptr;
    for (QPixmap* look : {&m_dcBack, &m_dcNormal, &m_dcPressed, &m_dcHover, &m_dcGrey}) {
        *look = QPixmap();
    }
}

QSize CGdipButton::sizeHint() const {
    if (m_pNormalImage == nullptr) {
        return {kPictureOrigin.x(), kPictureOrigin.y()};
    }
    const QSizeF size = m_pNormalImage->PhysicalSize();
    return QSize(static_cast<int>(std::ceil(size.width())),
                 static_cast<int>(std::ceil(size.height()))) +
           QSize(kPictureOrigin.x(), kPictureOrigin.y());
}

void CGdipButton::CaptureBackground() {
    const qreal ratio = devicePixelRatioF();
    m_dcBack = QPixmap(size() * ratio);
    m_dcBack.setDevicePixelRatio(ratio);
    QWidget* parent = parentWidget();
    if (parent == nullptr) {
        m_dcBack.fill(palette().color(QPalette::Window));
        return;
    }
    m_dcBack.fill(parent->palette().color(parent->backgroundRole()));
    // Only the parent itself, not its children: this button (and its siblings) stay out.
    parent->render(&m_dcBack, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
}

QPixmap CGdipButton::ComposeLook(const CGdiPlusBitmap* picture, const ColorMatrix* matrix) const {
    QPixmap look = m_dcBack;
    if (picture == nullptr || !picture->IsLoaded()) {
        return look;
    }
    const QSizeF size = picture->PhysicalSize();
    // Scaled once to the screen's own pixels, so that high-density screens get a sharp picture.
    const qreal ratio = look.devicePixelRatio();
    const QSize pixels(static_cast<int>(std::lround(size.width() * ratio)),
                       static_cast<int>(std::lround(size.height() * ratio)));
    QImage image =
        picture->Bitmap()->scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (matrix != nullptr) {
        image = ApplyColorMatrix(image, *matrix);
    }
    image.setDevicePixelRatio(ratio);
    QPainter painter(&look);
    painter.drawImage(QPointF(kPictureOrigin), image);
    return look;
}

void CGdipButton::PrepareLooks() {
    if (m_bCachesReady || m_pNormalImage == nullptr) {
        return;
    }
    m_dPixelRatio = devicePixelRatioF();
    if (m_dcBack.isNull()) {
        CaptureBackground();
    }
    if (m_dcNormal.isNull()) {
        m_dcNormal = ComposeLook(m_pNormalImage.get());
        m_dcPressed = ComposeLook(m_pActiveImage.get());
        m_dcHover = ComposeLook(m_pActiveImage.get());
        m_dcGrey = ComposeLook(m_pNormalImage.get(), &kGreyMatrix);
    }
    m_pCurrent = &m_dcNormal;
    m_bCachesReady = true;
}

const QPixmap* CGdipButton::ChooseLook() const {
    if (!isEnabled()) {
        return &m_dcGrey;
    }
    if (isDown()) {
        return &m_dcPressed;
    }
    return m_bHover ? &m_dcHover : &m_dcNormal;
}

void CGdipButton::paintEvent(QPaintEvent* /*event*/) {
    if (m_bCachesReady && !qFuzzyCompare(m_dPixelRatio, devicePixelRatioF())) {
        ClearLooks();  // moved to a screen of another density
    }
    PrepareLooks();
    if (!m_bCachesReady) {
        return;
    }
    m_pCurrent = ChooseLook();
    QPainter painter(this);
    painter.drawPixmap(0, 0, *m_pCurrent);
    if (hasFocus()) {
        // The pictures have no focused look: the platform's focus frame goes over them.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CGdipButton::enterEvent(QEnterEvent* event) {
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CGdipButton::leaveEvent(QEvent* event) {
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CGdipButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bHover && rect().contains(event->position().toPoint())) {
        m_bHover = true;
        update();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CGdipButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double-click is a press of its own, so the button reacts twice.
    mousePressEvent(event);
}

}  // namespace korvana
