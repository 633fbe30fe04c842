#pragma once

#include "emulator/ConfigDocument.h"
#include "emulator/SettingEdits.h"
#include "emulator/SettingResolution.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

namespace emulator {

// What the settings face shows and edits, without a widget: the working
// copy as read when the face opened, the edits made since (played onto that
// copy at once, and again onto the file as it is at Save), and the scope.
class SettingsSession final {
public:
    // Opens on the file's bytes (or the file a Save would start from).
    void open(QByteArray bytes);
    void close();
    bool isOpen() const { return m_open; }

    // The selected row's sets (its own first; none without definitions),
    // and the set its next start uses. "This game" is offered only with
    // sets; without, the scope is all games.
    void setGame(QList<QByteArray> sets, QByteArray started);
    const QList<QByteArray>& sets() const { return m_sets; }
    const QByteArray& startedSet() const { return m_started; }
    void setThisGame(bool thisGame);
    bool thisGame() const { return m_thisGame && !m_sets.isEmpty(); }

    // A setting's row as the scope shows it.
    struct Row {
        QByteArray value; // the value the next start uses
        SettingSource source = SettingSource::BuiltIn;
        ValueCheck check = ValueCheck::Valid;
        bool putBackOffered = false; // "This game" and a set of the row sets it
        QString versions;            // how the versions differ, or empty
        bool edited = false;         // changed since the last Save
    };
    Row row(const EmulatorSetting& setting, const WindowOptions& window) const;
    // Whether the scope shows the setting at all (the game list's file is
    // read before a game is known).
    bool shows(const EmulatorSetting& setting) const;

    // Sets the setting in the scope: [ Global ], or every set of the row.
    void edit(const EmulatorSetting& setting, const QByteArray& value);
    // Takes the row's own lines out; returns the sets a shared header still
    // set it for, which got the value for all games in a block of their own.
    QList<QByteArray> putBack(const EmulatorSetting& setting);

    bool edited() const { return !m_edits.isEmpty(); }
    const QList<SettingEdit>& edits() const { return m_edits; }
    const ConfigDocument& document() const { return m_document; }
    // After a Save: `bytes` is the file now, and nothing is pending.
    void saved(QByteArray bytes);

private:
    QByteArray scopeSet() const { return thisGame() ? m_started : QByteArray(); }

    bool m_open = false;
    ConfigDocument m_document;
    QList<SettingEdit> m_edits;
    QSet<QByteArray> m_editedNames;
    QList<QByteArray> m_sets;
    QByteArray m_started;
    bool m_thisGame = false;
};

} // namespace emulator
