#pragma once

#include "bindings/GameInputs.h"

#include <QString>
#include <vector>

namespace ui {
class Form1;
}

namespace bindings {

class BindingStore;

// The game's page: every input the selected game reads, each in an entry of
// the page's fixed pool, under the emulator's own labels and group headings.
// An entry is a slot like the chart's, tagged with its input name: a view of
// the binding store, where an input on both pages has one value.

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

// Relabels the pool for `content`: title, headings, row labels, entries' tags
// (the input names) and visibility; then draws every entry from the store.
void fillGamePage(ui::Form1& form, BindingStore& store, const GamePageContent& content);

// Whether the page, not the chart, is shown.
bool pageShown(const ui::Form1& form);

// Turns to the page (true) or back to the chart.
void turnToPage(ui::Form1& form, bool page);

// The number of entries the page shows.
int pageEntries(const ui::Form1& form);

// Restore on the page: every shown input gets restoredValue of its
// emulator's built-in value.
void RestorePage(ui::Form1& form, BindingStore& store);

// Back to the chart, the entries emptied.
void clearGamePage(ui::Form1& form);

} // namespace bindings
