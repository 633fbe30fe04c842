#pragma once

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

} // namespace ui
