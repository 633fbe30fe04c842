#include "bindings/KeyNames.h"

namespace bindings {

namespace {

struct CodeName {
    int code;
    const char* name;
};

// The spellings are ones the emulator reads; it ignores case.
constexpr CodeName kKeyDownNames[] = {
    {16, "LeftShift"}, {17, "LeftCtrl"},    {18, "LeftAlt"}, {19, "Pause"},  {20, "CapsLock"},
    {33, "Pgup"},      {34, "Pgdn"},        {35, "End"},     {36, "Home"},   {37, "Left"},
    {38, "Up"},        {39, "Right"},       {40, "Down"},    {45, "Insert"}, {46, "Del"},
    {144, "NumLock"},  {145, "ScrollLock"},
};

constexpr CodeName kKeyPressNames[] = {
    {8, "Backspace"},    {13, "Return"},    {32, "Space"},        {39, "Quote"},     {44, "Comma"},
    {45, "Minus"},       {46, "Period"},    {47, "Slash"},        {59, "Semicolon"}, {61, "Equals"},
    {91, "LeftBracket"}, {92, "BackSlash"}, {93, "RightBracket"}, {96, "BackQuote"},
};

constexpr CodeName kMouseNames[] = {{1, "MouseLeft"}, {2, "MouseRight"}, {4, "MouseMiddle"}};

// Keys that type characters, by Linux input event code (US-layout position).
// Below 89 these are also the PC set-1 scan codes.
// clang-format off
constexpr CodeName kPhysicalNames[] = {
    {2, "1"}, {3, "2"}, {4, "3"}, {5, "4"}, {6, "5"}, {7, "6"}, {8, "7"}, {9, "8"}, {10, "9"},
    {11, "0"}, {12, "Minus"}, {13, "Equals"},
    {16, "Q"}, {17, "W"}, {18, "E"}, {19, "R"}, {20, "T"}, {21, "Y"}, {22, "U"}, {23, "I"},
    {24, "O"}, {25, "P"}, {26, "LeftBracket"}, {27, "RightBracket"},
    {30, "A"}, {31, "S"}, {32, "D"}, {33, "F"}, {34, "G"}, {35, "H"}, {36, "J"}, {37, "K"},
    {38, "L"}, {39, "Semicolon"}, {40, "Quote"}, {41, "BackQuote"}, {43, "BackSlash"},
    {44, "Z"}, {45, "X"}, {46, "C"}, {47, "V"}, {48, "B"}, {49, "N"}, {50, "M"},
    {51, "Comma"}, {52, "Period"}, {53, "Slash"}, {57, "Space"},
    {71, "Keypad7"}, {72, "Keypad8"}, {73, "Keypad9"}, {75, "Keypad4"}, {76, "Keypad5"},
    {77, "Keypad6"}, {79, "Keypad1"}, {80, "Keypad2"}, {81, "Keypad3"}, {82, "Keypad0"},
    {55, "KeypadMultiply"}, {74, "KeypadMinus"}, {78, "KeypadPlus"}, {83, "KeypadPeriod"},
    {96, "KeypadEnter"}, {98, "KeypadDivide"}, {117, "KeypadEquals"},
    {179, "LeftParen"}, {180, "RightParen"},
};
// clang-format on

#ifdef Q_OS_WIN
constexpr quint32 kScanCodeOffset = 0;
#else
constexpr quint32 kScanCodeOffset = 8; // X keycodes are event codes + 8
#endif

// What a slot shows, what the emulator's file holds, and an earlier spelling
// that reads as the same key.
struct KeyTranslation {
    const char* shown;
    const char* stored;
    const char* earlier;
};

constexpr KeyTranslation kTranslations[] = {
    {"MouseLeft", "MOUSE_LEFT_BUTTON", "MouseLeft"},
    {"MouseRight", "MOUSE_RIGHT_BUTTON", "MouseRight"},
    {"MouseMiddle", "MOUSE_MIDDLE_BUTTON", "MouseMiddle"},
    {"ScrollLock", "ScrollLock", "ScorollLock"},
};

template <std::size_t N> std::optional<QString> lookUp(const CodeName (&table)[N], int code) {
    for (const CodeName& entry : table) {
        if (entry.code == code)
            return QString::fromLatin1(entry.name);
    }
    return std::nullopt;
}

template <std::size_t N>
std::optional<QString> spelledIn(const CodeName (&table)[N], const QString& anyCase) {
    for (const CodeName& entry : table) {
        if (anyCase.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.name);
    }
    return std::nullopt;
}

struct QtToVirtual {
    int qtKey;
    int virtualKey;
};

constexpr QtToVirtual kQtToVirtual[] = {
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},
#ifdef Q_OS_MACOS
    // Qt reports the Control key as Meta on macOS.
    {Qt::Key_Meta, 17},
#endif
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
};

constexpr char32_t kEscape = 27;

} // namespace

std::optional<QString> keyDownName(int virtualKey) {
    return lookUp(kKeyDownNames, virtualKey);
}

KeyPressName keyPressName(char32_t characterCode) {
    KeyPressName result;
    if (characterCode == kEscape)
        return result;
    if (auto name = lookUp(kKeyPressNames, int(characterCode))) {
        result.name = std::move(name);
        return result;
    }
    const bool letter = (characterCode >= U'a' && characterCode <= U'z') ||
                        (characterCode >= U'A' && characterCode <= U'Z');
    if (letter || (characterCode >= U'0' && characterCode <= U'9')) {
        result.name = QString(QChar(char16_t(characterCode))).toUpper();
        return result;
    }
    result.finishes = false;
    return result;
}

std::optional<QString> physicalKeyName(quint32 nativeScanCode) {
    if (nativeScanCode <= kScanCodeOffset || nativeScanCode > 0xffff)
        return std::nullopt;
    return lookUp(kPhysicalNames, int(nativeScanCode - kScanCodeOffset));
}

QString storedKeyName(const QString& slotText) {
    for (const KeyTranslation& entry : kTranslations) {
        if (slotText == QLatin1String(entry.shown))
            return QLatin1String(entry.stored);
    }
    return slotText;
}

QString slotKeyText(const QString& storedName) {
    for (const KeyTranslation& entry : kTranslations) {
        if (storedName.compare(QLatin1String(entry.stored), Qt::CaseInsensitive) == 0 ||
            storedName.compare(QLatin1String(entry.earlier), Qt::CaseInsensitive) == 0)
            return QLatin1String(entry.shown);
    }
    return storedName;
}

std::optional<QString> slotSpelling(const QString& anyCase) {
    if (anyCase.size() == 1 && anyCase[0].isLetterOrNumber() && anyCase[0].unicode() < 128)
        return anyCase.toUpper();
    for (const KeyTranslation& entry : kTranslations) {
        if (anyCase.compare(QLatin1String(entry.earlier), Qt::CaseInsensitive) == 0)
            return QLatin1String(entry.shown);
    }
    if (auto name = spelledIn(kKeyDownNames, anyCase))
        return name;
    if (auto name = spelledIn(kKeyPressNames, anyCase))
        return name;
    return spelledIn(kPhysicalNames, anyCase);
}

std::optional<QString> mouseButtonName(int button) {
    return lookUp(kMouseNames, button);
}

KeyFacts keyFactsFromQt(int qtKey, const QString& text) {
    KeyFacts facts;
    for (const QtToVirtual& entry : kQtToVirtual) {
        if (entry.qtKey == qtKey) {
            facts.virtualKey = entry.virtualKey;
            return facts;
        }
    }

    // These keys type a control character or nothing at all depending on the
    // platform, so the key itself decides.
    switch (qtKey) {
    case Qt::Key_Backspace:
        facts.characterCode = 8;
        return facts;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        facts.characterCode = 13;
        return facts;
    case Qt::Key_Escape:
        facts.characterCode = kEscape;
        return facts;
    case Qt::Key_Space:
        facts.characterCode = 32;
        return facts;
    default:
        break;
    }

    if (text.isEmpty())
        return facts;
    char32_t code = text[0].unicode();
    if (text[0].isHighSurrogate()) {
        if (text.size() < 2 || !text[1].isLowSurrogate())
            return facts;
        code = QChar::surrogateToUcs4(text[0], text[1]);
    } else if (text[0].isLowSurrogate()) {
        return facts;
    }
    if (code >= 32 && code != 127)
        facts.characterCode = code;
    return facts;
}

int mouseButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

} // namespace bindings
