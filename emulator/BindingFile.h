#pragma once

#include <QHash>
#include <QString>

namespace bindings {
class BindingStore;
}

namespace emulator {

class ConfigDocument;

// The binding store and the configuration file, both ways.

// Loads `store` from the file: every input's global value and the
// InputSystem setting. The store keeps the file to answer what its game
// sections give: asked for the page's inputs only, never walked whole.
void loadBindings(bindings::BindingStore& store, ConfigDocument file);

// The settings Save writes into `file` ("InputStart1" -> value): the edited
// inputs; a renamed chart input under its current name always, under its
// earlier one where the file has it.
QHash<QString, QString> bindingSettings(const bindings::BindingStore& store,
                                        const ConfigDocument& file);

} // namespace emulator
