#include "bindings/GameInputs.h"

#include "bindings/Latin1.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>

namespace bindings {

namespace {

// clang-format off
constexpr std::pair<std::string_view, std::string_view> kHeadings[] = {
    {"common", "Common Controls"},
    {"joystick1", "4-Way Joysticks"},           {"joystick2", "4-Way Joysticks"},
    {"fighting", "Fighting Game Buttons"},      {"spikeout", "Spikeout Buttons"},
    {"soccer", "Virtua Striker Buttons"},       {"vehicle", "Racing Game Steering Controls"},
    {"shift4", "Racing Game Gear 4-Way Shift"}, {"vr4", "Racing Game 4 VR View Buttons"},
    {"viewchange", "Racing Game View Change"},  {"handbrake", "Racing Game Handbrake"},
    {"harley", "Harley Davidson Controls"},     {"twin_joysticks", "Virtual On Controls"},
    {"analog_joystick", "Analog Joystick"},     {"gun1", "Light Guns"}, {"gun2", "Light Guns"},
    {"analog_gun1", "Analog Guns"},             {"analog_gun2", "Analog Guns"},
    {"ski", "Ski Controls"},                    {"magtruck", "Magical Truck Controls"},
    {"fishing", "Fishing Controls"},
};
// clang-format on

bool isShift(std::string_view name) {
    return name == "GearShiftUp" || name == "GearShiftDown";
}

} // namespace

std::string_view inputTypeHeading(std::string_view type) {
    for (const auto& [known, heading] : kHeadings) {
        if (known == type)
            return heading;
    }
    return {};
}

std::vector<const GameInput*> gameInputs(const QStringList& types) {
    const bool shifts =
        types.contains(QLatin1String("shiftupdown")) || types.contains(QLatin1String("shift4"));
    std::vector<const GameInput*> inputs;
    for (const GameInput& input : kGameInputs) {
        // The table lists each input once, so the order is the emulator's
        // and nothing repeats.
        if (types.contains(latin1(input.type)) || (shifts && isShift(input.name)))
            inputs.push_back(&input);
    }
    return inputs;
}

const GameInput* gameInput(std::string_view name) {
    const auto found = std::find_if(kGameInputs.begin(), kGameInputs.end(),
                                    [name](const GameInput& input) { return input.name == name; });
    return found == kGameInputs.end() ? nullptr : &*found;
}

InputKind inputKind(std::string_view name) {
    const GameInput* input = gameInput(name);
    return input ? input->kind : InputKind::Switch;
}

bool isWholeAxis(const QString& source) {
    static const QRegularExpression whole(
        QStringLiteral(
            "^(JOY\\d*_(X|Y|Z|RX|RY|RZ)AXIS|JOY\\d*_SLIDER[12]|MOUSE\\d*_[XYZ]AXIS)(_INV)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return whole.match(source.trimmed()).hasMatch();
}

bool accepts(InputKind kind, const QString& source) {
    return kind != InputKind::WholeAxis || isWholeAxis(source);
}

} // namespace bindings
