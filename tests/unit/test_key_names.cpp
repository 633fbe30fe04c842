#include "bindings/KeyNames.h"

#include <QTest>

namespace {

// What a capture would store for a key event: the key-down name first, else
// the key-press name; "-" for a key that names nothing.
QString storedName(int qtKey, const QString& text) {
    const bindings::KeyFacts facts = bindings::keyFactsFromQt(qtKey, text);
    if (facts.virtualKey)
        return bindings::keyDownName(*facts.virtualKey).value_or(QStringLiteral("?"));
    if (facts.characterCode)
        return bindings::keyPressName(*facts.characterCode).name.value_or(QStringLiteral("-"));
    return QStringLiteral("-");
}

} // namespace

class TestKeyNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyDown_data();
    void keyDown();
    void keyPress_data();
    void keyPress();
    void doubleQuoteCannotBeBound();
    void noCharacterLeavesTheCaptureWaiting_data();
    void noCharacterLeavesTheCaptureWaiting();
    void mouse_data();
    void mouse();
    void mouseButtonCode_data();
    void mouseButtonCode();
    void qtKeyFacts_data();
    void qtKeyFacts();
    void qtKeyToStoredName_data();
    void qtKeyToStoredName();
};

void TestKeyNames::keyDown_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name"); // empty: no name

    const std::pair<int, const char*> listed[] = {
        {16, "LeftShift"}, {17, "LeftCtrl"},     {18, "LeftAlt"}, {19, "Pause"},  {20, "CapsLock"},
        {33, "Pgup"},      {34, "Pgdn"},         {35, "End"},     {36, "Home"},   {37, "Left"},
        {38, "Up"},        {39, "Right"},        {40, "Down"},    {45, "Insert"}, {46, "Del"},
        {144, "NumLock"},  {145, "ScorollLock"},
    };
    for (const auto& [code, name] : listed)
        QTest::newRow(name) << code << QString::fromLatin1(name);
    for (int code : {-1, 0, 8, 13, 15, 21, 27, 32, 41, 44, 47, 65, 112, 143, 146, 160, 65536})
        QTest::addRow("unlisted %d", code) << code << QString();
}

void TestKeyNames::keyDown() {
    QFETCH(int, code);
    QFETCH(QString, name);
    const std::optional<QString> result = bindings::keyDownName(code);
    QCOMPARE(result.has_value(), !name.isEmpty());
    if (result)
        QCOMPARE(*result, name);
}

void TestKeyNames::keyPress_data() {
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("name"); // empty: no name (Esc)

    const std::pair<uint, const char*> listed[] = {
        {8, "Backspace"},     {13, "Return"},    {32, "Space"},       {39, "Quote"},
        {44, "Comma"},        {45, "Minus"},     {46, "Period"},      {47, "Slash"},
        {59, "Semicolon"},    {61, "Equals"},    {91, "LeftBracket"}, {92, "BackSlash"},
        {93, "RightBracket"}, {96, "BackQuote"},
    };
    for (const auto& [code, name] : listed)
        QTest::newRow(name) << code << QString::fromLatin1(name);
    QTest::newRow("Esc") << 27u << QString();

    QTest::newRow("lower-case letter") << uint('a') << "A";
    QTest::newRow("last letter") << uint('z') << "Z";
    QTest::newRow("upper-case letter") << uint('Q') << "Q";
    QTest::newRow("digit") << uint('7') << "7";
    QTest::newRow("plus") << uint('+') << "+";
    QTest::newRow("asterisk") << uint('*') << "*";
    QTest::newRow("accented") << uint(U'é') << QStringLiteral("É");
    QTest::newRow("Cyrillic") << uint(U'я') << QStringLiteral("Я");
    QTest::newRow("no upper case") << uint(U'€') << QStringLiteral("€");
    QTest::newRow("outside the BMP") << uint(U'😀') << QStringLiteral("😀");
    QTest::newRow("Deseret small letter") << 0x10428u << QStringLiteral("𐐀");
    QTest::newRow("byte-order mark") << 0xFEFFu << QStringLiteral("\uFEFF");
}

void TestKeyNames::keyPress() {
    QFETCH(uint, code);
    QFETCH(QString, name);
    const bindings::KeyPressName result = bindings::keyPressName(char32_t(code));
    QVERIFY(result.finishes);
    QCOMPARE(result.name.has_value(), !name.isEmpty());
    if (result.name)
        QCOMPARE(*result.name, name);
}

void TestKeyNames::doubleQuoteCannotBeBound() {
    // It delimits key names in the input file; stored, it would read back
    // as an empty key.
    const bindings::KeyPressName result = bindings::keyPressName(U'"');
    QVERIFY(!result.finishes);
    QVERIFY(!result.name);
}

void TestKeyNames::noCharacterLeavesTheCaptureWaiting_data() {
    QTest::addColumn<uint>("code");
    QTest::newRow("lone high surrogate") << 0xD800u;
    QTest::newRow("lone low surrogate") << 0xDFFFu;
    QTest::newRow("beyond Unicode") << 0x110000u;
}

void TestKeyNames::noCharacterLeavesTheCaptureWaiting() {
    QFETCH(uint, code);
    const bindings::KeyPressName result = bindings::keyPressName(char32_t(code));
    QVERIFY(!result.finishes);
    QVERIFY(!result.name);
}

void TestKeyNames::mouse_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("name");

    QTest::newRow("left") << 1 << "MouseLeft";
    QTest::newRow("right") << 2 << "MouseRight";
    QTest::newRow("middle") << 4 << "MouseMiddle";
    for (int button : {0, 3, 5, 8, 16, -1})
        QTest::addRow("unlisted %d", button) << button << QString();
}

void TestKeyNames::mouse() {
    QFETCH(int, button);
    QFETCH(QString, name);
    const std::optional<QString> result = bindings::mouseButtonName(button);
    QCOMPARE(result.has_value(), !name.isEmpty());
    if (result)
        QCOMPARE(*result, name);
}

void TestKeyNames::mouseButtonCode_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("code");

    QTest::newRow("left") << Qt::LeftButton << 1;
    QTest::newRow("right") << Qt::RightButton << 2;
    QTest::newRow("middle") << Qt::MiddleButton << 4;
    QTest::newRow("none") << Qt::NoButton << 0;
    QTest::newRow("back") << Qt::BackButton << 0;
    QTest::newRow("forward") << Qt::ForwardButton << 0;
    QTest::newRow("extra 5") << Qt::ExtraButton5 << 0;
}

void TestKeyNames::mouseButtonCode() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, code);
    QCOMPARE(bindings::mouseButtonCode(button), code);
}

void TestKeyNames::qtKeyFacts_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("virtualKey");    // -1: none
    QTest::addColumn<int>("characterCode"); // -1: none

    // Qt reports left and right modifiers alike; both give the left code.
    QTest::newRow("Shift (either side)") << int(Qt::Key_Shift) << "" << 16 << -1;
    QTest::newRow("Control (either side)") << int(Qt::Key_Control) << "" << 17 << -1;
    QTest::newRow("Alt") << int(Qt::Key_Alt) << "" << 18 << -1;
    QTest::newRow("AltGr") << int(Qt::Key_AltGr) << "" << 18 << -1;
    QTest::newRow("Pause") << int(Qt::Key_Pause) << "" << 19 << -1;
    QTest::newRow("CapsLock") << int(Qt::Key_CapsLock) << "" << 20 << -1;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << "" << 33 << -1;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << "" << 34 << -1;
    QTest::newRow("End") << int(Qt::Key_End) << "" << 35 << -1;
    QTest::newRow("Home") << int(Qt::Key_Home) << "" << 36 << -1;
    QTest::newRow("Left") << int(Qt::Key_Left) << "" << 37 << -1;
    QTest::newRow("Up") << int(Qt::Key_Up) << "" << 38 << -1;
    QTest::newRow("Right") << int(Qt::Key_Right) << "" << 39 << -1;
    QTest::newRow("Down") << int(Qt::Key_Down) << "" << 40 << -1;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << "" << 45 << -1;
    QTest::newRow("Delete with DEL text") << int(Qt::Key_Delete) << "\x7f" << 46 << -1;
    QTest::newRow("NumLock") << int(Qt::Key_NumLock) << "" << 144 << -1;
    QTest::newRow("ScrollLock") << int(Qt::Key_ScrollLock) << "" << 145 << -1;

    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << -1 << 8;
    QTest::newRow("Backspace without text") << int(Qt::Key_Backspace) << "" << -1 << 8;
    QTest::newRow("Return") << int(Qt::Key_Return) << "\r" << -1 << 13;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << "\r" << -1 << 13;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << -1 << 27;
    QTest::newRow("Escape without text") << int(Qt::Key_Escape) << "" << -1 << 27;
    QTest::newRow("Space") << int(Qt::Key_Space) << " " << -1 << 32;
    QTest::newRow("Space without text") << int(Qt::Key_Space) << "" << -1 << 32;

    QTest::newRow("keypad 7") << int(Qt::Key_7) << "7" << -1 << int('7');
    QTest::newRow("letter") << int(Qt::Key_A) << "a" << -1 << int('a');
    QTest::newRow("shifted letter") << int(Qt::Key_A) << "A" << -1 << int('A');
    QTest::newRow("comma") << int(Qt::Key_Comma) << "," << -1 << int(',');
    QTest::newRow("first character of longer text")
        << int(Qt::Key_unknown) << "ab" << -1 << int('a');
    QTest::newRow("accented") << int(Qt::Key_Eacute) << QStringLiteral("é") << -1 << int(U'é');
    QTest::newRow("surrogate pair")
        << int(Qt::Key_unknown) << QStringLiteral("😀") << -1 << int(U'😀');

    QTest::newRow("F5") << int(Qt::Key_F5) << "" << -1 << -1;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "\t" << -1 << -1;
    QTest::newRow("volume up") << int(Qt::Key_VolumeUp) << "" << -1 << -1;
    QTest::newRow("DEL character") << int(Qt::Key_unknown) << "\x7f" << -1 << -1;
    QTest::newRow("control character") << int(Qt::Key_C) << "\x03" << -1 << -1;
    QTest::newRow("lone high surrogate")
        << int(Qt::Key_unknown) << QString(QChar(char16_t(0xD83D))) << -1 << -1;
    QTest::newRow("lone low surrogate")
        << int(Qt::Key_unknown) << QString(QChar(char16_t(0xDE00))) + "x" << -1 << -1;
#ifdef Q_OS_MACOS
    QTest::newRow("Meta is Control on macOS") << int(Qt::Key_Meta) << "" << 17 << -1;
#else
    QTest::newRow("Meta") << int(Qt::Key_Meta) << "" << -1 << -1;
#endif
}

void TestKeyNames::qtKeyFacts() {
    QFETCH(int, qtKey);
    QFETCH(QString, text);
    QFETCH(int, virtualKey);
    QFETCH(int, characterCode);
    const bindings::KeyFacts facts = bindings::keyFactsFromQt(qtKey, text);
    QCOMPARE(facts.virtualKey.value_or(-1), virtualKey);
    QCOMPARE(facts.characterCode ? int(*facts.characterCode) : -1, characterCode);
}

void TestKeyNames::qtKeyToStoredName_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");

    QTest::newRow("Shift") << int(Qt::Key_Shift) << ""
                           << "LeftShift";
    QTest::newRow("Control") << int(Qt::Key_Control) << ""
                             << "LeftCtrl";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << "\x7f"
                            << "Del";
    QTest::newRow("comma") << int(Qt::Key_Comma) << ","
                           << "Comma";
    QTest::newRow("letter") << int(Qt::Key_A) << "a"
                            << "A";
    QTest::newRow("keypad 7") << int(Qt::Key_7) << "7"
                              << "7";
    QTest::newRow("Enter") << int(Qt::Key_Enter) << "\r"
                           << "Return";
    QTest::newRow("Space") << int(Qt::Key_Space) << " "
                           << "Space";
    QTest::newRow("bracket") << int(Qt::Key_BracketLeft) << "["
                             << "LeftBracket";
    QTest::newRow("Esc names nothing") << int(Qt::Key_Escape) << "\x1b"
                                       << "-";
    QTest::newRow("F5 names nothing") << int(Qt::Key_F5) << ""
                                      << "-";
    QTest::newRow("byte-order mark") << 0 << QStringLiteral("\uFEFF") << QStringLiteral("\uFEFF");
}

void TestKeyNames::qtKeyToStoredName() {
    QFETCH(int, qtKey);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(storedName(qtKey, text), name);
}

QTEST_APPLESS_MAIN(TestKeyNames)
#include "test_key_names.moc"
