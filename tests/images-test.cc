// ProgramImage: every compiled-in picture at 100 % and 200 %, drawn from its pixels as they are.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string>

#include "resources/imagedata.h"
#include "resources/images.h"

namespace {

QImage Pixels(const unsigned int* pixels, int width, int height) {
    return QImage(reinterpret_cast<const uchar*>(pixels), width, height,
                  QImage::Format_ARGB32_Premultiplied);
}

TEST(ProgramImage, GivesEveryPictureAtBothScalesWithItsOwnPixels) {
    ASSERT_GT(tav::kImageCount, 0u);
    for (std::size_t i = 0; i < tav::kImageCount; ++i) {
        const tav::ImageData& data = tav::kImages[i];
        SCOPED_TRACE(data.name);
        const QSize size(data.width, data.height);
        const QIcon icon = tav::ProgramImage(data.name);
        EXPECT_EQ(icon.availableSizes(), QList<QSize>({size, size * 2}));
        const QPixmap normal = icon.pixmap(size, 1.0);
        EXPECT_EQ(normal.devicePixelRatio(), 1.0);
        EXPECT_EQ(normal.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  Pixels(data.pixels, data.width, data.height));
        const QPixmap doubled = icon.pixmap(size, 2.0);
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
        EXPECT_EQ(doubled.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  Pixels(data.pixels2x, data.width * 2, data.height * 2));
    }
    EXPECT_TRUE(tav::ProgramImage("no-such-image").isNull());
}

}  // namespace
