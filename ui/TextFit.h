#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace ui {

// The smallest pixel size a text may shrink to: the platform's smallest
// readable font where it names one below its general font, else 6 pt.
int smallestPixels();

// Whether `text` in `font` fits `room` whole: its advance within the width,
// and the font's full line (ascent and descent) and the ink of the text
// (underscores and the tails of g, j, p, q, y may reach below the descent)
// within the height. An underline must end inside the height too.
bool fitsWhole(const QFont& font, const QString& text, QSize room);

// `font` at the largest pixel size, at most `maxPixels` and never below
// smallestPixels(), at which `text` fits `room` whole (see fitsWhole). Text
// widths grow in proportion to the size, so the size is estimated from
// `probe`, a font the window loads anyway, and then checked: usually the
// only font loaded is the one used.
QFont fitted(QFont font, const QString& text, QSize room, int maxPixels, const QFont& probe);

// Glyphs that reach lowest in most fonts: the sample to fit a box by whose
// text can be anything.
QString lowestGlyphs();

// The height a one-line edit box of `height` pixels gives its text: the box
// keeps one pixel above and below the text line.
int editTextHeight(int height);

} // namespace ui
