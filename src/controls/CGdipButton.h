#pragma once

// A push button drawn only with pictures: a normal picture, and an active picture shown while the
// mouse rests on the button or presses it, both blended over the window behind the button; a
// disabled button shows its normal picture in grey. All looks are composed once, at the first
// paint; later paints copy a finished look.

#include <QAbstractButton>
#include <QPixmap>
#include <memory>

#include "controls/CGdiPlusBitmap.h"
#include "controls/ColorMatrix.h"

namespace korvana {

class CGdipButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CGdipButton(QWidget* parent = nullptr);
    ~CGdipButton() override;

    // Loads the normal and the active picture from the resources (type "PNG"). A picture that
    // cannot be loaded is left out. True when both loaded.
    bool LoadImages(int normalId, int activeId);

    // With a non-empty text, shows it as the button's tooltip (when activate is set).
    void SetToolTipText(const QString& text, bool activate = true);

    // Composes the looks again at the next paint, over the window as it is then. Needed after
    // the pictures were replaced.
    void ResetLooks();

    // The look drawn last (none before the first paint or without a normal picture).
    const QPixmap* CurrentLook() const { return m_pCurrent; }

    QSize sizeHint() const override;

    // Pictures, owned by the button.
    std::unique_ptr<CGdiPlusBitmapResource> m_pNormalImage;
    std::unique_ptr<CGdiPlusBitmapResource> m_pActiveImage;

    bool m_bHover = false;
    bool m_bCachesReady = false;
    QString m_strTip;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PrepareLooks();
    void ClearLooks();
    void CaptureBackground();
    // The background with a picture drawn on it at its physical size from (1, 1), through a
    // colour matrix when one is given.
    QPixmap ComposeLook(const CGdiPlusBitmap* picture, const ColorMatrix* matrix = nullptr) const;
    const QPixmap* ChooseLook() const;

    QPixmap m_dcBack;
    QPixmap m_dcNormal;
    QPixmap m_dcPressed;
    QPixmap m_dcHover;
    QPixmap m_dcGrey;
    const QPixmap* m_pCurrent = nullptr;
    qreal m_dPixelRatio = 0.0;  // the screen density the looks were composed for
};

}  // namespace korvana
