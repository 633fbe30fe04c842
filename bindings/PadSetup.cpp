#include "bindings/PadSetup.h"

#include "bindings/BindingStore.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"

#include <algorithm>

namespace bindings {

namespace {

const QString kInput = QStringLiteral("Input");

// The sticks' axes a player's dead zone covers.
constexpr std::array<const char*, 4> kStickAxes{"X", "Y", "RX", "RY"};

bool hasJoystickSource(const QString& value) {
    const QStringList sources = value.split(u',', Qt::SkipEmptyParts);
    return std::any_of(sources.begin(), sources.end(), [](const QString& source) {
        return source.trimmed().startsWith(QLatin1String("JOY"), Qt::CaseInsensitive);
    });
}

} // namespace

void resetPadSetup(PadSetup& setup, const QString& title, const QStringList& types,
                   const QStringList& sets) {
    setup.title = title;
    setup.types = types;
    setup.sets = sets;
    setup.players = padPlayers(types);
    setup.layout = defaultPadLayout(types, setup.players);
    setup.player = std::min(setup.player, setup.players);
    setup.chosen.reset();
}

void choosePadPart(PadSetup& setup, PadPart part) {
    setup.chosen = part;
    setup.pending.clear();
    for (const PartUse& use : partsUsed(setup.layout, setup.player)) {
        if (use.part == part)
            setup.pending = use.inputs;
    }
}

bool movePendingInput(PadSetup& setup, const QString& source) {
    if (setup.pending.isEmpty())
        return false;
    const bool nintendo = setup.nintendo[std::size_t(setup.player - 1)];
    std::optional<PadControl> control = padControl(source, nintendo);
    if (!control)
        return false;
    const QString input = setup.pending.front();
    if (inputKind(input.toStdString()) == InputKind::WholeAxis) {
        // A stick pushed either way stands for its whole axis.
        switch (*control) {
        case PadControl::LeftStickLeft:
        case PadControl::LeftStickRight:
            control = PadControl::LeftStickX;
            break;
        case PadControl::LeftStickUp:
        case PadControl::LeftStickDown:
            control = PadControl::LeftStickY;
            break;
        case PadControl::RightStickLeft:
        case PadControl::RightStickRight:
            control = PadControl::RightStickX;
            break;
        case PadControl::RightStickUp:
        case PadControl::RightStickDown:
            control = PadControl::RightStickY;
            break;
        default:
            break;
        }
    }
    if (!moveInput(setup.layout, input, *control))
        return false;
    setup.pending.removeFirst();
    if (setup.pending.isEmpty())
        setup.chosen.reset();
    return true;
}

void takePartOffPad(PadSetup& setup) {
    if (!setup.chosen)
        return;
    // Only that part's controls go: a joystick input keeps its other part.
    for (PadAssignment& assignment : setup.layout) {
        if (assignment.player != setup.player)
            continue;
        std::erase_if(assignment.controls,
                      [&](PadControl control) { return padPart(control) == *setup.chosen; });
    }
    setup.chosen.reset();
    setup.pending.clear();
}

QStringList everyInputType() {
    QStringList types;
    for (const GameInput& input : kGameInputs) {
        const QString type = latin1(input.type);
        if (!types.contains(type))
            types.append(type);
    }
    return types;
}

QHash<QString, QString> padSettings(const PadSetup& setup, const BindingStore& store,
                                    const QString& set) {
    const PadLayout layout = setup.everyGame ? defaultPadLayout(everyInputType(), 2) : setup.layout;
    QHash<QString, QString> current;
    for (const PadAssignment& assignment : layout) {
        const std::optional<QString> own =
            set.isEmpty() ? std::nullopt : store.gameValue(set, assignment.input);
        if (own)
            current.insert(assignment.input, *own);
        else if (store.find(assignment.input))
            current.insert(assignment.input, store.value(assignment.input));
    }
    QHash<QString, QString> settings;
    for (const InputValue& value : padValues(layout, setup.nintendo, current))
        settings.insert(kInput + value.input, value.value);
    settings.insert(QStringLiteral("InputSystem"), QStringLiteral("sdlgamepad"));
    if (setup.deadZone > 0) {
        const int players = setup.everyGame ? 2 : setup.players;
        for (int player = 1; player <= players; ++player) {
            for (const char* axis : kStickAxes)
                settings.insert(QStringLiteral("InputJoy%1%2DeadZone").arg(player).arg(axis),
                                QString::number(setup.deadZone));
        }
    }
    return settings;
}

void applyPadSetup(const PadSetup& setup, BindingStore& store) {
    if (!setup.everyGame) {
        for (const QString& set : setup.sets) {
            const QHash<QString, QString> settings = padSettings(setup, store, set);
            for (auto it = settings.cbegin(); it != settings.cend(); ++it)
                store.editSetting(set, it.key(), it.value());
        }
        return;
    }
    const QHash<QString, QString> settings = padSettings(setup, store, QString());
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        // An input's global value goes through the store's own edit, so
        // that the chart shows it and Save writes it under its names.
        if (it.key().startsWith(kInput) && store.find(it.key().mid(kInput.size())))
            store.edit(it.key().mid(kInput.size()), it.value());
        else
            store.editSetting(kGlobalSection, it.key(), it.value());
    }
}

int joystickBindingsChanging(const BindingStore& store) {
    int count = 0;
    for (const GameInput& input : kGameInputs) {
        const QString name = latin1(input.name);
        if (store.find(name) && hasJoystickSource(store.value(name)))
            ++count;
    }
    return count;
}

} // namespace bindings
