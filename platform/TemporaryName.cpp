#include "platform/TemporaryName.h"

#include <QRandomGenerator>

namespace platform {

namespace {

constexpr char kPrefix[] = ".kestrun-tmp-";
constexpr int kRandomLength = 6;
constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool isDigit(QChar c) {
    return c.unicode() < 128 &&
           std::char_traits<char>::find(kDigits, sizeof kDigits - 1, char(c.unicode())) != nullptr;
}

} // namespace

QByteArray temporaryName(const QByteArray& name) {
    QByteArray result = kPrefix + name + '-';
    for (int i = 0; i < kRandomLength; ++i)
        result += kDigits[QRandomGenerator::global()->bounded(int(sizeof kDigits - 1))];
    return result;
}

bool isTemporaryName(const QString& candidate) {
    const qsizetype dash = candidate.size() - kRandomLength - 1;
    return candidate.startsWith(QLatin1String(kPrefix)) && dash > qsizetype(sizeof kPrefix - 1) &&
           candidate[dash] == u'-' &&
           isTemporaryNameOf(candidate,
                             candidate.mid(sizeof kPrefix - 1, dash - (sizeof kPrefix - 1)));
}

bool isTemporaryNameOf(const QString& candidate, const QString& name) {
    const QString stem = QLatin1String(kPrefix) + name + u'-';
    if (candidate.size() != stem.size() + kRandomLength || !candidate.startsWith(stem))
        return false;
    for (qsizetype i = stem.size(); i < candidate.size(); ++i) {
        if (!isDigit(candidate[i]))
            return false;
    }
    return true;
}

} // namespace platform
