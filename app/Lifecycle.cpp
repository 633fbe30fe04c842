#include "app/Lifecycle.h"

#include "app/SettingsFile.h"
#include "catalogue/EmulatorSearch.h"
#include "catalogue/FolderPaths.h"
#include "catalogue/RomScan.h"
#include "emulator/CabinetFolders.h"
#include "emulator/ConfigLocations.h"
#include "emulator/ConfigSave.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SafeCopy.h"
#include "ui/CheckBox.h"
#include "ui/Form1.h"
#include "ui/Tag.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace app {

namespace {

QString settingsFile(const QString& programFolder) {
    return programFolder + platform::relative({"Config", "Kestrun.ini"});
}

void setOption(ui::CheckBox* box, const QString& slot) {
    // An out-of-range number or a value the box refuses leaves it unchecked.
    if (const auto number = optionNumber(slot))
        box->setValue(*number);
}

// An emulator installed where the shell finds it becomes the Emu Path, and
// its tooltip says so until the user types another path.
void useInstalledEmulator(ui::Form1& form) {
    const auto found = catalogue::installedEmulator();
    if (!found)
        return;
    form.Text4->setText(found->folder);
    QString tip =
        QStringLiteral("Found at the first start: the installed emulator, ") + found->program;
    if (QFileInfo(found->program).absolutePath() + platform::kSeparator != found->folder)
        tip += QStringLiteral(", a link to the program in this folder");
    form.Text4->setToolTip(tip);
    QLineEdit* box = form.Text4;
    QObject::connect(box, &QLineEdit::textEdited, box, [box] { box->setToolTip(QString()); });
}

} // namespace

QString windowTitle() {
    return QStringLiteral("Sega Model 3 Kestrun To Supermodel ( For research %1.%2.%3)")
        .arg(KESTRUN_VERSION_MAJOR)
        .arg(KESTRUN_VERSION_MINOR)
        .arg(KESTRUN_VERSION_PATCH);
}

QString defaultEmulatorFolder(const QString& programFolder) {
    return programFolder + QLatin1String("Supermodel_0.1a_Win32") + platform::kSeparator;
}

QString defaultRomFolder(const QString& programFolder) {
    return programFolder + QLatin1String("Roms") + platform::kSeparator;
}

void StartUp(ui::Form1& form, catalogue::GameCatalogue& catalogue,
             const QString& programFileFolder) {
    form.setWindowTitle(windowTitle());

    const QString folder = platform::withTrailingSeparator(programFileFolder);
    ui::setTag(&form, folder);

    for (const char* name : {"Config", "NVRAM", "Saves"}) {
        const QString path = folder + QLatin1String(name);
        if (!platform::exists(path))
            platform::makeFolder(path);
    }

    // A copy killed while writing leaves its unfinished file: ours go, by
    // their names alone.
    platform::removeWriteLeftovers(settingsFile(folder));

    SettingsSlots slots;
    QFile file(settingsFile(folder));
    const bool firstStart = !platform::exists(file.fileName());
    if (platform::openToRead(file))
        slots = readSettings(file);

    auto orDefault = [](const QString& slot, const QString& fallback) {
        return slot.isEmpty() ? fallback : slot;
    };
    form.Text4->setText(orDefault(slots[0], defaultEmulatorFolder(folder)));
    if (firstStart && !platform::exists(defaultEmulatorFolder(folder)))
        useInstalledEmulator(form);
    form.Text5->setText(orDefault(slots[1], defaultRomFolder(folder)));
    form.Text1->setText(orDefault(slots[2], QLatin1String(kDefaultWidth)));
    form.Text3->setText(orDefault(slots[3], QLatin1String(kDefaultHeight)));

    setOption(form.Check1, slots[4]);
    setOption(form.Check2, slots[5]);
    setOption(form.Check3, slots[6]);

    catalogue::StartUpFill(form, catalogue);

    // The same for both copies of the emulator's configuration, once the
    // emulator folder ends with its separator.
    emulator::removeSaveLeftovers(emulator::workingConfig(folder));
    emulator::removeSaveLeftovers(emulator::emulatorConfigCopy(catalogue::emulatorFolder(form)));
}

void CompleteStartUp(ui::Form1& form, catalogue::GameCatalogue& catalogue) {
    const QString folder = ui::tag(&form);
    if (!folder.isEmpty()) {
        for (const char* file : {"Games.xml", "Music.xml", "Kestrun-base.ini", "Kestrun-base.txt"})
            platform::removeWriteLeftovers(folder + platform::relative({"Config", file}));
        platform::removeCopyLeftovers(folder, QStringLiteral("Assets"));
        for (const char* name : {"NVRAM", "Saves"})
            platform::removeTemporaryFiles(folder + QLatin1String(name));
        emulator::removeCabinetLeftovers(folder);
    }
    catalogue::JoinDefinitions(form, catalogue);
}

void ShutDown(ui::Form1& form) {
    const QString folder = ui::tag(&form);
    if (folder.isEmpty())
        return; // start-up never ran: there is nothing of ours to keep
    if (isBlank(form.Text4->text()))
        form.Text4->setText(defaultEmulatorFolder(folder));
    if (isBlank(form.Text5->text()))
        form.Text5->setText(defaultRomFolder(folder));

    SettingsValues values;
    values.emuPath = form.Text4->text();
    values.romPath = form.Text5->text();
    values.width = form.Text1->text();
    values.height = form.Text3->text();
    values.showFps = form.Check1->value();
    values.fullScreen = form.Check2->value();
    values.noThrottle = form.Check3->value();
    platform::writeFileAtomically(settingsFile(folder), formatSettings(values));
}

} // namespace app
