#pragma once
// A calculator's illustration: a JPEG compiled into the program, drawn unscaled from the
// area's top-left corner and cut off at its edges. A picture that cannot be decoded leaves the
// area empty.

#include <QImage>
#include <QWidget>

#include <optional>

namespace velaro {

// Decodes JPEG bytes with the project's libjpeg decoder.
std::optional<QImage> imageFromJpeg(const QByteArray& bytes);

// The picture of a calculator module, from the resource ":/pictures/<module>.jpg".
std::optional<QImage> modulePicture(const QString& module);

class PictureArea : public QWidget {
    Q_OBJECT
public:
    PictureArea(const QString& name, const QRect& area, QWidget* parent);

    void setPicture(std::optional<QImage> picture);
    bool hasPicture() const { return picture_.has_value(); }
    const std::optional<QImage>& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QImage> picture_;
};

} // namespace velaro
