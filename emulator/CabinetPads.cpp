#include "emulator/CabinetPads.h"

namespace emulator {

namespace {

constexpr QByteArrayView kPadSetting = "InputJoy1";

// The length of the pad part that starts `source` ("JOY1_" or "JOY_", any
// case), or 0.
qsizetype padPrefix(QByteArrayView source) {
    for (const QByteArrayView prefix : {QByteArrayView("JOY1_"), QByteArrayView("JOY_")}) {
        if (source.size() > prefix.size() &&
            source.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0)
            return prefix.size();
    }
    return 0;
}

} // namespace

QByteArray padSourcesFor(QByteArrayView value, int cabinet) {
    const QByteArray pad = "JOY" + QByteArray::number(cabinet) + '_';
    QByteArray out;
    out.reserve(value.size() + 8);
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i < value.size() && value[i] != ',')
            continue;
        QByteArrayView source = value.sliced(begin, i - begin);
        // The blanks around a source are no part of it.
        qsizetype blanks = 0;
        while (blanks < source.size() && (source[blanks] == ' ' || source[blanks] == '\t'))
            ++blanks;
        out += source.first(blanks);
        source = source.sliced(blanks);
        if (const qsizetype prefix = padPrefix(source)) {
            out += pad;
            source = source.sliced(prefix);
        }
        out += source;
        if (i < value.size())
            out += ',';
        begin = i + 1;
    }
    return out;
}

QByteArray padSettingFor(QByteArrayView name, int cabinet) {
    if (!name.startsWith(kPadSetting) || name.size() == kPadSetting.size() ||
        (name[kPadSetting.size()] >= '0' && name[kPadSetting.size()] <= '9'))
        return name.toByteArray();
    QByteArray renamed = "InputJoy" + QByteArray::number(cabinet);
    return renamed.append(name.sliced(kPadSetting.size()));
}

} // namespace emulator
