#pragma once
// The numeric field: a single-line edit that lets through only what a number is typed with.

#include <QLineEdit>

#include <memory>

class QMenu;

namespace velaro {

class NumericEdit : public QLineEdit {
    Q_OBJECT
  public:
    NumericEdit(const QString& name, QChar decimalSeparator, QWidget* parent);

    static constexpr int kWidth = 121;
    static constexpr int kHeight = 21;

    // The unit shown beside the field (empty where none), for records of what was measured.
    const QString& unit() const { return unit_; }
    void setUnit(const QString& unit) { unit_ = unit; }

    // The clipboard's text put in where it is a number as typed, else nothing (see pastedNumber).
    void pasteNumber();
    // The field's context menu: Paste through the filter, offered only for a number; Undo and
    // Redo without the keys the filter discards.
    std::unique_ptr<QMenu> createContextMenu();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool refusesDrop(const QDropEvent& event) const;

    QChar separator_;
    QString unit_;
};

} // namespace velaro
