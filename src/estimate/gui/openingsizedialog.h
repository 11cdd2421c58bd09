#pragma once
// The width and height of a window or door opening, for its line to be worked out from them
// rather than from an area. OK hands them to `apply`, which answers why they are not taken, or
// nothing; the dialog stays open and says why until they are.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

namespace velaro {

class OpeningSizeDialog : public QDialog {
    Q_OBJECT
  public:
    using Apply = std::function<QString(const QString& width, const QString& height)>;
    OpeningSizeDialog(const QString& element, const QString& width, const QString& height,
                      Apply apply, QWidget* parent = nullptr);

    void accept() override;

  private:
    Apply apply_;
    QLineEdit* width_;
    QLineEdit* height_;
    QLabel* problem_;
};

} // namespace velaro
