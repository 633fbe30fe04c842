#include "platform/GameDevices.h"

#include <QHash>
#include <QLibrary>
#include <SDL.h>
#include <map>

namespace platform {

namespace {

// SDL's functions, looked up by name in the library loaded at run time: the
// program is not linked against SDL, so start-up never loads it. SDL's headers
// give only the types.
struct Sdl {
#define KESTRUN_SDL_FUNCTIONS(X)                                                                   \
    X(SDL_SetHint)                                                                                 \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_NumJoysticks)                                                                            \
    X(SDL_JoystickNameForIndex)                                                                    \
    X(SDL_JoystickPathForIndex)                                                                    \
    X(SDL_JoystickGetDeviceGUID)                                                                   \
    X(SDL_JoystickGetGUIDString)                                                                   \
    X(SDL_JoystickGetDeviceInstanceID)                                                             \
    X(SDL_JoystickOpen)                                                                            \
    X(SDL_JoystickClose)                                                                           \
    X(SDL_JoystickUpdate)                                                                          \
    X(SDL_JoystickEventState)                                                                      \
    X(SDL_JoystickNumAxes)                                                                         \
    X(SDL_JoystickNumButtons)                                                                      \
    X(SDL_JoystickNumHats)                                                                         \
    X(SDL_JoystickGetAxis)                                                                         \
    X(SDL_JoystickGetButton)                                                                       \
    X(SDL_JoystickGetHat)                                                                          \
    X(SDL_IsGameController)                                                                        \
    X(SDL_GameControllerOpen)                                                                      \
    X(SDL_GameControllerClose)                                                                     \
    X(SDL_GameControllerEventState)                                                                \
    X(SDL_GameControllerGetAxis)                                                                   \
    X(SDL_GameControllerGetButton)
#define KESTRUN_SDL_MEMBER(name) decltype(&::name) name = nullptr;
    KESTRUN_SDL_FUNCTIONS(KESTRUN_SDL_MEMBER)
#undef KESTRUN_SDL_MEMBER
    // Since SDL 2.0.12; without it every device's kind is unknown.
    decltype(&::SDL_GameControllerTypeForIndex) SDL_GameControllerTypeForIndex = nullptr;
};

// Loaded once per library name and kept: unloading a library that other
// libraries it pulled in may still reference is not safe.
const Sdl* loadSdl(const QString& library) {
    static std::map<QString, Sdl> loaded;
    if (const auto it = loaded.find(library); it != loaded.end())
        return &it->second;
    QLibrary handle(library);
    handle.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!handle.load())
        return nullptr;
    Sdl sdl;
    bool complete = true;
#define KESTRUN_SDL_RESOLVE(name)                                                                  \
    sdl.name = reinterpret_cast<decltype(sdl.name)>(handle.resolve(#name));                        \
    complete = complete && sdl.name != nullptr;
    KESTRUN_SDL_FUNCTIONS(KESTRUN_SDL_RESOLVE)
#undef KESTRUN_SDL_RESOLVE
    if (!complete) {
        handle.unload(); // an older SDL: none of it was started
        return nullptr;
    }
    sdl.SDL_GameControllerTypeForIndex =
        reinterpret_cast<decltype(sdl.SDL_GameControllerTypeForIndex)>(
            handle.resolve("SDL_GameControllerTypeForIndex"));
    return &loaded.emplace(library, sdl).first->second;
}

// The game controller part reads SDL's list of known pads, which tells a
// game controller from another device, however the devices are read.
constexpr Uint32 kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

ControllerType controllerType(SDL_GameControllerType type) {
    switch (type) {
    case SDL_CONTROLLER_TYPE_UNKNOWN:
        return ControllerType::Unknown;
    case SDL_CONTROLLER_TYPE_XBOX360:
    case SDL_CONTROLLER_TYPE_XBOXONE:
        return ControllerType::Xbox;
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5:
        return ControllerType::PlayStation;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        return ControllerType::Nintendo;
    default:
        return ControllerType::Other;
    }
}

} // namespace

GameDevices::GameDevices(QObject* parent)
    : GameDevices(QStringLiteral("libSDL2-2.0.so.0"), parent) {}

GameDevices::GameDevices(QString library, QObject* parent)
    : QObject(parent), m_library(std::move(library)) {
    m_timer.setInterval(kPollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &GameDevices::poll);
}

GameDevices::~GameDevices() {
    stop();
}

bool GameDevices::start(Reading reading) {
    if (m_running && reading == m_reading)
        return true;
    stop();
    m_reading = reading;
    if (!startSubsystems())
        return false;
    m_running = true;
    openAll();
    m_timer.start();
    return true;
}

void GameDevices::stop() {
    m_timer.stop();
    if (!m_running)
        return;
    closeAll();
    stopSubsystems();
    m_devices.clear();
    m_ids.clear();
    m_running = false;
}

bool GameDevices::startSubsystems() {
    const Sdl* sdl = loadSdl(m_library);
    if (!sdl)
        return false;
    // The program has no SDL window: without this SDL drops the input of a
    // window it thinks is in the background. And SDL must leave the
    // program's own handlers of SIGINT and SIGTERM alone.
    sdl->SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->SDL_InitSubSystem(kSubsystems) != 0)
        return false;
    // States are read directly; nobody would drain an event queue.
    sdl->SDL_JoystickEventState(SDL_IGNORE);
    sdl->SDL_GameControllerEventState(SDL_IGNORE);
    return true;
}

void GameDevices::stopSubsystems() {
    if (const Sdl* sdl = loadSdl(m_library))
        sdl->SDL_QuitSubSystem(kSubsystems);
}

std::vector<int> GameDevices::currentIds() const {
    const Sdl* sdl = loadSdl(m_library);
    std::vector<int> ids;
    const int count = sdl->SDL_NumJoysticks();
    for (int i = 0; i < count; ++i)
        ids.push_back(sdl->SDL_JoystickGetDeviceInstanceID(i));
    return ids;
}

void GameDevices::openAll() {
    const Sdl* sdl = loadSdl(m_library);
    m_ids = currentIds();
    m_devices.clear();
    m_handles.clear();
    QHash<QString, int> seen;
    for (int i = 0; i < int(m_ids.size()); ++i) {
        GameDevice device;
        device.name = QString::fromUtf8(sdl->SDL_JoystickNameForIndex(i));
        // The device file tells one device from another; devices without
        // one (virtual ones) by their kind, name and place among their twins.
        if (const char* path = sdl->SDL_JoystickPathForIndex(i)) {
            device.key = QString::fromUtf8(path);
        } else {
            char guid[33] = {};
            sdl->SDL_JoystickGetGUIDString(sdl->SDL_JoystickGetDeviceGUID(i), guid, sizeof guid);
            device.key = QString::fromLatin1(guid) + QLatin1Char('|') + device.name;
        }
        const int twin = seen[device.key]++;
        if (twin > 0)
            device.key += QLatin1Char('#') + QString::number(twin);
        device.gameController = sdl->SDL_IsGameController(i) == SDL_TRUE;
        if (device.gameController && sdl->SDL_GameControllerTypeForIndex)
            device.type = controllerType(sdl->SDL_GameControllerTypeForIndex(i));
        void* handle = nullptr;
        if (m_reading == Reading::GameController) {
            if (device.gameController)
                handle = sdl->SDL_GameControllerOpen(i);
        } else {
            handle = sdl->SDL_JoystickOpen(i);
        }
        device.readable = handle != nullptr;
        m_handles.push_back(handle);
        m_devices.push_back(std::move(device));
    }
    readStates();
}

void GameDevices::closeAll() {
    const Sdl* sdl = loadSdl(m_library);
    for (void* handle : m_handles) {
        if (!handle)
            continue;
        if (m_reading == Reading::GameController)
            sdl->SDL_GameControllerClose(static_cast<SDL_GameController*>(handle));
        else
            sdl->SDL_JoystickClose(static_cast<SDL_Joystick*>(handle));
    }
    m_handles.clear();
}

void GameDevices::readStates() {
    const Sdl* sdl = loadSdl(m_library);
    for (std::size_t n = 0; n < m_devices.size(); ++n) {
        DeviceState& state = m_devices[n].state;
        state = {};
        if (!m_handles[n])
            continue;
        if (m_reading == Reading::GameController) {
            auto* pad = static_cast<SDL_GameController*>(m_handles[n]);
            for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a)
                state.axes.push_back(
                    sdl->SDL_GameControllerGetAxis(pad, SDL_GameControllerAxis(a)));
            for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
                state.buttons.push_back(
                    sdl->SDL_GameControllerGetButton(pad, SDL_GameControllerButton(b)) != 0);
            continue;
        }
        auto* stick = static_cast<SDL_Joystick*>(m_handles[n]);
        for (int a = 0, count = sdl->SDL_JoystickNumAxes(stick); a < count; ++a)
            state.axes.push_back(sdl->SDL_JoystickGetAxis(stick, a));
        for (int b = 0, count = sdl->SDL_JoystickNumButtons(stick); b < count; ++b)
            state.buttons.push_back(sdl->SDL_JoystickGetButton(stick, b) != 0);
        for (int h = 0, count = sdl->SDL_JoystickNumHats(stick); h < count; ++h)
            state.hats.push_back(sdl->SDL_JoystickGetHat(stick, h));
    }
}

void GameDevices::poll() {
    const Sdl* sdl = loadSdl(m_library);
    sdl->SDL_JoystickUpdate();
    if (currentIds() != m_ids) {
        // SDL appends a device plugged in later, but the emulator numbers
        // them as a fresh start lists them: read the list anew.
        closeAll();
        stopSubsystems();
        if (!startSubsystems()) {
            m_timer.stop();
            m_devices.clear();
            m_ids.clear();
            m_running = false;
            Q_EMIT listChanged();
            return;
        }
        openAll();
        Q_EMIT listChanged();
    } else {
        readStates();
    }
    Q_EMIT polled();
}

} // namespace platform
