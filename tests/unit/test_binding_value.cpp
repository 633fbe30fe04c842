// Binding values: lists of sources, of which the panel edits only the keys.
#include "bindings/BindingValue.h"
#include "bindings/Profiles.h"

#include <QTest>

using namespace bindings;

class BindingValueTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kindOfSource_data();
    void kindOfSource();
    void shownKey_data();
    void shownKey();
    void captureKeepsOtherSources_data();
    void captureKeepsOtherSources();
    void noneGivesWayToAKey_data();
    void noneGivesWayToAKey();
    void joystickEdits_data();
    void joystickEdits();
    void describesWholeValue_data();
    void describesWholeValue();
    void restoreBringsBackTheBuiltInValue_data();
    void restoreBringsBackTheBuiltInValue();
};

void BindingValueTest::kindOfSource_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("kind");
    const int key = int(SourceKind::Keyboard), mouse = int(SourceKind::Mouse),
              joy = int(SourceKind::Joystick), other = int(SourceKind::Other);
    QTest::newRow("KEY_") << "KEY_A" << key;
    QTest::newRow("KEYn_, any case") << "key2_left" << key;
    QTest::newRow("bare key") << "Up" << key;
    QTest::newRow("keypad is not a device number") << "KEYPAD7" << key;
    QTest::newRow("MOUSE_") << "MOUSE_LEFT_BUTTON" << mouse;
    QTest::newRow("MOUSEn_") << "MOUSE1_XAXIS" << mouse;
    QTest::newRow("earlier mouse name") << "MouseRight" << mouse;
    QTest::newRow("JOY_") << "JOY_BUTTON1" << joy;
    QTest::newRow("JOYn_") << "JOY12_RXAXIS_NEG" << joy;
    QTest::newRow("NONE") << "NONE" << other;
    QTest::newRow("unknown character") << "!" << other;
    QTest::newRow("joystick without part separator") << "JOY1BUTTON1" << key;
}

void BindingValueTest::kindOfSource() {
    QFETCH(QString, source);
    QFETCH(int, kind);
    QCOMPARE(int(sourceKind(source)), kind);
}

void BindingValueTest::shownKey_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "KEY_A,JOY1_BUTTON1"
                            << "A";
    QTest::newRow("named key in panel spelling") << "KEY_LEFT,JOY1_LEFT"
                                                 << "Left";
    QTest::newRow("keypad") << "key_keypadplus"
                            << "KeypadPlus";
    QTest::newRow("mouse button") << "MOUSE_LEFT_BUTTON"
                                  << "MouseLeft";
    QTest::newRow("mouse button by number") << "MOUSE2_BUTTON3"
                                            << "MouseRight";
    QTest::newRow("first key or mouse source") << "JOY1_UP,MOUSE_RIGHT_BUTTON,KEY_S"
                                               << "MouseRight";
    QTest::newRow("bare, earlier spelling") << "ScorollLock"
                                            << "ScrollLock";
    QTest::newRow("key the panel cannot capture") << "KEY_F5"
                                                  << "F5";
    QTest::newRow("joystick only") << "JOY2_UP"
                                   << "";
    QTest::newRow("blanks around sources") << " JOY1_UP , KEY_Z "
                                           << "Z";
}

void BindingValueTest::shownKey() {
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QCOMPARE(bindings::shownKey(value), shown);
}

void BindingValueTest::captureKeepsOtherSources_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("captured");
    QTest::addColumn<QString>("result");
    QTest::newRow("all keys replaced at the first one's place")
        << "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"
        << "G"
        << "KEY_G,JOY1_BUTTON1";
    QTest::newRow("named key, prefix style") << "KEY_UP,JOY1_UP"
                                             << "Pgdn"
                                             << "KEY_PGDN,JOY1_UP";
    QTest::newRow("numbered keyboard kept") << "JOY1_UP,KEY2_A"
                                            << "B"
                                            << "JOY1_UP,KEY2_B";
    QTest::newRow("bare stays bare") << "A"
                                     << "Up"
                                     << "Up";
    QTest::newRow("empty value, bare") << ""
                                       << "1"
                                       << "1";
    QTest::newRow("joystick only gets a prefixed key after it") << "JOY2_UP"
                                                                << "Z"
                                                                << "JOY2_UP,KEY_Z";
    QTest::newRow("mouse under the emulator's name") << "KEY_S,JOY1_BUTTON2"
                                                     << "MouseLeft"
                                                     << "MOUSE_LEFT_BUTTON,JOY1_BUTTON2";
    QTest::newRow("key replacing a mouse button") << "MOUSE_LEFT_BUTTON"
                                                  << "A"
                                                  << "KEY_A";
    QTest::newRow("earlier mouse name replaced") << "MouseLeft"
                                                 << "MouseLeft"
                                                 << "MOUSE_LEFT_BUTTON";
    QTest::newRow("unknown sources kept") << "KEY_A,ANALOG_1"
                                          << "B"
                                          << "KEY_B,ANALOG_1";
    QTest::newRow("nothing captured") << "KEY_A,JOY1_BUTTON1"
                                      << ""
                                      << "JOY1_BUTTON1";
}

void BindingValueTest::captureKeepsOtherSources() {
    QFETCH(QString, value);
    QFETCH(QString, captured);
    QFETCH(QString, result);
    QCOMPARE(withKey(value, captured), result);
    QCOMPARE(withoutKey(result), withoutKey(value));
}

void BindingValueTest::noneGivesWayToAKey_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("captured");
    QTest::addColumn<QString>("result");
    // Written the way the emulator's own file writes a list.
    QTest::newRow("alone") << "NONE"
                           << "J"
                           << "KEY_J";
    QTest::newRow("beside a joystick, any case") << "none,JOY1_BUTTON1"
                                                 << "MouseLeft"
                                                 << "JOY1_BUTTON1,MOUSE_LEFT_BUTTON";
    QTest::newRow("no key captured: it stays") << "NONE"
                                               << ""
                                               << "NONE";
}

void BindingValueTest::noneGivesWayToAKey() {
    QFETCH(QString, value);
    QFETCH(QString, captured);
    QTEST(withKey(value, captured), "result");
}

void BindingValueTest::joystickEdits_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("joystick");
    QTest::addColumn<QString>("result");
    QTest::newRow("replaces all, after the key")
        << "JOY1_BUTTON1,KEY_A,JOY2_BUTTON1,MOUSE_LEFT_BUTTON"
        << "JOY1_BUTTON3"
        << "KEY_A,JOY1_BUTTON3,MOUSE_LEFT_BUTTON";
    QTest::newRow("first without a key") << "ANALOG_1"
                                         << "JOY1_UP"
                                         << "JOY1_UP,ANALOG_1";
    QTest::newRow("NONE gives way") << "NONE"
                                    << "JOY1_UP"
                                    << "JOY1_UP";
    QTest::newRow("empty") << ""
                           << "JOY1_XAXIS"
                           << "JOY1_XAXIS";
}

void BindingValueTest::joystickEdits() {
    QFETCH(QString, value);
    QFETCH(QString, joystick);
    QFETCH(QString, result);
    QCOMPARE(withJoystick(value, joystick), result);
    QVERIFY(hasJoystick(result));
    QVERIFY(!hasJoystick(withoutJoystick(result)));
    QCOMPARE(bindings::shownKey(result), bindings::shownKey(value));
}

void BindingValueTest::describesWholeValue_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("joystickCaption");
    QTest::newRow("key and button") << "KEY_A,JOY1_BUTTON1"
                                    << "A, or joystick 1 button 1"
                                    << "Joy 1 B1";
    QTest::newRow("direction") << "JOY2_UP"
                               << "joystick 2 up"
                               << "Joy 2 Up";
    QTest::newRow("axis halves") << "KEY_Q,JOY1_RXAXIS_NEG"
                                 << "Q, or joystick 1 RX axis negative half"
                                 << "Joy 1 RX-";
    QTest::newRow("any joystick, mouse") << "KEY_S,JOY_BUTTON2,MOUSE_RIGHT_BUTTON"
                                         << "S, or any joystick button 2, or mouse right button"
                                         << "Joy B2";
    QTest::newRow("hat") << "JOY1_POV1_LEFT"
                         << "joystick 1 hat 1 left"
                         << "Joy 1 Hat1 Left";
    QTest::newRow("whole axis") << "JOY1_XAXIS"
                                << "joystick 1 X axis"
                                << "Joy 1 X";
    QTest::newRow("reversed slider") << "JOY1_SLIDER2_INV"
                                     << "joystick 1 slider 2 reversed"
                                     << "Joy 1 S2~";
    QTest::newRow("unknown kept as written") << "NONE"
                                             << "NONE"
                                             << "";
    QTest::newRow("empty") << ""
                           << "no key"
                           << "";
}

void BindingValueTest::describesWholeValue() {
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(QString, joystickCaption);
    QCOMPARE(describe(value), text);
    QCOMPARE(bindings::joystickCaption(value), joystickCaption);
}

void BindingValueTest::restoreBringsBackTheBuiltInValue_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("builtIn");
    QTest::addColumn<QString>("restored");
    const QString trigger = QStringLiteral("KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON");
    QTest::newRow("own key and joystick")
        << "KEY_G,JOY2_BUTTON3" << trigger << "KEY_A,JOY2_BUTTON3,MOUSE_LEFT_BUTTON";
    QTest::newRow("no joystick: the built-in one") << "KEY_G" << trigger << trigger;
    QTest::newRow("a bare earlier key") << "G"
                                        << "KEY_1,JOY1_BUTTON9"
                                        << "KEY_1,JOY1_BUTTON9";
    QTest::newRow("every own joystick, in its place")
        << "JOY1_BUTTON2,MOUSE_RIGHT_BUTTON,JOY2_UP" << trigger
        << "KEY_A,JOY1_BUTTON2,JOY2_UP,MOUSE_LEFT_BUTTON";
    QTest::newRow("a joystick where the built-in has none") << "KEY_Z,JOY1_BUTTON4"
                                                            << "KEY_5"
                                                            << "KEY_5,JOY1_BUTTON4";
    QTest::newRow("NONE goes once bound") << "NONE"
                                          << "KEY_1,JOY1_BUTTON9"
                                          << "KEY_1,JOY1_BUTTON9";
    QTest::newRow("nothing built in") << "KEY_P"
                                      << "NONE"
                                      << "NONE";
    QTest::newRow("nothing built in, own joystick") << "KEY_P,JOY2_BUTTON1"
                                                    << "NONE"
                                                    << "JOY2_BUTTON1";
    QTest::newRow("a whole axis of its own") << "MOUSE_XAXIS,JOY2_RXAXIS"
                                             << "JOY1_XAXIS"
                                             << "JOY2_RXAXIS";
    QTest::newRow("unbound") << ""
                             << "JOY1_XAXIS"
                             << "JOY1_XAXIS";
}

void BindingValueTest::restoreBringsBackTheBuiltInValue() {
    QFETCH(QString, value);
    QFETCH(QString, builtIn);
    QFETCH(QString, restored);
    QCOMPARE(bindings::restoredValue(value, builtIn), restored);
}

QTEST_GUILESS_MAIN(BindingValueTest)
#include "test_binding_value.moc"
