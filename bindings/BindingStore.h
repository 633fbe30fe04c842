#pragma once

#include <QHash>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

namespace bindings {

enum class Release;

// Where a binding's value came from, for its tooltip.
enum class ValueOrigin {
    File,    // read from the file (or the panel's defaults), or edited
    BuiltIn, // not in the file: what the emulator uses without a line
};

// One input's binding: its whole value (its sources, "KEY_A,JOY1_BUTTON1"),
// where it came from, and whether it was edited since it was read.
struct Binding {
    QString value;
    ValueOrigin origin = ValueOrigin::File;
    bool edited = false;
};

// A capture's prompt as its line shows it, and its whole text (the same
// when it fits).
struct CapturePrompt {
    QString shown;
    QString whole;
};

// What a file's global section gives an input, by input name ("Start1" for
// InputStart1); nothing when it names none.
using FileValue = std::function<std::optional<QString>(const QString& input)>;
// What a file's game section of a set gives an input; nothing when none.
using GameValue = std::function<std::optional<QString>(const QString& set, const QString& input)>;

// The binding panel's model, free of widgets: every input's binding by the
// name the current release reads ("TwinJoyShot1", never the chart's earlier
// "TwinJoyLeftShot"), so that an input on both pages has one value; and what
// the file's game sections give, by set. Chart slots and page entries are
// views of it (SlotBinding.h).
class BindingStore final {
public:
    // Every input of the chart and of the page, from `global`: a chart input
    // by its current name, else by its earlier one; a missing input gets the
    // emulator's built-in value. Nothing is edited afterwards. `game` answers
    // gameValue.
    void load(const FileValue& global, GameValue game = {}, QString inputSystem = {});
    // With no file at all: the chart's inputs the built-in values of the
    // current release, or the 2011 release's keys; the page's inputs their
    // built-in values.
    void loadDefaults(Release release);
    // Nothing: the panel is closed.
    void clear();

    // The binding of `input`, or null when the store holds none.
    const Binding* find(const QString& input) const;
    QString value(const QString& input) const;
    // Stores `value` for `input`, edited, so that Save writes it.
    void edit(const QString& input, const QString& value);

    // What Save writes, by input name: every edited value; a chart input
    // also under its earlier name where `fileNames(earlier)` says the file
    // has that line, unless that name is edited itself.
    QHash<QString, QString> edits(const std::function<bool(const QString&)>& fileNames) const;

    // What the game section of `set` binds `input` to, if it does: an edit
    // of that section first, else the file.
    std::optional<QString> gameValue(const QString& set, const QString& input) const;
    // The file's global InputSystem, or its edit.
    QString inputSystem() const;
    // The InputSystem that set `set` starts with: its section's over the
    // global one. It decides how game devices are numbered for it.
    QString inputSystemFor(const QString& set) const;

    // Edits of whole settings by section (kGlobalSection or a set) and
    // name ("InputSystem", "InputPunch", "InputJoy1XDeadZone"), written by
    // Save as they are. An input's global value goes through edit().
    void editSetting(const QString& section, const QString& name, const QString& value);
    const QHash<QString, QHash<QString, QString>>& settingEdits() const { return m_settings; }
    // Whether anything was edited since the store was loaded.
    bool anyEdit() const;

    // The sets of the selected game that the definitions list: the page
    // edits an input in the sections of these that set it.
    QStringList pageSets;
    // The set the selected game starts: the device capture numbers game
    // devices by its InputSystem.
    QString selectedSet;

    // The set whose game section the page's tooltips tell of.
    QString pageSet;
    // The capture under way: its prompt, kept apart from the devices the
    // device capture adds to its line, and where the mouse first moved over
    // a whole-axis input's box. `begun` is called each time a slot goes
    // into capture: the game devices are read from then on.
    struct Capture {
        CapturePrompt prompt;
        std::optional<QPoint> moveStart;
        std::function<void()> begun;
    } capture;

private:
    QHash<QString, Binding> m_bindings;
    GameValue m_game;
    QString m_inputSystem;
    QHash<QString, QHash<QString, QString>> m_settings;
};

// The name of the global section among settingEdits.
inline const QString kGlobalSection = QStringLiteral("Global");

// The chart slot whose input is `name` (by its current name), or -1.
int chartSlotOf(std::string_view name);

// The inputs the page shows that the chart has no slot for; the light guns'
// Trigger and Offscreen, which the chart writes under those names, are left
// out.
QStringList pageInputNames();

} // namespace bindings
