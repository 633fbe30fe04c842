#include "emulator/BindingFile.h"

#include "bindings/BindingStore.h"
#include "emulator/ConfigDocument.h"

#include <memory>

namespace emulator {

namespace {

QByteArray settingName(const QString& input) {
    return "Input" + input.toUtf8();
}

std::optional<QString> valueOf(const ConfigDocument& file, const QString& section,
                               const QString& input) {
    const std::optional<QByteArray> value = file.value(section.toUtf8(), settingName(input));
    return value ? std::optional<QString>(QString::fromUtf8(*value)) : std::nullopt;
}

} // namespace

void loadBindings(bindings::BindingStore& store, ConfigDocument file) {
    const auto document = std::make_shared<const ConfigDocument>(std::move(file));
    const QString global = QLatin1String(ConfigDocument::kGlobal);
    store.load([&](const QString& input) { return valueOf(*document, global, input); },
               [document](const QString& set, const QString& input) {
                   // No set is no section: an empty name would be the global one.
                   return set.isEmpty() ? std::nullopt : valueOf(*document, set, input);
               },
               QString::fromUtf8(
                   document->value(ConfigDocument::kGlobal, "InputSystem").value_or(QByteArray())));
}

QHash<QString, QString> bindingSettings(const bindings::BindingStore& store,
                                        const ConfigDocument& file) {
    const QString global = QLatin1String(ConfigDocument::kGlobal);
    const QHash<QString, QString> edits =
        store.edits([&](const QString& input) { return valueOf(file, global, input).has_value(); });
    QHash<QString, QString> settings;
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        settings.insert(QString::fromUtf8(settingName(it.key())), it.value());
    return settings;
}

} // namespace emulator
