#include "bindings/DeviceNames.h"

#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"

#include <array>
#include <cstdlib>
#include <optional>

namespace bindings {

namespace {

using platform::DeviceState;

// An axis must move a quarter of its whole travel from rest, and end in the
// half it is named for, to count: a stick's drift stays well short of it.
constexpr int kAway = 16384;
// Within this of rest an axis is back.
constexpr int kBack = 8192;
// An axis resting this close to an end is a pedal or a trigger...
constexpr int kNearEnd = 24576;
// ...and it has travelled to the other end once it has come this far.
constexpr int kAcross = 32768;

constexpr std::array<const char*, 8> kAxisNames{"XAXIS",  "YAXIS",  "ZAXIS",   "RXAXIS",
                                                "RYAXIS", "RZAXIS", "SLIDER1", "SLIDER2"};
constexpr int kButtons = 32;
constexpr int kHats = 4;

// SDL's game-controller axes (left x, left y, right x, right y, left
// trigger, right trigger) under the emulator's names.
constexpr std::array<const char*, 6> kPadAxisNames{"XAXIS",  "YAXIS", "RXAXIS",
                                                   "RYAXIS", "ZAXIS", "RZAXIS"};
constexpr int kPadFirstTrigger = 4;

// SDL's game-controller buttons, in SDL's order, under the emulator's names;
// null for the ones it has none for.
constexpr std::array<const char*, 15> kPadButtonNames{
    "BUTTON1", "BUTTON2",   "BUTTON3",   "BUTTON4",     // A, B, X, Y
    "BUTTON7", nullptr,     "BUTTON8",                  // Back, Guide, Start
    "BUTTON9", "BUTTON10",                              // stick clicks
    "BUTTON5", "BUTTON6",                               // shoulders
    "POV1_UP", "POV1_DOWN", "POV1_LEFT", "POV1_RIGHT"}; // d-pad
constexpr std::array<const char*, 21> kPadButtonLabels{
    "A",           "B",    "X",        "Y",        "Back",     "Guide",      "Start",
    "L3",          "R3",   "LB",       "RB",       "d-pad up", "d-pad down", "d-pad left",
    "d-pad right", "Misc", "paddle 1", "paddle 2", "paddle 3", "paddle 4",   "touchpad"};

struct HatDirection {
    int bit;
    const char* name;
};
constexpr std::array<HatDirection, 4> kHatDirections{
    {{1, "UP"}, {4, "DOWN"}, {8, "LEFT"}, {2, "RIGHT"}}};

// The emulator's name of an axis, or null when it has none.
const char* axisName(Numbering numbering, std::size_t axis) {
    if (numbering == Numbering::GameController)
        return axis < kPadAxisNames.size() ? kPadAxisNames[axis] : nullptr;
    return axis < kAxisNames.size() ? kAxisNames[axis] : nullptr;
}

// A game controller's triggers run from 0 to 32767: spread them over the
// whole range so that they rest at one end like a pedal.
int axisValue(Numbering numbering, std::size_t axis, int raw) {
    if (numbering == Numbering::GameController && axis >= kPadFirstTrigger)
        return raw * 2 - 32768;
    return raw;
}

QString source(int number, const QString& part) {
    return QStringLiteral("JOY%1_").arg(number) + part;
}

DeviceEvent named(int number, const QString& part) {
    return {DeviceEvent::Kind::Named, source(number, part), {}};
}

DeviceEvent unnamed(const QString& control) {
    return {DeviceEvent::Kind::Unnamed, {}, control};
}

bool newlyPressed(const DeviceState& rest, const DeviceState& now, std::size_t b) {
    return now.buttons[b] && !(b < rest.buttons.size() && rest.buttons[b]);
}

std::optional<DeviceEvent> buttonEvent(int number, const DeviceState& rest, const DeviceState& now,
                                       Numbering numbering) {
    std::optional<DeviceEvent> other;
    for (std::size_t b = 0; b < now.buttons.size(); ++b) {
        if (!newlyPressed(rest, now, b))
            continue;
        if (numbering == Numbering::GameController) {
            if (b < kPadButtonNames.size() && kPadButtonNames[b])
                return named(number, QLatin1String(kPadButtonNames[b]));
            if (!other)
                other = unnamed(b < kPadButtonLabels.size()
                                    ? QStringLiteral("button ") + QLatin1String(kPadButtonLabels[b])
                                    : QStringLiteral("button %1").arg(b + 1));
        } else if (b < kButtons) {
            return named(number, QStringLiteral("BUTTON%1").arg(b + 1));
        } else if (!other) {
            other = unnamed(QStringLiteral("button %1").arg(b + 1));
        }
    }
    return other;
}

std::optional<DeviceEvent> hatEvent(int number, const DeviceState& rest, const DeviceState& now) {
    for (std::size_t h = 0; h < now.hats.size(); ++h) {
        const int pushed = now.hats[h] & ~(h < rest.hats.size() ? rest.hats[h] : 0);
        for (const HatDirection& direction : kHatDirections) {
            if (!(pushed & direction.bit))
                continue;
            if (h >= kHats)
                return unnamed(QStringLiteral("hat %1").arg(h + 1));
            return named(number,
                         QStringLiteral("POV%1_").arg(h + 1) + QLatin1String(direction.name));
        }
    }
    return std::nullopt;
}

std::optional<DeviceEvent> axisEvent(int number, const DeviceState& rest, const DeviceState& now,
                                     Numbering numbering, bool wholeAxis) {
    for (std::size_t a = 0; a < now.axes.size() && a < rest.axes.size(); ++a) {
        const int from = axisValue(numbering, a, rest.axes[a]);
        const int to = axisValue(numbering, a, now.axes[a]);
        const int moved = to - from;
        const bool whole = wholeAxis && std::abs(from) >= kNearEnd && std::abs(moved) > kAcross;
        const bool half =
            std::abs(moved) > kAway && std::abs(to) > kAway && (to > 0) == (moved > 0);
        if (!whole && !half)
            continue;
        const char* name = axisName(numbering, a);
        if (!name)
            return unnamed(QStringLiteral("axis %1").arg(a + 1));
        const QString axis = QLatin1String(name);
        if (whole)
            return named(number, from > 0 ? axis + QLatin1String("_INV") : axis);
        return named(number, axis + (moved > 0 ? QLatin1String("_POS") : QLatin1String("_NEG")));
    }
    return std::nullopt;
}

} // namespace

Numbering numberingFor(QStringView inputSystem) {
    return inputSystem.trimmed().compare(u"sdlgamepad", Qt::CaseInsensitive) == 0
               ? Numbering::GameController
               : Numbering::Joystick;
}

std::vector<int> deviceNumbers(const std::vector<platform::GameDevice>& devices,
                               Numbering numbering) {
    std::vector<int> numbers;
    int counted = 0;
    for (const platform::GameDevice& device : devices) {
        const bool counts = numbering == Numbering::Joystick || device.gameController;
        numbers.push_back(counts ? ++counted : 0);
    }
    return numbers;
}

bool takesWholeAxis(std::string_view inputName) {
    return inputKind(currentInputName(inputName)) == InputKind::Pedal;
}

DeviceEvent wholeAxisEvent(int number, const DeviceState& rest, const DeviceState& now,
                           Numbering numbering, AxisTravel& travel) {
    if (travel.firstEnd.size() < now.axes.size())
        travel.firstEnd.resize(now.axes.size(), 0);
    for (std::size_t a = 0; a < now.axes.size() && a < rest.axes.size(); ++a) {
        const int from = axisValue(numbering, a, rest.axes[a]);
        const int to = axisValue(numbering, a, now.axes[a]);
        const int end = std::abs(to) >= kNearEnd ? (to > 0 ? 1 : -1) : 0;
        if (end == 0 || std::abs(to - from) <= kAway)
            continue; // not pushed to an end, or resting there
        int& first = travel.firstEnd[a];
        const int restEnd = std::abs(from) >= kNearEnd ? (from > 0 ? 1 : -1) : 0;
        if (first == 0 && restEnd == 0) {
            first = end; // the first full push; the other end completes it
            continue;
        }
        if (first == 0)
            first = end; // resting at one end, pushed to the other
        else if (end == first)
            continue;
        const char* name = axisName(numbering, a);
        if (!name)
            return unnamed(QStringLiteral("axis %1").arg(a + 1));
        const QString axis = QLatin1String(name);
        return named(number, first < 0 ? axis + QLatin1String("_INV") : axis);
    }
    return {};
}

DeviceEvent deviceEvent(int number, const DeviceState& rest, const DeviceState& now,
                        Numbering numbering, bool wholeAxis) {
    // A control the emulator has no name for is told only when nothing named
    // moved at the same time.
    std::optional<DeviceEvent> unnamedEvent;
    for (auto event : {buttonEvent(number, rest, now, numbering), hatEvent(number, rest, now),
                       axisEvent(number, rest, now, numbering, wholeAxis)}) {
        if (!event)
            continue;
        if (event->kind == DeviceEvent::Kind::Named)
            return *event;
        if (!unnamedEvent)
            unnamedEvent = event;
    }
    return unnamedEvent.value_or(DeviceEvent{});
}

void settle(DeviceState& rest, const DeviceState& now) {
    for (std::size_t b = 0; b < rest.buttons.size() && b < now.buttons.size(); ++b)
        if (!now.buttons[b])
            rest.buttons[b] = false;
    for (std::size_t h = 0; h < rest.hats.size() && h < now.hats.size(); ++h)
        rest.hats[h] &= now.hats[h];
}

bool backAtRest(const DeviceState& rest, const DeviceState& now, Numbering numbering) {
    for (bool pressed : now.buttons)
        if (pressed)
            return false;
    for (int hat : now.hats)
        if (hat != 0)
            return false;
    for (std::size_t a = 0; a < now.axes.size() && a < rest.axes.size(); ++a)
        if (std::abs(axisValue(numbering, a, now.axes[a]) - axisValue(numbering, a, rest.axes[a])) >
            kBack)
            return false;
    return true;
}

} // namespace bindings
