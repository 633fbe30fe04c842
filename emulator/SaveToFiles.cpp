#include "emulator/SaveToFiles.h"

#include "catalogue/FolderPaths.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/Launch.h"
#include "platform/Files.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/Tag.h"

#include <QDir>

namespace emulator {

void tellWriteFailed(ui::Dialogs& dialogs, const QString& path) {
    const QString obstacle = saveObstacle(path);
    dialogs.tell(QStringLiteral("File write failed: ") + path +
                     (obstacle.isEmpty() ? QString()
                                         : u'\n' + obstacle +
                                               QStringLiteral(", where its lock goes: nothing is "
                                                              "saved while it is there.")),
                 kErrTitle);
}

bool saveToFiles(const ui::Form1& form, ui::Dialogs& dialogs, const DocumentEdit& edit,
                 const QByteArray& fallback) {
    const QString emulatorFolder = catalogue::emulatorFolder(form);
    const QString programFolder = ui::tag(&form);
    const QString working = workingConfig(programFolder);
    const QString emulatorCopy = emulatorConfigCopy(emulatorFolder);
    // The emulator's own copy is kept up to date only where the player has
    // one: nothing is made in its installation, which is only read.
    const bool emulatorCopyToo = !emulatorCopy.isEmpty() && emulatorCopy != working &&
                                 platform::placeAt(emulatorCopy) != platform::Place::Nothing &&
                                 !platform::sameFile(emulatorCopy, working);

    if (!emulatorCopy.isEmpty() && platform::isFile(emulatorCopy) &&
        !dialogs.ask(QStringLiteral(
                         "Is the keyboard configuration file to overwrite the original ? Y/N .. "),
                     QStringLiteral("Overwrite message")))
        return false;

    // The working copy first: what the emulator reads when started from here.
    // Not there yet, it starts from the file the emulator folder offers.
    QByteArray base;
    if (!platform::exists(working)) {
        const QString source = firstExistingConfig(configCandidates(emulatorFolder));
        if (source.isEmpty()) {
            base = fallback;
        } else {
            const ConfigRead read = readConfigFile(source);
            if (read.problem != ConfigProblem::None) {
                tellWriteFailed(dialogs, working);
                return false;
            }
            base = read.bytes;
        }
    }
    const std::optional<QByteArray> saved = saveConfigEdit(working, base, edit);
    if (!saved) {
        tellWriteFailed(dialogs, working);
        return false;
    }

    QStringList written{working};

    // Then the emulator's own copy, for when it is started on its own.
    if (emulatorCopyToo) {
        if (!saveConfigEdit(emulatorCopy, *saved, edit)) {
            tellWriteFailed(dialogs, emulatorCopy);
            return false;
        }
        written.append(emulatorCopy);
    }

    QString report = QStringLiteral("File write successful ..");
    for (const QString& path : written)
        report += u'\n' + QDir::toNativeSeparators(QDir::cleanPath(path));
    dialogs.tell(report, QString());
    return true;
}

} // namespace emulator
