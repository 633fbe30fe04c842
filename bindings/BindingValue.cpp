#include "bindings/BindingValue.h"

#include "bindings/KeyNames.h"

#include <algorithm>
#include <optional>

namespace bindings {

namespace {

// A source split into its device ("KEY", "MOUSE", "JOY"), the device number
// ("" for any device) and the part after the "_", all upper case.
struct DeviceSource {
    QString device;
    QString number;
    QString part;
    qsizetype prefixLength = 0; // "KEY_" = 4, "KEY2_" = 5
};

std::optional<DeviceSource> deviceSource(const QString& source, QLatin1String device) {
    const QString upper = source.toUpper();
    if (!upper.startsWith(device))
        return std::nullopt;
    qsizetype at = device.size();
    while (at < upper.size() && upper[at].isDigit() && upper[at].unicode() < 128)
        ++at;
    if (at >= upper.size() || upper[at] != u'_')
        return std::nullopt;
    DeviceSource result;
    result.device = device;
    result.number = upper.sliced(device.size(), at - device.size());
    result.part = upper.sliced(at + 1);
    result.prefixLength = at + 1;
    return result;
}

bool isEarlierMouseName(const QString& source) {
    for (const char* name : {"MouseLeft", "MouseRight", "MouseMiddle"}) {
        if (source.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isNone(const QString& source) {
    return source.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0;
}

bool isBareKey(const QString& source) {
    if (source.isEmpty() || isNone(source))
        return false;
    return std::all_of(source.begin(), source.end(),
                       [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
}

bool isKeyOrMouse(const QString& source) {
    const SourceKind kind = sourceKind(source);
    return kind == SourceKind::Keyboard || kind == SourceKind::Mouse;
}

// "LEFT_BUTTON", "BUTTON1": the emulator's one name for each mouse button.
QString mouseButtonPart(const QString& part) {
    if (part == QLatin1String("BUTTON1"))
        return QStringLiteral("LEFT_BUTTON");
    if (part == QLatin1String("BUTTON2"))
        return QStringLiteral("MIDDLE_BUTTON");
    if (part == QLatin1String("BUTTON3"))
        return QStringLiteral("RIGHT_BUTTON");
    return part;
}

QString capitalised(const QString& name) {
    if (name.isEmpty())
        return name;
    return name.first(1).toUpper() + name.sliced(1).toLower();
}

QString axisName(const QString& axis) {
    if (axis.startsWith(QLatin1String("SLIDER")))
        return QStringLiteral("slider ") + axis.sliced(6);
    if (axis.endsWith(QLatin1String("AXIS")))
        return axis.first(axis.size() - 4) + QStringLiteral(" axis");
    return axis.toLower();
}

// "XAXIS_POS" -> "X axis positive half", "POV1_UP" -> "hat 1 up".
QString joystickPartText(const QString& part) {
    if (part.startsWith(QLatin1String("BUTTON")))
        return QStringLiteral("button ") + part.sliced(6);
    if (part.startsWith(QLatin1String("POV"))) {
        const qsizetype underscore = part.indexOf(u'_');
        if (underscore > 3)
            return QStringLiteral("hat ") + part.sliced(3, underscore - 3) + u' ' +
                   part.sliced(underscore + 1).toLower();
    }
    for (const auto& [suffix, words] :
         {std::pair{"_POS", " positive half"}, std::pair{"_NEG", " negative half"},
          std::pair{"_INV", " reversed"}}) {
        if (part.endsWith(QLatin1String(suffix)))
            return axisName(part.first(part.size() - 4)) + QLatin1String(words);
    }
    return axisName(part);
}

// "XAXIS_POS" -> "X+", "BUTTON1" -> "B1", "POV1_UP" -> "Hat1 Up", "UP" -> "Up".
QString joystickPartCaption(const QString& part) {
    if (part.startsWith(QLatin1String("BUTTON")))
        return u'B' + part.sliced(6);
    if (part.startsWith(QLatin1String("POV"))) {
        const qsizetype underscore = part.indexOf(u'_');
        if (underscore > 3)
            return QStringLiteral("Hat") + part.sliced(3, underscore - 3) + u' ' +
                   capitalised(part.sliced(underscore + 1));
    }
    QString axis = part;
    QString sign;
    for (const auto& [suffix, mark] :
         {std::pair{"_POS", "+"}, std::pair{"_NEG", "-"}, std::pair{"_INV", "~"}}) {
        if (axis.endsWith(QLatin1String(suffix))) {
            axis.chop(4);
            sign = QLatin1String(mark);
        }
    }
    if (axis.endsWith(QLatin1String("AXIS")))
        axis.chop(4);
    else if (axis.startsWith(QLatin1String("SLIDER")))
        axis = u'S' + axis.sliced(6);
    else
        axis = capitalised(axis);
    return axis + sign;
}

QString keyboardStyle(const QStringList& sources, qsizetype replaced) {
    if (replaced >= 0) {
        const QString& old = sources[replaced];
        if (const auto key = deviceSource(old, QLatin1String("KEY")))
            return old.first(key->prefixLength).toUpper();
        if (sourceKind(old) == SourceKind::Keyboard)
            return QString(); // bare stays bare
    }
    // Beside other sources the file speaks the current vocabulary.
    const bool others = std::any_of(sources.begin(), sources.end(),
                                    [](const QString& s) { return !isKeyOrMouse(s); });
    const bool prefixed = std::any_of(sources.begin(), sources.end(), [](const QString& s) {
        return deviceSource(s, QLatin1String("MOUSE")).has_value();
    });
    return others || prefixed ? QStringLiteral("KEY_") : QString();
}

QString sourceFor(const QString& slotKeyText, const QString& style) {
    const QString stored = storedKeyName(slotKeyText);
    if (stored != slotKeyText || slotKeyText.startsWith(QLatin1String("Mouse")))
        return stored; // a mouse button, always under the emulator's name
    return style.isEmpty() ? slotKeyText : style + slotKeyText.toUpper();
}

} // namespace

QStringList splitSources(const QString& value) {
    QStringList sources;
    for (const QString& piece : value.split(u',')) {
        const QString source = piece.trimmed();
        if (!source.isEmpty())
            sources.append(source);
    }
    return sources;
}

QString joinSources(const QStringList& sources) {
    return sources.join(u',');
}

SourceKind sourceKind(const QString& source) {
    if (deviceSource(source, QLatin1String("KEY")))
        return SourceKind::Keyboard;
    if (deviceSource(source, QLatin1String("MOUSE")) || isEarlierMouseName(source))
        return SourceKind::Mouse;
    if (deviceSource(source, QLatin1String("JOY")))
        return SourceKind::Joystick;
    if (isBareKey(source))
        return SourceKind::Keyboard;
    return SourceKind::Other;
}

QString sourceKeyText(const QString& source) {
    switch (sourceKind(source)) {
    case SourceKind::Keyboard: {
        const auto key = deviceSource(source, QLatin1String("KEY"));
        const QString name = key ? source.sliced(key->prefixLength) : source;
        if (const auto spelled = slotSpelling(name))
            return *spelled;
        return name; // a key no capture gives, as the file spells it
    }
    case SourceKind::Mouse: {
        if (const auto mouse = deviceSource(source, QLatin1String("MOUSE")))
            return slotKeyText(QStringLiteral("MOUSE_") + mouseButtonPart(mouse->part));
        return slotKeyText(source);
    }
    default:
        return QString();
    }
}

QString shownKey(const QString& value) {
    for (const QString& source : splitSources(value)) {
        if (isKeyOrMouse(source))
            return sourceKeyText(source);
    }
    return QString();
}

bool hasKey(const QString& value) {
    const QStringList sources = splitSources(value);
    return std::any_of(sources.begin(), sources.end(), isKeyOrMouse);
}

QString withKey(const QString& value, const QString& slotKeyText) {
    if (slotKeyText.isEmpty())
        return withoutKey(value);
    const QStringList sources = splitSources(value);
    const auto first = std::find_if(sources.begin(), sources.end(), isKeyOrMouse);
    const qsizetype replaced = first == sources.end() ? -1 : first - sources.begin();
    const QString added = sourceFor(slotKeyText, keyboardStyle(sources, replaced));
    QStringList result;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        if (i == replaced)
            result.append(added);
        else if (!isKeyOrMouse(sources[i]))
            result.append(sources[i]);
    }
    if (replaced < 0)
        result.append(added);
    return withoutNone(joinSources(result));
}

QString withoutKey(const QString& value) {
    QStringList sources = splitSources(value);
    sources.removeIf(isKeyOrMouse);
    return joinSources(sources);
}

QString withJoystick(const QString& value, const QString& joySource) {
    QStringList sources = splitSources(withoutJoystick(value));
    const auto key = std::find_if(sources.begin(), sources.end(), isKeyOrMouse);
    sources.insert(key == sources.end() ? 0 : (key - sources.begin()) + 1, joySource.trimmed());
    return withoutNone(joinSources(sources));
}

QString withoutNone(const QString& value) {
    QStringList sources = splitSources(value);
    if (sources.size() > 1)
        sources.removeIf(isNone);
    return joinSources(sources);
}

QString withoutJoystick(const QString& value) {
    QStringList sources = splitSources(value);
    sources.removeIf([](const QString& s) { return sourceKind(s) == SourceKind::Joystick; });
    return joinSources(sources);
}

bool hasJoystick(const QString& value) {
    const QStringList sources = splitSources(value);
    return std::any_of(sources.begin(), sources.end(),
                       [](const QString& s) { return sourceKind(s) == SourceKind::Joystick; });
}

QString describeSource(const QString& source) {
    switch (sourceKind(source)) {
    case SourceKind::Keyboard:
        return sourceKeyText(source);
    case SourceKind::Mouse: {
        const auto mouse = deviceSource(source, QLatin1String("MOUSE"));
        if (!mouse) // the earlier "MouseLeft" and the like
            return QStringLiteral("mouse ") + source.sliced(5).toLower() +
                   QStringLiteral(" button");
        const QString device = mouse->number.isEmpty() ? QStringLiteral("mouse")
                                                       : QStringLiteral("mouse ") + mouse->number;
        const QString part = mouseButtonPart(mouse->part);
        if (part.endsWith(QLatin1String("_BUTTON")))
            return device + u' ' + part.first(part.size() - 7).toLower() +
                   QStringLiteral(" button");
        if (part.startsWith(QLatin1String("BUTTON")))
            return device + QStringLiteral(" button ") + part.sliced(6);
        return device + u' ' + joystickPartText(part);
    }
    case SourceKind::Joystick: {
        const auto joy = deviceSource(source, QLatin1String("JOY"));
        const QString device = joy->number.isEmpty() ? QStringLiteral("any joystick")
                                                     : QStringLiteral("joystick ") + joy->number;
        return device + u' ' + joystickPartText(joy->part);
    }
    case SourceKind::Other:
        break;
    }
    return source;
}

QString describe(const QString& value) {
    QStringList texts;
    for (const QString& source : splitSources(value))
        texts.append(describeSource(source));
    return texts.isEmpty() ? QStringLiteral("no key") : texts.join(QStringLiteral(", or "));
}

QString joystickCaption(const QString& value) {
    for (const QString& source : splitSources(value)) {
        if (const auto joy = deviceSource(source, QLatin1String("JOY"))) {
            const QString device = joy->number.isEmpty() ? QStringLiteral("Joy")
                                                         : QStringLiteral("Joy ") + joy->number;
            return device + u' ' + joystickPartCaption(joy->part);
        }
    }
    return QString();
}

} // namespace bindings
