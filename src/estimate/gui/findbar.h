#pragma once
// The find bar over the sheet's table: what to find, going on and back, how many lines match.
// It finds nothing itself: the window moves through the lines and says what it found.

#include <QWidget>

class QLabel;
class QLineEdit;

namespace velaro {

class FindBar final : public QWidget {
    Q_OBJECT
  public:
    explicit FindBar(QWidget* parent = nullptr);

    QString text() const;
    // Shows the bar with its text selected, ready to type over.
    void open();
    // «3 из 12», or that nothing matches.
    void showFound(int current, int total);

  signals:
    void textChanged(const QString& text);
    void next();
    void previous();
    void closed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* text_;
    QLabel* found_;
};

} // namespace velaro
