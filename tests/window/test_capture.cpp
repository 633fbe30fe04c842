// Key capture driven as a user does it: double-click a slot, press a key or
// click a mouse button in the capture box, or walk all slots.

#include "support/Fakes.h"

#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using ui::Form1;

namespace {

struct CaptureFixture : FrontEndFixture {
    CaptureFixture() {
        QDir().mkpath(path(QStringLiteral("Supermodel_0.1a_Win32")));
        frontend.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.Command3, Qt::LeftButton);
    }
    QLabel* slot(int i) { return form.Label1[std::size_t(i)]; }
    void doubleClick(int i) { QTest::mouseDClick(form.Label1[std::size_t(i)], Qt::LeftButton); }
    void key(Qt::Key k, const QString& text = {}, Qt::KeyboardModifiers mods = {},
             quint32 scanCode = 0) {
        QKeyEvent press(QEvent::KeyPress, k, mods, scanCode, 0, 0, text);
        QCoreApplication::sendEvent(form.Text6, &press);
    }
    bool waiting() const { return !form.Text6->isHidden(); }
};

} // namespace

class CaptureTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void letterIsStoredUpperCase();
    void bothSidesGiveTheLeftNames();
    void unnamedKeysKeepWaiting();
    void escapeEndsWithoutStoring();
    void mouseButtonsInTheBox();
    void charactersWithoutANameTakeTheirKeys();
    void walkFillsAllSlotsInOrder();
    void escapeInTheWalkSkipsASlot();
    void shiftWithALetter();
    void doubleClickMovesTheCaptureAndTheWalk();
    void closingAfterACaptureAsksAndYesWrites();
};

void CaptureTest::letterIsStoredUpperCase() {
    CaptureFixture f;
    f.doubleClick(12);
    QVERIFY(f.waiting());
    QCOMPARE(f.form.Text6->geometry().topLeft(), f.slot(12)->geometry().topLeft());
    QCOMPARE(f.form.Text6->width(), f.slot(12)->width());
    QCOMPARE(f.form.Label3->text(), QStringLiteral("InputPunch Press Keys ..."));
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("12"));
    QCOMPARE(f.slot(12)->text(), QStringLiteral("A")); // keeps its key while waiting
    QVERIFY(f.form.Text6->hasFocus());

    QTest::keyClick(f.form.Text6, Qt::Key_S, {}, 0);
    QCOMPARE(f.slot(12)->text(), QStringLiteral("S"));
    QVERIFY(!f.waiting());
    QCOMPARE(f.form.Label3->text(), QString());
    QCOMPARE(f.form.Text6->text(), QString());
    QVERIFY(f.form.Command6->hasFocus());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("12"));
}

void CaptureTest::bothSidesGiveTheLeftNames() {
    CaptureFixture f;
    f.doubleClick(3);
    f.key(Qt::Key_Control); // Qt reports both Ctrl keys alike
    QCOMPARE(f.slot(3)->text(), QStringLiteral("LeftCtrl"));
    f.doubleClick(4);
    f.key(Qt::Key_7, QStringLiteral("7"), Qt::KeypadModifier);
    QCOMPARE(f.slot(4)->text(), QStringLiteral("7"));
    f.doubleClick(5);
    f.key(Qt::Key_Delete, QStringLiteral("\x7f"));
    QCOMPARE(f.slot(5)->text(), QStringLiteral("Del"));
    f.doubleClick(6);
    f.key(Qt::Key_Return, QStringLiteral("\r"));
    QCOMPARE(f.slot(6)->text(), QStringLiteral("Return"));
    f.doubleClick(7);
    f.key(Qt::Key_Comma, QStringLiteral(","));
    QCOMPARE(f.slot(7)->text(), QStringLiteral("Comma"));
}

void CaptureTest::unnamedKeysKeepWaiting() {
    CaptureFixture f;
    f.doubleClick(20);
    f.key(Qt::Key_F5);
    f.key(Qt::Key_Tab, QStringLiteral("\t"));
    f.key(Qt::Key_QuoteDbl, QStringLiteral("\""), Qt::ShiftModifier);
    QVERIFY(f.waiting());
    QVERIFY(f.form.Text6->hasFocus());
    QCOMPARE(f.slot(20)->text(), QStringLiteral("Q"));
    QCOMPARE(f.form.Label3->text(), QStringLiteral("InputGearShift1 Press Keys ..."));
    f.key(Qt::Key_PageUp);
    QCOMPARE(f.slot(20)->text(), QStringLiteral("Pgup"));
}

void CaptureTest::escapeEndsWithoutStoring() {
    CaptureFixture f;
    f.doubleClick(9);
    f.key(Qt::Key_Escape, QStringLiteral("\x1b"));
    QVERIFY(!f.waiting());
    QCOMPARE(f.slot(9)->text(), QStringLiteral("Down"));
    QVERIFY(f.form.Command6->hasFocus());
}

void CaptureTest::mouseButtonsInTheBox() {
    CaptureFixture f;
    f.doubleClick(47);
    QTest::mouseClick(f.form.Text6, Qt::MiddleButton);
    QCOMPARE(f.slot(47)->text(), QStringLiteral("MouseMiddle"));
    f.doubleClick(48);
    QTest::mouseClick(f.form.Text6, Qt::RightButton);
    QCOMPARE(f.slot(48)->text(), QStringLiteral("MouseRight"));
    f.doubleClick(0);
    QTest::mouseClick(f.form.Text6, Qt::LeftButton);
    QCOMPARE(f.slot(0)->text(), QStringLiteral("MouseLeft"));
}

void CaptureTest::charactersWithoutANameTakeTheirKeys() {
    // X keycodes: Linux input event code + 8.
    CaptureFixture f;
    f.doubleClick(2);
    f.key(Qt::Key_Ampersand, QStringLiteral("&"), {}, 2 + 8); // the French "1" key
    QCOMPARE(f.slot(2)->text(), QStringLiteral("1"));
    f.doubleClick(3);
    f.key(Qt::Key_Plus, QStringLiteral("+"), Qt::KeypadModifier, 78 + 8);
    QCOMPARE(f.slot(3)->text(), QStringLiteral("KeypadPlus"));
    f.doubleClick(4);
    f.key(Qt::Key_ssharp, QStringLiteral("ß"), {}, 12 + 8); // the German "-" key
    QCOMPARE(f.slot(4)->text(), QStringLiteral("Minus"));

    // "<" on the key beside left Shift: neither has a name.
    f.doubleClick(5);
    f.key(Qt::Key_Less, QStringLiteral("<"), {}, 86 + 8);
    f.key(Qt::Key_Eacute, QStringLiteral("é")); // no scan code
    QVERIFY(f.waiting());
    QCOMPARE(f.slot(5)->text(), QStringLiteral("7"));
}

void CaptureTest::walkFillsAllSlotsInOrder() {
    CaptureFixture f;
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    QCOMPARE(ui::tag(f.form.Command5), QStringLiteral("1"));
    for (QLabel* slot : f.form.Label1)
        QCOMPARE(slot->text(), QString());
    QCOMPARE(f.form.Label3->text(), QStringLiteral("InputStart1 Press Keys ..."));
    QCOMPARE(ui::tag(f.slot(0)), QStringLiteral("Start1")); // names stay

    const QString keys = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklm");
    for (int i = 0; i < Form1::kSlotCount; ++i) {
        QVERIFY(f.waiting());
        QCOMPARE(ui::tag(f.form.Picture3), QString::number(i));
        QCOMPARE(f.form.Text6->geometry().topLeft(), f.slot(i)->geometry().topLeft());
        f.key(Qt::Key_A, keys.mid(i, 1));
    }
    QVERIFY(!f.waiting());
    QCOMPARE(ui::tag(f.form.Command5), QString());
    QVERIFY(f.form.Command6->hasFocus());
    for (int i = 0; i < Form1::kSlotCount; ++i)
        QCOMPARE(f.slot(i)->text(), keys.mid(i, 1).toUpper());
}

void CaptureTest::escapeInTheWalkSkipsASlot() {
    CaptureFixture f;
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    f.key(Qt::Key_1, QStringLiteral("1"));
    f.key(Qt::Key_Escape, QStringLiteral("\x1b"));
    f.key(Qt::Key_Up);
    QCOMPARE(f.slot(0)->text(), QStringLiteral("1"));
    QCOMPARE(f.slot(1)->text(), QString());
    QCOMPARE(f.slot(2)->text(), QStringLiteral("Up"));
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("3"));
    QVERIFY(f.waiting());
}

void CaptureTest::shiftWithALetter() {
    CaptureFixture f;
    // A single capture stores Shift alone.
    f.doubleClick(12);
    f.key(Qt::Key_Shift, {}, Qt::ShiftModifier);
    f.key(Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier);
    QCOMPARE(f.slot(12)->text(), QStringLiteral("LeftShift"));
    QVERIFY(!f.waiting());

    // The walk gives Shift to one slot and the capital to the next.
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    f.key(Qt::Key_Shift, {}, Qt::ShiftModifier);
    f.key(Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier);
    QCOMPARE(f.slot(0)->text(), QStringLiteral("LeftShift"));
    QCOMPARE(f.slot(1)->text(), QStringLiteral("A"));
}

void CaptureTest::doubleClickMovesTheCaptureAndTheWalk() {
    CaptureFixture f;
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    f.key(Qt::Key_Z, QStringLiteral("z"));
    f.doubleClick(46);
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("46"));
    QCOMPARE(f.form.Label3->text(), QStringLiteral("InputAnalogJoyEvent Press Keys ..."));
    f.key(Qt::Key_X, QStringLiteral("x"));
    f.key(Qt::Key_Y, QStringLiteral("y"));
    f.key(Qt::Key_W, QStringLiteral("w"));
    QCOMPARE(f.slot(0)->text(), QStringLiteral("Z"));
    QCOMPARE(f.slot(1)->text(), QString());
    QCOMPARE(f.slot(46)->text(), QStringLiteral("X"));
    QCOMPARE(f.slot(47)->text(), QStringLiteral("Y"));
    QCOMPARE(f.slot(48)->text(), QStringLiteral("W"));
    QVERIFY(!f.waiting());
    QCOMPARE(ui::tag(f.form.Command5), QString());
}

void CaptureTest::closingAfterACaptureAsksAndYesWrites() {
    CaptureFixture f;
    f.dialogs.answers << false; // the first close after start-up asks anyway
    QTest::mouseClick(f.form.Image5, Qt::LeftButton);
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    f.dialogs.boxes.clear();

    f.doubleClick(12);
    QTest::keyClick(f.form.Text6, Qt::Key_A, {}, 0);
    f.dialogs.answers << true;
    QTest::mouseClick(f.form.Image5, Qt::LeftButton);
    QCOMPARE(f.dialogs.boxes.size(), 2);
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("save settings to ? Y/N"));
    QCOMPARE(f.dialogs.boxes[1].text, QStringLiteral("File write successful ..\n") +
                                          f.path(QStringLiteral("Config/Supermodel.ini")));
    QVERIFY(f.form.Picture3->isHidden());
    const QByteArray file = f.readFile(QStringLiteral("Config/Supermodel.ini"));
    QVERIFY(file.contains("\r\nInputPunch = \"A\"\r\n"));
    QVERIFY(file.contains("\r\nInputKick = \"S\"\r\n"));
}

QTEST_MAIN(CaptureTest)
#include "test_capture.moc"
