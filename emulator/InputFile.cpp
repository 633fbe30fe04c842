#include "emulator/InputFile.h"

#include "bindings/BuiltInValues.h"
#include "bindings/Latin1.h"
#include "bindings/SlotTable.h"

#include <algorithm>

namespace emulator {

namespace {

constexpr char kEarlierHeader[] = ";\r\n"
                                  "; Supermodel Configuration File\r\n"
                                  ";\r\n"
                                  "\r\n"
                                  "[ Global ]\r\n"
                                  "\r\n";

bool isChartInput(const QByteArray& name) {
    return std::any_of(
        bindings::kSlots.begin(), bindings::kSlots.end(), [&name](const bindings::InputSlot& slot) {
            const std::string_view current = bindings::currentInputName(slot.inputName);
            return name ==
                       QByteArrayView(slot.inputName.data(), qsizetype(slot.inputName.size())) ||
                   name == QByteArrayView(current.data(), qsizetype(current.size()));
        });
}

// `InputNAME = "VALUE"`, as the earlier versions wrote a chart slot.
bool isEarlierInputLine(const QByteArray& line) {
    const qsizetype equals = line.indexOf(" = \"");
    if (!line.startsWith("Input") || equals < 0 || !isChartInput(line.mid(5, equals - 5)))
        return false;
    const QByteArray quoted = line.mid(equals + 3);
    return quoted.size() >= 2 && quoted.endsWith('"') && quoted.count('"') == 2 &&
           !quoted.contains('\r') && !quoted.contains('\n');
}

} // namespace

QByteArray formatInputFile(std::span<const SlotBinding> slots, QChar quote) {
    QString text = QStringLiteral(";\r\n"
                                  "; Supermodel Configuration File\r\n") +
                   QLatin1String(kWrittenBy) +
                   QStringLiteral("\r\n"
                                  ";\r\n"
                                  "\r\n"
                                  "[ Global ]\r\n"
                                  "\r\n");
    auto addLine = [&text, quote](const QString& name, const QString& key) {
        text += QStringLiteral("Input") + name + QStringLiteral(" = ") + quote + key + quote +
                QStringLiteral("\r\n");
    };
    for (const SlotBinding& slot : slots)
        addLine(slot.inputName, slot.key);
    // Inputs the current emulator reads only under a newer name: each binding
    // is written under both.
    for (const auto& [earlier, current] : bindings::kRenamedInputs) {
        const auto slot =
            std::find_if(slots.begin(), slots.end(), [name = earlier](const SlotBinding& b) {
                return b.inputName == bindings::latin1(name);
            });
        if (slot != slots.end())
            addLine(bindings::latin1(current), slot->key);
    }
    return text.toUtf8();
}

bool isEarlierFrontEndFile(const QByteArray& bytes) {
    if (!bytes.startsWith(kEarlierHeader) || !bytes.endsWith("\r\n"))
        return false;
    qsizetype at = qsizetype(sizeof kEarlierHeader) - 1;
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf("\r\n", at);
        if (!isEarlierInputLine(bytes.mid(at, end - at)))
            return false;
        at = end + 2;
    }
    return true;
}

} // namespace emulator
