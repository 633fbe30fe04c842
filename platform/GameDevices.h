#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

namespace platform {

// One device's controls at one moment, as SDL 2 reports them: axes from
// -32768 to 32767 (a game controller's triggers from 0 to 32767), buttons
// pressed or not, hats as SDL's direction bits (1 up, 2 right, 4 down, 8 left).
struct DeviceState {
    std::vector<int> axes;
    std::vector<bool> buttons;
    std::vector<int> hats;
    bool operator==(const DeviceState&) const = default;
};

// The kind of game controller SDL takes a device for, by its maker's ids.
enum class ControllerType {
    Unknown,
    Xbox,
    PlayStation,
    Nintendo, // letters A and B, X and Y where the others have B and A, Y and X
    Other,    // a virtual one, or a maker of its own (Luna, Stadia, Shield)
};

struct GameDevice {
    QString key;                 // the same device keeps it when the list is read again
    QString name;                // SDL's name for it
    bool gameController = false; // SDL knows its layout: buttons A, B, ..., a d-pad
    ControllerType type = ControllerType::Unknown;
    bool readable = false; // false when it could not be opened the way asked
    DeviceState state;
};

// The connected game devices, read through SDL 2. The library is loaded the
// first time start() is called, never before: it pulls in many libraries the
// program does not otherwise need. Only its joystick and game controller
// parts run (the second tells which devices are game controllers), and only
// between start() and stop():
// while stopped, nothing of it is left running and no timer wakes the program.
class GameDevices final : public QObject {
    Q_OBJECT
public:
    enum class Reading {
        Joystick,       // raw buttons, axes and hats
        GameController, // SDL's game-controller layout (buttons A, B, ... and a d-pad)
    };

    static constexpr int kPollMilliseconds = 16;

    explicit GameDevices(QObject* parent = nullptr);
    // `library` names the shared library to load (for tests of a missing one).
    explicit GameDevices(QString library, QObject* parent = nullptr);
    ~GameDevices() override;

    // Starts reading the devices, polled about 60 times a second. False, and
    // nothing started, when the library is missing or will not start.
    bool start(Reading reading);
    void stop();
    bool running() const { return m_running; }

    // The devices in SDL's order (the first is joystick 1), as of the last poll.
    const std::vector<GameDevice>& devices() const { return m_devices; }

Q_SIGNALS:
    // After each poll, with devices() up to date.
    void polled();
    // The list of devices changed: one was plugged in or removed.
    void listChanged();

private:
    void poll();
    bool startSubsystems();
    void stopSubsystems();
    void openAll();
    void closeAll();
    void readStates();
    std::vector<int> currentIds() const;

    QString m_library;
    QTimer m_timer;
    bool m_running = false;
    Reading m_reading = Reading::Joystick;
    std::vector<void*> m_handles; // SDL_Joystick* or SDL_GameController*, one per device
    std::vector<int> m_ids;       // SDL's instance ids when the list was read
    std::vector<GameDevice> m_devices;
};

} // namespace platform
