// The floor yardstick: the main window's content and nothing else, in plain Qt: a 412 × 743
// window with the two menus, the bold title, 26 captioned buttons in the serif face and the
// status line. No calculators, no translations, no icon: what showing that content must cost.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

const char* const kCaptions[] = {
    "Площадь окраски труб без фасонных частей...",
    "Площадь окраски стальных труб с выступами, креплениями...",
    "Площадь окраски чугунных труб, включая выступы, крепления...",
    "Площадь окраски моек и раковин",
    "Площадь окраски ванн",
    "Площадь окраски смывного бачка",
    "Площадь окраски чугунного радиатора МС-140 500",
    "Площадь окраски чугунного радиатора МС-140 300",
    "Площадь окраски лепных потолков",
    "Площадь окраски кесонных потолков",
    "Площадь окраски ребристых перекрытий",
    "Площадь окраски вагонки (евровагонки)",
    "Площадь окраски бревенчатых стен",
    "Площадь окраски лепных изделий",
    "Площадь окраски стальных решеток с заполнением до 20%",
    "Площадь окраски стальных решеток с заполнением до 30%",
    "Площадь окраски стальных решеток с заполнением более 30%",
    "Площадь окраски волнистых поверхностей асболистов и стали",
    "Площадь окраски оконных проемов с раздельными переплетами",
    "Площадь окраски оконных проемов со спаренными переплетами",
    "Площадь окраски оконных проемов промышленных зданий",
    "Площадь окраски балконных дверей",
    "Площадь окраски дверных проемов с глухими полотнами",
    "Площадь окраски дверных проемов с остекленными полотнами",
    "Площадь окраски шкафных дверей",
    "Площадь окраски обрамлений дверных проемов (арка)",
};

QFont serif(int pixels, bool bold = false) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velaro Калькулятор окраски"));
    window.menuBar()->addMenu(QStringLiteral("&Файл"))->addAction(QStringLiteral("Выход"));
    window.menuBar()->addMenu(QStringLiteral("&Справка"))->addAction(QStringLiteral("О программе"));
    auto* client = new QWidget;
    window.setCentralWidget(client);
    auto* title = new QLabel(QStringLiteral("Калькуляторы площади окраски"), client);
    title->setFont(serif(15, true));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setGeometry(0, 8, 412, title->sizeHint().height());
    int top = 34;
    for (const char* caption : kCaptions) {
        auto* button = new QPushButton(QString::fromUtf8(caption), client);
        button->setFont(serif(13));
        button->setGeometry(21, top, 369, 25);
        top += 24;
    }
    window.statusBar()->addWidget(
        new QLabel(
            QStringLiteral("Velaro: площади окраски строительных элементов по нормам расхода")),
        1);
    window.setFixedSize(412, 743);
    window.show();
    return QApplication::exec();
}
