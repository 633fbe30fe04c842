#include "bindings/PadLayout.h"

#include "bindings/BindingValue.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"

#include <QRegularExpression>
#include <algorithm>
#include <string_view>

namespace bindings {

namespace {

// Each control under the emulator's name of it, in PadControl's order.
constexpr std::array<std::string_view, kPadControlCount> kControlNames{
    "BUTTON1",    "BUTTON2",    "BUTTON3",    "BUTTON4",   "BUTTON5",    "BUTTON6",   "BUTTON7",
    "BUTTON8",    "BUTTON9",    "BUTTON10",   "ZAXIS_POS", "RZAXIS_POS", "XAXIS",     "YAXIS",
    "RXAXIS",     "RYAXIS",     "XAXIS_NEG",  "XAXIS_POS", "YAXIS_NEG",  "YAXIS_POS", "RXAXIS_NEG",
    "RXAXIS_POS", "RYAXIS_NEG", "RYAXIS_POS", "POV1_UP",   "POV1_DOWN",  "POV1_LEFT", "POV1_RIGHT",
};

// What drives each input, by player, in the emulator's names of the pad's
// controls (several are all bound; none: off the pad). The face buttons'
// numbers are an Xbox pad's: south 1, east 2, west 3, north 4. An analog
// input a stick drives whole leaves its digital halves off the pad, and the
// light guns are aimed with the mouse.
struct Row {
    std::string_view input;
    int player;
    std::string_view controls;
};
// clang-format off
constexpr Row kLayout[] = {
    // Start on Start, coin on Back; service and test stay on keys.
    {"Start1", 1, "BUTTON8"}, {"Start2", 2, "BUTTON8"}, {"Coin1", 1, "BUTTON7"}, {"Coin2", 2, "BUTTON7"},
    {"ServiceA", 1, ""}, {"ServiceB", 1, ""}, {"TestA", 1, ""}, {"TestB", 1, ""},
    // A four-way stick on the left stick's halves and the d-pad.
    {"JoyUp", 1, "YAXIS_NEG,POV1_UP"}, {"JoyDown", 1, "YAXIS_POS,POV1_DOWN"},
    {"JoyLeft", 1, "XAXIS_NEG,POV1_LEFT"}, {"JoyRight", 1, "XAXIS_POS,POV1_RIGHT"},
    {"JoyUp2", 2, "YAXIS_NEG,POV1_UP"}, {"JoyDown2", 2, "YAXIS_POS,POV1_DOWN"},
    {"JoyLeft2", 2, "XAXIS_NEG,POV1_LEFT"}, {"JoyRight2", 2, "XAXIS_POS,POV1_RIGHT"},
    // Punch west, kick north, guard south, escape east.
    {"Punch", 1, "BUTTON3"}, {"Kick", 1, "BUTTON4"}, {"Guard", 1, "BUTTON1"}, {"Escape", 1, "BUTTON2"},
    {"Punch2", 2, "BUTTON3"}, {"Kick2", 2, "BUTTON4"}, {"Guard2", 2, "BUTTON1"}, {"Escape2", 2, "BUTTON2"},
    {"Shift", 1, "BUTTON2,BUTTON6"}, {"Beat", 1, "BUTTON1"}, {"Charge", 1, "BUTTON3"}, {"Jump", 1, "BUTTON4"},
    {"ShortPass", 1, "BUTTON3"}, {"LongPass", 1, "BUTTON1"}, {"Shoot", 1, "BUTTON2"},
    {"ShortPass2", 2, "BUTTON3"}, {"LongPass2", 2, "BUTTON1"}, {"Shoot2", 2, "BUTTON2"},
    // Steering on the left stick, the pedals on the triggers, shifts on the shoulders.
    {"SteeringLeft", 1, ""}, {"SteeringRight", 1, ""}, {"Steering", 1, "XAXIS"},
    {"Accelerator", 1, "RZAXIS_POS"}, {"Brake", 1, "ZAXIS_POS"},
    {"GearShiftUp", 1, "BUTTON6"}, {"GearShiftDown", 1, "BUTTON5"},
    {"GearShift1", 1, "RYAXIS_NEG"}, {"GearShift2", 1, "RYAXIS_POS"},
    {"GearShift3", 1, "RXAXIS_NEG"}, {"GearShift4", 1, "RXAXIS_POS"}, {"GearShiftN", 1, ""},
    {"VR1", 1, "BUTTON4"}, {"VR2", 1, "BUTTON1"}, {"VR3", 1, "BUTTON3"}, {"VR4", 1, "BUTTON2"},
    {"ViewChange", 1, "BUTTON4"}, {"HandBrake", 1, "BUTTON1"},
    {"RearBrake", 1, "BUTTON1"}, {"MusicSelect", 1, "BUTTON2"},
    // Turning on the right stick, moving on the left, shots on the triggers.
    {"TwinJoyTurnLeft", 1, "RXAXIS_NEG"}, {"TwinJoyTurnRight", 1, "RXAXIS_POS"},
    {"TwinJoyForward", 1, "YAXIS_NEG"}, {"TwinJoyReverse", 1, "YAXIS_POS"},
    {"TwinJoyStrafeLeft", 1, "XAXIS_NEG"}, {"TwinJoyStrafeRight", 1, "XAXIS_POS"},
    {"TwinJoyJump", 1, "BUTTON4"}, {"TwinJoyCrouch", 1, "BUTTON1"},
    {"TwinJoyLeft1", 1, ""}, {"TwinJoyLeft2", 1, ""}, {"TwinJoyRight1", 1, ""}, {"TwinJoyRight2", 1, ""},
    {"TwinJoyUp1", 1, ""}, {"TwinJoyUp2", 1, ""}, {"TwinJoyDown1", 1, ""}, {"TwinJoyDown2", 1, ""},
    {"TwinJoyShot1", 1, "ZAXIS_POS"}, {"TwinJoyShot2", 1, "RZAXIS_POS"},
    {"TwinJoyTurbo1", 1, "BUTTON5"}, {"TwinJoyTurbo2", 1, "BUTTON6"},
    {"AnalogJoyLeft", 1, ""}, {"AnalogJoyRight", 1, ""}, {"AnalogJoyUp", 1, ""}, {"AnalogJoyDown", 1, ""},
    {"AnalogJoyX", 1, "XAXIS"}, {"AnalogJoyY", 1, "YAXIS"},
    {"AnalogJoyTrigger", 1, "RZAXIS_POS,BUTTON3"}, {"AnalogJoyTrigger2", 1, ""},
    {"AnalogJoyEvent", 1, "BUTTON1"}, {"AnalogJoyEvent2", 1, ""},
    {"GunLeft", 1, ""}, {"GunRight", 1, ""}, {"GunUp", 1, ""}, {"GunDown", 1, ""},
    {"GunX", 1, ""}, {"GunY", 1, ""}, {"Trigger", 1, ""}, {"Offscreen", 1, ""},
    {"GunLeft2", 2, ""}, {"GunRight2", 2, ""}, {"GunUp2", 2, ""}, {"GunDown2", 2, ""},
    {"GunX2", 2, ""}, {"GunY2", 2, ""}, {"Trigger2", 2, ""}, {"Offscreen2", 2, ""},
    {"AnalogGunLeft", 1, ""}, {"AnalogGunRight", 1, ""}, {"AnalogGunUp", 1, ""}, {"AnalogGunDown", 1, ""},
    {"AnalogGunX", 1, ""}, {"AnalogGunY", 1, ""}, {"AnalogTriggerLeft", 1, ""}, {"AnalogTriggerRight", 1, ""},
    {"AnalogGunLeft2", 2, ""}, {"AnalogGunRight2", 2, ""}, {"AnalogGunUp2", 2, ""}, {"AnalogGunDown2", 2, ""},
    {"AnalogGunX2", 2, ""}, {"AnalogGunY2", 2, ""}, {"AnalogTriggerLeft2", 2, ""}, {"AnalogTriggerRight2", 2, ""},
    // Skis on the left stick's X, the edges on the right stick's X, poles on the triggers.
    {"SkiLeft", 1, ""}, {"SkiRight", 1, ""}, {"SkiUp", 1, ""}, {"SkiDown", 1, ""},
    {"SkiX", 1, "XAXIS"}, {"SkiY", 1, "RXAXIS"},
    {"SkiPollLeft", 1, "ZAXIS_POS"}, {"SkiPollRight", 1, "RZAXIS_POS"},
    {"SkiSelect1", 1, "BUTTON3"}, {"SkiSelect2", 1, "BUTTON1"}, {"SkiSelect3", 1, "BUTTON2"},
    {"MagicalLeverUp1", 1, ""}, {"MagicalLeverDown1", 1, ""},
    {"MagicalLeverUp2", 2, ""}, {"MagicalLeverDown2", 2, ""},
    {"MagicalLever1", 1, "YAXIS"}, {"MagicalLever2", 2, "YAXIS"},
    {"MagicalPedal1", 1, "BUTTON1"}, {"MagicalPedal2", 2, "BUTTON1"},
    // The rod on the left stick, the stick on the right; the reel and the
    // tension on the triggers (a trigger rests at 0: only its positive half
    // ever fires).
    {"FishingRodLeft", 1, ""}, {"FishingRodRight", 1, ""}, {"FishingRodUp", 1, ""}, {"FishingRodDown", 1, ""},
    {"FishingStickLeft", 1, ""}, {"FishingStickRight", 1, ""}, {"FishingStickUp", 1, ""}, {"FishingStickDown", 1, ""},
    {"FishingRodX", 1, "XAXIS"}, {"FishingRodY", 1, "YAXIS"}, {"FishingReel", 1, "RZAXIS_POS"},
    {"FishingStickX", 1, "RXAXIS"}, {"FishingStickY", 1, "RYAXIS"},
    {"FishingCast", 1, "BUTTON1"}, {"FishingSelect", 1, "BUTTON2"}, {"FishingTension", 1, "ZAXIS_POS"},
};
// clang-format on

constexpr std::string_view kGunTypes[] = {"gun1", "gun2", "analog_gun1", "analog_gun2"};

const Row* row(std::string_view input) {
    const auto found = std::find_if(std::begin(kLayout), std::end(kLayout),
                                    [input](const Row& r) { return r.input == input; });
    return found == std::end(kLayout) ? nullptr : &*found;
}

bool isNone(const QString& source) {
    return source.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0;
}

PadControl swapped(PadControl control) {
    switch (control) {
    case PadControl::South:
        return PadControl::East;
    case PadControl::East:
        return PadControl::South;
    case PadControl::West:
        return PadControl::North;
    case PadControl::North:
        return PadControl::West;
    default:
        return control;
    }
}

std::vector<PadControl> rowControls(const Row& r) {
    std::vector<PadControl> controls;
    for (const QString& part : latin1(r.controls).split(u',', Qt::SkipEmptyParts))
        controls.push_back(*padControl(QStringLiteral("JOY_") + part, false));
    return controls;
}

} // namespace

PadPart padPart(PadControl control) {
    switch (control) {
    case PadControl::South:
        return PadPart::South;
    case PadControl::East:
        return PadPart::East;
    case PadControl::West:
        return PadPart::West;
    case PadControl::North:
        return PadPart::North;
    case PadControl::LeftShoulder:
        return PadPart::LeftShoulder;
    case PadControl::RightShoulder:
        return PadPart::RightShoulder;
    case PadControl::Back:
        return PadPart::Back;
    case PadControl::Start:
        return PadPart::Start;
    case PadControl::LeftTrigger:
        return PadPart::LeftTrigger;
    case PadControl::RightTrigger:
        return PadPart::RightTrigger;
    case PadControl::LeftStickClick:
    case PadControl::LeftStickX:
    case PadControl::LeftStickY:
    case PadControl::LeftStickLeft:
    case PadControl::LeftStickRight:
    case PadControl::LeftStickUp:
    case PadControl::LeftStickDown:
        return PadPart::LeftStick;
    case PadControl::RightStickClick:
    case PadControl::RightStickX:
    case PadControl::RightStickY:
    case PadControl::RightStickLeft:
    case PadControl::RightStickRight:
    case PadControl::RightStickUp:
    case PadControl::RightStickDown:
        return PadPart::RightStick;
    case PadControl::DpadUp:
    case PadControl::DpadDown:
    case PadControl::DpadLeft:
    case PadControl::DpadRight:
        return PadPart::Dpad;
    }
    return PadPart::Start;
}

bool isStickAxis(PadControl control) {
    return control >= PadControl::LeftStickX && control <= PadControl::RightStickY;
}

QString padSource(PadControl control, int player, bool nintendo) {
    const PadControl written = nintendo ? swapped(control) : control;
    return QStringLiteral("JOY%1_").arg(player) + latin1(kControlNames[std::size_t(written)]);
}

std::optional<PadControl> padControl(const QString& source, bool nintendo) {
    static const QRegularExpression joystick(QStringLiteral("^JOY\\d*_(.+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = joystick.match(source.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QString part = match.captured(1).toUpper();
    // The stick's directions under their short names.
    for (const auto& [shortName, name] :
         {std::pair{"UP", "YAXIS_NEG"}, std::pair{"DOWN", "YAXIS_POS"},
          std::pair{"LEFT", "XAXIS_NEG"}, std::pair{"RIGHT", "XAXIS_POS"}}) {
        if (part == QLatin1String(shortName))
            part = QLatin1String(name);
    }
    for (std::size_t i = 0; i < kControlNames.size(); ++i) {
        if (part == latin1(kControlNames[i])) {
            const auto control = PadControl(i);
            return nintendo ? swapped(control) : control;
        }
    }
    return std::nullopt;
}

int padPlayers(const QStringList& types) {
    for (const GameInput* input : gameInputs(types)) {
        const Row* r = row(input->name);
        if (r && r->player == 2 && input->type != "common")
            return 2;
    }
    return 1;
}

PadLayout defaultPadLayout(const QStringList& types, int players) {
    PadLayout layout;
    for (const GameInput* input : gameInputs(types)) {
        const Row* r = row(input->name);
        if (!r || r->player > players)
            continue;
        layout.push_back({latin1(r->input), r->player, rowControls(*r)});
    }
    return layout;
}

bool moveInput(PadLayout& layout, const QString& input, PadControl control) {
    const auto moved = std::find_if(layout.begin(), layout.end(),
                                    [&](const PadAssignment& a) { return a.input == input; });
    if (moved == layout.end())
        return false;
    const bool wholeAxis = inputKind(input.toStdString()) == InputKind::WholeAxis;
    if (wholeAxis != isStickAxis(control))
        return false;
    const std::vector<PadControl> before = moved->controls;
    for (PadAssignment& other : layout) {
        if (&other == &*moved || other.player != moved->player)
            continue;
        auto at = std::find(other.controls.begin(), other.controls.end(), control);
        if (at == other.controls.end())
            continue;
        const bool exchange =
            !before.empty() && std::find(other.controls.begin(), other.controls.end(),
                                         before.front()) == other.controls.end();
        if (exchange)
            *at = before.front();
        else
            other.controls.erase(at);
    }
    moved->controls = {control};
    return true;
}

void takeOffPad(PadLayout& layout, const QString& input) {
    for (PadAssignment& assignment : layout) {
        if (assignment.input == input)
            assignment.controls.clear();
    }
}

QString padValue(const PadAssignment& assignment, bool nintendo, const QString& current) {
    QStringList sources;
    for (const QString& source : splitSources(current)) {
        if (sourceKind(source) != SourceKind::Joystick && !isNone(source))
            sources.append(source);
    }
    // The pad's sources go right after the first key or mouse source, as a
    // captured one does.
    const auto key = std::find_if(sources.begin(), sources.end(), [](const QString& s) {
        return sourceKind(s) == SourceKind::Keyboard || sourceKind(s) == SourceKind::Mouse;
    });
    qsizetype at = key == sources.end() ? 0 : (key - sources.begin()) + 1;
    for (PadControl control : assignment.controls)
        sources.insert(at++, padSource(control, assignment.player, nintendo));
    return sources.isEmpty() ? QStringLiteral("NONE") : joinSources(sources);
}

std::vector<InputValue> padValues(const PadLayout& layout, std::array<bool, 2> nintendo,
                                  const QHash<QString, QString>& current) {
    std::vector<InputValue> values;
    for (const PadAssignment& assignment : layout) {
        QString value;
        if (const auto it = current.find(assignment.input); it != current.end())
            value = *it;
        else if (const GameInput* input = gameInput(assignment.input.toStdString()))
            value = latin1(input->builtIn);
        const bool style = nintendo[std::size_t(std::clamp(assignment.player, 1, 2) - 1)];
        values.push_back({assignment.input, padValue(assignment, style, value)});
    }
    return values;
}

std::vector<InputValue> padValues(const QStringList& types, int players,
                                  std::array<bool, 2> nintendo,
                                  const QHash<QString, QString>& current) {
    return padValues(defaultPadLayout(types, players), nintendo, current);
}

std::vector<PartUse> partsUsed(const PadLayout& layout, int player) {
    std::vector<PartUse> uses;
    for (int p = 0; p < kPadPartCount; ++p) {
        PartUse use{PadPart(p), {}, {}, {}};
        for (const PadAssignment& assignment : layout) {
            if (assignment.player != player || use.inputs.contains(assignment.input))
                continue;
            const bool drives =
                std::any_of(assignment.controls.begin(), assignment.controls.end(),
                            [&](PadControl control) { return padPart(control) == use.part; });
            if (!drives)
                continue;
            use.inputs.append(assignment.input);
            const GameInput* input = gameInput(assignment.input.toStdString());
            use.labels.append(input ? latin1(input->label) : assignment.input);
        }
        if (use.inputs.isEmpty())
            continue;
        use.caption = sharedCaption(use.labels);
        uses.push_back(std::move(use));
    }
    return uses;
}

QString sharedCaption(const QStringList& labels) {
    if (labels.size() < 2)
        return labels.value(0);
    std::vector<QStringList> words;
    for (const QString& label : labels)
        words.push_back(label.split(u' ', Qt::SkipEmptyParts));
    // The words all share, leaving each at least one of its own.
    qsizetype shared = 0;
    for (;; ++shared) {
        const bool same = std::all_of(words.begin(), words.end(), [&](const QStringList& w) {
            return shared + 1 < w.size() && w[shared] == words.front()[shared];
        });
        if (!same)
            break;
    }
    if (shared == 0)
        return labels.join(QLatin1String(", "));
    QStringList rests;
    for (const QStringList& w : words)
        rests.append(w.mid(shared).join(u' '));
    return words.front().mid(0, shared).join(u' ') + u' ' + rests.join(u'/');
}

QString offPadNote(const QStringList& types) {
    const bool gun = std::any_of(std::begin(kGunTypes), std::end(kGunTypes),
                                 [&](auto type) { return types.contains(latin1(type)); });
    if (!gun)
        return {};
    return QStringLiteral("Aim and triggers stay on the mouse: a pad's stick cannot aim a light "
                          "gun well.");
}

} // namespace bindings
