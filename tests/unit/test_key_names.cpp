#include "bindings/KeyNames.h"
#include "bindings/SlotTable.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// What the input file holds for a name the panel shows is one the current
// emulator accepts (it ignores case): those it binds, the three lock keys it
// reads without binding, and its mouse buttons.
bool bindable(const QString& slotText) {
    static const QRegularExpression accepted(QRegularExpression::anchoredPattern(QStringLiteral(
        "BACKSPACE|TAB|CLEAR|RETURN|PAUSE|ESCAPE|SPACE|QUOTE|COMMA|MINUS|PERIOD|SLASH|"
        "SEMICOLON|EQUALS|LEFTBRACKET|BACKSLASH|RIGHTBRACKET|BACKQUOTE|DEL|"
        "KEYPADPERIOD|KEYPADDIVIDE|KEYPADMULTIPLY|KEYPADMINUS|KEYPADPLUS|KEYPADENTER|"
        "KEYPADEQUALS|UP|DOWN|RIGHT|LEFT|INSERT|HOME|END|PGUP|PGDN|RIGHTSHIFT|LEFTSHIFT|"
        "RIGHTCTRL|LEFTCTRL|RIGHTALT|LEFTALT|RIGHTMETA|LEFTMETA|ALTGR|HELP|SYSREQ|MENU|"
        "POWER|UNDO|LEFTPAREN|RIGHTPAREN|NUMLOCK|CAPSLOCK|SCROLLLOCK|"
        "[0-9A-Z]|KEYPAD[0-9]|F[1-9]|F1[0-5]|MOUSE_(LEFT|RIGHT|MIDDLE)_BUTTON")));
    return accepted.match(bindings::storedKeyName(slotText).toUpper()).hasMatch();
}

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
    void mouse_data();
    void mouse();
    void mouseButtonCode_data();
    void mouseButtonCode();
    void qtKeyFacts_data();
    void qtKeyFacts();
    void qtKeyToStoredName_data();
    void qtKeyToStoredName();
    void physicalKey_data();
    void physicalKey();
    void translation_data();
    void translation();
    void everyNameIsBindable();
};

void TestKeyNames::keyDown_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name"); // empty: no name

    const std::pair<int, const char*> listed[] = {
        {16, "LeftShift"}, {17, "LeftCtrl"},    {18, "LeftAlt"}, {19, "Pause"},  {20, "CapsLock"},
        {33, "Pgup"},      {34, "Pgdn"},        {35, "End"},     {36, "Home"},   {37, "Left"},
        {38, "Up"},        {39, "Right"},       {40, "Down"},    {45, "Insert"}, {46, "Del"},
        {144, "NumLock"},  {145, "ScrollLock"},
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
    QTest::addColumn<bool>("finishes");

    const std::pair<uint, const char*> listed[] = {
        {8, "Backspace"},     {13, "Return"},    {32, "Space"},       {39, "Quote"},
        {44, "Comma"},        {45, "Minus"},     {46, "Period"},      {47, "Slash"},
        {59, "Semicolon"},    {61, "Equals"},    {91, "LeftBracket"}, {92, "BackSlash"},
        {93, "RightBracket"}, {96, "BackQuote"},
    };
    for (const auto& [code, name] : listed)
        QTest::newRow(name) << code << QString::fromLatin1(name) << true;
    QTest::newRow("Esc") << 27u << QString() << true;

    QTest::newRow("lower-case letter") << uint('a') << "A" << true;
    QTest::newRow("last letter") << uint('z') << "Z" << true;
    QTest::newRow("upper-case letter") << uint('Q') << "Q" << true;
    QTest::newRow("digit") << uint('7') << "7" << true;
    // Characters the emulator has no key name for: the key that typed them
    // names them, if anything does.
    QTest::newRow("plus") << uint('+') << "" << false;
    QTest::newRow("asterisk") << uint('*') << "" << false;
    QTest::newRow("ampersand") << uint('&') << "" << false;
    QTest::newRow("double quote") << uint('"') << "" << false;
    QTest::newRow("accented") << uint(U'é') << "" << false;
    QTest::newRow("sharp s, two letters upper-cased") << uint(U'ß') << "" << false;
    QTest::newRow("Cyrillic") << uint(U'я') << "" << false;
    QTest::newRow("no upper case") << uint(U'€') << "" << false;
    QTest::newRow("outside the BMP") << uint(U'😀') << "" << false;
    QTest::newRow("Deseret small letter") << 0x10428u << "" << false;
    QTest::newRow("fullwidth A") << 0xFF21u << "" << false;
    QTest::newRow("byte-order mark") << 0xFEFFu << "" << false;
    QTest::newRow("lone surrogate") << 0xD800u << "" << false;
    QTest::newRow("beyond Unicode") << 0x110000u << "" << false;
}

void TestKeyNames::keyPress() {
    QFETCH(uint, code);
    QFETCH(QString, name);
    QFETCH(bool, finishes);
    const bindings::KeyPressName result = bindings::keyPressName(char32_t(code));
    QCOMPARE(result.finishes, finishes);
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
}

void TestKeyNames::qtKeyToStoredName() {
    QFETCH(int, qtKey);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(storedName(qtKey, text), name);
}

void TestKeyNames::physicalKey_data() {
    QTest::addColumn<uint>("scanCode");
    QTest::addColumn<QString>("name"); // empty: no name

    // X keycodes: Linux input event code + 8.
    QTest::newRow("1 (types & in France)") << 2u + 8 << "1";
    QTest::newRow("0") << 11u + 8 << "0";
    QTest::newRow("2 (types é in France)") << 3u + 8 << "2";
    QTest::newRow("minus (types ß in Germany)") << 12u + 8 << "Minus";
    QTest::newRow("A (types Q in France)") << 30u + 8 << "A";
    QTest::newRow("M") << 50u + 8 << "M";
    QTest::newRow("grave") << 41u + 8 << "BackQuote";
    QTest::newRow("keypad plus") << 78u + 8 << "KeypadPlus";
    QTest::newRow("keypad asterisk") << 55u + 8 << "KeypadMultiply";
    QTest::newRow("keypad left parenthesis") << 179u + 8 << "LeftParen";
    QTest::newRow("no scan code") << 0u << "";
    QTest::newRow("below the offset") << 7u << "";
    QTest::newRow("Esc position") << 1u + 8 << "";
    QTest::newRow("key beside left Shift (< in Germany)") << 86u + 8 << "";
    QTest::newRow("left Shift") << 42u + 8 << "";
    QTest::newRow("huge") << 0xffffffffu << "";
}

void TestKeyNames::physicalKey() {
    QFETCH(uint, scanCode);
    QFETCH(QString, name);
    QCOMPARE(bindings::physicalKeyName(scanCode).value_or(QString()), name);
}

void TestKeyNames::translation_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read"); // a name found in a file, shown as `shown`

    const struct {
        const char *row, *shown, *stored, *read;
    } rows[] = {
        {"left button", "MouseLeft", "MOUSE_LEFT_BUTTON", "MOUSE_LEFT_BUTTON"},
        {"right button, any case", "MouseRight", "MOUSE_RIGHT_BUTTON", "mouse_right_button"},
        {"middle button, earlier file", "MouseMiddle", "MOUSE_MIDDLE_BUTTON", "MouseMiddle"},
        {"Scroll Lock, earlier file", "ScrollLock", "ScrollLock", "ScorollLock"},
        {"letter", "A", "A", "A"},
        {"other text as it is", "Mouse", "Mouse", "Mouse"},
        {"empty", "", "", ""},
    };
    for (const auto& r : rows)
        QTest::newRow(r.row) << QString(r.shown) << QString(r.stored) << QString(r.read);
}

void TestKeyNames::translation() {
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(QString, read);
    QCOMPARE(bindings::storedKeyName(shown), stored);
    QCOMPARE(bindings::slotKeyText(read), shown);
    QCOMPARE(bindings::slotKeyText(stored), shown);
}

void TestKeyNames::everyNameIsBindable() {
    // Every key a capture can name: the key-down codes, every character, every
    // key position, every mouse button; and every default key.
    QStringList refused;
    auto check = [&refused](const std::optional<QString>& name) {
        if (name && !bindable(*name))
            refused << *name;
    };
    int named = 0;
    for (int code = 0; code < 256; ++code)
        check(bindings::keyDownName(code));
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const bindings::KeyPressName press = bindings::keyPressName(c);
        QVERIFY(press.finishes || !press.name);
        named += press.name.has_value();
        check(press.name);
    }
    for (quint32 code = 0; code < 1024; ++code)
        check(bindings::physicalKeyName(code));
    for (int button : {1, 2, 4})
        check(bindings::mouseButtonName(button));
    for (const bindings::InputSlot& slot : bindings::kSlots)
        check(QString::fromLatin1(slot.defaultKey.data(), qsizetype(slot.defaultKey.size())));
    QCOMPARE(refused, QStringList());
    // The 14 listed characters, 52 letters and 10 digits.
    QCOMPARE(named, 14 + 52 + 10);
}

QTEST_APPLESS_MAIN(TestKeyNames)
#include "test_key_names.moc"
