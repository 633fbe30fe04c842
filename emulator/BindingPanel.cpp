#include "emulator/BindingPanel.h"

#include "app/PathCheck.h"
#include "bindings/Capture.h"
#include "bindings/KeyNames.h"
#include "bindings/Profiles.h"
#include "catalogue/SelectionView.h"
#include "emulator/CommandLine.h"
#include "emulator/InputFile.h"
#include "emulator/Launch.h"
#include "emulator/Launcher.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "ui/ClickableLabel.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace emulator {

namespace {

QString inputFileUnder(const QString& folder) {
    return folder + platform::relative({"Config", "Supermodel.ini"});
}

void showPanel(ui::Form1& form) {
    form.Picture3->show();
    form.Command3->setEnabled(false);
}

std::vector<SlotBinding> slotBindings(const ui::Form1& form) {
    std::vector<SlotBinding> bindings;
    bindings.reserve(form.Label1.size());
    for (const ui::ClickableLabel* slot : form.Label1)
        bindings.push_back({ui::tag(slot), ::bindings::storedKeyName(slot->text())});
    return bindings;
}

} // namespace

void OpenPanel(ui::Form1& form) {
    app::CheckTxt(form);
    QFile file(inputFileUnder(form.Text4->text()));
    const bool readable = platform::openToRead(file);
    showPanel(form);
    if (readable) {
        const std::vector<SlotBinding> bindings = readInputFile(file);
        for (std::size_t n = 0; n < bindings.size() && n < form.Label1.size(); ++n) {
            form.Label1[n]->setText(::bindings::slotKeyText(bindings[n].key));
            ui::setTag(form.Label1[n], bindings[n].inputName);
        }
    } else {
        bindings::Restore(form);
    }
    catalogue::List2_001(form);
}

void Save(ui::Form1& form, ui::Dialogs& dialogs) {
    const QString emulatorFolder = form.Text4->text();
    const QString configFolder = emulatorFolder + QLatin1String("Config");
    if (!platform::exists(configFolder))
        platform::makeFolder(configFolder);

    const QString emulatorCopy = inputFileUnder(emulatorFolder);
    if (platform::exists(emulatorCopy) &&
        !dialogs.ask(QStringLiteral(
                         "Is the keyboard configuration file to overwrite the original ? Y/N .. "),
                     QStringLiteral("Overwrite message")))
        return;

    const QByteArray bytes = formatInputFile(slotBindings(form), quoteOf(form));
    if (!platform::writeFileAtomically(emulatorCopy, bytes)) {
        // Nothing was saved: keep the panel, its slots and its edited mark.
        dialogs.tell(QStringLiteral("File write failed: ") + emulatorCopy, kErrTitle);
        return;
    }

    // The emulator reads its file relative to the folder it runs in, which is
    // the front-end's: keep a copy there too, unless both name the same file.
    const QString frontEndCopy = inputFileUnder(ui::tag(&form));
    if (frontEndCopy != emulatorCopy && !platform::sameFile(frontEndCopy, emulatorCopy))
        platform::writeFileAtomically(frontEndCopy, bytes);

    dialogs.tell(QStringLiteral("File write successful .."), QString());
    ui::setTag(form.Picture3, QString());
    ClosePanel(form, dialogs);
}

void ClosePanel(ui::Form1& form, ui::Dialogs& dialogs) {
    if (!ui::tag(form.Picture3).isEmpty() &&
        dialogs.ask(QStringLiteral("save settings to ? Y/N"), QStringLiteral("Save message"))) {
        Save(form, dialogs);
        return;
    }
    bindings::EndCapture(form);
    ui::setTag(form.Picture3, QString());
    form.Picture3->hide();
    form.Command3->setEnabled(true);
    for (ui::ClickableLabel* slot : form.Label1) {
        ui::setTag(slot, QString());
        slot->setText(QString());
    }
}

void StartInputConfiguration(ui::Form1& form, ui::Dialogs& dialogs, Launcher& launcher) {
    if (refusedWhileRunning(form, launcher))
        return;
    const CommandLine line = inputSetupCommandLine(form.Text4->text(), quoteOf(form));
    ui::setTag(form.Command1, line.text);
    if (!emulatorPresent(form)) {
        tellEmuError(dialogs);
        return;
    }
    if (startFromTag(form, line, WindowState::Normal, launcher, dialogs))
        ClosePanel(form, dialogs);
}

} // namespace emulator
