#pragma once

#include <QList>
#include <QString>

namespace bindings {
class BindingStore;
}
namespace catalogue {
class GameCatalogue;
}
namespace ui {
class Dialogs;
class Form1;
struct SettingRowSpec;
} // namespace ui

namespace emulator {

class SettingsSession;

// The face's rows, one per setting of the emulator's settings table, in
// its groups: the joystick family and the legacy engine's folded away.
QList<ui::SettingRowSpec> settingRowSpecs();

// Whether the settings face shows.
bool settingsShown(const ui::Form1& form);

// Opens the settings face over the help text, for all games or for the
// selected game: the binding panel closes first, asking as it does when it
// holds unsaved captures, and the face stays shut when the panel stays. The
// face reads the working copy (else the file the emulator folder offers,
// else nothing), shows each setting's value for the next start and where
// it comes from. A file that cannot be edited safely is told and nothing
// opens.
void OpenSettings(ui::Form1& form, SettingsSession& session, bindings::BindingStore& store,
                  const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs, bool thisGame);

// Closes the face, asking first while it holds unsaved changes (Yes saves,
// and the face stays when that fails). Returns whether the face is shut.
bool CloseSettings(ui::Form1& form, SettingsSession& session, ui::Dialogs& dialogs);

// Saves the changes into the working copy and the emulator's own copy
// (saveToFiles), each edited in place: only the changed settings' lines.
// Saved, the face closes.
void SaveSettings(ui::Form1& form, SettingsSession& session, ui::Dialogs& dialogs);

// The scope chosen, a setting edited or put back to the value for all
// games, another row selected: the face shows it at once.
void ChooseSettingsScope(ui::Form1& form, SettingsSession& session,
                         const catalogue::GameCatalogue& catalogue, bool thisGame);
void EditSetting(ui::Form1& form, SettingsSession& session,
                 const catalogue::GameCatalogue& catalogue, const QString& name,
                 const QString& value);
void PutBackSetting(ui::Form1& form, SettingsSession& session,
                    const catalogue::GameCatalogue& catalogue, const QString& name);
void SettingsFollowRow(ui::Form1& form, SettingsSession& session,
                       const catalogue::GameCatalogue& catalogue);
// A window option changed: what the next start passes.
void SettingsFollowWindow(ui::Form1& form, const SettingsSession& session,
                          const catalogue::GameCatalogue& catalogue);

} // namespace emulator
