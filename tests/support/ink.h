#pragma once
// What is drawn in an image: the pixels that stand out from the background.
#include <QImage>
#include <QtMath>

namespace orvine::test {

// The pixels of `image` that stand out from `background`, in logical pixels less `margin`.
inline QList<QPoint> ink(const QImage& image, const QColor& background, int margin = 0)
{
    const qreal dpr = image.devicePixelRatio();
    QList<QPoint> inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAbs(qGray(image.pixel(x, y)) - qGray(background.rgb())) > 48)
                inked << QPoint(qFloor(x / dpr) - margin, qFloor(y / dpr) - margin);
    return inked;
}

} // namespace orvine::test
