#pragma once

#include "bindings/DeviceNames.h"

#include <QHash>
#include <QObject>
#include <QSet>

namespace platform {
class GameDevices;
}
namespace ui {
class Form1;
}

namespace bindings {

class BindingStore;

// Game devices in the capture: while the capture box waits, a button, a hat
// or an axis moved well away from its rest binds the slot being captured.
// The devices are read only while the box waits; the first poll that finds
// it closed stops them, so that the walk of "All over again" reads them
// without a pause and the program is idle again right after a capture.
// Where SDL is missing or sees no device, nothing changes.
class DeviceCapture final : public QObject {
    Q_OBJECT
public:
    DeviceCapture(ui::Form1& form, platform::GameDevices& devices, const BindingStore& store,
                  QObject* parent = nullptr);

    // A slot went into capture: reads the devices while the box waits. During
    // the walk the devices that bound the last slot stay held.
    void begin();

Q_SIGNALS:
    // A device control was taken for the slot being captured: `source`
    // names it ("JOY1_BUTTON4").
    void captured(const QString& source);

private:
    void poll();
    void showDevices();
    void showPrompt(const QString& text, const QString& tooltip);
    void reset();

    ui::Form1& m_form;
    platform::GameDevices& m_devices;
    const BindingStore& m_store;
    Numbering m_numbering = Numbering::Joystick;
    // By device key: where its controls rested when first seen in this run
    // of captures, and the devices that bound a slot and are not back there.
    QHash<QString, platform::DeviceState> m_rest;
    QSet<QString> m_held;
    // By device key, for a whole-axis input: where its axes were pushed.
    QHash<QString, AxisTravel> m_travel;
    int m_slot = -1; // the slot the travel is for
    QString m_shown; // the prompt as last written here
    bool m_listChanged = false;
};

} // namespace bindings
