#pragma once
// The sheet's paint systems: a list of them and, for the one chosen, its name and its layers in
// the order they are painted (putty and primer first), each a material or work alone (sanding),
// with its coats, the price of its work and the norm it is priced by.
// A system can be kept as a template in the user's settings, with the materials it is painted
// with, and added from one into another sheet. OK keeps the dialog open while a system is not
// sound and says which one and why.
//
// Materials a template brings that the sheet lacks (by name) are given by addedMaterials(), with
// id 0; the layers of systems() refer to them by negative ids: -1 for the first of them, -2 for
// the second, and so on: SheetEditor::editSystems takes both.

#include "estimate/sheet.h"

#include <QDialog>
#include <QSet>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace velaro {

class EstimatePrompts;

class SystemsDialog : public QDialog {
    Q_OBJECT
  public:
    SystemsDialog(const QList<PaintSystem>& systems, const QList<Material>& materials,
                  QWidget* parent = nullptr);

    // The systems the sheet's lines use: removing one of them asks first. The prompts also
    // answer which template to add.
    void setUsedSystems(QSet<int> ids, EstimatePrompts* prompts);
    // The sheet's decimal separator, for the sum of the layers' prices.
    void setSeparator(QChar separator);

    QList<PaintSystem> systems() const;
    QList<Material> addedMaterials() const;
    // What keeps the systems from being taken, or empty.
    QString problem() const;

    void addSystem();
    void removeSystem();
    // The chosen system kept as a template; false where it is not sound or nothing was saved.
    bool saveTemplate();
    // A system from a template the user chooses; false where none was added.
    bool addFromTemplate();

    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int current() const;
    QString problemAt(int& row) const;
    void select(int row);
    void showSystem();
    void showLayers(int currentLayer);
    void addLayerRow(const Layer& layer);
    void readLayers();
    void addLayer();
    void removeLayer();
    void moveLayer(int delta);
    void refreshItem(int row);
    void refreshLayersText();
    void refreshTemplates();
    // The layers' columns as wide as the longest material name and the coats need, the rows as
    // high as their editors, in the dialog's font: the dialog grows to show them whole.
    void fitLayers();
    // A window takes no height for its width from its layout: the composition's wrapped lines
    // are given their room by hand.
    void fitHeight();
    // The material's id in the sheet or among the added ones, adding it where it is neither.
    int materialFor(const Material& material);
    bool knownMaterial(int id) const;

    QList<PaintSystem> systems_; // in the list's order
    QList<Material> materials_;
    QList<Material> added_; // id -1 is the first
    QSet<int> used_;
    EstimatePrompts* prompts_;
    bool showing_ = false; // the editors are being filled, not edited
    QChar separator_ = u',';

    QListWidget* list_;
    QLineEdit* name_;
    QTableWidget* layers_;
    QLabel* layersText_;
    QLabel* workPrice_;
    QPushButton* fromTemplate_;
    QWidget* editors_;
    QLabel* problem_;
};

} // namespace velaro
