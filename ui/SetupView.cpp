#include "ui/SetupView.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace ui {

SetupView buildSetupView(QWidget* panel, const QFont& lineFont, const QFont& outputFont) {
    SetupView view;
    auto* cover = new QWidget(panel);
    cover->setObjectName(QStringLiteral("Picture5"));
    cover->setGeometry(kSetupRect);
    cover->setAutoFillBackground(true);
    QPalette white = cover->palette();
    white.setColor(QPalette::Window, Qt::white);
    cover->setPalette(white);
    cover->hide();
    view.Picture5 = cover;

    view.Label10 = new QLabel(cover);
    view.Label10->setObjectName(QStringLiteral("Label10"));
    view.Label10->setGeometry(kSetupLineRect);
    view.Label10->setFont(lineFont);
    view.Label10->setWordWrap(true);
    view.Label10->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view.Label10->setFocusPolicy(Qt::NoFocus);

    // The program takes its keys in its own window: nothing here may take
    // the focus from it, however the output is clicked or grows.
    auto* output = new QPlainTextEdit(cover);
    output->setObjectName(QStringLiteral("Text8"));
    output->setGeometry(kSetupOutputRect);
    output->setFont(outputFont);
    output->setReadOnly(true);
    output->setFocusPolicy(Qt::NoFocus);
    output->setTextInteractionFlags(Qt::TextSelectableByMouse);
    output->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    output->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    output->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    output->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    output->setMaximumBlockCount(kSetupOutputLines);
    output->setAccessibleName(QStringLiteral("Output of the input set-up"));
    view.Text8 = output;
    return view;
}

} // namespace ui
