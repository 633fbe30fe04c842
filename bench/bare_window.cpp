// The toolkit's floor for the start-up benchmark: the least a Qt Widgets
// program does to put a window of the front-end's size on the screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(623, 649);
    window.show();
    return QApplication::exec();
}
