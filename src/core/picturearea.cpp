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
    // The image wraps the decoded rows, so it is copied before they go.
    return QImage(decoded->rgb.data(), decoded->width, decoded->height, decoded->width * 3,
                  QImage::Format_RGB888)
        .copy();
}

namespace {

// The resource of a picture's rendering at a scale: "<name>.jpg" at 1, "<name>@2x.jpg" at 2.
QString scaledPath(const QString& path, int scale) {
    if (scale == 1 || !path.endsWith(QStringLiteral(".jpg")))
        return path;
    return path.chopped(4) + QStringLiteral("@%1x.jpg").arg(scale);
}

std::optional<QImage> resourcePicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return imageFromJpeg(file.readAll());
}

} // namespace

std::optional<QImage> modulePicture(const QString& module, int scale) {
    return resourcePicture(scaledPath(QStringLiteral(":/pictures/%1.jpg").arg(module), scale));
}

PictureArea::PictureArea(const QString& name, const QRect& area, QWidget* parent)
    : QWidget(parent) {
    setObjectName(name);
    setGeometry(area);
}

void PictureArea::setPicture(std::optional<QImage> picture) {
    resource_.clear();
    picture_ = std::move(picture);
    update();
}

void PictureArea::setPictureResource(const QString& path) {
    resource_ = path;
    picture_.reset();
    decodedScale_ = 0;
    update();
}

const std::optional<QImage>& PictureArea::picture() const {
    // Past one device pixel per point the twice-as-large rendering is the sharper one, also where
    // it is scaled down a little (at 1.5).
    const int scale = devicePixelRatioF() > 1.0 ? 2 : 1;
    if (!resource_.isEmpty() && scale != decodedScale_) {
        picture_.reset();
        if (scale != 1) {
            picture_ = resourcePicture(scaledPath(resource_, scale));
            if (picture_)
                picture_->setDevicePixelRatio(scale);
        }
        if (!picture_)
            picture_ = resourcePicture(resource_);
        decodedScale_ = scale;
    }
    return picture_;
}

void PictureArea::paintEvent(QPaintEvent*) {
    if (!picture())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform); // where the ratio is not whole
    painter.drawImage(QPoint(0, 0), *picture_);             // the widget's own rectangle clips it
}

void PictureArea::hideEvent(QHideEvent* event) {
    if (!resource_.isEmpty()) {
        picture_.reset();
        decodedScale_ = 0;
    }
    QWidget::hideEvent(event);
}

} // namespace velaro
