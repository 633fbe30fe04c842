#include "ui/PadSetupView.h"

#include "ui/CheckBox.h"
#include "ui/PadPicture.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace ui {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect rect,
                    const QFont& font) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(rect);
    b->setFont(font);
    return b;
}

} // namespace

PadSetupView buildPadSetupView(QWidget* panel, const QFont& font, const QFont& titleFont) {
    PadSetupView view;
    auto* cover = new QWidget(panel);
    cover->setObjectName(QStringLiteral("Picture6"));
    cover->setGeometry(kPadSetupRect);
    cover->setAutoFillBackground(true);
    QPalette white = cover->palette();
    white.setColor(QPalette::Window, Qt::white);
    cover->setPalette(white);
    cover->hide();
    view.Picture6 = cover;

    view.Label11 = new QLabel(cover);
    view.Label11->setObjectName(QStringLiteral("Label11"));
    view.Label11->setGeometry(kPadTitleRect);
    view.Label11->setFont(titleFont);

    view.Command11 = button(cover, "Command11", QStringLiteral("Player 2"), kPadPlayerRect, font);
    view.Command11->setCheckable(true);
    view.Command11->setAccessibleDescription(
        QStringLiteral("Shows player 2's pad when pressed, player 1's when not"));

    view.Check5 = new CheckBox(QStringLiteral("Nintendo letters"), cover);
    view.Check5->setObjectName(QStringLiteral("Check5"));
    view.Check5->setGeometry(kPadNintendoRect);
    view.Check5->setFont(font);
    view.Check5->setFocusPolicy(Qt::StrongFocus);
    view.Check5->setAccessibleDescription(
        QStringLiteral("The pad shown has B south, A east, Y west and X north; each input keeps "
                       "its place"));

    view.Combo2 = new QComboBox(cover);
    view.Combo2->setObjectName(QStringLiteral("Combo2"));
    view.Combo2->setGeometry(kPadDeadZoneRect);
    view.Combo2->setFont(font);
    view.Combo2->addItems({QStringLiteral("Dead zone 3 %"), QStringLiteral("Dead zone 5 %"),
                           QStringLiteral("Dead zone 6 %"), QStringLiteral("Dead zone 7 %")});
    view.Combo2->setAccessibleName(QStringLiteral("Dead zone of the sticks"));
    view.Combo2->setToolTip(QStringLiteral("The sticks' dead zone: 3 % is the emulator's own and "
                                           "writes nothing; pads usually want 5 to 7 %"));

    view.pad = new PadPicture(cover);
    view.pad->setObjectName(QStringLiteral("PadPicture"));
    view.pad->setFont(font);
    view.pad->setGeometry(kPadPictureRect);

    view.Label12 = new QLabel(cover);
    view.Label12->setObjectName(QStringLiteral("Label12"));
    view.Label12->setGeometry(kPadLineRect);
    view.Label12->setFont(font);
    view.Label12->setWordWrap(true);
    view.Label12->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    view.Combo1 = new QComboBox(cover);
    view.Combo1->setObjectName(QStringLiteral("Combo1"));
    view.Combo1->setGeometry(kPadScopeRect);
    view.Combo1->setFont(font);
    view.Combo1->addItems({QStringLiteral("For this game"), QStringLiteral("For every game")});
    view.Combo1->setAccessibleName(QStringLiteral("Where Apply writes"));

    view.Command14 =
        button(cover, "Command14", QStringLiteral("Take off the pad"), kPadTakeOffRect, font);
    view.Command14->setAccessibleDescription(
        QStringLiteral("The chosen part's inputs keep only their keys and mouse"));
    view.Command12 = button(cover, "Command12", QStringLiteral("Apply"), kPadApplyRect, font);
    view.Command12->setAccessibleDescription(
        QStringLiteral("Puts the layout into the bindings; Save writes them"));
    view.Command13 =
        button(cover, "Command13", QStringLiteral("Back to the controls"), kPadBackRect, font);

    return view;
}

} // namespace ui
