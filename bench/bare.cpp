// The bare yardstick: a Qt Widgets program that shows one empty window of the main window's size.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(412, 743);
    window.show();
    return QApplication::exec();
}
