// The yardstick: a bare Qt Widgets program that shows one empty window.

#include "firstframe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(412, 743);
    new bench::FirstFrameReporter(window);
    window.show();
    return QApplication::exec();
}
