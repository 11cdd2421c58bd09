#include "estimate/estimatesheet.h"

#include "estimate/estimatewindow.h"

#include <QEvent>
#include <QWidget>

namespace velaro {

EstimateSheet::EstimateSheet(char decimalSeparator, QObject* parent)
    : QObject(parent), separator_(decimalSeparator) {}

EstimateSheet::~EstimateSheet() = default;

EstimateWindow& EstimateSheet::window() {
    if (!window_)
        window_ = std::make_unique<EstimateWindow>(separator_);
    return *window_;
}

void EstimateSheet::open() {
    EstimateWindow& sheet = window();
    sheet.show();
    sheet.raise();
    sheet.activateWindow();
}

void EstimateSheet::record(const QString& element, const QString& calculator,
                           const FormState& state, const Results& results) {
    window().record(element, calculator, state, results);
}

void EstimateSheet::guardExit(QWidget& mainWindow) {
    mainWindow.installEventFilter(this);
}

bool EstimateSheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && window_ && !window_->mayExit()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velaro
