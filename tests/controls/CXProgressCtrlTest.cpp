#include "controls/CXProgressCtrl.h"

#include <gtest/gtest.h>

#include <QImage>

#include "PixelProbe.h"

namespace korvana {
namespace {

// Inside the bar area every pixel is the bar colour, the white text or a blend of the two:
// red equals green and blue is full. Over the grey background every pixel is grey to black.
bool IsBarOrLightText(QRgb pixel) {
    return qBlue(pixel) >= 250 && std::abs(qRed(pixel) - qGreen(pixel)) <= 2 && qRed(pixel) >= 126;
}

bool IsGreyOrDarkText(QRgb pixel) {
    return std::abs(qRed(pixel) - qBlue(pixel)) <= 2 &&
           std::abs(qGreen(pixel) - qBlue(pixel)) <= 2 && qRed(pixel) <= 236;
}

class ProgressPicture : public ::testing::Test {
protected:
    void SetUp() override {
        m_bar.resize(204, 24);  // inner area 200 x 20 from (2, 2)
        m_bar.setRange(0, 10);
    }

    QImage Paint(int position) {
        m_bar.setValue(position);
        return m_bar.grab().toImage();
    }

    // Counts pixels of the inner area in [fromX, toX) that fail a test, and those that look like
    // text (far from the plain fill colour).
    static std::pair<int, int> Scan(const QImage& image, int fromX, int toX, bool (*fits)(QRgb),
                                    QRgb fill) {
        int misfits = 0;
        int text = 0;
        for (int y = 2; y < 22; ++y) {
            for (int x = fromX; x < toX; ++x) {
                const QRgb pixel = RgbAt(image, x, y);
                misfits += fits(pixel) ? 0 : 1;
                text += std::abs(qRed(pixel) - qRed(fill)) > 60 ? 1 : 0;
            }
        }
        return {misfits, text};
    }

    CXProgressCtrl m_bar;
};

// At the limits the whole inner area is one fill with text of one colour on it.
TEST_F(ProgressPicture, AtTheLimitsShowDarkTextOnGreyOrLightTextOnTheBar) {
    const struct {
        int position;
        const char* text;
        bool (*fits)(QRgb);
        QRgb fill;
    } cases[] = {{0, "0% ", IsGreyOrDarkText, qRgb(235, 235, 235)},
                 {10, "100% ", IsBarOrLightText, qRgb(128, 128, 255)}};
    for (const auto& c : cases) {
        const QImage image = Paint(c.position);
        EXPECT_EQ(m_bar.BarText(), c.text);
        const auto [misfits, text] = Scan(image, 2, 202, c.fits, c.fill);
        EXPECT_EQ(misfits, 0) << c.position;
        EXPECT_GT(text, 10) << c.position;
        EXPECT_EQ(RgbAt(image, 3, 3), c.fill) << c.position;
        EXPECT_EQ(RgbAt(image, 201, 21), c.fill) << c.position;
    }
}

TEST_F(ProgressPicture, AtHalfTheTextChangesColourExactlyAtTheBarsEnd) {
    m_bar.setFont(QFont(m_bar.font().family(), 14));
    const QImage image = Paint(5);
    EXPECT_EQ(m_bar.BarText(), "50% ");
    const int barEnd = 2 + 100;
    const auto [barMisfits, lightText] =
        Scan(image, 2, barEnd, IsBarOrLightText, qRgb(128, 128, 255));
    const auto [backMisfits, darkText] =
        Scan(image, barEnd, 202, IsGreyOrDarkText, qRgb(235, 235, 235));
    EXPECT_EQ(barMisfits, 0);
    EXPECT_EQ(backMisfits, 0);
    EXPECT_GT(lightText, 10);
    EXPECT_GT(darkText, 10);
}

TEST_F(ProgressPicture, EqualLimitsShowZeroPercentWithoutBar) {
    m_bar.setRange(5, 5);
    const QImage image = Paint(5);
    EXPECT_DOUBLE_EQ(m_bar.Fraction(), 0.0);
    EXPECT_EQ(m_bar.BarText(), "0% ");
    EXPECT_EQ(Scan(image, 2, 202, IsGreyOrDarkText, qRgb(235, 235, 235)).first, 0);
}

TEST_F(ProgressPicture, RoundsThePercentage) {
    m_bar.setRange(0, 202);
    m_bar.setValue(1);
    EXPECT_EQ(m_bar.BarText(), "0% ");
    m_bar.setValue(197);
    EXPECT_EQ(m_bar.BarText(), "98% ");
}

}  // namespace
}  // namespace korvana
