#include "emulator/SettingEdits.h"

#include "emulator/ConfigDocument.h"

namespace emulator {

namespace {

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

// The word of `family` ("true"/"false", ...) for `on`, in the case `like` has.
QByteArray inCaseOf(const QByteArray& like, QByteArray word) {
    if (like == like.toUpper())
        return word.toUpper();
    if (like.front() >= 'A' && like.front() <= 'Z')
        word[0] = char(word[0] - 32);
    return word;
}

// A new line: text in quotes (unless it holds one, which no quotes can
// hold), everything else bare.
QByteArray lineFor(const EmulatorSetting& setting, const QByteArray& name,
                   const QByteArray& value) {
    if (setting.kind == SettingKind::Text && !value.contains('"'))
        return name + " = \"" + value + '"';
    return name + " = " + value;
}

} // namespace

QByteArray spelledValue(const EmulatorSetting& setting, const QByteArray& value,
                        const std::optional<QByteArray>& current) {
    if (setting.kind != SettingKind::OnOff)
        return value;
    const bool on = readsOn(std::string_view(value.constData(), std::size_t(value.size())));
    if (current) {
        const QByteArray word = current->trimmed();
        const QByteArray lower = word.toLower();
        for (const auto& [yes, no] : {std::pair{"true", "false"}, {"on", "off"}, {"yes", "no"}}) {
            if (lower == yes || lower == no)
                return inCaseOf(word, on ? yes : no);
        }
    }
    return on ? "1" : "0";
}

QList<QByteArray> applySettingEdit(ConfigDocument& document, const SettingEdit& edit) {
    const EmulatorSetting* setting =
        emulatorSetting(std::string_view(edit.name.constData(), std::size_t(edit.name.size())));
    if (!setting)
        return {};
    const auto write = [&](QByteArrayView section, const QByteArray& value) {
        const QByteArray spelt = spelledValue(*setting, value, document.value(section, edit.name));
        const QByteArray line = lineFor(*setting, edit.name, spelt);
        document.set(section, edit.name, spelt, {line, {}, {}});
    };
    if (edit.sets.isEmpty()) {
        if (edit.value)
            write(ConfigDocument::kGlobal, *edit.value);
        else
            document.remove(ConfigDocument::kGlobal, edit.name);
        return {};
    }
    QList<QByteArray> shared;
    for (const QByteArray& set : edit.sets) {
        if (edit.value) {
            write(set, *edit.value);
            continue;
        }
        document.remove(set, edit.name);
        if (!document.value(set, edit.name))
            continue;
        // A header naming other sets too still sets it: the value for all
        // games goes into a block of the set's own, after it.
        const std::optional<QByteArray> global = document.value(ConfigDocument::kGlobal, edit.name);
        write(set, global ? *global : bytesOf(setting->builtIn));
        shared.append(set);
    }
    return shared;
}

} // namespace emulator
