#pragma once

#include <QString>

class QWidget;

namespace ui {

// Names for assistive technology where a control's own text says too little.

// Makes `control` (a label) announce itself as "CAPTION: TEXT", its current
// text, or "CAPTION: WHENEMPTY" while its text is empty; the name follows
// every change of the text.
void setCaptionedName(QWidget* control, const QString& caption, const QString& whenEmpty);

// Makes a clickable label announce itself as a button that can be pressed.
void setActsAsButton(QWidget* control);

// Installs what the two above need, and the names of a game controller's
// parts on its picture; called once before any control is built.
void installAccessibleNames();

} // namespace ui
