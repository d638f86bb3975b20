// The floor for any Qt Widgets program: an application with one empty top-level window of the
// program's size. With --text it also shows one line of Chinese text in the default font: the
// floor for a Qt program that has to load a CJK font and shape text.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(418, 188);
    QLabel text(QString::fromUtf8("距离自动关机时间倒计时"), &window);
    text.move(16, 112);
    text.setVisible(argc > 1 && std::strcmp(argv[1], "--text") == 0);
    window.show();
    return QApplication::exec();
}
