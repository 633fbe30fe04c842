// The emulator's settings as data: how a value stands against its row,
// which value a game gets at its next start, and how an edit lands in the
// file.
#include "emulator/ConfigDocument.h"
#include "emulator/EmulatorSettings.h"
#include "emulator/SettingEdits.h"
#include "emulator/SettingResolution.h"

#include <QSet>
#include <QTest>

using namespace emulator;

namespace {

const EmulatorSetting& row(const char* name) {
    const EmulatorSetting* setting = emulatorSetting(name);
    if (!setting)
        qFatal("no row %s", name);
    return *setting;
}

} // namespace

class EmulatorSettingsTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyNameOnceInItsGroup();
    void valuesStandAgainstTheirRow_data();
    void valuesStandAgainstTheirRow();
    void aGameGetsTheStrongestSource_data();
    void aGameGetsTheStrongestSource();
    void editsLandInPlace_data();
    void editsLandInPlace();
};

void EmulatorSettingsTest::everyNameOnceInItsGroup() {
    QSet<QString> names;
    int joysticks = 0;
    for (const EmulatorSetting& setting : emulatorSettings()) {
        const QString name =
            QString::fromLatin1(setting.name.data(), qsizetype(setting.name.size()));
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        QVERIFY2(!setting.label.empty() && !setting.help.empty(), qPrintable(name));
        QVERIFY2(!groupName(setting.group).empty(), qPrintable(name));
        // The built-in value is one the row itself takes.
        QVERIFY2(checkValue(setting, setting.builtIn) == ValueCheck::Valid, qPrintable(name));
        joysticks += name.startsWith(QLatin1String("InputJoy"));
    }
    QCOMPARE(joysticks, 5 * 6 * 2); // every joystick and 1-4, six axes, two each
    for (const char* left : {"InputJoy1XMinVal", "Keyboard1", "DirectInputConstForceLeftMax"})
        QVERIFY2(!emulatorSetting(left), left);
}

void EmulatorSettingsTest::valuesStandAgainstTheirRow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("check");    // ValueCheck
    QTest::addColumn<QString>("same"); // a spelling of the same meaning, or empty
    QTest::newRow("on/off, any spelling") << "WideScreen"
                                          << "TRUE" << int(ValueCheck::Valid) << "1";
    QTest::newRow("on/off, a word it does not know")
        << "VSync"
        << "maybe" << int(ValueCheck::NotListed) << "0";
    QTest::newRow("a listed choice") << "CRTcolors"
                                     << "4" << int(ValueCheck::Valid) << "";
    QTest::newRow("not listed") << "InputSystem"
                                << "xinput" << int(ValueCheck::NotListed) << "";
    QTest::newRow("a number in range, hex") << "PortIn"
                                            << "0x7B2" << int(ValueCheck::Valid) << "1970";
    QTest::newRow("out of range") << "SoundVolume"
                                  << "250" << int(ValueCheck::OutOfRange) << "";
    QTest::newRow("not a number") << "Supersampling"
                                  << "high" << int(ValueCheck::NotANumber) << "";
    QTest::newRow("a decimal logged as spelt") << "RefreshRate"
                                               << "60.000" << int(ValueCheck::Valid) << "60";
    QTest::newRow("empty centres the window") << "WindowXPosition"
                                              << "" << int(ValueCheck::Valid) << "";
    QTest::newRow("negative position") << "WindowYPosition"
                                       << "-40" << int(ValueCheck::Valid) << "";
    QTest::newRow("a joystick's dead zone") << "InputJoy3RXDeadZone"
                                            << "7" << int(ValueCheck::Valid) << "7";
    QTest::newRow("text takes anything") << "AddressOut"
                                         << "cabinet-2.local" << int(ValueCheck::Valid) << "";
    QTest::newRow("the board's own rate, spelt two ways")
        << "RefreshRate"
        << "57.524" << int(ValueCheck::Valid) << "57.5240";
}

void EmulatorSettingsTest::valuesStandAgainstTheirRow() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(int, check);
    QFETCH(QString, same);
    const EmulatorSetting& setting = row(name.toLatin1().constData());
    QCOMPARE(int(checkValue(setting, value.toStdString())), check);
    if (!same.isEmpty())
        QVERIFY(sameMeaning(setting, value.toStdString(), same.toStdString()));
}

void EmulatorSettingsTest::aGameGetsTheStrongestSource_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<bool>("ticked"); // the window's box for the setting
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("source"); // SettingSource
    const auto B = int(SettingSource::BuiltIn), A = int(SettingSource::AllGames),
               T = int(SettingSource::ThisGame), W = int(SettingSource::Window);
    QTest::newRow("built-in") << "Stretch" << QByteArray("vf3") << false << QByteArray("0") << B;
    QTest::newRow("all games") << "SoundVolume" << QByteArray("vf3") << false << QByteArray("80")
                               << A;
    QTest::newRow("this game over all games")
        << "WideScreen" << QByteArray("scudplus") << false << QByteArray("true") << T;
    QTest::newRow("a clone gets nothing of its parent")
        << "WideScreen" << QByteArray("scud") << false << QByteArray("0") << A;
    QTest::newRow("all games, no set")
        << "WideScreen" << QByteArray() << false << QByteArray("0") << A;
    QTest::newRow("the window's box, ticked")
        << "ShowFrameRate" << QByteArray("vf3") << true << QByteArray("1") << W;
    QTest::newRow("the window's box, unticked: the file holds")
        << "ShowFrameRate" << QByteArray("vf3") << false << QByteArray("1") << A;
    QTest::newRow("no throttle ticked")
        << "Throttle" << QByteArray("vf3") << true << QByteArray("0") << W;
    QTest::newRow("MHz only when ticked")
        << "PowerPCFrequency" << QByteArray("vf3") << false << QByteArray("0") << B;
    QTest::newRow("MHz ticked") << "PowerPCFrequency" << QByteArray("vf3") << true
                                << QByteArray("25") << W;
    QTest::newRow("the resolution, always")
        << "XResolution" << QByteArray("scudplus") << false << QByteArray("640") << W;
    QTest::newRow("read before the game is known")
        << "GameXMLFile" << QByteArray("scudplus") << false << QByteArray("Config/Games.xml") << B;
}

void EmulatorSettingsTest::aGameGetsTheStrongestSource() {
    QFETCH(QString, name);
    QFETCH(QByteArray, set);
    QFETCH(bool, ticked);
    QFETCH(QByteArray, value);
    QFETCH(int, source);
    const ConfigDocument document(
        "[ Global ]\nSoundVolume = 80\nWideScreen = 0\nShowFrameRate = 1\n\n"
        "[ scudplus, scudplusa ]\nWideScreen = true\nXResolution = 800\nGameXMLFile = x.xml\n");
    WindowOptions window;
    window.showFps = window.fullScreen = window.noThrottle = window.ppcFrequency = ticked;
    window.ppcMHz = QStringLiteral("25");
    window.width = QStringLiteral("640");
    window.height = QStringLiteral("480");
    const ResolvedSetting got =
        resolveSetting(row(name.toLatin1().constData()), document, set, window);
    QCOMPARE(got.value, value);
    QCOMPARE(int(got.source), source);
}

void EmulatorSettingsTest::editsLandInPlace_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("sets"); // empty: all games
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value"); // "-": put back to all games
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>(
        "shared"); // sets that got the global value in a block of their own

    const QByteArray file = "; mine\r\n[ Global ]\r\nWideScreen = True ; wide\r\n"
                            "AddressOut = \"10.0.0.1\"\r\n\r\n[ vf3 ]\r\nInputPunch = KEY_Q\r\n";
    QTest::newRow("on/off keeps its word and case, and its comment")
        << file << QByteArray() << QByteArray("WideScreen") << QByteArray("0")
        << QByteArray(file).replace("True ;", "False ;") << QByteArray();
    QTest::newRow("a new on/off line is 1 or 0, after the global lines")
        << file << QByteArray() << QByteArray("Stretch") << QByteArray("true")
        << QByteArray(file).replace("\"10.0.0.1\"\r\n", "\"10.0.0.1\"\r\nStretch = 1\r\n")
        << QByteArray();
    QTest::newRow("new text goes in quotes")
        << QByteArray("[ Global ]\nPortIn = 1970\n") << QByteArray() << QByteArray("VertexShader")
        << QByteArray("my shader.glsl")
        << QByteArray("[ Global ]\nPortIn = 1970\nVertexShader = \"my shader.glsl\"\n")
        << QByteArray();
    QTest::newRow("text keeps its quotes in place")
        << file << QByteArray() << QByteArray("AddressOut") << QByteArray("10.0.0.2")
        << QByteArray(file).replace("10.0.0.1", "10.0.0.2") << QByteArray();
    QTest::newRow("a game's every set gets its own block")
        << file << QByteArray("scudplus,scudplusa") << QByteArray("WideScreen") << QByteArray("1")
        << file + "\r\n[ scudplus ]\r\nWideScreen = 1\r\n\r\n[ scudplusa ]\r\nWideScreen = 1\r\n"
        << QByteArray();
    QTest::newRow("a set's section takes the line where it has one")
        << file << QByteArray("vf3") << QByteArray("SoundVolume") << QByteArray("80")
        << QByteArray(file).replace("KEY_Q\r\n", "KEY_Q\r\nSoundVolume = 80\r\n") << QByteArray();
    QTest::newRow("put back takes the game's line out, and nothing else")
        << QByteArray("[ Global ]\nWideScreen = 1\n[ scud ]\nWideScreen = 0\nStretch = 1\n")
        << QByteArray("scud") << QByteArray("WideScreen") << QByteArray("-")
        << QByteArray("[ Global ]\nWideScreen = 1\n[ scud ]\nStretch = 1\n") << QByteArray();
    QTest::newRow("put back under a shared header writes the global value in its own block")
        << QByteArray("[ Global ]\nWideScreen = 1\n[ scud, scudplus ]\nWideScreen = 0\n")
        << QByteArray("scudplus") << QByteArray("WideScreen") << QByteArray("-")
        << QByteArray("[ Global ]\nWideScreen = 1\n[ scud, scudplus ]\nWideScreen = 0\n\n"
                      "[ scudplus ]\nWideScreen = 1\n")
        << QByteArray("scudplus");
    QTest::newRow("an out-of-range value elsewhere stays as it stands")
        << QByteArray("[ Global ]\nSoundVolume = 900\nBalance = abc\n") << QByteArray()
        << QByteArray("MusicVolume") << QByteArray("50")
        << QByteArray("[ Global ]\nSoundVolume = 900\nBalance = abc\nMusicVolume = 50\n")
        << QByteArray();
}

void EmulatorSettingsTest::editsLandInPlace() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, sets);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, shared);
    ConfigDocument document(file);
    const SettingEdit edit{name, sets.isEmpty() ? QList<QByteArray>() : sets.split(','),
                           value == "-" ? std::nullopt : std::optional(value)};
    const QList<QByteArray> got = applySettingEdit(document, edit);
    QCOMPARE(document.bytes(), after);
    QCOMPARE(got, shared.isEmpty() ? QList<QByteArray>() : shared.split(','));
}

QTEST_GUILESS_MAIN(EmulatorSettingsTest)
#include "test_emulator_settings.moc"
