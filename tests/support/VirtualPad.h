#pragma once

#include <QString>
#include <QStringList>
#include <SDL.h>

// SDL's virtual joysticks, so that device captures run with no hardware. The
// test holds SDL's joystick subsystem for its whole run (initialise() in
// initTestCase); a real device on the machine comes first in SDL's order.

namespace virtualpad {

// Starts SDL's joystick subsystem; returns the number of real devices.
inline int initialise() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0)
        return -1;
    return SDL_NumJoysticks();
}

inline void finish() {
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

} // namespace virtualpad

// A virtual device: 6 axes, 40 buttons, 5 hats; or a game controller, whose
// maker's ids tell SDL which kind it is.
struct VirtualPad {
    explicit VirtualPad(const char* name, bool controller = false, Uint16 vendor = 0,
                        Uint16 product = 0) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = controller ? 15 : 40;
        desc.nhats = controller ? 0 : 5;
        desc.button_mask = controller ? (1u << 15) - 1 : 0;
        desc.axis_mask = controller ? (1u << SDL_CONTROLLER_AXIS_MAX) - 1 : 0;
        desc.name = name;
        stick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    }
    ~VirtualPad() {
        const SDL_JoystickID id = SDL_JoystickInstanceID(stick);
        SDL_JoystickClose(stick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    // "b3" presses button 3, "a5=-32768" sets axis 5, "h0=1" hat 0.
    void set(const QString& controls) {
        for (const QString& c : controls.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int n = c.mid(1).section(QLatin1Char('='), 0, 0).toInt();
            const int v = c.section(QLatin1Char('='), 1).toInt();
            if (c.startsWith(QLatin1Char('b')))
                SDL_JoystickSetVirtualButton(stick, n, c.contains(QLatin1Char('=')) ? v : 1);
            else if (c.startsWith(QLatin1Char('a')))
                SDL_JoystickSetVirtualAxis(stick, n, Sint16(v));
            else
                SDL_JoystickSetVirtualHat(stick, n, Uint8(v));
        }
        SDL_JoystickUpdate();
    }
    SDL_Joystick* stick = nullptr;
};
