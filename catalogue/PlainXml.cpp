#include "catalogue/PlainXml.h"

#include <algorithm>
#include <optional>

namespace catalogue {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// A character the general reader takes, as ASCII, outside a reference.
bool isPlainCharacter(char c) {
    const auto u = uchar(c);
    return u < 0x80 && (u >= 0x20 || c == '\t' || c == '\n' || c == '\r');
}

bool isXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The character a reference between `&` and `;` stands for, or nothing.
std::optional<char32_t> referenced(QByteArrayView name) {
    if (name == "lt")
        return U'<';
    if (name == "gt")
        return U'>';
    if (name == "amp")
        return U'&';
    if (name == "quot")
        return U'"';
    if (name == "apos")
        return U'\'';
    if (name.size() < 2 || name.size() > 10 || name[0] != '#')
        return std::nullopt;
    const bool hex = name[1] == 'x';
    const QByteArrayView digits = name.sliced(hex ? 2 : 1);
    if (digits.isEmpty())
        return std::nullopt;
    char32_t code = 0;
    for (const char d : digits) {
        int value = -1;
        if (d >= '0' && d <= '9')
            value = d - '0';
        else if (hex && d >= 'a' && d <= 'f')
            value = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F')
            value = d - 'A' + 10;
        if (value < 0)
            return std::nullopt;
        code = code * (hex ? 16 : 10) + char32_t(value);
        if (code > 0x10FFFF)
            return std::nullopt;
    }
    return isXmlCharacter(code) ? std::optional<char32_t>(code) : std::nullopt;
}

// Where the name at `at` ends, or `at` when none begins there.
qsizetype nameEnd(QByteArrayView bytes, qsizetype at) {
    if (at >= bytes.size() || !isNameStart(bytes[at]))
        return at;
    qsizetype end = at + 1;
    while (end < bytes.size() && isNameChar(bytes[end]))
        ++end;
    return end;
}

} // namespace

PlainXml::PlainXml(QByteArrayView bytes) : m_bytes(bytes) {
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; }))
        m_token = Token::GaveUp;
}

bool PlainXml::checkCharacters(qsizetype from, qsizetype end, bool attributeValue) const {
    for (qsizetype i = from; i < end; ++i) {
        const char c = m_bytes[i];
        if (!isPlainCharacter(c) || (attributeValue && c == '<'))
            return false;
        if (c == '&') {
            const qsizetype semicolon = m_bytes.sliced(0, end).indexOf(';', i + 1);
            if (semicolon < 0 || !referenced(m_bytes.sliced(i + 1, semicolon - i - 1)))
                return false;
            i = semicolon;
        } else if (c == ']' && !attributeValue && i + 2 < end && m_bytes[i + 1] == ']' &&
                   m_bytes[i + 2] == '>') {
            return false;
        }
    }
    return true;
}

QString PlainXml::decode(QByteArrayView raw, bool attributeValue) {
    const bool plain = std::none_of(raw.begin(), raw.end(), [](char c) {
        return c == '&' || c == '\r' || c == '\t' || c == '\n';
    });
    if (plain)
        return QString::fromLatin1(raw);
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '&') {
            const qsizetype semicolon = raw.indexOf(';', i + 1);
            const char32_t code = *referenced(raw.sliced(i + 1, semicolon - i - 1));
            out.append(QString::fromUcs4(&code, 1));
            i = semicolon;
            continue;
        }
        // Line ends count as one line feed; in an attribute, they and tabs
        // are spaces.
        if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            ++i;
        if (attributeValue && isSpace(c))
            out.append(u' ');
        else
            out.append(QLatin1Char(c == '\r' ? '\n' : c));
    }
    return out;
}

bool PlainXml::skipComment() {
    const qsizetype from = m_at + 4;
    const qsizetype dashes = m_bytes.indexOf("--", from);
    if (dashes < 0 || dashes + 2 >= m_bytes.size() || m_bytes[dashes + 2] != '>')
        return false;
    for (qsizetype i = from; i < dashes; ++i) {
        if (!isPlainCharacter(m_bytes[i]))
            return false;
    }
    m_at = dashes + 3;
    return true;
}

bool PlainXml::readEndTag() {
    const qsizetype at = m_at + 2;
    const qsizetype end = nameEnd(m_bytes, at);
    if (end == at || m_open.isEmpty() || m_bytes.sliced(at, end - at) != m_open.last())
        return false;
    qsizetype close = end;
    while (close < m_bytes.size() && isSpace(m_bytes[close]))
        ++close;
    if (close >= m_bytes.size() || m_bytes[close] != '>')
        return false;
    m_name = m_open.last();
    m_open.removeLast();
    m_rootClosed = m_open.isEmpty();
    m_at = close + 1;
    return true;
}

bool PlainXml::readStartTag() {
    qsizetype at = m_at + 1;
    const qsizetype end = nameEnd(m_bytes, at);
    if (end == at)
        return false;
    const QByteArrayView name = m_bytes.sliced(at, end - at);
    m_attributes.clear();
    at = end;
    for (;;) {
        const qsizetype before = at;
        while (at < m_bytes.size() && isSpace(m_bytes[at]))
            ++at;
        if (at >= m_bytes.size())
            return false;
        if (m_bytes[at] == '>' || m_bytes[at] == '/') {
            m_selfClosing = m_bytes[at] == '/';
            if (m_selfClosing && (at + 1 >= m_bytes.size() || m_bytes[at + 1] != '>'))
                return false;
            at += m_selfClosing ? 2 : 1;
            break;
        }
        // Attributes are set apart by white space; namespaces are the
        // general reader's.
        const qsizetype attributeEnd = nameEnd(m_bytes, at);
        if (at == before || attributeEnd == at)
            return false;
        const QByteArrayView attribute = m_bytes.sliced(at, attributeEnd - at);
        if (attribute.startsWith("xmlns"))
            return false;
        at = attributeEnd;
        while (at < m_bytes.size() && isSpace(m_bytes[at]))
            ++at;
        if (at >= m_bytes.size() || m_bytes[at] != '=')
            return false;
        ++at;
        while (at < m_bytes.size() && isSpace(m_bytes[at]))
            ++at;
        if (at >= m_bytes.size() || (m_bytes[at] != '"' && m_bytes[at] != '\''))
            return false;
        const qsizetype valueEnd = m_bytes.indexOf(m_bytes[at], at + 1);
        if (valueEnd < 0 || !checkCharacters(at + 1, valueEnd, true))
            return false;
        for (const Attribute& other : m_attributes) {
            if (other.name == attribute)
                return false;
        }
        m_attributes.append({attribute, m_bytes.sliced(at + 1, valueEnd - at - 1)});
        at = valueEnd + 1;
    }
    m_name = name;
    if (!m_selfClosing)
        m_open.append(name);
    m_at = at;
    return true;
}

PlainXml::Token PlainXml::readNext() {
    if (m_token == Token::GaveUp || m_token == Token::Done)
        return m_token;
    if (m_token == Token::Start && m_selfClosing) {
        m_selfClosing = false;
        m_rootClosed = m_open.isEmpty();
        return m_token = Token::End;
    }
    for (;;) {
        if (m_rootClosed)
            return m_token = Token::Done;
        if (m_at >= m_bytes.size())
            return giveUp(); // it ends before its root element does
        if (m_bytes[m_at] != '<') {
            const qsizetype end = m_bytes.indexOf('<', m_at);
            if (end < 0 || !checkCharacters(m_at, end, false))
                return giveUp();
            const QByteArrayView text = m_bytes.sliced(m_at, end - m_at);
            m_at = end;
            if (!m_open.isEmpty()) {
                m_text = text;
                return m_token = Token::Text;
            }
            if (!std::all_of(text.begin(), text.end(), isSpace))
                return giveUp();
            continue;
        }
        const char next = m_at + 1 < m_bytes.size() ? m_bytes[m_at + 1] : '\0';
        if (next == '/')
            return readEndTag() ? m_token = Token::End : giveUp();
        if (next == '!' && m_bytes.sliced(m_at).startsWith("<!--")) {
            if (!skipComment())
                return giveUp();
            continue;
        }
        return readStartTag() ? m_token = Token::Start : giveUp();
    }
}

bool PlainXml::readNextStartElement() {
    for (;;) {
        switch (readNext()) {
        case Token::Start:
            return true;
        case Token::Text:
            break;
        default:
            return false;
        }
    }
}

QString PlainXml::attribute(QLatin1StringView name) const {
    const QByteArrayView wanted(name.data(), name.size());
    for (const Attribute& attribute : m_attributes) {
        if (attribute.name == wanted)
            return decode(attribute.value, true);
    }
    return {};
}

QString PlainXml::readElementText() {
    if (m_token != Token::Start)
        return {};
    QString text;
    for (;;) {
        switch (readNext()) {
        case Token::Text:
            text += decode(m_text, false);
            break;
        case Token::Start:
            skipCurrentElement();
            break;
        default:
            return text;
        }
    }
}

void PlainXml::skipCurrentElement() {
    for (int depth = 1; depth > 0;) {
        switch (readNext()) {
        case Token::Start:
            ++depth;
            break;
        case Token::End:
            --depth;
            break;
        case Token::Text:
            break;
        default:
            return;
        }
    }
}

} // namespace catalogue
