// The windows under a dark desktop palette: they keep their own light colours, so every text
// keeps its contrast. Contrast is measured on the rendered pixels of each text, the way WCAG
// defines it, against the colour the control is actually painted on.

#include "shell/mainwindow.h"
#include "shell/registry.h"
#include "support/testsupport.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <map>

using namespace velaro;
using namespace velaro::test;

namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb colour) {
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
           0.0722 * linear(qBlue(colour));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text painted in `area`: the colour most of the area is painted in is the
// background, and the text's colour is the pixel that stands out most from it.
double paintedContrast(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    if (counts.empty())
        return 0;
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    double best = 1;
    for (const auto& [colour, count] : counts)
        best = std::max(best, contrast(colour, background));
    return best;
}

// Colours of a dark desktop theme, as Adwaita-dark gives them to Qt.
QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
    dark.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::Mid, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Dark, QColor(0x1b, 0x1b, 0x1b));
    dark.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

struct Measured {
    QString control;
    double ratio;
};

// Every text of a window as painted: labels, buttons, fields (given a text) and menu titles.
QList<Measured> measureTexts(QWidget& window) {
    for (QLineEdit* field : window.findChildren<QLineEdit*>())
        field->setText(QStringLiteral("12,5"));
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QList<Measured> measured;
    const auto add = [&](QWidget* control, QRect area) {
        if (!control->isVisibleTo(&window) || area.isEmpty())
            return;
        area.translate(control->mapTo(&window, QPoint(0, 0)));
        const QString text = control->property("text").toString().left(24);
        const QString name = control->objectName().isEmpty() ? QStringLiteral("«%1»").arg(text)
                                                             : control->objectName();
        measured.append({name, paintedContrast(image, area)});
    };
    for (QLabel* label : window.findChildren<QLabel*>())
        if (!label->text().trimmed().isEmpty())
            add(label, label->contentsRect());
    for (QPushButton* button : window.findChildren<QPushButton*>())
        add(button, button->rect().adjusted(3, 3, -3, -3)); // inside the bevel
    for (QLineEdit* field : window.findChildren<QLineEdit*>())
        add(field, field->rect().adjusted(2, 2, -2, -2));
    for (QMenuBar* bar : window.findChildren<QMenuBar*>())
        for (QAction* menu : bar->actions())
            add(bar, bar->actionGeometry(menu).adjusted(1, 1, -1, -1));
    return measured;
}

} // namespace

class ThemesTest : public QObject {
    Q_OBJECT

    QPalette original;

  private slots:
    void initTestCase() { original = QApplication::palette(); }
    void cleanup() {
        QApplication::setPalette(original);
        QApplication::setPalette(original, "QLineEdit");
        QApplication::setPalette(original, "QPushButton");
    }

    void textsKeepTheirContrast_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("theme");
        for (const char* theme : {"light", "dark", "dark with dark fields and buttons"})
            for (int n = 1; n <= WindowRegistry::kLastForm; ++n)
                QTest::addRow("TForm%d, %s", n, theme) << n << QString(theme);
    }
    void textsKeepTheirContrast() {
        QFETCH(int, form);
        QFETCH(QString, theme);
        if (theme.startsWith("dark"))
            QApplication::setPalette(darkPalette());
        if (theme.contains("fields")) {
            // A theme may give some classes colours of their own.
            QApplication::setPalette(darkPalette(), "QLineEdit");
            QApplication::setPalette(darkPalette(), "QPushButton");
        }
        Program program(',');
        QWidget* window = program.registry().Form(form);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QList<Measured> measured = measureTexts(*window);
        QVERIFY(measured.size() >= 3);
        QStringList faint;
        const Measured* lowest = &measured.front();
        for (const Measured& text : measured) {
            if (text.ratio < lowest->ratio)
                lowest = &text;
            if (text.ratio < 4.5)
                faint << QString("%1 %2:1").arg(text.control).arg(text.ratio, 0, 'f', 2);
        }
        qInfo("lowest contrast %.2f:1 (%s)", lowest->ratio, qPrintable(lowest->control));
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(", ")));
    }
};

VELARO_TEST_MAIN(ThemesTest)
#include "test_themes.moc"
