#include "controls/CGdipButton.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "PixelProbe.h"

#include "controls/ColorMatrix.h"

namespace korvana {
namespace {

const QColor kBlue(0, 0, 200);
const QColor kRed(200, 0, 0);
const QColor kYellow(250, 240, 0);
const QColor kMagenta(220, 0, 220);
constexpr int kDotsPerMetre300Dpi = 11800;

// A window whose left part is yellow and the rest magenta, so the captured background can be
// told from the pictures.
class Backdrop : public QWidget {
public:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), m_right);
        painter.fillRect(QRect(0, 0, 40, height()), kYellow);
    }
    QColor m_right = kMagenta;
};

// A 300 x 100 picture at 300 dpi: its first 15 columns transparent, the rest one colour.
QString WritePicture(const QTemporaryDir& dir, const QString& name, const QColor& colour) {
    QImage image(300, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(QRect(15, 0, 285, 100), colour);
    image.setDotsPerMeterX(kDotsPerMetre300Dpi);
    image.setDotsPerMeterY(kDotsPerMetre300Dpi);
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

class ButtonFaces : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_backdrop.resize(200, 80);
        m_button = new CGdipButton(&m_backdrop);
        m_button->setGeometry(30, 10, 110, 40);
        m_button->m_pNormalImage = Picture("normal.png", kBlue);
        m_button->m_pActiveImage = Picture("active.png", kRed);
        m_backdrop.show();
    }

    std::unique_ptr<CGdiPlusBitmapResource> Picture(const char* name, const QColor& colour) {
        auto picture = std::make_unique<CGdiPlusBitmapResource>();
        EXPECT_TRUE(picture->Load(WritePicture(m_dir, QString::fromUtf8(name), colour)));
        return picture;
    }

    QImage Face() { return m_button->grab().toImage(); }

    void Send(QEvent::Type type, Qt::MouseButtons buttons) {
        const QPointF at(50, 20);
        QMouseEvent event(type, at, m_button->mapToGlobal(at), Qt::LeftButton, buttons, {});
        QCoreApplication::sendEvent(m_button, &event);
    }

    void Enter() {
        QEnterEvent event(QPointF(50, 20), QPointF(50, 20), m_button->mapToGlobal(QPointF(50, 20)));
        QCoreApplication::sendEvent(m_button, &event);
    }

    void Leave() {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(m_button, &event);
    }

    QTemporaryDir m_dir;
    Backdrop m_backdrop;
    CGdipButton* m_button = nullptr;
};

TEST_F(ButtonFaces, PictureIsDrawnAtItsPhysicalSizeFromOneOne) {
    EXPECT_NEAR(m_button->m_pNormalImage->PhysicalSize().width(), 96.1, 0.1);
    EXPECT_NEAR(m_button->m_pNormalImage->PhysicalSize().height(), 32.0, 0.1);
    const QImage face = Face();
    EXPECT_EQ(PixelAt(face, 50, 1), kBlue);
    EXPECT_EQ(PixelAt(face, 96, 32), kBlue);
    EXPECT_EQ(PixelAt(face, 50, 0), kMagenta);   // above the picture
    EXPECT_EQ(PixelAt(face, 98, 20), kMagenta);  // right of the picture
    EXPECT_EQ(PixelAt(face, 50, 34), kMagenta);  // below the picture
}

TEST_F(ButtonFaces, TransparentPartsShowTheCapturedBackground) {
    const QImage face = Face();
    EXPECT_EQ(PixelAt(face, 0, 20), kYellow);   // backdrop x 30
    EXPECT_EQ(PixelAt(face, 3, 20), kYellow);   // transparent picture columns
    EXPECT_EQ(PixelAt(face, 12, 0), kMagenta);  // backdrop x 42
    EXPECT_EQ(PixelAt(face, 12, 20), kBlue);
}

TEST_F(ButtonFaces, BackgroundIsCapturedOnceAtTheFirstPaint) {
    Face();
    m_backdrop.m_right = Qt::green;
    m_backdrop.update();
    EXPECT_EQ(PixelAt(Face(), 105, 38), kMagenta);
    m_button->ResetLooks();
    EXPECT_EQ(PixelAt(Face(), 105, 38), QColor(Qt::green));
}

TEST_F(ButtonFaces, HoverAndPressShowTheActivePicture) {
    EXPECT_EQ(PixelAt(Face(), 50, 15), kBlue);
    Enter();
    EXPECT_TRUE(m_button->m_bHover);
    EXPECT_EQ(PixelAt(Face(), 50, 15), kRed);
    Leave();
    EXPECT_FALSE(m_button->m_bHover);
    EXPECT_EQ(PixelAt(Face(), 50, 15), kBlue);

    Send(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(m_button->isDown());
    EXPECT_EQ(PixelAt(Face(), 50, 15), kRed);
    Send(QEvent::MouseButtonRelease, Qt::NoButton);
    Leave();
    EXPECT_EQ(PixelAt(Face(), 50, 15), kBlue);
}

TEST_F(ButtonFaces, GreyLookGoesThroughTheGreyMatrix) {
    m_button->setEnabled(false);
    const QImage face = Face();
    const int grey = qRound(0.11 * 200);
    EXPECT_NEAR(PixelAt(face, 50, 15).red(), grey, 1);
    EXPECT_NEAR(PixelAt(face, 50, 15).green(), grey, 1);
    EXPECT_NEAR(PixelAt(face, 50, 15).blue(), grey, 1);
    EXPECT_EQ(PixelAt(face, 0, 20), kYellow);
    Enter();
    EXPECT_EQ(PixelAt(Face(), 50, 15), PixelAt(face, 50, 15));
}

TEST_F(ButtonFaces, MissingActivePictureShowsTheBackgroundWhenHovered) {
    m_button->m_pActiveImage.reset();
    Enter();
    EXPECT_EQ(PixelAt(Face(), 50, 15), kMagenta);
}

TEST_F(ButtonFaces, WithoutANormalPictureNothingIsPrepared) {
    m_button->m_pNormalImage.reset();
    Face();
    EXPECT_FALSE(m_button->m_bCachesReady);
    EXPECT_EQ(m_button->CurrentLook(), nullptr);
}

TEST_F(ButtonFaces, DoubleClickCountsAsTwoPresses) {
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    Send(QEvent::MouseButtonPress, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, Qt::NoButton);
    Send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(ButtonFaces, HighDensityScreensGetTheirOwnPixels) {
    m_backdrop.hide();
    Face();
    // Composed for the density in effect; the look holds that many pixels per layout pixel.
    const QPixmap* look = m_button->CurrentLook();
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->size(), QSize(110, 40) * m_button->devicePixelRatioF());
}

TEST(ColorMatrices, GreyFollowsItsFormula) {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(100, 200, 250, 128));
    const QRgb grey = ApplyColorMatrix(image, kGreyMatrix).pixel(0, 0);
    const int expectedGrey = qRound(0.3 * 100 + 0.59 * 200 + 0.11 * 250);
    EXPECT_NEAR(qRed(grey), expectedGrey, 1);
    EXPECT_NEAR(qGreen(grey), expectedGrey, 1);
    EXPECT_NEAR(qBlue(grey), expectedGrey, 1);
    EXPECT_EQ(qAlpha(grey), 128);
}

TEST(BitmapLoading, RefusesMissingEmptyAndUndecodableFiles) {
    QTemporaryDir dir;
    CGdiPlusBitmapResource picture;
    EXPECT_FALSE(picture.Load(9999, "PNG"));
    EXPECT_FALSE(picture.Load(dir.filePath("none.png")));
    QFile empty(dir.filePath("empty.png"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(picture.Load(empty.fileName()));
    QFile junk(dir.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    EXPECT_FALSE(picture.Load(junk.fileName()));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(CGdiPlusBitmapResource::ResourcePath(151, "PNG"), ":/png/151.png");
}

}  // namespace
}  // namespace korvana
