#include <gtest/gtest.h>

#include "controls/AppIcon.h"
#include "controls/CGdiPlusBitmap.h"
#include "controls/ResourceIds.h"

namespace korvana {
namespace {

struct FacePair {
    int normalId;
    int activeId;
    int width;
    int height;
};

// Every button's pictures: wide ones for the 110-pixel buttons (and Copy Up's 100), narrow ones
// for Help and About, and the transfer view's Download pair.
const FacePair kFaces[] = {
    {IDB_CONNECT_NORMAL, IDB_CONNECT_ACTIVE, 315, 100},
    {IDB_REFRESH_NORMAL, IDB_REFRESH_ACTIVE, 315, 100},
    {IDB_COPY_UP_NORMAL, IDB_COPY_UP_ACTIVE, 315, 100},
    {IDB_COPY_DOWN_NORMAL, IDB_COPY_DOWN_ACTIVE, 315, 100},
    {IDB_HELP_NORMAL, IDB_HELP_ACTIVE, 208, 100},
    {IDB_ABOUT_NORMAL, IDB_ABOUT_ACTIVE, 208, 100},
    {IDB_DOWNLOAD_NORMAL, IDB_DOWNLOAD_ACTIVE, 229, 91},
};

// Counts strongly blue and strongly red opaque pixels: the symbol's colour.
std::pair<int, int> BlueAndRed(const QImage& image) {
    int blue = 0;
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 250) {
                continue;
            }
            blue += c.blue() > c.red() + 100 ? 1 : 0;
            red += c.red() > c.blue() + 100 ? 1 : 0;
        }
    }
    return {blue, red};
}

TEST(ProgramPictures, ButtonFacesHaveTheirSizeResolutionAndSymbolColour) {
    for (const FacePair& face : kFaces) {
        CGdiPlusBitmapResource normal;
        CGdiPlusBitmapResource active;
        ASSERT_TRUE(normal.Load(face.normalId, "PNG")) << face.normalId;
        ASSERT_TRUE(active.Load(face.activeId, "PNG")) << face.activeId;
        for (const CGdiPlusBitmap* picture : {&normal, &active}) {
            EXPECT_EQ(picture->Bitmap()->size(), QSize(face.width, face.height));
            EXPECT_EQ(picture->Bitmap()->dotsPerMeterX(), 11800);
            EXPECT_EQ(picture->Bitmap()->dotsPerMeterY(), 11800);
            EXPECT_TRUE(picture->Bitmap()->hasAlphaChannel());
        }
        const auto [normalBlue, normalRed] = BlueAndRed(*normal.Bitmap());
        const auto [activeBlue, activeRed] = BlueAndRed(*active.Bitmap());
        EXPECT_GT(normalBlue, 200) << face.normalId;
        EXPECT_EQ(normalRed, 0) << face.normalId;
        EXPECT_GT(activeRed, 200) << face.activeId;
        EXPECT_EQ(activeBlue, 0) << face.activeId;
    }
}

TEST(ProgramPictures, WideAndNarrowFacesFitTheirButtonsOnAStandardScreen) {
    CGdiPlusBitmapResource wide(IDB_CONNECT_NORMAL, "PNG");
    CGdiPlusBitmapResource narrow(IDB_HELP_NORMAL, "PNG");
    EXPECT_NEAR(wide.PhysicalSize().width(), 100.9, 0.1);
    EXPECT_NEAR(wide.PhysicalSize().height(), 32.0, 0.1);
    EXPECT_NEAR(narrow.PhysicalSize().width(), 66.6, 0.1);
    // Drawn from (1, 1): inside 110 x 40 and 70 x 40 buttons.
    EXPECT_LT(1 + wide.PhysicalSize().width(), 110);
    EXPECT_LT(1 + narrow.PhysicalSize().width(), 70);
    EXPECT_LT(1 + wide.PhysicalSize().height(), 40);
}

TEST(ProgramPictures, SplashIsEightHundredBySixHundredWithoutAlpha) {
    CGdiPlusBitmapResource splash(IDB_SPLASH, "PNG");
    ASSERT_TRUE(splash.IsLoaded());
    EXPECT_EQ(splash.Bitmap()->size(), QSize(800, 600));
    EXPECT_FALSE(splash.Bitmap()->hasAlphaChannel());
    EXPECT_GE(splash.Bitmap()->depth(), 24);
}

TEST(ProgramPictures, ApplicationIconComesInSmallAndLargeSizes) {
    const QIcon icon = LoadAppIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
}

}  // namespace
}  // namespace korvana
