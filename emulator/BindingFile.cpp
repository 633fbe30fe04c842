#include "emulator/BindingFile.h"

#include "bindings/BindingStore.h"
#include "emulator/ConfigDocument.h"

namespace emulator {

namespace {

QByteArray settingName(const QString& input) {
    return "Input" + input.toUtf8();
}

std::optional<QString> globalValue(const ConfigDocument& file, const QString& input) {
    const std::optional<QByteArray> value = file.value(ConfigDocument::kGlobal, settingName(input));
    return value ? std::optional<QString>(QString::fromUtf8(*value)) : std::nullopt;
}

} // namespace

void loadBindings(bindings::BindingStore& store, const ConfigDocument& file) {
    QHash<QString, QHash<QString, QString>> sections;
    // File order: the last line of a name wins across the blocks of a set.
    for (const ConfigDocument::Setting& setting : file.settings()) {
        if (!setting.name.startsWith("Input"))
            continue;
        const QString input = QString::fromUtf8(setting.name.sliced(5));
        for (const QByteArray& section : setting.sections) {
            if (section != ConfigDocument::kGlobal)
                sections[QString::fromUtf8(section)].insert(input,
                                                            QString::fromUtf8(setting.value));
        }
    }
    const std::optional<QByteArray> inputSystem =
        file.value(ConfigDocument::kGlobal, "InputSystem");
    store.load([&file](const QString& input) { return globalValue(file, input); },
               std::move(sections), QString::fromUtf8(inputSystem.value_or(QByteArray())));
}

QHash<QString, QString> bindingSettings(const bindings::BindingStore& store,
                                        const ConfigDocument& file) {
    const QHash<QString, QString> edits =
        store.edits([&file](const QString& input) { return globalValue(file, input).has_value(); });
    QHash<QString, QString> settings;
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        settings.insert(QString::fromUtf8(settingName(it.key())), it.value());
    return settings;
}

} // namespace emulator
