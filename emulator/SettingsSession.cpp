#include "emulator/SettingsSession.h"

namespace emulator {

namespace {

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string_view viewOf(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

} // namespace

void SettingsSession::open(QByteArray bytes) {
    m_document = ConfigDocument(std::move(bytes));
    m_edits.clear();
    m_editedNames.clear();
    m_open = true;
}

void SettingsSession::close() {
    m_document = ConfigDocument();
    m_edits.clear();
    m_editedNames.clear();
    m_open = false;
}

void SettingsSession::setGame(QList<QByteArray> sets, QByteArray started) {
    m_sets = std::move(sets);
    // A built-in set name the emulator does not know stands for the row.
    m_started = m_sets.contains(started) || m_sets.isEmpty() ? std::move(started) : m_sets.front();
}

void SettingsSession::setThisGame(bool thisGame) {
    m_thisGame = thisGame;
}

bool SettingsSession::shows(const EmulatorSetting& setting) const {
    return !(thisGame() && setting.globalOnly);
}

SettingsSession::Row SettingsSession::row(const EmulatorSetting& setting,
                                          const WindowOptions& window) const {
    Row row;
    const ResolvedSetting resolved = resolveSetting(setting, m_document, scopeSet(), window);
    row.value = resolved.value;
    row.source = resolved.source;
    row.check = checkValue(setting, viewOf(resolved.value));
    row.edited = m_editedNames.contains(bytesOf(setting.name));
    if (!thisGame())
        return row;
    const QByteArray name = bytesOf(setting.name);
    QStringList each;
    bool differ = false;
    QByteArray first;
    for (const QByteArray& set : m_sets) {
        if (m_document.value(set, name))
            row.putBackOffered = true;
        const QByteArray value = resolveSetting(setting, m_document, set, {}).value;
        if (set == m_sets.front())
            first = value;
        else if (!sameMeaning(setting, viewOf(first), viewOf(value)))
            differ = true;
        each.append(QString::fromUtf8(set + ' ' + value));
    }
    if (differ)
        row.versions = QStringLiteral("The versions differ: ") + each.join(QLatin1String(", "));
    return row;
}

void SettingsSession::edit(const EmulatorSetting& setting, const QByteArray& value) {
    SettingEdit change{bytesOf(setting.name), thisGame() ? m_sets : QList<QByteArray>(), value};
    applySettingEdit(m_document, change);
    m_editedNames.insert(change.name);
    m_edits.append(std::move(change));
}

QList<QByteArray> SettingsSession::putBack(const EmulatorSetting& setting) {
    if (!thisGame())
        return {};
    SettingEdit change{bytesOf(setting.name), m_sets, std::nullopt};
    const QList<QByteArray> shared = applySettingEdit(m_document, change);
    m_editedNames.insert(change.name);
    m_edits.append(std::move(change));
    return shared;
}

void SettingsSession::saved(QByteArray bytes) {
    m_document = ConfigDocument(std::move(bytes));
    m_edits.clear();
    m_editedNames.clear();
}

} // namespace emulator
