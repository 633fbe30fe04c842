#include "emulator/PadSetupPanel.h"

#include "bindings/BindingStore.h"
#include "bindings/DeviceNames.h"
#include "bindings/GameInputs.h"
#include "bindings/Latin1.h"
#include "bindings/PadSetup.h"
#include "bindings/PadView.h"
#include "bindings/SlotBinding.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/SelectedGame.h"
#include "platform/GameDevices.h"
#include "ui/CheckBox.h"
#include "ui/ClickableLabel.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/PadPicture.h"
#include "ui/Panel.h"
#include "ui/Tag.h"
#include "ui/TextFit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace emulator {

namespace {

using bindings::latin1;

constexpr int kTitlePixels = 13;

QString inputLabel(const QString& input) {
    const bindings::GameInput* known = bindings::gameInput(input.toStdString());
    return known ? latin1(known->label) : input;
}

QString sectionList(const QStringList& sets) {
    QStringList sections;
    for (const QString& set : sets)
        sections.append(QStringLiteral("[\u00a0") + set + QStringLiteral("\u00a0]")); // kept whole
    if (sections.size() < 2)
        return sections.join(QString());
    const QString last = sections.takeLast();
    return sections.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// What the set-up is about to do or waits for: one line under the pads'.
QString contextLine(const bindings::PadSetup& setup) {
    if (setup.types.isEmpty())
        return QStringLiteral("A game controller is set up from the emulator's game definitions "
                              "(Games.xml), which this emulator folder lacks.");
    if (!setup.pending.isEmpty())
        return QStringLiteral("Press the part of a connected pad for ") +
               inputLabel(setup.pending.front()) + QStringLiteral(", or take it off the pad.");
    if (setup.chosen)
        return QStringLiteral("Nothing of this game is on that part.");
    if (!setup.applied.isEmpty())
        return setup.applied;
    if (setup.everyGame)
        return QStringLiteral("Apply puts the layout of every kind of game into [ Global ], "
                              "with InputSystem = sdlgamepad.");
    return QStringLiteral("Apply puts this layout and InputSystem = sdlgamepad into ") +
           sectionList(setup.sets) + QStringLiteral("; your keys stay.");
}

// Which pad plays which cabinet in linked play: cabinet k reads pad k.
QString linkedLine(const bindings::PadSetup& setup) {
    if (setup.pads.isEmpty())
        return QStringLiteral("Linked play: cabinet k plays with pad k.");
    QStringList cabinets;
    for (int k = 1; k <= std::min<int>(4, int(setup.pads.size())); ++k)
        cabinets.append(QStringLiteral("%1 plays cabinet %2").arg(setup.pads[k - 1]).arg(k));
    return QStringLiteral("Linked play: ") + cabinets.join(QStringLiteral(", ")) + u'.';
}

void render(ui::Form1& form, const bindings::PadSetup& setup) {
    const ui::PadSetupView& v = form.padSetup();
    const QString title = QStringLiteral("Game controller for ") + setup.title;
    // A long title takes a smaller font rather than losing its end.
    QFont font = v.Label11->font();
    font.setPixelSize(kTitlePixels);
    v.Label11->setFont(ui::fitted(font, title, v.Label11->size(), kTitlePixels, font));
    v.Label11->setText(title);
    v.Label11->setToolTip(title);
    v.Label11->setAccessibleName(title);
    const std::size_t player = std::size_t(setup.player - 1);
    {
        const QSignalBlocker a(v.Command11), b(v.Check5), c(v.Combo1), d(v.Combo2);
        v.Command11->setEnabled(setup.players == 2);
        v.Command11->setChecked(setup.player == 2);
        v.Command11->setText(setup.player == 2 ? QStringLiteral("Player 2")
                                               : QStringLiteral("Player 1"));
        v.Command11->setAccessibleName(QStringLiteral("Player 2's pad"));
        v.Check5->setChecked(setup.nintendo[player]);
        v.Combo1->setCurrentIndex(setup.everyGame ? ui::kScopeEveryGame : ui::kScopeThisGame);
        const auto zone = std::find(bindings::kPadDeadZones.begin(), bindings::kPadDeadZones.end(),
                                    setup.deadZone);
        v.Combo2->setCurrentIndex(zone == bindings::kPadDeadZones.end()
                                      ? 0
                                      : int(zone - bindings::kPadDeadZones.begin()) + 1);
    }
    bindings::showPadLayout(*v.pad, setup.layout, setup.player, setup.nintendo[player],
                            setup.types);
    if (setup.chosen)
        v.pad->setCurrent(bindings::picturePart(*setup.chosen));
    const QString line = setup.devicesLine + (setup.linked ? u' ' + linkedLine(setup) : QString()) +
                         u'\n' + contextLine(setup);
    v.Label12->setText(line);
    v.Label12->setToolTip(line); // whole, where its lines run out
    v.Command14->setEnabled(!setup.pending.isEmpty());
    v.Command12->setEnabled(!setup.types.isEmpty());
}

// Names the pads as the emulator will number them under sdlgamepad, and the
// devices it will skip.
void readDevices(bindings::PadSetup& setup, const std::vector<platform::GameDevice>& devices) {
    const std::vector<int> numbers =
        bindings::deviceNumbers(devices, bindings::Numbering::GameController);
    QStringList players;
    setup.skipped.clear();
    setup.pads = QStringList(int(devices.size()), QString());
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const platform::GameDevice& device = devices[i];
        if (numbers[i] == 0) {
            setup.skipped.append(device.name);
            continue;
        }
        setup.pads[numbers[i] - 1] = device.name;
        if (numbers[i] <= 2)
            players.append(QStringLiteral("player %1: %2").arg(numbers[i]).arg(device.name));
        // The face letters start as the pad that plays has them.
        if (!setup.kindsRead && numbers[i] <= 2)
            setup.nintendo[std::size_t(numbers[i] - 1)] =
                device.type == platform::ControllerType::Nintendo;
    }
    setup.pads.removeAll(QString());
    setup.kindsRead = setup.kindsRead || !players.isEmpty();
    QString line = players.isEmpty()
                       ? QStringLiteral("No game controller connected: the layout fits any pad "
                                        "SDL knows as one.")
                       : QStringLiteral("Pads: ") + players.join(QStringLiteral("; ")) + u'.';
    if (!setup.skipped.isEmpty())
        line += u' ' + setup.skipped.join(QStringLiteral(", ")) +
                QStringLiteral(" is no game controller: the emulator skips it then.");
    setup.devicesLine = line;
}

void showPadSetup(ui::Form1& form, bool shown) {
    form.padSetup().Picture6->setVisible(shown);
    form.page().Command8->setVisible(!shown);
    if (shown)
        form.padSetup().Picture6->raise();
    form.Image5->raise();
}

void startOver(ui::Form1& form, bindings::PadSetup& setup,
               const catalogue::GameCatalogue& catalogue) {
    const catalogue::CatalogueRow* row = catalogue::selectedRow(form, catalogue);
    const QStringList types =
        catalogue::selectedInputTypes(form, catalogue).value_or(QStringList());
    bindings::resetPadSetup(setup, row ? row->title : QString(), types,
                            row ? catalogue::definedSets(*row, catalogue) : QStringList());
    setup.applied.clear();
    setup.rest.clear();
    setup.linked = false;
    for (const QString& set : setup.sets) {
        if (const catalogue::GameSet* defined = catalogue::definedSet(catalogue, set))
            setup.linked = setup.linked || defined->netBoard;
    }
}

} // namespace

bool padSetupShown(const ui::Form1& form) {
    return form.panelBuilt() && !form.padSetup().Picture6->isHidden();
}

void OpenPadSetup(ui::Form1& form, bindings::PadSetup& setup,
                  const catalogue::GameCatalogue& catalogue, platform::GameDevices& devices) {
    startOver(form, setup, catalogue);
    setup.player = 1;
    setup.kindsRead = false;
    setup.devicesLine = QStringLiteral("Looking for connected pads...");
    render(form, setup);
    showPadSetup(form, true);
    const ui::PadSetupView& v = form.padSetup();
    (v.Command11->isEnabled() ? static_cast<QWidget*>(v.Command11) : v.Check5)
        ->setFocus(Qt::OtherFocusReason);
    // The picture is painted first; SDL may take a while to load.
    v.Picture6->repaint();
    QTimer::singleShot(0, &form, [&form, &setup, &devices] {
        if (!padSetupShown(form) || devices.running())
            return;
        if (!devices.start(platform::GameDevices::Reading::GameController)) {
            setup.devicesLine = QStringLiteral("SDL 2 could not be started: no pad can be "
                                               "named, and the layout still applies.");
            render(form, setup);
        }
    });
}

void ClosePadSetup(ui::Form1& form, bindings::PadSetup& setup, platform::GameDevices& devices) {
    if (!padSetupShown(form))
        return;
    devices.stop();
    setup.chosen.reset();
    setup.pending.clear();
    showPadSetup(form, false);
    form.page().Command10->setFocus(Qt::OtherFocusReason);
}

void PadSetupFollowRow(ui::Form1& form, bindings::PadSetup& setup,
                       const catalogue::GameCatalogue& catalogue) {
    if (!padSetupShown(form))
        return;
    startOver(form, setup, catalogue);
    render(form, setup);
}

void ShowPadPlayer(ui::Form1& form, bindings::PadSetup& setup, bool second) {
    setup.player = second && setup.players == 2 ? 2 : 1;
    setup.chosen.reset();
    setup.pending.clear();
    render(form, setup);
}

void SetPadNintendo(ui::Form1& form, bindings::PadSetup& setup, bool nintendo) {
    setup.nintendo[std::size_t(setup.player - 1)] = nintendo;
    render(form, setup);
}

void ChoosePadDeadZone(ui::Form1& form, bindings::PadSetup& setup, int index) {
    setup.deadZone = index > 0 && index <= int(bindings::kPadDeadZones.size())
                         ? bindings::kPadDeadZones[std::size_t(index - 1)]
                         : 0;
    render(form, setup);
}

void ChoosePadScope(ui::Form1& form, bindings::PadSetup& setup, int index) {
    setup.everyGame = index == ui::kScopeEveryGame;
    setup.applied.clear();
    render(form, setup);
}

void ChoosePadPart(ui::Form1& form, bindings::PadSetup& setup, platform::GameDevices& devices,
                   int part) {
    if (part < 0 || part >= ui::PadPicture::kPartCount)
        return;
    bindings::choosePadPart(setup, bindings::layoutPart(ui::PadPicture::Part(part)));
    // Whatever is held now is where the pads rest.
    setup.rest.clear();
    if (!devices.running())
        devices.start(platform::GameDevices::Reading::GameController);
    render(form, setup);
}

void TakePartOffPad(ui::Form1& form, bindings::PadSetup& setup) {
    bindings::takePartOffPad(setup);
    render(form, setup);
}

void PadDevicesPolled(ui::Form1& form, bindings::PadSetup& setup, platform::GameDevices& devices) {
    if (!padSetupShown(form)) {
        devices.stop();
        return;
    }
    const std::vector<platform::GameDevice>& list = devices.devices();
    const QString before = setup.devicesLine;
    const auto nintendo = setup.nintendo;
    readDevices(setup, list);
    bool changed = setup.devicesLine != before || setup.nintendo != nintendo;
    const std::vector<int> numbers =
        bindings::deviceNumbers(list, bindings::Numbering::GameController);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const platform::GameDevice& device = list[i];
        if (!device.readable || numbers[i] == 0)
            continue;
        const auto rest = setup.rest.find(device.key);
        if (rest == setup.rest.end()) {
            setup.rest.insert(device.key, device.state);
            continue;
        }
        const bindings::DeviceEvent event = bindings::deviceEvent(
            numbers[i], *rest, device.state, bindings::Numbering::GameController, false);
        bindings::settle(*rest, device.state);
        if (event.kind != bindings::DeviceEvent::Kind::Named || setup.pending.isEmpty())
            continue;
        // What moved is where it rests now, until it comes back.
        *rest = device.state;
        const QString input = setup.pending.front();
        if (!bindings::movePendingInput(setup, event.source))
            setup.applied = inputLabel(input) + QStringLiteral(" cannot go on that part.");
        else
            setup.applied.clear();
        changed = true;
    }
    if (changed)
        render(form, setup);
}

void ApplyPadSetup(ui::Form1& form, bindings::PadSetup& setup, bindings::BindingStore& store,
                   ui::Dialogs& dialogs) {
    if (setup.types.isEmpty())
        return;
    if (setup.everyGame) {
        const bool already =
            bindings::numberingFor(store.inputSystem()) == bindings::Numbering::GameController;
        const int changing = already ? 0 : bindings::joystickBindingsChanging(store);
        const QString text =
            QStringLiteral("For every game: [ Global ] gets the game controller layout of every "
                           "kind of game and InputSystem = sdlgamepad. ") +
            (already ? QString()
                     : QStringLiteral("%1 joystick bindings, in the file or built in, then mean "
                                      "other parts of a pad (Start 1's JOY1_BUTTON9 would be a "
                                      "stick click): the layout replaces their joystick sources, "
                                      "and a wheel or stick that is no game controller is "
                                      "skipped. ")
                           .arg(changing)) +
            QStringLiteral("Apply?");
        if (!dialogs.ask(text, QStringLiteral("Every game")))
            return;
    }
    if (!setup.skipped.isEmpty() &&
        !dialogs.ask(setup.skipped.join(QStringLiteral(", ")) +
                         QStringLiteral(" is no game controller: the emulator skips it in a game "
                                        "set to sdlgamepad, and its bindings there are dead. "
                                        "Apply?"),
                     QStringLiteral("Game controller")))
        return;
    bindings::applyPadSetup(setup, store);
    // Counted as an edit, as a capture is: Save and the close ask for it.
    ui::setTag(form.Picture3, QStringLiteral("pad"));
    bindings::renderSlots(form, store);
    setup.applied = (setup.everyGame ? QStringLiteral("Applied to [ Global ]")
                                     : QStringLiteral("Applied to ") + sectionList(setup.sets)) +
                    QStringLiteral(": Save writes it into the file.");
    render(form, setup);
}

} // namespace emulator
