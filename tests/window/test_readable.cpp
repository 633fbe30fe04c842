// Every word readable and every control named: texts measured against their
// controls (this test also runs at QT_SCALE_FACTOR=2), the options' look, the
// names a screen reader hears, and the list that keeps its highlight.

#include "support/Fakes.h"

#include "bindings/Capture.h"
#include "bindings/Profiles.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "emulator/BindingPanel.h"
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
        return {slot->captionFont(), slot->captionRect()};
    }
    auto* label = qobject_cast<QLabel*>(control);
    label->setText(text);
    return {label->font(), label->contentsRect()};
}

// Whether `text` fits `control` whole, down to the lowest ink of underscores
// and descenders, in a font no smaller than the smallest allowed; `cutAtSmallest`:
// a text already at the smallest size may run wider.
bool fits(QWidget* control, const QString& text, bool cutAtSmallest) {
    const Measured m = measure(control, text);
    const QFontMetricsF metrics(m.font);
    const int pixels = QFontInfo(m.font).pixelSize();
    const qreal width = metrics.horizontalAdvance(text);
    const qreal line =
        metrics.ascent() + std::max(metrics.descent(), metrics.boundingRect(text).bottom());
    if (pixels >= ui::smallestPixels() && line <= m.room.height() &&
        (width <= m.room.width() || (cutAtSmallest && pixels == ui::smallestPixels())))
        return true;
    qWarning("%s: %g x %g in %g x %g at %d px", qPrintable(control->objectName()), width, line,
             m.room.width(), m.room.height(), pixels);
    return false;
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
    void setUpLineFitsItsLines();
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
    // Descenders and underscores where the paths have them; the help text's
    // longest line.
    const QString path = QStringLiteral("/home/gjpqy/Supermodel_0.1a_Win32/");
    const QString texts[][2] = {{"Text4", path},
                                {"Text5", path},
                                {"Text1", "1920"},
                                {"Text3", "1080"},
                                {"Text7", "166"},
                                {"Label4", "Rom Path :"},
                                {"Label5", "Emu Path :"},
                                {"Label2(0)", "16"},
                                {"Label2(1)", "16"},
                                {"Label2(2)", "16"},
                                {"Check1", "Show Fps ...."},
                                {"Check2", "Full Screen .."},
                                {"Check3", "Disable 60 Hz ..."},
                                {"Check4", "in MHz"},
                                {"Label3", "InputSteeringRight Press Keys ..."},
                                {"Text2", QString(56, u'-')}};
    for (const auto& [control, text] : texts)
        QTest::newRow(qPrintable(control)) << control << text;
    // Every whole-axis input's capture prompts.
    using bindings::AxisPrompt;
    for (const bindings::GameInput& input : bindings::kGameInputs) {
        if (input.kind != bindings::InputKind::WholeAxis)
            continue;
        const QString name = QString::fromLatin1(input.name);
        for (const AxisPrompt which :
             {AxisPrompt::Waiting, AxisPrompt::KeyRefused, AxisPrompt::ButtonRefused})
            QTest::addRow("Label3 %s %d", input.name.data(), int(which))
                << "Label3" << bindings::wholeAxisPrompt(which, name).shown;
    }
}

void ReadableTest::textFitsWhole() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* w = form.control(control);
    QVERIFY(w);
    QVERIFY(fits(w, text, false));
}

void ReadableTest::everySlotFitsTheLongestKeyName() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    // With the game pad mark beside it too, and the longest joystick caption.
    for (bool mark : {false, true}) {
        for (QString key :
             {QStringLiteral("RightBracket"), QStringLiteral("MouseMiddle"),
              QStringLiteral("KEY_RIGHTSHIFT"), QStringLiteral("Joy 12 Hat1 Right")}) {
            for (ui::ClickableLabel* slot : form.Label1) {
                slot->setDeviceMark(mark);
                QVERIFY2(fits(slot, key, true), qPrintable(slot->objectName() + u' ' + key));
                QVERIFY(!slot->captionRect().intersects(slot->markRect()));
                QVERIFY(slot->contentsRect().contains(slot->markRect()) || !mark);
            }
        }
    }
    for (ui::ClickableLabel* slot : form.Label1)
        slot->setDeviceMark(false);
    // A short key keeps the slot's own font.
    QCOMPARE(measure(form.Label1[0], QStringLiteral("1")).font, form.Label1[0]->font());
}

void ReadableTest::setUpLineFitsItsLines() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QLabel* line = form.setupView().Label10;
    line->setText(emulator::kSetupRunsLine);
    QVERIFY(QFontInfo(line->font()).pixelSize() >= ui::smallestPixels());
    QVERIFY2(line->heightForWidth(line->width()) <= line->height(),
             qPrintable(QString::number(line->heightForWidth(line->width()))));
}

void ReadableTest::optionsAreWhiteWithWholeTickBoxes() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
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
    const char* names[][2] = {{"Command1", "Start the game"},
                              {"Command3", "Key bindings"},
                              {"Image5", "Close the key bindings"},
                              {"Image1", "Emergency Car Ambulance"},
                              {"Image2", "Status: Severe problems."},
                              {"Image3", "Sound: N/A."},
                              {"Image4", "Controls: No."},
                              {"Label2(0)", "Games listed: 16"},
                              {"Label2(1)", "Selected game: 16"},
                              {"Label2(2)", "ROM archives found: 0"},
                              {"Label1(0)", "Start 1: 1"},
                              {"Label1(48)", "Point Off-screen: MouseRight"},
                              {"Text4", "Emu Path :"},
                              {"Text5", "Rom Path :"},
                              {"Text7", "PowerPC frequency in MHz"},
                              {"List2", "Games"}};
    for (const auto& [control, name] : names)
        QTest::newRow(control) << QString(control) << QString(name);
}

void ReadableTest::controlsHaveNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    FrontEndFixture f;
    f.frontend.start();
    f.form.buildPanel();
    bindings::Restore(f.form, f.store(), bindings::Release::Earlier);
    QWidget* w = f.form.control(control);
    QVERIFY(w);
    QCOMPARE(nameOf(w), name);
    // A picture's description says what it means.
    if (qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->pixmap().isNull())
        QVERIFY(!accessible(w)->text(QAccessible::Description).isEmpty());
}

void ReadableTest::slotNameFollowsItsKey() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    ui::ClickableLabel* slot = form.Label1[20];
    slot->setText(QStringLiteral("MouseLeft"));
    QCOMPARE(nameOf(slot), QStringLiteral("Shift 1/Up: MouseLeft"));
    slot->setText(QString());
    QCOMPARE(nameOf(slot), QStringLiteral("Shift 1/Up: no key"));
    QVERIFY(accessible(slot)->text(QAccessible::Description).startsWith(u"Racing games"));
}

void ReadableTest::imageFiveCanBePressed() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
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
