#include "bindings/KeyNames.h"

namespace bindings {

namespace {

struct CodeName {
    int code;
    const char* name;
};

// The spellings are the ones the emulator reads, "ScorollLock" included.
constexpr CodeName kKeyDownNames[] = {
    {16, "LeftShift"}, {17, "LeftCtrl"},     {18, "LeftAlt"}, {19, "Pause"},  {20, "CapsLock"},
    {33, "Pgup"},      {34, "Pgdn"},         {35, "End"},     {36, "Home"},   {37, "Left"},
    {38, "Up"},        {39, "Right"},        {40, "Down"},    {45, "Insert"}, {46, "Del"},
    {144, "NumLock"},  {145, "ScorollLock"},
};

constexpr CodeName kKeyPressNames[] = {
    {8, "Backspace"},    {13, "Return"},    {32, "Space"},        {39, "Quote"},     {44, "Comma"},
    {45, "Minus"},       {46, "Period"},    {47, "Slash"},        {59, "Semicolon"}, {61, "Equals"},
    {91, "LeftBracket"}, {92, "BackSlash"}, {93, "RightBracket"}, {96, "BackQuote"},
};

constexpr CodeName kMouseNames[] = {{1, "MouseLeft"}, {2, "MouseRight"}, {4, "MouseMiddle"}};

template <std::size_t N> std::optional<QString> lookUp(const CodeName (&table)[N], int code) {
    for (const CodeName& entry : table) {
        if (entry.code == code)
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
    if (characterCode == U'"') {
        result.finishes = false;
        return result;
    }
    if (auto name = lookUp(kKeyPressNames, int(characterCode))) {
        result.name = std::move(name);
        return result;
    }
    // Built by hand: QString::fromUcs4 drops a leading U+FEFF as a byte-order
    // mark, which would leave the name empty.
    QString name;
    if (QChar::requiresSurrogates(characterCode) && characterCode <= 0x10FFFF) {
        const QChar pair[] = {QChar(QChar::highSurrogate(characterCode)),
                              QChar(QChar::lowSurrogate(characterCode))};
        name = QString(pair, 2);
    } else if (characterCode <= 0xFFFF && !QChar::isSurrogate(characterCode)) {
        name = QChar(char16_t(characterCode));
    }
    if (name.isEmpty()) {
        // No character to name: the capture keeps waiting.
        result.finishes = false;
        return result;
    }
    result.name = name.toUpper();
    return result;
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
