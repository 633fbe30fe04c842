// The game controller's picture: its parts chosen by mouse and keyboard,
// named for assistive technology, and its texts fitting their boxes (this
// test also runs at QT_SCALE_FACTOR=2).

#include "bindings/PadLayout.h"
#include "bindings/PadView.h"
#include "ui/PadPicture.h"
#include "ui/TextFit.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using ui::PadPicture;
using Part = PadPicture::Part;

Q_DECLARE_METATYPE(ui::PadPicture::Part)

namespace {

// The picture between two boxes, so that Tab has somewhere to come from
// and go to.
struct Window {
    Window() {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(before);
        column->addWidget(picture);
        column->addWidget(after);
        picture->setFixedSize(picture->sizeHint());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QWidget window;
    QLineEdit* before = new QLineEdit;
    PadPicture* picture = new PadPicture;
    QLineEdit* after = new QLineEdit;
};

Part chosenPart(const QSignalSpy& spy) {
    return spy.constLast().constFirst().value<Part>();
}

} // namespace

class PadPictureTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<Part>(); }
    void clickChoosesAPart_data();
    void clickChoosesAPart();
    void keyboardChoosesAPart();
    void partsAreNamed();
    void textsFitAndNothingOverlaps_data();
    void textsFitAndNothingOverlaps();
};

void PadPictureTest::clickChoosesAPart_data() {
    QTest::addColumn<Part>("part");
    QTest::addColumn<bool>("onItsLabel");
    QTest::newRow("right trigger") << Part::RightTrigger << false;
    QTest::newRow("d-pad") << Part::Dpad << false;
    QTest::newRow("north button") << Part::North << false;
    QTest::newRow("Back's label") << Part::Back << true;
}

void PadPictureTest::clickChoosesAPart() {
    QFETCH(Part, part);
    QFETCH(bool, onItsLabel);
    Window w;
    QSignalSpy chosen(w.picture, &PadPicture::chosen);
    const QRect where = onItsLabel ? w.picture->labelRect(part) : w.picture->partRect(part);
    QTest::mouseClick(w.picture, Qt::LeftButton, {}, where.center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosenPart(chosen), part);
    QCOMPARE(w.picture->current(), part);
}

void PadPictureTest::keyboardChoosesAPart() {
    Window w;
    QSignalSpy chosen(w.picture, &PadPicture::chosen);
    w.before->setFocus();
    QTest::keyClick(w.before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.picture);
    QCOMPARE(w.picture->current(), Part::LeftTrigger);
    QTest::keyClick(w.picture, Qt::Key_Tab);
    QCOMPARE(w.picture->current(), Part::RightTrigger);
    QTest::keyClick(w.picture, Qt::Key_Down);
    QCOMPARE(w.picture->current(), Part::RightShoulder);
    QTest::keyClick(w.picture, Qt::Key_Left);
    QCOMPARE(w.picture->current(), Part::LeftShoulder);
    QTest::keyClick(w.picture, Qt::Key_Return);
    QCOMPARE(chosenPart(chosen), Part::LeftShoulder);
    QTest::keyClick(w.picture, Qt::Key_Down);
    QTest::keyClick(w.picture, Qt::Key_Down);
    QTest::keyClick(w.picture, Qt::Key_Space);
    QCOMPARE(chosenPart(chosen), Part::LeftStick);
    // Tab leaves after the last part, Shift+Tab comes back in at it.
    for (int i = 0; i < PadPicture::kPartCount && QApplication::focusWidget() == w.picture; ++i)
        QTest::keyClick(w.picture, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.after);
    QTest::keyClick(w.after, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), w.picture);
    QCOMPARE(w.picture->current(), Part::South);
    QCOMPARE(chosen.size(), 2);
}

void PadPictureTest::partsAreNamed() {
    Window w;
    w.picture->setLabel(Part::RightTrigger, QStringLiteral("Accelerator Pedal"));
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(w.picture);
    QVERIFY(picture);
    QCOMPARE(picture->childCount(), PadPicture::kPartCount);
    QStringList names;
    for (int i = 0; i < picture->childCount(); ++i) {
        QAccessibleInterface* part = picture->child(i);
        QCOMPARE(part->role(), QAccessible::Button);
        QCOMPARE(picture->indexOfChild(part), i);
        names << part->text(QAccessible::Name);
    }
    QCOMPARE(names.removeDuplicates(), 0);
    QCOMPARE(names[int(Part::RightTrigger)],
             QStringLiteral("Right trigger (RT): Accelerator Pedal"));
    QCOMPARE(names[int(Part::South)], QStringLiteral("A button, bottom: not used"));
    w.picture->setNintendo(true);
    QCOMPARE(picture->child(int(Part::South))->text(QAccessible::Name),
             QStringLiteral("B button, bottom: not used"));
    // Pressing a part by its action chooses it, as a click does.
    QSignalSpy chosen(w.picture, &PadPicture::chosen);
    picture->child(int(Part::Start))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(chosenPart(chosen), Part::Start);
}

void PadPictureTest::textsFitAndNothingOverlaps_data() {
    QTest::addColumn<QStringList>("types");
    QTest::newRow("Scud Race") << QStringList{"common", "vehicle", "shift4", "vr4"};
    QTest::newRow("Virtua Fighter 3")
        << QStringList{"common", "joystick1", "joystick2", "fighting"};
    QTest::newRow("Virtual On") << QStringList{"common", "twin_joysticks"};
    QTest::newRow("The Lost World") << QStringList{"common", "analog_gun1", "analog_gun2"};
}

void PadPictureTest::textsFitAndNothingOverlaps() {
    QFETCH(QStringList, types);
    Window w;
    PadPicture& picture = *w.picture;
    // The room the binding panel has for it.
    QVERIFY(picture.width() <= 355 && picture.height() <= 440);
    bindings::showPadLayout(picture, bindings::defaultPadLayout(types, 2), 1, false, types);
    const QRect whole = picture.rect();
    for (int i = 0; i < PadPicture::kPartCount; ++i) {
        const auto part = Part(i);
        QVERIFY(whole.contains(picture.partRect(part)));
        QVERIFY(whole.contains(picture.labelRect(part)));
        const QStringList lines = picture.shownLines(part);
        QVERIFY(!lines.isEmpty() && lines.size() <= 2);
        // Shortened only where the whole label does not fit.
        if (!lines.join(u' ').contains(QChar(0x2026)))
            QCOMPARE(lines.join(u' ').remove(u' '), picture.label(part).remove(u' ').isEmpty()
                                                        ? QStringLiteral("notused")
                                                        : picture.label(part).remove(u' '));
        for (int n = 0; n < lines.size(); ++n) {
            QVERIFY(picture.labelRect(part).contains(picture.lineRect(part, n)));
            QVERIFY2(ui::fitsWhole(picture.font(), lines[n], picture.lineRect(part, n).size()),
                     qPrintable(lines[n]));
        }
        for (int j = 0; j < i; ++j) {
            QVERIFY(!picture.partRect(part).intersects(picture.partRect(Part(j))));
            QVERIFY(!picture.labelRect(part).intersects(picture.labelRect(Part(j))));
        }
        for (int j = 0; j < PadPicture::kPartCount; ++j)
            QVERIFY(!picture.labelRect(part).intersects(picture.partRect(Part(j))));
        QVERIFY(!picture.noteRect().intersects(picture.labelRect(part)));
    }
    QCOMPARE(picture.shownNote().isEmpty(), picture.note().isEmpty());
}

QTEST_MAIN(PadPictureTest)
#include "test_pad_picture.moc"
