#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

namespace ui {

// A binding slot's whole state beside its caption, kept on the slot as
// dynamic properties like its tag: the full value it stands for (the caption
// shows only part of it) and whether the user changed it since it was read.
inline QString slotValue(const QObject* slot) {
    return slot->property("slotValue").toString();
}

inline void setSlotValue(QObject* slot, const QString& value) {
    slot->setProperty("slotValue", value);
}

inline bool slotEdited(const QObject* slot) {
    return slot->property("slotEdited").toBool();
}

inline void setSlotEdited(QObject* slot, bool edited) {
    slot->setProperty("slotEdited", edited);
}

// Whether a slot's value is the emulator's built-in one (its file has none).
inline bool slotBuiltIn(const QObject* slot) {
    return slot->property("slotBuiltIn").toBool();
}

inline void setSlotBuiltIn(QObject* slot, bool builtIn) {
    slot->setProperty("slotBuiltIn", builtIn);
}

// The values of the inputs the chart has no slot for, which the game's page
// shows and edits, by input name ("SkiX"), as read from the file (or the
// emulator's built-in value) and edited since; and the inputs the file's game
// sections set, by set name, then by setting name ("InputSkiX").
struct StoredInput {
    QString value;
    bool edited = false;
    bool builtIn = false;
};
struct PageValues {
    QHash<QString, StoredInput> inputs;
    QHash<QString, QHash<QString, QString>> sections;
};

} // namespace ui
