// The floor for any Qt Widgets program: an application with one empty top-level window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(418, 188);
    window.show();
    return QApplication::exec();
}
