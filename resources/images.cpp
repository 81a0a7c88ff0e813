#include "resources/images.h"

#include <QImage>
#include <QPixmap>

#include "resources/imagedata.h"

namespace tav {

namespace {

QPixmap Pixmap(const unsigned int* pixels, int width, int height, qreal ratio) {
    // The pixels are static data: the image only wraps them, nothing is decoded or copied.
    const QImage image(reinterpret_cast<const uchar*>(pixels), width, height,
                       QImage::Format_ARGB32_Premultiplied);
    // Without opaque detection the pixels are not read until they are drawn: Qt would otherwise
    // scan them for transparency, reading the 200 % pictures on a screen at 100 % too.
    QPixmap pixmap = QPixmap::fromImage(image, Qt::NoOpaqueDetection);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace

QIcon ProgramImage(std::string_view name) {
    for (std::size_t i = 0; i < kImageCount; ++i) {
        const ImageData& data = kImages[i];
        if (name == data.name) {
            QIcon icon;
            icon.addPixmap(Pixmap(data.pixels, data.width, data.height, 1.0));
            icon.addPixmap(Pixmap(data.pixels2x, data.width * 2, data.height * 2, 2.0));
            return icon;
        }
    }
    return QIcon();
}

}  // namespace tav
