#pragma once

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>
#include <QVarLengthArray>

namespace catalogue {

// A quick reader of XML in the plain shape the emulator's definitions have:
// ASCII, elements with attributes, text with the predefined entities and
// character references, comments. It offers the few calls of
// QXmlStreamReader the definitions reader makes, with the same results, at
// several times its speed. On anything else (a declaration, a DOCTYPE,
// CDATA, a namespace) and on anything malformed it gives up: hasError() is
// then true, and the general reader is to read the bytes instead, deciding
// what they hold. As the general reader decodes the whole text before it
// reads a tag, a byte beyond ASCII anywhere, after the root element too, is
// left to it from the start.
class PlainXml final {
public:
    explicit PlainXml(QByteArrayView bytes);

    bool readNextStartElement();
    // The current element's name.
    QLatin1StringView name() const { return QLatin1StringView(m_name.data(), m_name.size()); }
    // The current element's attribute of that name, as the general reader
    // gives it (references replaced, each tab and line end a space), or
    // empty text.
    QString attribute(QLatin1StringView name) const;
    // The text of the current element, its children's left out.
    QString readElementText();
    void skipCurrentElement();
    bool hasError() const { return m_token == Token::GaveUp; }

private:
    enum class Token { None, Start, End, Text, Done, GaveUp };
    Token readNext();
    Token giveUp() { return m_token = Token::GaveUp; }
    bool readStartTag();
    bool readEndTag();
    bool skipComment();
    // Checks the characters up to `end` (text or an attribute value, which
    // must not hold `<`); false on anything it does not take.
    bool checkCharacters(qsizetype from, qsizetype end, bool attributeValue) const;
    static QString decode(QByteArrayView raw, bool attributeValue);

    struct Attribute {
        QByteArrayView name;
        QByteArrayView value; // as written
    };

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    Token m_token = Token::None;
    QByteArrayView m_name;
    QByteArrayView m_text; // as written
    bool m_selfClosing = false;
    bool m_rootClosed = false;
    QVarLengthArray<Attribute, 8> m_attributes;
    QVarLengthArray<QByteArrayView, 16> m_open;
};

} // namespace catalogue
