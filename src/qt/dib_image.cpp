#include "qt/dib_image.h"

#include "platform/dib.h"

QImage dibImage(const Dib& dib) {
    QImage image(dib.width(), dib.height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < dib.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dib.width(); ++x) {
            line[x] = 0xFF000000u | dib.pixel(x, y);
        }
    }
    return image;
}
