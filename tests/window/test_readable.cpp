// Every word readable and every control named: texts measured against their
// controls (this test also runs at QT_SCALE_FACTOR=2), the options' look, the
// names a screen reader hears, and the list that keeps its highlight.

#include "support/Fakes.h"

#include "bindings/Profiles.h"
#include "bindings/SlotTable.h"
#include "ui/CheckBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/TextFit.h"

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

using ui::Form1;

namespace {

struct Measured {
    QFont font;
    QRectF room;
};

// The font a control draws `text` in and the room it has for it, worked out
// from Qt's own geometry of each kind of control.
Measured measure(QWidget* control, const QString& text) {
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->setText(text);
        const QMargins m = box->textMargins();
        // QLineEdit keeps one pixel above and below its line and two beside.
        return {box->font(), QRectF(box->contentsRect().marginsRemoved(m)).adjusted(2, 1, -2, -1)};
    }
    if (auto* help = qobject_cast<QPlainTextEdit*>(control)) {
        const qreal margin = help->document()->documentMargin();
        return {help->font(), QRectF(help->viewport()->rect()).adjusted(margin, 0, -margin, 0)};
    }
    if (auto* option = qobject_cast<ui::CheckBox*>(control))
        return {option->font(), option->captionRect()};
    if (auto* slot = qobject_cast<ui::ClickableLabel*>(control)) {
        slot->setText(text);
        return {slot->captionFont(), slot->contentsRect()};
    }
    auto* label = qobject_cast<QLabel*>(control);
    label->setText(text);
    return {label->font(), label->contentsRect()};
}

QAccessibleInterface* accessible(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control);
}

QString nameOf(QWidget* control) {
    return accessible(control)->text(QAccessible::Name);
}

} // namespace

class ReadableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textFitsWhole_data();
    void textFitsWhole();
    void everySlotFitsTheLongestKeyName();
    void optionsAreWhiteWithWholeTickBoxes();
    void controlsHaveNames_data();
    void controlsHaveNames();
    void slotNameFollowsItsKey();
    void imageFiveCanBePressed();
    void modifierKeepsTheHighlight_data();
    void modifierKeepsTheHighlight();
};

void ReadableTest::textFitsWhole_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    // Descenders and underscores where the paths have them.
    const QString path = QStringLiteral("/home/gjpqy/Supermodel_0.1a_Win32/");
    QTest::newRow("Text4") << "Text4" << path;
    QTest::newRow("Text5") << "Text5" << path;
    QTest::newRow("Text1") << "Text1"
                           << "1920";
    QTest::newRow("Text3") << "Text3"
                           << "1080";
    QTest::newRow("Text7") << "Text7"
                           << "166";
    QTest::newRow("Label4") << "Label4"
                            << "Rom Path :";
    QTest::newRow("Label5") << "Label5"
                            << "Emu Path :";
    QTest::newRow("Label2(0)") << "Label2(0)"
                               << "16";
    QTest::newRow("Label2(1)") << "Label2(1)"
                               << "16";
    QTest::newRow("Label2(2)") << "Label2(2)"
                               << "16";
    QTest::newRow("Label3") << "Label3"
                            << "InputSteeringRight Press Keys ...";
    // The help text's longest line.
    QTest::newRow("Text2") << "Text2" << QString(56, u'-');
    QTest::newRow("Check1") << "Check1"
                            << "Show Fps ....";
    QTest::newRow("Check2") << "Check2"
                            << "Full Screen ..";
    QTest::newRow("Check3") << "Check3"
                            << "Disable 60 Hz ...";
    QTest::newRow("Check4") << "Check4"
                            << "in MHz";
}

void ReadableTest::textFitsWhole() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* w = form.control(control);
    QVERIFY(w);
    const Measured m = measure(w, text);
    const QFontMetricsF metrics(m.font);
    QVERIFY2(metrics.horizontalAdvance(text) <= m.room.width(),
             qPrintable(QStringLiteral("%1 wide in %2")
                            .arg(metrics.horizontalAdvance(text))
                            .arg(m.room.width())));
    // Down to the lowest ink of underscores and descenders.
    const qreal line =
        metrics.ascent() + std::max(metrics.descent(), metrics.boundingRect(text).bottom());
    QVERIFY2(line <= m.room.height(),
             qPrintable(QStringLiteral("%1 high in %2").arg(line).arg(m.room.height())));
    QVERIFY(QFontInfo(m.font).pixelSize() >= ui::smallestPixels());
}

void ReadableTest::everySlotFitsTheLongestKeyName() {
    Form1 form;
    for (QString key : {QStringLiteral("RightBracket"), QStringLiteral("MouseMiddle"),
                        QStringLiteral("KEY_RIGHTSHIFT")}) {
        for (ui::ClickableLabel* slot : form.Label1) {
            const Measured m = measure(slot, key);
            const QFontMetricsF metrics(m.font);
            QVERIFY2(metrics.horizontalAdvance(key) <= m.room.width() ||
                         QFontInfo(m.font).pixelSize() == ui::smallestPixels(),
                     qPrintable(slot->objectName() + u' ' + key));
            QVERIFY(metrics.ascent() +
                        std::max(metrics.descent(), metrics.boundingRect(key).bottom()) <=
                    m.room.height());
            QVERIFY(QFontInfo(m.font).pixelSize() >= ui::smallestPixels());
        }
    }
    // A short key keeps the slot's own font.
    QCOMPARE(measure(form.Label1[0], QStringLiteral("1")).font, form.Label1[0]->font());
}

void ReadableTest::optionsAreWhiteWithWholeTickBoxes() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (ui::CheckBox* box : {form.Check1, form.Check2, form.Check3, form.Check4}) {
        QVERIFY(box->indicatorSide() < box->height());
        QCOMPARE(box->indicatorSide(), form.Check3->indicatorSide());
        const QImage image = box->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        // Behind the caption, right of its text: white, not a grey strip.
        const QPoint behind(int((box->width() - 1) * ratio), int(box->height() / 2 * ratio));
        QCOMPARE(image.pixelColor(behind), QColor(Qt::white));
        // The tick box's bottom edge is drawn: its lowest row is not all white.
        const int side = box->indicatorSide();
        const int bottom = int(((box->height() - side) / 2 + side - 1) * ratio);
        bool edge = false;
        for (int x = 0; x < int(side * ratio); ++x)
            edge = edge || image.pixelColor(x, bottom) != QColor(Qt::white);
        QVERIFY2(edge, qPrintable(box->objectName()));
    }
}

void ReadableTest::controlsHaveNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("launch") << "Command1"
                            << "Start the game";
    QTest::newRow("panel") << "Command3"
                           << "Key bindings";
    QTest::newRow("close") << "Image5"
                           << "Close the key bindings";
    QTest::newRow("snapshot") << "Image1"
                              << "Emergency Car Ambulance";
    QTest::newRow("status") << "Image2"
                            << "Status: Severe problems.";
    QTest::newRow("sound") << "Image3"
                           << "Sound: N/A.";
    QTest::newRow("controls") << "Image4"
                              << "Controls: No.";
    QTest::newRow("games") << "Label2(0)"
                           << "Games listed: 16";
    QTest::newRow("selected") << "Label2(1)"
                              << "Selected game: 16";
    QTest::newRow("archives") << "Label2(2)"
                              << "ROM archives found: 0";
    QTest::newRow("first slot") << "Label1(0)"
                                << "Start 1: 1";
    QTest::newRow("last slot") << "Label1(48)"
                               << "Point Off-screen: MouseRight";
    QTest::newRow("emulator path") << "Text4"
                                   << "Emu Path :";
    QTest::newRow("rom path") << "Text5"
                              << "Rom Path :";
    QTest::newRow("clock") << "Text7"
                           << "PowerPC frequency in MHz";
    QTest::newRow("list") << "List2"
                          << "Games";
}

void ReadableTest::controlsHaveNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    FrontEndFixture f;
    f.frontend.start();
    bindings::Restore(f.form);
    QWidget* w = f.form.control(control);
    QVERIFY(w);
    QCOMPARE(nameOf(w), name);
    // A picture's description says what it means.
    if (qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->pixmap().isNull())
        QVERIFY(!accessible(w)->text(QAccessible::Description).isEmpty());
}

void ReadableTest::slotNameFollowsItsKey() {
    Form1 form;
    ui::ClickableLabel* slot = form.Label1[20];
    slot->setText(QStringLiteral("MouseLeft"));
    QCOMPARE(nameOf(slot), QStringLiteral("Shift 1/Up: MouseLeft"));
    slot->setText(QString());
    QCOMPARE(nameOf(slot), QStringLiteral("Shift 1/Up: no key"));
    QVERIFY(accessible(slot)->text(QAccessible::Description).startsWith(u"Racing games"));
}

void ReadableTest::imageFiveCanBePressed() {
    Form1 form;
    QAccessibleInterface* close = accessible(form.Image5);
    QCOMPARE(close->role(), QAccessible::Button);
    QSignalSpy clicked(&form, &Form1::image5Clicked);
    close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicked.count(), 1);
}

void ReadableTest::modifierKeepsTheHighlight_data() {
    QTest::addColumn<int>("clickRow");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<bool>("space");
    QTest::newRow("ctrl-click the selected row") << 3 << 3 << false;
    QTest::newRow("ctrl-click another row") << 5 << 5 << false;
    QTest::newRow("ctrl+space") << -1 << 3 << true;
}

void ReadableTest::modifierKeepsTheHighlight() {
    QFETCH(int, clickRow);
    QFETCH(int, selectedAfter);
    QFETCH(bool, space);
    FrontEndFixture f;
    f.frontend.start();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    ui::GameList* list = f.form.List2;
    list->setCurrentRow(3);
    list->setFocus();
    for (int i = 0; i < 2; ++i) { // twice: the second acts on the row now selected
        if (space) {
            QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        } else {
            const QRect row = list->visualItemRect(list->item(clickRow));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
        }
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(list->row(list->selectedItems().first()), selectedAfter);
        QCOMPARE(list->currentRow(), selectedAfter);
    }
}

QTEST_MAIN(ReadableTest)
#include "test_readable.moc"
