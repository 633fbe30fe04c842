#include "emulator/CabinetPads.h"

#include <QTest>

class TestCabinetPads : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sources_data();
    void sources();
    void settings_data();
    void settings();
};

void TestCabinetPads::sources_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("cabinet");
    QTest::addColumn<QByteArray>("made");

    QTest::newRow("pad 1 in a list")
        << QByteArray("KEY_1,JOY1_BUTTON9") << 2 << QByteArray("KEY_1,JOY2_BUTTON9");
    QTest::newRow("any pad") << QByteArray("JOY_XAXIS,MOUSE_XAXIS") << 3
                             << QByteArray("JOY3_XAXIS,MOUSE_XAXIS");
    QTest::newRow("any case, blanks kept") << QByteArray("KEY_A, joy1_button1 ,Joy_Button2") << 4
                                           << QByteArray("KEY_A, JOY4_button1 ,JOY4_Button2");
    QTest::newRow("other pads stay") << QByteArray("KEY_2,JOY2_BUTTON9,JOY10_BUTTON1") << 3
                                     << QByteArray("KEY_2,JOY2_BUTTON9,JOY10_BUTTON1");
    QTest::newRow("keys and mice stay") << QByteArray("KEY_JOY1_X,MOUSE1_LEFT_BUTTON,NONE") << 2
                                        << QByteArray("KEY_JOY1_X,MOUSE1_LEFT_BUTTON,NONE");
    QTest::newRow("empty pieces") << QByteArray(",JOY1_UP,") << 2 << QByteArray(",JOY2_UP,");
}

void TestCabinetPads::sources() {
    QFETCH(QByteArray, value);
    QFETCH(int, cabinet);
    QFETCH(QByteArray, made);
    QCOMPARE(emulator::padSourcesFor(value, cabinet), made);
}

void TestCabinetPads::settings_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("made");

    QTest::newRow("pad 1's") << QByteArray("InputJoy1XDeadZone")
                             << QByteArray("InputJoy3XDeadZone");
    QTest::newRow("every pad's") << QByteArray("InputJoyXDeadZone")
                                 << QByteArray("InputJoyXDeadZone");
    QTest::newRow("pad 2's") << QByteArray("InputJoy2RZSaturation")
                             << QByteArray("InputJoy2RZSaturation");
    QTest::newRow("pad 12's") << QByteArray("InputJoy12XDeadZone")
                              << QByteArray("InputJoy12XDeadZone");
    QTest::newRow("no pad's") << QByteArray("InputStart1") << QByteArray("InputStart1");
}

void TestCabinetPads::settings() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, made);
    QCOMPARE(emulator::padSettingFor(name, 3), made);
}

QTEST_APPLESS_MAIN(TestCabinetPads)
#include "test_cabinet_pads.moc"
