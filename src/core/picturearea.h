#pragma once
// A calculator's illustration: a JPEG compiled into the program, drawn unscaled from the
// area's top-left corner and cut off at its edges; one that cannot be decoded leaves the area
// empty. A picture named by its resource is decoded when first painted and let go when the
// window hides, so hidden calculators hold no pixels. On a screen of more than one device pixel
// per point its twice-as-large rendering ("<name>@2x.jpg"), where there is one, is drawn instead
// at the same size in points, so the picture stays sharp.

#include <QImage>
#include <QWidget>

#include <optional>

namespace velaro {

// Decodes JPEG bytes with the project's libjpeg decoder.
std::optional<QImage> imageFromJpeg(const QByteArray& bytes);

// The picture of a calculator module, ":/pictures/<module>.jpg", or its rendering at scale 2.
std::optional<QImage> modulePicture(const QString& module, int scale = 1);

class PictureArea : public QWidget {
    Q_OBJECT
  public:
    PictureArea(const QString& name, const QRect& area, QWidget* parent);

    // A decoded picture, kept as given.
    void setPicture(std::optional<QImage> picture);
    // The JPEG resource to show, decoded on demand.
    void setPictureResource(const QString& path);

    // The picture as it is shown, decoding a resource's rendering for the area's device pixel
    // ratio (with that ratio set) if need be.
    const std::optional<QImage>& picture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QString resource_;
    mutable std::optional<QImage> picture_;
    mutable int decodedScale_ = 0; // 0 while the resource is not decoded
};

} // namespace velaro
