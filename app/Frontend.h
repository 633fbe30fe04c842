#pragma once

#include "bindings/BindingStore.h"
#include "bindings/DeviceCapture.h"
#include "bindings/PadSetup.h"
#include "catalogue/GameCatalogue.h"
#include "emulator/LinkedPlay.h"
#include "emulator/SettingsSession.h"
#include "platform/GameDevices.h"

#include <QObject>
#include <QString>
#include <functional>

namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {
class Launcher;
}

namespace app {

// Wires the window's events to their handlers and runs start-up and
// shutdown. `endProcess` ends the program after shutdown has written its
// settings; tests pass their own.
class Frontend final : public QObject {
    Q_OBJECT
public:
    Frontend(ui::Form1& form, ui::Dialogs& dialogs, emulator::Launcher& launcher,
             QString programFileFolder, std::function<void()> endProcess);

    // Start-up, up to the moment the window may be shown.
    void start();

    // Shutdown, then the end of the process. Runs once, whatever asks.
    void shutdown();

    // The binding panel's model, which the panel's handlers are given.
    bindings::BindingStore& bindingStore() { return m_bindingStore; }
    // The game catalogue, which the handlers of games and launching are given.
    catalogue::GameCatalogue& gameCatalogue() { return m_catalogue; }
    // The game controller set-up's model and its devices.
    bindings::PadSetup& padSetup() { return m_padSetup; }
    platform::GameDevices& padDevices() { return m_padDevices; }

private:
    void route();

    ui::Form1& m_form;
    ui::Dialogs& m_dialogs;
    emulator::Launcher& m_launcher;
    QString m_programFileFolder;
    std::function<void()> m_endProcess;
    bool m_shuttingDown = false;
    platform::GameDevices m_devices;
    bindings::BindingStore m_bindingStore;
    emulator::SettingsSession m_settings;
    emulator::LinkedGroup m_linked;
    catalogue::GameCatalogue m_catalogue;
    bindings::DeviceCapture m_deviceCapture{m_form, m_devices, m_bindingStore};
    // The game controller set-up reads the pads on its own while it shows.
    platform::GameDevices m_padDevices;
    bindings::PadSetup m_padSetup;
};

} // namespace app
