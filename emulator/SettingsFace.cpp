#include "emulator/SettingsFace.h"

#include "bindings/BindingStore.h"
#include "catalogue/FolderPaths.h"
#include "catalogue/GameCatalogue.h"
#include "emulator/BindingPanel.h"
#include "emulator/CommandLine.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/EmulatorSettings.h"
#include "emulator/Launch.h"
#include "emulator/SaveToFiles.h"
#include "emulator/SettingsSession.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/SettingsFace.h"
#include "ui/Tag.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace emulator {

namespace {

const QString kJoystickFamily = QStringLiteral("Joystick dead zones and saturation");

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

bool inJoystickFamily(const EmulatorSetting& setting) {
    return setting.name.starts_with("InputJoy");
}

// Where a setting's group stands on the face.
int groupRank(const EmulatorSetting& setting) {
    if (inJoystickFamily(setting))
        return 4;
    switch (setting.group) {
    case SettingGroup::Video:
        return 0;
    case SettingGroup::Sound:
        return 1;
    case SettingGroup::Core:
        return 2;
    case SettingGroup::Inputs:
        return 3;
    case SettingGroup::ForceFeedback:
        return 5;
    case SettingGroup::Network:
        return 6;
    case SettingGroup::Outputs:
        return 7;
    case SettingGroup::Legacy:
        return 8;
    }
    return 9;
}

const EmulatorSetting* settingNamed(const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    return emulatorSetting(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString sourceName(SettingSource source) {
    switch (source) {
    case SettingSource::BuiltIn:
        return QStringLiteral("built-in");
    case SettingSource::AllGames:
        return QStringLiteral("all games");
    case SettingSource::ThisGame:
        return QStringLiteral("this game");
    case SettingSource::Window:
        return QStringLiteral("window");
    }
    return {};
}

QString rangeText(const EmulatorSetting& setting) {
    return QString::number(setting.minimum) + QStringLiteral(" to ") +
           QString::number(setting.maximum);
}

QString warningFor(const EmulatorSetting& setting, ValueCheck check) {
    switch (check) {
    case ValueCheck::Valid:
        return {};
    case ValueCheck::NotANumber:
        return QStringLiteral("Not a number: the emulator reads it as 0");
    case ValueCheck::OutOfRange:
        return QStringLiteral("Outside ") + rangeText(setting) +
               QStringLiteral(": kept as it stands until changed");
    case ValueCheck::NotListed:
        return setting.kind == SettingKind::OnOff
                   ? QStringLiteral("Not an on/off value: the emulator reads it as off")
                   : QStringLiteral("Not one of the listed values: kept as it stands");
    }
    return {};
}

// What the window's option does to the setting, once it passes one.
QString windowNote(const EmulatorSetting& setting, const WindowOptions& window) {
    switch (setting.window) {
    case WindowOption::ShowFps:
        return QStringLiteral("Set by the window: Show Fps is ticked, so the start passes "
                              "-show-fps, which wins over the file. Untick it to edit this.");
    case WindowOption::FullScreen:
        return QStringLiteral("Set by the window: Full Screen is ticked, so the start passes "
                              "-fullscreen, which wins over the file. Untick it to edit this.");
    case WindowOption::NoThrottle:
        return QStringLiteral("Set by the window: Disable 60 Hz is ticked, so the start passes "
                              "-no-throttle, which wins over the file. Untick it to edit this.");
    case WindowOption::PpcFrequency:
        return QStringLiteral("Set by the window: \"in MHz\" is ticked, so the start passes "
                              "-ppc-frequency=%1, which wins over the file. Untick it to edit "
                              "this.")
            .arg(window.ppcMHz);
    case WindowOption::Width:
    case WindowOption::Height:
        return QStringLiteral("Set by the window: every start passes the resolution boxes as "
                              "-res=%1,%2, which wins over the file.")
            .arg(window.width, window.height);
    case WindowOption::None:
        break;
    }
    return {};
}

// The window's options as the next start passes them: only a ticked box
// counts, grey is off.
WindowOptions windowOptions(const ui::Form1& form) {
    const auto on = [](const ui::CheckBox* box) { return box->value() == 1; };
    return {on(form.Check1),    on(form.Check2),    on(form.Check3),   on(form.Check4),
            form.Text7->text(), form.Text1->text(), form.Text3->text()};
}

// The row's sets the emulator knows, whose sections "This game" edits.
QList<QByteArray> definedSets(const ui::Form1& form, const catalogue::GameCatalogue& catalogue) {
    QList<QByteArray> sets;
    const catalogue::CatalogueRow* row = catalogue::selectedRow(form, catalogue);
    if (!row || !catalogue.definitions)
        return sets;
    for (const QString& set : row->sets) {
        if (catalogue::definedSet(catalogue, set))
            sets.append(set.toUtf8());
    }
    return sets;
}

// The selected row's sets for "This game", and the one its next start uses.
void followRow(const ui::Form1& form, SettingsSession& session,
               const catalogue::GameCatalogue& catalogue) {
    session.setGame(definedSets(form, catalogue),
                    gameLaunchFromWindow(form, catalogue).romSet.toUtf8());
}

QString sectionList(const QList<QByteArray>& sets) {
    QStringList sections;
    for (const QByteArray& set : sets)
        sections.append(QStringLiteral("[ ") + QString::fromUtf8(set) + QStringLiteral(" ]"));
    if (sections.size() < 2)
        return sections.join(QString());
    const QString last = sections.takeLast();
    return sections.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

void render(ui::Form1& form, const SettingsSession& session,
            const catalogue::GameCatalogue& catalogue) {
    ui::SettingsFace* face = form.settingsFace();
    const WindowOptions window = windowOptions(form);
    const catalogue::CatalogueRow* row = catalogue::selectedRow(form, catalogue);
    const QString game = row ? row->title : QString();
    face->setTitle(session.thisGame() ? QStringLiteral("Emulator settings for ") + game
                                      : QStringLiteral("Emulator settings for all games"));
    face->setScope(session.thisGame(), !session.sets().isEmpty(),
                   session.sets().isEmpty()
                       ? QStringLiteral("Needs the emulator's game list (Config/Games.xml), "
                                        "which names each game's sets")
                       : QStringLiteral("Edits ") + sectionList(session.sets()) +
                             QStringLiteral(": the emulator reads only the started set's own "
                                            "section"));
    for (const EmulatorSetting& setting : emulatorSettings()) {
        const SettingsSession::Row shown = session.row(setting, window);
        ui::SettingRowState state;
        state.value = QString::fromUtf8(shown.value);
        state.source = sourceName(shown.source);
        state.warning = warningFor(setting, shown.check);
        state.mark = state.warning.isEmpty() && !shown.versions.isEmpty() ? QStringLiteral("≠")
                                                                          : QStringLiteral("⚠");
        if (state.warning.isEmpty())
            state.warning = shown.versions;
        state.note =
            shown.source == SettingSource::Window ? windowNote(setting, window) : shown.versions;
        state.editable = shown.source != SettingSource::Window;
        state.putBack = shown.putBackOffered;
        state.edited = shown.edited;
        state.shown = session.shows(setting);
        face->setRow(text(setting.name), state);
    }
    face->setSaveEnabled(session.edited());
}

} // namespace

QList<ui::SettingRowSpec> settingRowSpecs() {
    std::vector<const EmulatorSetting*> ordered;
    for (const EmulatorSetting& setting : emulatorSettings())
        ordered.push_back(&setting);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const EmulatorSetting* a, const EmulatorSetting* b) {
                         return groupRank(*a) < groupRank(*b);
                     });
    QList<ui::SettingRowSpec> specs;
    specs.reserve(qsizetype(ordered.size()));
    for (const EmulatorSetting* setting : ordered) {
        ui::SettingRowSpec spec;
        spec.name = text(setting->name);
        spec.group = inJoystickFamily(*setting) ? kJoystickFamily : text(groupName(setting->group));
        spec.folded = inJoystickFamily(*setting) || setting->group == SettingGroup::Legacy;
        spec.label = text(setting->label);
        switch (setting->kind) {
        case SettingKind::OnOff:
            spec.editor = ui::SettingRowSpec::Editor::Check;
            break;
        case SettingKind::Choice:
            spec.editor = ui::SettingRowSpec::Editor::Choice;
            for (const SettingChoice& choice : setting->choices) {
                spec.values.append(text(choice.value));
                // "1 P1", but "vector — drawn"
                const bool number =
                    !choice.value.empty() && choice.value[0] >= '0' && choice.value[0] <= '9';
                spec.texts.append(choice.value == choice.meaning ? text(choice.value)
                                  : number ? text(choice.value) + u' ' + text(choice.meaning)
                                           : text(choice.value) + QStringLiteral(" — ") +
                                                 text(choice.meaning));
            }
            break;
        case SettingKind::Integer:
        case SettingKind::Decimal:
            spec.editor = ui::SettingRowSpec::Editor::Number;
            spec.minimum = setting->minimum;
            spec.maximum = setting->maximum;
            spec.decimal = setting->kind == SettingKind::Decimal;
            break;
        case SettingKind::Text:
            spec.editor = ui::SettingRowSpec::Editor::Text;
            break;
        }
        QString description = text(setting->help);
        if (spec.editor == ui::SettingRowSpec::Editor::Number)
            description += QStringLiteral(" From ") + rangeText(*setting) + u'.';
        description +=
            QStringLiteral("\nIn the file: ") + spec.name + QStringLiteral(". Built-in value: ") +
            (setting->builtIn.empty() ? QStringLiteral("none") : text(setting->builtIn)) + u'.';
        if (!setting->flag.empty())
            description += QStringLiteral(" Command line: ") + text(setting->flag) + u'.';
        spec.description = description;
        specs.append(spec);
    }
    return specs;
}

bool settingsShown(const ui::Form1& form) {
    return form.settingsFace() && form.settingsFace()->isVisible();
}

void OpenSettings(ui::Form1& form, SettingsSession& session, bindings::BindingStore& store,
                  const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs, bool thisGame) {
    if (form.Picture3->isVisible()) {
        ClosePanel(form, store, dialogs);
        if (form.Picture3->isVisible())
            return;
    }
    if (!settingsShown(form)) {
        const QString source = panelConfigSource(ui::tag(&form), catalogue::emulatorFolder(form));
        ConfigRead read;
        if (!source.isEmpty()) {
            read = readConfigFile(source);
            if (read.problem != ConfigProblem::None) {
                dialogs.tell(source + QStringLiteral(" cannot be edited: ") +
                                 configProblemText(read.problem) + u'.',
                             kErrTitle);
                return;
            }
        }
        session.open(read.bytes);
    }
    followRow(form, session, catalogue);
    session.setThisGame(thisGame);
    form.buildSettingsFace(settingRowSpecs());
    render(form, session, catalogue);
    form.settingsFace()->setNotice(QString());
    form.settingsFace()->show();
    form.settingsFace()->raise();
    (session.thisGame() ? form.settingsFace()->thisGameButton()
                        : form.settingsFace()->allGamesButton())
        ->setFocus(Qt::OtherFocusReason);
}

bool CloseSettings(ui::Form1& form, SettingsSession& session, ui::Dialogs& dialogs) {
    if (!settingsShown(form))
        return true;
    if (session.edited() &&
        dialogs.ask(QStringLiteral("save settings to ? Y/N"), QStringLiteral("Save message"))) {
        SaveSettings(form, session, dialogs);
        return !settingsShown(form);
    }
    session.close();
    form.settingsFace()->hide();
    form.Command9->setFocus(Qt::OtherFocusReason);
    return true;
}

void SaveSettings(ui::Form1& form, SettingsSession& session, ui::Dialogs& dialogs) {
    const QList<SettingEdit> edits = session.edits();
    const DocumentEdit edit = [&edits](ConfigDocument& document) {
        for (const SettingEdit& change : edits)
            applySettingEdit(document, change);
    };
    // Nothing to import: a file with the global section alone.
    if (!saveToFiles(form, dialogs, edit, QByteArrayLiteral("[ Global ]\n")))
        return; // nothing saved: the face keeps its changes
    session.close();
    form.settingsFace()->hide();
    form.Command9->setFocus(Qt::OtherFocusReason);
}

void ChooseSettingsScope(ui::Form1& form, SettingsSession& session,
                         const catalogue::GameCatalogue& catalogue, bool thisGame) {
    session.setThisGame(thisGame);
    render(form, session, catalogue);
}

void EditSetting(ui::Form1& form, SettingsSession& session,
                 const catalogue::GameCatalogue& catalogue, const QString& name,
                 const QString& value) {
    if (const EmulatorSetting* setting = settingNamed(name)) {
        session.edit(*setting, value.toUtf8());
        form.settingsFace()->setNotice(QString());
    }
    render(form, session, catalogue);
}

void PutBackSetting(ui::Form1& form, SettingsSession& session,
                    const catalogue::GameCatalogue& catalogue, const QString& name) {
    const EmulatorSetting* setting = settingNamed(name);
    if (!setting)
        return;
    const QList<QByteArray> shared = session.putBack(*setting);
    form.settingsFace()->setNotice(
        shared.isEmpty() ? QString()
                         : text(setting->label) +
                               QStringLiteral(": a header naming other sets too also sets "
                                              "it, so the value for all games was written "
                                              "into ") +
                               sectionList(shared) + QStringLiteral(" of its own."));
    render(form, session, catalogue);
}

void SettingsFollowRow(ui::Form1& form, SettingsSession& session,
                       const catalogue::GameCatalogue& catalogue) {
    if (!settingsShown(form))
        return;
    followRow(form, session, catalogue);
    render(form, session, catalogue);
}

void SettingsFollowWindow(ui::Form1& form, const SettingsSession& session,
                          const catalogue::GameCatalogue& catalogue) {
    if (settingsShown(form))
        render(form, session, catalogue);
}

} // namespace emulator
