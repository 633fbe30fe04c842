// A third reference for the start-up benchmark: the text window grown to one
// widget of each kind the front-end shows when it starts, in the fonts it
// shows them in (the proportional one, the fixed-pitch one, and that in bold),
// with none of the front-end's own code or pictures. What the front-end takes
// beyond this window is its own; what this window takes beyond the text
// window is the toolkit's, for those kinds of widgets.
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Widgets window"));
    window.setFixedSize(623, 649);

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(11);
    QFont text = QApplication::font();
    text.setPixelSize(15);

    QPlainTextEdit help(&window);
    help.setGeometry(6, 4, 357, 572);
    help.setReadOnly(true);
    help.setLineWrapMode(QPlainTextEdit::NoWrap);
    help.setFont(fixed);
    QString lines;
    for (int i = 0; i < 30; ++i)
        lines += QStringLiteral(" Function %1        Key Assignment    Alt-%1\n").arg(i);
    help.setPlainText(lines);

    QListWidget list(&window);
    list.setGeometry(370, 283, 247, 274);
    list.setFont(text);
    for (int i = 0; i < 16; ++i)
        list.addItem(QStringLiteral("Game number %1").arg(i));
    list.setCurrentRow(15);

    QLabel caption(QStringLiteral("Emu Path :"), &window);
    caption.setGeometry(6, 583, 94, 16);
    QFont bold = fixed;
    bold.setBold(true);
    bold.setUnderline(true);
    caption.setFont(bold);
    QLineEdit path(QStringLiteral("/home/user/Supermodel/"), &window);
    path.setGeometry(99, 580, 518, 19);
    path.setFont(text);
    QPushButton scan(QStringLiteral("New Scan"), &window);
    scan.setGeometry(553, 600, 63, 19);

    QCheckBox option(QStringLiteral("Show Fps ...."), &window);
    option.setGeometry(506, 219, 81, 13);
    QLabel counter(QStringLiteral("16"), &window);
    counter.setGeometry(370, 556, 67, 21);
    counter.setFont(text);

    window.show();
    return QApplication::exec();
}
