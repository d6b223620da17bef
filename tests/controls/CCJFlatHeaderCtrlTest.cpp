#include "controls/CCJFlatHeaderCtrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "PixelProbe.h"

#include "controls/CCJListCtrl.h"

namespace korvana {
namespace {

const QColor kFace(200, 200, 200);
const QColor kLight(255, 0, 0);
const QColor kShadow(0, 0, 255);
const QColor kText(0, 128, 0);

// A list whose header paints in colours that tell the pens apart.
class HeaderPicture : public ::testing::Test {
protected:
    void SetUp() override {
        m_list.BuildColumns(std::vector<int>{120, 150, 80}, QStringList{"Name", "Size", ""});
        m_list.SubclassHeader(false);
        m_header = m_list.GetFlatHeader();
        QPalette palette = m_header->palette();
        palette.setColor(QPalette::Button, kFace);
        palette.setColor(QPalette::Light, kLight);
        palette.setColor(QPalette::Dark, kShadow);
        palette.setColor(QPalette::ButtonText, kText);
        m_header->setPalette(palette);
        m_list.resize(400, 200);
        m_list.show();
    }

    QImage Picture() const { return m_header->viewport()->grab().toImage(); }
    int Bottom() const { return m_header->viewport()->height(); }

    CCJListCtrl m_list;
    CCJFlatHeaderCtrl* m_header = nullptr;
};

TEST_F(HeaderPicture, StartsWithoutArrowAndReportsThePreviousArrowColumn) {
    EXPECT_EQ(m_header->GetSortColumn(), -1);
    EXPECT_EQ(m_header->SetSortImage(1, true), -1);
    EXPECT_EQ(m_header->SetSortImage(0, false), 1);
    EXPECT_EQ(m_header->GetSortColumn(), 0);
    EXPECT_FALSE(m_header->IsSortAscending());
}

TEST_F(HeaderPicture, DividersAreEtchedAfterEachColumn) {
    const QImage image = Picture();
    const int y = Bottom() / 2;
    for (int x : {120, 270}) {
        EXPECT_EQ(PixelAt(image, x, y), kShadow) << x;
        EXPECT_EQ(PixelAt(image, x + 1, y), kLight) << x;
        EXPECT_EQ(PixelAt(image, x - 1, y), kFace) << x;
        EXPECT_EQ(PixelAt(image, x - 2, y), kFace) << x;
        EXPECT_EQ(PixelAt(image, x, 1), kFace) << x;
    }
    EXPECT_EQ(PixelAt(image, 5, 0), kLight);
    EXPECT_EQ(PixelAt(image, 0, y), kLight);
    EXPECT_EQ(PixelAt(image, 5, Bottom() - 1), kShadow);
}

// The arrow is drawn in the titles' colour, so that it reads as well as they do.
TEST_F(HeaderPicture, AscendingArrowPointsUpWithTheGivenCorners) {
    m_header->SetSortImage(1, true);
    const QImage image = Picture();
    const int r = 270;  // right edge of column 1
    const int b = Bottom();
    EXPECT_EQ(PixelAt(image, r - 12, 5), kText);      // apex
    EXPECT_EQ(PixelAt(image, r - 9, b - 7), kText);   // right side near its foot
    EXPECT_EQ(PixelAt(image, r - 15, b - 6), kText);  // base
    EXPECT_EQ(PixelAt(image, r - 16, b - 7), kText);  // left side starts at the foot
    EXPECT_EQ(PixelAt(image, r - 12, 4), kFace);      // the left side ends before its end point
    EXPECT_EQ(PixelAt(image, r - 17, b - 6), kFace);  // base ends before its end point
}

TEST_F(HeaderPicture, DescendingArrowPointsDownWithTheGivenCorners) {
    m_header->SetSortImage(1, false);
    const QImage image = Picture();
    const int r = 270;
    const int b = Bottom();
    EXPECT_EQ(PixelAt(image, r - 9, 5), kText);       // right end of the top
    EXPECT_EQ(PixelAt(image, r - 13, b - 6), kText);  // tip
    EXPECT_EQ(PixelAt(image, r - 15, 5), kText);      // top-left corner
    EXPECT_EQ(PixelAt(image, r - 10, 5), kText);      // top edge
    EXPECT_EQ(PixelAt(image, r - 13, b - 5), kFace);  // the right side stops short
}

TEST_F(HeaderPicture, OnlyTheSortColumnShowsAnArrow) {
    m_header->SetSortImage(0, true);
    m_header->SetSortImage(1, true);
    const QImage image = Picture();
    EXPECT_EQ(PixelAt(image, 120 - 12, 5), kFace);
    EXPECT_EQ(PixelAt(image, 270 - 12, 5), kText);
}

TEST(FlatHeader, TakesTheApplicationFontInBoldWhenAsked) {
    CCJListCtrl list;
    list.AddColumn("Name", 100);
    list.SubclassHeader(true);
    EXPECT_EQ(list.GetFlatHeader()->font().weight(), QFont::Bold);
    EXPECT_EQ(list.GetFlatHeader()->font().family(), QApplication::font().family());
    list.SubclassHeader(false);
    EXPECT_NE(list.GetFlatHeader()->font().weight(), QFont::Bold);
}

}  // namespace
}  // namespace korvana
