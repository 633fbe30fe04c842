#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace ui {

// Every control carries a tag: a text that the program reads and writes as
// state. It lives as a dynamic property so any widget (or the window) has one.
inline QString tag(const QObject* control) {
    return control->property("tag").toString();
}

inline void setTag(QObject* control, const QString& text) {
    control->setProperty("tag", text);
}

} // namespace ui
