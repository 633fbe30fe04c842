#include "emulator/LinkRing.h"

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigLines.h"
#include "emulator/EmulatorSettings.h"

#include <charconv>
#include <optional>

namespace emulator {

namespace {

constexpr int kHighestPort = 65535;

ResolvedSetting resolved(const ConfigDocument& document, const QByteArray& set, const char* name) {
    return resolveSetting(*emulatorSetting(name), document, set, WindowOptions{});
}

// A port as the emulator reads one: decimal, or hex after 0x.
std::optional<long long> portNumber(QByteArrayView text) {
    text = lines::trimmed(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text = text.sliced(2);
        base = 16;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value, base);
    if (text.isEmpty() || error != std::errc() || end != text.end())
        return std::nullopt;
    return value;
}

QString where(const ResolvedSetting& setting, const QByteArray& set) {
    switch (setting.source) {
    case SettingSource::ThisGame:
        return QStringLiteral("in [ %1 ]").arg(QString::fromUtf8(set));
    case SettingSource::AllGames:
        return QStringLiteral("in [ Global ]");
    case SettingSource::BuiltIn:
    case SettingSource::Window:
        break;
    }
    return QStringLiteral("by default");
}

QString stated(const char* name, const ResolvedSetting& setting, const QByteArray& set) {
    return QStringLiteral("%1 is \"%2\" %3")
        .arg(QLatin1String(name), QString::fromUtf8(setting.value), where(setting, set));
}

} // namespace

RingSettings ringSettings(const ConfigDocument& document, const QByteArray& set) {
    return {resolved(document, set, "PortIn"), resolved(document, set, "PortOut"),
            resolved(document, set, "AddressOut")};
}

bool isLoopback(QByteArrayView address) {
    address = lines::trimmed(address);
    if (address.compare("localhost", Qt::CaseInsensitive) == 0)
        return true;
    // Four decimal parts, the first 127.
    int part = 0;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= address.size(); ++i) {
        if (i < address.size() && address[i] != '.')
            continue;
        const QByteArrayView digits = address.sliced(begin, i - begin);
        int value = -1;
        const auto [end, error] = std::from_chars(digits.begin(), digits.end(), value);
        if (digits.isEmpty() || digits.size() > 3 || error != std::errc() || end != digits.end() ||
            value > 255 || (part == 0 && value != 127))
            return false;
        ++part;
        begin = i + 1;
    }
    return part == 4;
}

Ring linkRing(int cabinets, const RingSettings& settings, const QByteArray& set) {
    const int highestBase = kHighestPort - (cabinets - 1);
    const auto base = portNumber(settings.portIn.value);
    if (!base || *base < kLowestRingPort || *base > highestBase)
        return {{},
                stated("PortIn", settings.portIn, set) +
                    QStringLiteral(": the %1 cabinets listen on PortIn to PortIn + %2. Change "
                                   "PortIn to a number from %3 to %4.")
                        .arg(cabinets)
                        .arg(cabinets - 1)
                        .arg(kLowestRingPort)
                        .arg(highestBase)};
    const int in = int(*base);
    if (portNumber(settings.portOut.value) != in + 1)
        return {{},
                stated("PortOut", settings.portOut, set) +
                    QStringLiteral(": the cabinets send each to the next one's port, PortIn + "
                                   "1 for the first. Change PortOut to %1.")
                        .arg(in + 1)};
    if (!isLoopback(settings.addressOut.value))
        return {{},
                stated("AddressOut", settings.addressOut, set) +
                    QStringLiteral(": every cabinet runs on this machine. Change AddressOut to "
                                   "%1.")
                        .arg(QLatin1String(kRingAddress))};
    Ring ring;
    for (int k = 0; k < cabinets; ++k)
        ring.cabinets.append({in + k, k + 1 == cabinets ? in : in + k + 1});
    return ring;
}

} // namespace emulator
