#pragma once

#include "bindings/GameInputs.h"

#include <QHash>
#include <QString>
#include <vector>

namespace ui {
class Form1;
}

namespace bindings {

// The game's page: every input the selected game reads, each in an entry of
// the page's fixed pool, under the emulator's own labels and group headings.
// An entry is a slot like the chart's. An input the chart has a slot for
// keeps its one value there; the others keep theirs in the window's page
// values. Whatever changes a value, the page is drawn again from the values.

// What the page shows: the game's title, its set (whose game section the
// tooltips tell of) and its inputs, in the emulator's order.
struct GamePageContent {
    QString title;
    QString set;
    std::vector<const GameInput*> inputs;
};

// The inputs of a built-in profile code: the common ones and those of its
// chart slots, under their current names, in the emulator's order.
std::vector<const GameInput*> profileInputs(const QString& code);

// The chart slot whose input is `name` (by its current name), or -1.
int chartSlotOf(std::string_view name);

// The setting names ("InputSkiX") of every input the chart has no slot for.
QStringList pageSettingNames();

// Puts the file's values in the page values: `global` by setting name as
// the global section gives them (a missing input gets the emulator's
// built-in value), `sections` by set, each game section's inputs. Nothing
// is edited afterwards.
void setPageValues(ui::Form1& form, const QHash<QString, QString>& global,
                   const QHash<QString, QHash<QString, QString>>& sections);

// The page values' edits, by setting name, for Save.
QHash<QString, QString> pageEdits(const ui::Form1& form);

// Relabels the pool for `content`: title, headings, row labels, entries' tags
// (the input names) and visibility; then draws every entry.
void fillGamePage(ui::Form1& form, const GamePageContent& content);

// Draws every shown entry from its input's value.
void renderGamePage(ui::Form1& form);

// Whether the page, not the chart, is shown.
bool pageShown(const ui::Form1& form);

// Turns to the page (true) or back to the chart.
void turnToPage(ui::Form1& form, bool page);

// The number of entries the page shows.
int pageEntries(const ui::Form1& form);

// Stores `value` as entry `entry`'s input's value, edited, and draws the page.
void editPageEntry(ui::Form1& form, int entry, const QString& value);

// Restore on the page: every shown input gets restoredValue of its
// emulator's built-in value.
void RestorePage(ui::Form1& form);

// Back to the chart, the page values emptied.
void clearGamePage(ui::Form1& form);

} // namespace bindings
