#include "core/picturearea.h"

#include "core/jpegdecoder.h"

#include <QFile>
#include <QPainter>

namespace velaro {

std::optional<QImage> imageFromJpeg(const QByteArray& bytes) {
    auto decoded = decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size()));
    if (!decoded)
        return std::nullopt;
    QImage image(decoded->width, decoded->height, QImage::Format_RGB888);
    const int stride = decoded->width * 3;
    for (int y = 0; y < decoded->height; ++y)
        std::copy_n(decoded->rgb.data() + static_cast<std::size_t>(y) * stride, stride,
                    image.scanLine(y));
    return image;
}

std::optional<QImage> modulePicture(const QString& module) {
    QFile file(QStringLiteral(":/pictures/%1.jpg").arg(module));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return imageFromJpeg(file.readAll());
}

PictureArea::PictureArea(const QString& name, const QRect& area, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setGeometry(area);
}

void PictureArea::setPicture(std::optional<QImage> picture) {
    picture_ = std::move(picture);
    update();
}

void PictureArea::paintEvent(QPaintEvent*) {
    if (!picture_)
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), *picture_); // the widget's own rectangle clips it
}

} // namespace velaro
