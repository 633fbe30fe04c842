#include "emulator/BindingPanel.h"

#include "bindings/BindingStore.h"
#include "bindings/BuiltInValues.h"
#include "bindings/Capture.h"
#include "bindings/GameInputs.h"
#include "bindings/GamePage.h"
#include "bindings/Latin1.h"
#include "bindings/Profiles.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "catalogue/FolderPaths.h"
#include "catalogue/Installation.h"
#include "catalogue/SelectionView.h"
#include "emulator/BindingFile.h"
#include "emulator/CommandLine.h"
#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/ConfigSave.h"
#include "emulator/GameControls.h"
#include "emulator/InputFile.h"
#include "emulator/Launch.h"
#include "emulator/Launcher.h"
#include "emulator/SaveToFiles.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "ui/ClickableLabel.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <optional>
#include <vector>

namespace emulator {

namespace {

using bindings::latin1;

void showPanel(ui::Form1& form) {
    form.buildPanel();
    form.Picture3->show();
    form.Command3->setEnabled(false);
}

// Reads the file the panel shows into the slots; a file that cannot be
// edited safely is shown read-only, with a box naming it.
void readIntoSlots(ui::Form1& form, bindings::BindingStore& store,
                   const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs) {
    const QString source = panelConfigSource(ui::tag(&form), catalogue::emulatorFolder(form));
    ConfigRead read;
    if (source.isEmpty()) {
        store.loadDefaults(panelRelease(form));
    } else {
        read = readConfigFile(source);
        loadBindings(store, ConfigDocument(read.bytes));
    }
    if (bindings::pageShown(form))
        ShowSelectedGame(form, store, catalogue);
    else
        bindings::renderSlots(form, store);
    if (read.problem != ConfigProblem::None)
        dialogs.tell(source + QStringLiteral(" is shown read-only and cannot be saved: ") +
                         configProblemText(read.problem) + u'.',
                     kErrTitle);
}

// Inputs in the emulator's own order, then the other settings by name: the
// lines a set-up adds read as the emulator prints them.
QStringList settingOrder(QStringList names) {
    const auto rank = [](const QString& name) {
        const bindings::GameInput* input = name.startsWith(QLatin1String("Input"))
                                               ? bindings::gameInput(name.mid(5).toStdString())
                                               : nullptr;
        return input ? input - bindings::kGameInputs.data()
                     : qsizetype(bindings::kGameInputs.size());
    };
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const qsizetype ra = rank(a), rb = rank(b);
        return ra != rb ? ra < rb : a < b;
    });
    return names;
}

std::vector<SlotBinding> slotBindings(const bindings::BindingStore& store) {
    std::vector<SlotBinding> chart;
    chart.reserve(bindings::kSlots.size());
    for (const bindings::InputSlot& slot : bindings::kSlots)
        chart.push_back({latin1(slot.inputName),
                         store.value(latin1(bindings::currentInputName(slot.inputName)))});
    return chart;
}

} // namespace

bindings::Release panelRelease(const ui::Form1& form) {
    return catalogue::definitionsFile(catalogue::emulatorFolder(form)).isEmpty()
               ? bindings::Release::Earlier
               : bindings::Release::Current;
}

void RestorePanel(ui::Form1& form, bindings::BindingStore& store) {
    if (bindings::pageShown(form))
        bindings::RestorePage(form, store);
    else
        bindings::Restore(form, store, panelRelease(form));
}

void OpenPanel(ui::Form1& form, bindings::BindingStore& store,
               const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs) {
    showPanel(form);
    readIntoSlots(form, store, catalogue, dialogs);
    catalogue::List2_001(form, catalogue);
}

void ReadPanelAgain(ui::Form1& form, bindings::BindingStore& store,
                    const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs) {
    if (form.Picture3->isHidden())
        return;
    readIntoSlots(form, store, catalogue, dialogs);
    catalogue::List2_001(form, catalogue);
}

void Save(ui::Form1& form, bindings::BindingStore& store, ui::Dialogs& dialogs) {
    if (!form.Command6->isEnabled()) {
        // Asked from the close question while the emulator's set-up runs.
        dialogs.tell(kSaveWaitsTip, kErrTitle);
        return;
    }
    const DocumentEdit edit = [&store](ConfigDocument& document) {
        const QHash<QString, QString> values = bindingSettings(store, document);
        document.renameEarlierSources();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            document.set(ConfigDocument::kGlobal, it.key().toUtf8(), it.value().toUtf8());
        // Whole settings by section: a game controller set up for a game
        // or for every game.
        const auto& sections = store.settingEdits();
        for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
            for (const QString& name : settingOrder(section->keys()))
                document.set(section.key().toUtf8(), name.toUtf8(), section->value(name).toUtf8());
        }
    };
    // Nothing to import: the panel's own full file.
    if (!saveToFiles(form, dialogs, edit, formatInputFile(slotBindings(store), quoteOf(form))))
        return; // nothing saved: the panel keeps its slots and its edited mark
    ui::setTag(form.Picture3, QString());
    ClosePanel(form, store, dialogs);
}

void ClosePanel(ui::Form1& form, bindings::BindingStore& store, ui::Dialogs& dialogs) {
    if (!ui::tag(form.Picture3).isEmpty() &&
        dialogs.ask(QStringLiteral("save settings to ? Y/N"), QStringLiteral("Save message"))) {
        Save(form, store, dialogs);
        return;
    }
    bindings::EndCapture(form, store);
    if (form.panelBuilt()) {
        form.padSetup().Picture6->hide();
        form.page().Command8->show();
    }
    bindings::clearGamePage(form);
    ui::setTag(form.Picture3, QString());
    form.Picture3->hide();
    form.Command3->setEnabled(true);
    store.clear();
    bindings::renderSlots(form, store);
}

namespace {

// While the emulator's own set-up runs, nothing in the panel can be edited:
// the set-up rewrites the whole file as it ends, and the panel then shows it.
void lockForSetup(ui::Form1& form, bool locked) {
    const ui::SetupView& view = form.setupView();
    for (ui::ClickableLabel* slot : form.Label1)
        slot->setEnabled(!locked);
    const ui::Form1::GamePage& page = form.page();
    page.Picture4->setEnabled(!locked); // its entries
    for (QWidget* w : {static_cast<QWidget*>(page.Command8), static_cast<QWidget*>(form.Command4),
                       static_cast<QWidget*>(form.Command5), static_cast<QWidget*>(form.Command6),
                       static_cast<QWidget*>(form.Image5)})
        w->setEnabled(!locked);
    form.Command6->setToolTip(locked ? kSaveWaitsTip : QString());
    if (locked) {
        view.Label10->setText(kSetupRunsLine);
        view.Text8->clear();
    }
    view.Picture5->setVisible(locked);
}

// Offers to save unsaved captures as closing does, but keeps the panel open:
// after Yes it shows what was saved, after No the file again (the close
// and the opening happen before anything is drawn). False when the Save
// failed or was declined: the panel then keeps its edits.
bool settleEdits(ui::Form1& form, bindings::BindingStore& store,
                 const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs) {
    if (ui::tag(form.Picture3).isEmpty())
        return true; // nothing unsaved, no capture pending
    const bool onPage = bindings::pageShown(form);
    ClosePanel(form, store, dialogs);
    if (!form.Picture3->isHidden())
        return false;
    OpenPanel(form, store, catalogue, dialogs);
    if (onPage)
        TurnPage(form, store, catalogue);
    form.Command7->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace

void StartInputConfiguration(ui::Form1& form, bindings::BindingStore& store,
                             const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs,
                             Launcher& launcher) {
    if (refusedWhileRunning(form, launcher))
        return;
    const CommandLine line = inputSetupCommandLine(catalogue::emulatorFolder(form), quoteOf(form));
    ui::setTag(form.Command1, line.text);
    if (!emulatorPresent(form)) {
        tellEmuError(dialogs, whyNotStarted(form, false));
        return;
    }
    // Asked and saved before the start: the set-up reads the file as it
    // starts and rewrites it whole as it ends, so a later Save would be lost.
    if (!settleEdits(form, store, catalogue, dialogs))
        return; // the Save failed or was declined: the panel keeps the edits
    // Locked before the start, so that nothing it prints is missed.
    lockForSetup(form, true);
    if (!startFromTag(form, line, WindowState::Normal, launcher, dialogs))
        lockForSetup(form, false);
}

bool InputSetupRuns(const ui::Form1& form) {
    return form.panelBuilt() && !form.setupView().Picture5->isHidden();
}

void InputSetupPrinted(ui::Form1& form, const QString& text) {
    if (!InputSetupRuns(form))
        return;
    QPlainTextEdit* output = form.setupView().Text8;
    QScrollBar* bar = output->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor end(output->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    // Kept at the prompt being answered, unless the user scrolled back.
    if (following)
        bar->setValue(bar->maximum());
}

void InputSetupFinished(ui::Form1& form, bindings::BindingStore& store,
                        const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs) {
    if (!InputSetupRuns(form))
        return; // no set-up was running
    lockForSetup(form, false);
    ReadPanelAgain(form, store, catalogue, dialogs);
    // The panel shows the file as the set-up left it: nothing is unsaved.
    ui::setTag(form.Picture3, QString());
}

} // namespace emulator
