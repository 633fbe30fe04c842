#include "emulator/InputFile.h"

#include "platform/Files.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace emulator {

namespace {

constexpr std::string_view kInputWord = "Input";

// Inputs the current emulator reads only under a newer name: each binding is
// written under both.
constexpr std::pair<const char*, const char*> kRenamedInputs[] = {
    {"TwinJoyLeftShot", "TwinJoyShot1"},
    {"TwinJoyRightShot", "TwinJoyShot2"},
    {"TwinJoyLeftTurbo", "TwinJoyTurbo1"},
    {"TwinJoyRightTurbo", "TwinJoyTurbo2"},
};

// Cuts the next line off `rest`; CR LF, CR alone and LF alone each end one
// line. Scanning this way reads only as far as the bindings go, whatever the
// size of the file.
bool nextLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty())
        return false;
    const auto end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = rest;
        rest = {};
        return true;
    }
    line = rest.substr(0, end);
    std::size_t skip = 1;
    if (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n')
        skip = 2;
    rest.remove_prefix(end + skip);
    return true;
}

void cutToLongest(QString& text) {
    if (text.size() <= kLongestKeyName)
        return;
    qsizetype size = kLongestKeyName;
    if (text[size - 1].isHighSurrogate())
        --size; // never half a character
    text.truncate(size);
}

SlotBinding bindingFromLine(std::string_view bytes) {
    // Decoded before any cutting so that invalid UTF-8 around the removed
    // characters cannot merge into new characters.
    const QString line = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));

    SlotBinding binding;
    const qsizetype firstQuote = line.indexOf(u'"');
    QString name;
    if (firstQuote < 0) {
        name = line;
    } else {
        name = line.first(firstQuote);
        const qsizetype secondQuote = line.indexOf(u'"', firstQuote + 1);
        binding.key = secondQuote < 0 ? line.sliced(firstQuote + 1)
                                      : line.sliced(firstQuote + 1, secondQuote - firstQuote - 1);
    }

    name.remove(u'=');
    qsizetype end = name.size();
    while (end > 0 && name[end - 1] == u' ')
        --end;
    name.truncate(end);
    name.remove(QStringLiteral("Input"));
    binding.inputName = name;
    return binding;
}

} // namespace

QByteArray formatInputFile(std::span<const SlotBinding> slots, QChar quote) {
    QString text = QStringLiteral(";\r\n"
                                  "; Supermodel Configuration File\r\n"
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
    for (const auto& [earlier, current] : kRenamedInputs) {
        const auto slot =
            std::find_if(slots.begin(), slots.end(), [name = earlier](const SlotBinding& b) {
                return b.inputName == QLatin1String(name);
            });
        if (slot != slots.end())
            addLine(QLatin1String(current), slot->key);
    }
    return text.toUtf8();
}

std::vector<SlotBinding> parseInputFile(const QByteArray& bytes) {
    std::vector<SlotBinding> bindings;
    std::string_view rest(bytes.constData(), std::size_t(bytes.size()));
    std::string_view line;
    while (bindings.size() < std::size_t(kInputFileSlots) && nextLine(rest, line)) {
        // "Input" is plain ASCII, which UTF-8 never produces from other
        // characters, so the test can run on the raw bytes.
        if (line.find(kInputWord) == std::string_view::npos)
            continue;
        bindings.push_back(bindingFromLine(line));
    }
    return bindings;
}

std::vector<SlotBinding> readInputFile(QIODevice& device) {
    // Only the lines that give bindings are kept, each at most kLineLimit
    // long, and handed to parseInputFile: the same answer in bounded memory.
    platform::LineReader reader(device, platform::kLineLimit);
    QByteArray kept;
    QByteArray line;
    int found = 0;
    while (found < kInputFileSlots && reader.next(line)) {
        if (!line.contains("Input"))
            continue;
        kept += line;
        kept += '\n';
        ++found;
    }
    std::vector<SlotBinding> bindings = parseInputFile(kept);
    for (SlotBinding& binding : bindings) {
        cutToLongest(binding.inputName);
        cutToLongest(binding.key);
    }
    return bindings;
}

} // namespace emulator
