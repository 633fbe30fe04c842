// A second reference for the start-up benchmark: the bare window plus one
// line of text. Any window that shows text pays for the font system's start
// (reading the font configuration, matching, loading a face); the bare
// window never does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Text window"));
    window.setFixedSize(623, 649);
    QLabel label(QStringLiteral("One line of text"), &window);
    label.move(10, 10);
    window.show();
    return QApplication::exec();
}
