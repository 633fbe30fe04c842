// The binding panel's life: opening from the emulator's input file or the
// defaults, Save with its questions and failures, closing, and the
// emulator's own input set-up.

#include "support/DefaultInputFile.h"
#include "support/Fakes.h"
#include "support/FullDisk.h"
#include "support/ReadOnlyFolder.h"
#include "support/UsersFile.h"

#include "bindings/SlotTable.h"
#include "emulator/BindingPanel.h"
#include "emulator/CommandLine.h"
#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/InputFile.h"
#include "emulator/Launch.h"
#include "platform/Files.h"
#include "platform/SaveLock.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <optional>

#include <sys/stat.h>

using ui::Form1;

namespace {

const QString kEmuIni = QStringLiteral("Supermodel_0.1a_Win32/Config/Supermodel.ini");
const QString kOwnIni = QStringLiteral("Config/Supermodel.ini");

QByteArray defaultFile() {
    return kDefaultInputFile;
}

// What the current release ships beside its program: its game definitions.
const QByteArray kGamesXml =
    "<games><game name=\"vf3\"><identity><title>Virtua Fighter 3</title></identity>"
    "<hardware><inputs><input type=\"common\"/></inputs></hardware></game></games>";

// Every file and folder under `folder`, with the files' bytes.
QMap<QString, QByteArray> everythingUnder(const QString& folder) {
    QMap<QString, QByteArray> found;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        found.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("/"));
    }
    return found;
}

// The report of a Save that wrote these files, in this order.
QString written(const QStringList& paths) {
    return QStringLiteral("File write successful ..\n") + paths.join(u'\n');
}

struct PanelFixture : FrontEndFixture {
    PanelFixture() {
        QDir().mkpath(path(QStringLiteral("Supermodel_0.1a_Win32")));
        frontend.start();
    }
    void open() { QTest::mouseClick(form.Command3, Qt::LeftButton); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    bool edited(int slot) { return store().find(bindings::slotInput(form, slot))->edited; }
    bool panelOpen() const { return !form.Picture3->isHidden(); }
    // The emulator folder made a current release's: its definitions beside it.
    void currentRelease() const {
        writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), kGamesXml);
    }
    QString inputOf(const QString& file, const QString& name) const {
        return QString::fromUtf8(emulator::ConfigDocument(readFile(file))
                                     .value(emulator::ConfigDocument::kGlobal, name.toUtf8())
                                     .value_or(""));
    }
    // A capture as the user makes it: double-click the slot, press the key.
    void capture(int slot, Qt::Key key) {
        QTest::mouseDClick(form.Label1[std::size_t(slot)], Qt::LeftButton);
        QTest::keyClick(form.Text6, key);
    }
    QStringList boxTexts() const {
        QStringList texts;
        for (const auto& box : dialogs.boxes)
            texts << box.text;
        return texts;
    }
};

} // namespace

class PanelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void withoutAFileTheReleasesOwnValues_data();
    void withoutAFileTheReleasesOwnValues();
    void firstCloseWritesTheReleasesValuesAndNothingElsewhere_data();
    void firstCloseWritesTheReleasesValuesAndNothingElsewhere();
    void restoreFollowsOneRuleFileOrNot_data();
    void restoreFollowsOneRuleFileOrNot();
    void openingReadsByName();
    void panelReadsTheFileTheEmulatorUses_data();
    void panelReadsTheFileTheEmulatorUses();
    void captureAndRestoreKeepJoysticks();
    void saveChangesOnlyTheEditedLines();
    void savesIntoTheEmulatorsCopy_data();
    void savesIntoTheEmulatorsCopy();
    void aLinkedFileIsEditedThroughTheLink();
    void badFilesAreShownReadOnly_data();
    void badFilesAreShownReadOnly();
    void setUpLocksThePanelAndShowsWhatItPrints();
    void setUpStartsOnTheSavedEdits();
    void setUpWaitsForASaveThatFails_data();
    void setUpWaitsForASaveThatFails();
    void refusedPlacesAreNamed_data();
    void refusedPlacesAreNamed();
    void firstCloseAsksAndLaterClosesDoNot();
    void saveWritesTheWorkingCopyAndCloses();
    void noAtTheOverwriteQuestionKeepsEverything();
    void closeQuestionYesSavesAndNoDiscards();
    void failedWriteKeepsThePanelAndItsEdits();
    void saveOnAFullDiskSaysSoAndKeepsTheOldFile();
    void hugeValuesAreShownCutAndKeptWhole();
    void sameFileIsNeverCopiedOntoItself();
    void inputSetUpNeedsTheEmulator();
    void failedInputSetUpStartIsReported();
    void closingEndsACaptureAndTheWalk();
    void earlierMouseNamesReadAndWrittenBack();
};

void PanelTest::withoutAFileTheReleasesOwnValues_data() {
    QTest::addColumn<bool>("current");        // the emulator ships its definitions
    QTest::addColumn<QByteArray>("besideIt"); // its Config/Supermodel.ini, if any
    QTest::addColumn<QString>("start1");
    QTest::addColumn<QString>("trigger");
    const QByteArray earlier =
        earlierInputFile().replace("InputStart1 = \"1\"", "InputStart1 = \"9\"");
    QTest::newRow("2011 release: its keys") << false << QByteArray() << "1"
                                            << "MOUSE_LEFT_BUTTON";
    QTest::newRow("current release: its built-in values")
        << true << QByteArray() << "KEY_1,JOY1_BUTTON9"
        << "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON";
    QTest::newRow("an earlier version's copy is no file") << true << earlier << "KEY_1,JOY1_BUTTON9"
                                                          << "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON";
}

void PanelTest::withoutAFileTheReleasesOwnValues() {
    QFETCH(bool, current);
    QFETCH(QByteArray, besideIt);
    QFETCH(QString, start1);
    QFETCH(QString, trigger);
    PanelFixture f;
    if (current)
        f.currentRelease();
    if (!besideIt.isEmpty())
        f.writeFile(kEmuIni, besideIt);
    f.open();
    QVERIFY(f.panelOpen());
    QVERIFY(!f.form.Command3->isEnabled());
    QCOMPARE(ui::tag(f.form.Label1[0]), QStringLiteral("Start1"));
    QCOMPARE(f.value(0), start1);
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("1"));
    QCOMPARE(f.value(47), trigger);
    QCOMPARE(f.form.Label1[48]->text(),
             current ? QStringLiteral("S") : QStringLiteral("MouseRight"));
    // The emulator's own values say so; the 2011 keys were never its own.
    QCOMPARE(f.form.Label1[0]->toolTip().contains(QStringLiteral("built-in")), current);
    QVERIFY(!f.edited(0));
    QVERIFY(f.dialogs.boxes.isEmpty());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("b")); // opening changes no mark
}

void PanelTest::firstCloseWritesTheReleasesValuesAndNothingElsewhere_data() {
    QTest::addColumn<QString>("emulatorFolder");
    QTest::addColumn<QString>("installation"); // where Config/Games.xml lies
    QTest::newRow("release folder") << "release/"
                                    << "release/";
    QTest::newRow("build from source") << "src/bin/"
                                       << "src/";
}

void PanelTest::firstCloseWritesTheReleasesValuesAndNothingElsewhere() {
    QFETCH(QString, emulatorFolder);
    QFETCH(QString, installation);
    PanelFixture f;
    f.writeFile(installation + QStringLiteral("Config/Games.xml"), kGamesXml);
    f.writeFile(emulatorFolder + QLatin1String(emulator::kEmulatorProgram), "#!/bin/sh\n");
    f.form.Text4->setText(f.path(emulatorFolder));
    const auto before = everythingUnder(f.path(installation));
    f.open();
    f.dialogs.answers << true; // the first close asks
    f.click(f.form.Image5);
    QCOMPARE(f.boxTexts(),
             (QStringList{QStringLiteral("save settings to ? Y/N"), written({f.path(kOwnIni)})}));
    QVERIFY(!f.panelOpen());
    // The whole values, pads too; the file says who wrote it.
    QCOMPARE(f.inputOf(kOwnIni, QStringLiteral("InputStart1")),
             QStringLiteral("KEY_1,JOY1_BUTTON9"));
    QCOMPARE(f.inputOf(kOwnIni, QStringLiteral("InputTwinJoyShot1")),
             QStringLiteral("KEY_A,JOY1_BUTTON5"));
    QVERIFY(f.readFile(kOwnIni).contains(kWrittenByLine));
    QCOMPARE(everythingUnder(f.path(installation)), before);
}

void PanelTest::restoreFollowsOneRuleFileOrNot_data() {
    QTest::addColumn<QByteArray>("file"); // the working copy, if any
    QTest::addColumn<QString>("start1");
    QTest::addColumn<QString>("coin1");
    QTest::newRow("no file") << QByteArray() << "KEY_1,JOY1_BUTTON9"
                             << "KEY_3,JOY1_BUTTON10";
    // Own joysticks stay; where there is none, the built-in one comes.
    QTest::newRow("a file") << QByteArray("InputStart1 = \"KEY_G,JOY2_BUTTON3\"\n"
                                          "InputCoin1 = \"KEY_Z\"\n")
                            << "KEY_1,JOY2_BUTTON3"
                            << "KEY_3,JOY1_BUTTON10";
}

void PanelTest::restoreFollowsOneRuleFileOrNot() {
    QFETCH(QByteArray, file);
    QFETCH(QString, start1);
    QFETCH(QString, coin1);
    PanelFixture f;
    f.currentRelease();
    if (!file.isEmpty())
        f.writeFile(kOwnIni, file);
    f.open();
    f.capture(2, Qt::Key_Q);
    f.click(f.form.Command4);
    QCOMPARE(f.value(0), start1);
    QCOMPARE(f.value(2), coin1);
    QCOMPARE(f.value(47), QStringLiteral("KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"));
    QVERIFY(f.edited(0));
}

void PanelTest::openingReadsByName() {
    PanelFixture f;
    // Comments, quotes or none, a game's section, last one wins, both
    // twin-stick names (the current one wins), a name in the wrong case.
    f.writeFile(kEmuIni, "; InputStart1 = \"9\"\n[ Global ]\nInputPunch = JOY2_UP\n"
                         "InputCoin1 = \"KEY_UP\" ; mine\nInputStart1 = \"KEY_7\"\n"
                         "InputStart1 = KEY_8,JOY1_BUTTON9\nInputTwinJoyLeftShot = \"Q\"\n"
                         "InputTwinJoyShot1 = \"KEY_W\"\ninputkick = \"KEY_Z\"\n"
                         "[ vf3 ]\nInputCoin1 = \"KEY_9\"\n");
    f.open();
    for (int i = 0; i < Form1::kSlotCount; ++i) {
        const auto& slot = bindings::kSlots[std::size_t(i)];
        QCOMPARE(ui::tag(f.form.Label1[std::size_t(i)]),
                 QString::fromLatin1(slot.inputName.data(), slot.inputName.size()));
    }
    QCOMPARE(f.value(0), QStringLiteral("KEY_8,JOY1_BUTTON9"));
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("8"));
    QCOMPARE(f.form.Label1[0]->toolTip(), QStringLiteral("8, or joystick 1 button 9"));
    QVERIFY(f.form.Label1[0]->deviceMark());
    QCOMPARE(f.form.Label1[2]->text(), QStringLiteral("Up"));
    QVERIFY(!f.form.Label1[2]->deviceMark());
    // Joystick only: it shows, never looks empty.
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("Joy 2 Up"));
    QVERIFY(f.form.Label1[12]->accessibleDescription().contains(QStringLiteral("joystick 2 up")));
    QCOMPARE(f.form.Label1[41]->text(), QStringLiteral("W"));
    // Not in the file: the emulator's own value, said so.
    QCOMPARE(f.value(13), QStringLiteral("KEY_S,JOY1_BUTTON2"));
    QVERIFY(f.form.Label1[13]->toolTip().contains(QStringLiteral("built-in")));
    QCOMPARE(f.value(42), QStringLiteral("KEY_S,JOY1_BUTTON6"));
    QVERIFY(f.dialogs.boxes.isEmpty());
}

void PanelTest::panelReadsTheFileTheEmulatorUses_data() {
    QTest::addColumn<QStringList>("files"); // each gets its own InputStart1
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("emulatorFolder");
    const QString own = kOwnIni, emu = QStringLiteral("emu/Config/Supermodel.ini");
    const QString built = QStringLiteral("src/Config/Supermodel.ini");
    const QString dot = QStringLiteral("home/.supermodel/Config/Supermodel.ini");
    const QString xdg = QStringLiteral("xdg/supermodel/Config/Supermodel.ini");
    QTest::newRow("working copy first") << QStringList{own, emu, dot, xdg} << own << "emu/";
    QTest::newRow("emulator folder") << QStringList{emu, dot, xdg} << emu << "emu/";
    QTest::newRow("build from source: bin's parent")
        << QStringList{built, dot} << built << "src/bin/";
    QTest::newRow("~/.supermodel") << QStringList{dot, xdg} << dot << "emu/";
    QTest::newRow("XDG_CONFIG_HOME") << QStringList{xdg} << xdg << "emu/";
}

void PanelTest::panelReadsTheFileTheEmulatorUses() {
    QFETCH(QStringList, files);
    QFETCH(QString, read);
    QFETCH(QString, emulatorFolder);
    PanelFixture f;
    const QByteArray home = qgetenv("HOME"), xdgHome = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", xdgHome);
    });
    qputenv("HOME", f.path(QStringLiteral("home")).toUtf8());
    qputenv("XDG_CONFIG_HOME", f.path(QStringLiteral("xdg")).toUtf8());
    QDir().mkpath(f.path(QStringLiteral("src/bin")));
    for (int i = 0; i < files.size(); ++i)
        f.writeFile(files[i], "InputStart1 = \"KEY_" + QByteArray::number(i) + "\"\n");
    f.form.Text4->setText(f.path(emulatorFolder));
    f.open();
    QCOMPARE(f.form.Label1[0]->text(), QString::number(files.indexOf(read)));

    // A start brings it into the program folder; then it stays as it is.
    emulator::Launch(f.form, f.frontend.gameCatalogue(), f.launcher, f.dialogs);
    QCOMPARE(f.launcher.starts.size(), 1);
    const QByteArray imported = f.readFile(read);
    QCOMPARE(f.readFile(kOwnIni), imported);
    f.writeFile(read, "InputStart1 = \"KEY_9\"\n");
    emulator::Launch(f.form, f.frontend.gameCatalogue(), f.launcher, f.dialogs);
    QCOMPARE(f.readFile(kOwnIni),
             read == kOwnIni ? QByteArray("InputStart1 = \"KEY_9\"\n") : imported);
}

void PanelTest::captureAndRestoreKeepJoysticks() {
    PanelFixture f;
    f.writeFile(kOwnIni, firstStartFile());
    f.open();
    f.capture(47, Qt::Key_G); // Trigger: KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON
    QCOMPARE(f.value(47), QStringLiteral("KEY_G,JOY1_BUTTON1"));
    QCOMPARE(f.form.Label1[47]->text(), QStringLiteral("G"));
    QVERIFY(f.edited(47));
    QVERIFY(!f.edited(46));
    f.click(f.form.Command4); // Restore: the default key, the joystick stays
    QCOMPARE(f.value(47), QStringLiteral("MOUSE_LEFT_BUTTON,JOY1_BUTTON1"));
    QCOMPARE(f.value(0), QStringLiteral("KEY_1,JOY1_BUTTON9"));
    f.click(f.form.Command5); // All over again: keys out, joysticks stay
    QCOMPARE(f.value(12), QStringLiteral("JOY1_BUTTON1"));
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("Joy 1 B1"));
    QCOMPARE(f.value(16), QString()); // SteeringLeft: keys only
}

void PanelTest::saveChangesOnlyTheEditedLines() {
    PanelFixture f;
    const QByteArray user = usersFile();
    QCOMPARE(user.count('\n'), 263);
    f.writeFile(kEmuIni, user);
    f.open();
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("A")); // the global Punch, not vf3's
    f.capture(12, Qt::Key_G);
    f.dialogs.answers << true;
    f.click(f.form.Command6);
    QCOMPARE(f.boxTexts().last(), written({f.path(kOwnIni), f.path(kEmuIni)}));
    // The working copy starts as the file read; both get the one line.
    for (const QString& file : {kOwnIni, kEmuIni})
        QCOMPARE(changedLines(user, f.readFile(file)),
                 QList<QByteArray>{"InputPunch = \"KEY_G,JOY1_BUTTON1\""});

    // Saved again with nothing edited, nothing changes.
    f.open();
    f.dialogs.answers << true;
    f.click(f.form.Command6);
    QCOMPARE(changedLines(user, f.readFile(kOwnIni)).size(), 1);
}

void PanelTest::savesIntoTheEmulatorsCopy_data() {
    QTest::addColumn<QString>("emulatorFolder");
    QTest::addColumn<QString>("emulatorCopy"); // the player's, there before
    QTest::addColumn<QString>("unmade");       // what must not be made
    QTest::newRow("its own folder") << "emu/"
                                    << "emu/Config/Supermodel.ini"
                                    << "";
    QTest::newRow("bin: the parent's Config") << "src/bin/"
                                              << "src/Config/Supermodel.ini"
                                              << "src/bin/Config";
    QTest::newRow("none there: none made") << "emu/"
                                           << ""
                                           << "emu/Config";
    QTest::newRow("bin, none in Config beside it") << "src/bin/"
                                                   << ""
                                                   << "src/Config/Supermodel.ini";
    QTest::newRow("bin without Config beside it") << "lone/bin/"
                                                  << ""
                                                  << "lone/bin/Config";
}

void PanelTest::savesIntoTheEmulatorsCopy() {
    QFETCH(QString, emulatorFolder);
    QFETCH(QString, emulatorCopy);
    QFETCH(QString, unmade);
    PanelFixture f;
    QDir().mkpath(f.path(QStringLiteral("src/Config")));
    QDir().mkpath(f.path(QStringLiteral("src/bin")));
    QDir().mkpath(f.path(QStringLiteral("lone/bin")));
    QDir().mkpath(f.path(QStringLiteral("emu")));
    f.writeFile(kOwnIni, firstStartFile());
    if (!emulatorCopy.isEmpty())
        f.writeFile(emulatorCopy, usersFile());
    f.form.Text4->setText(f.path(emulatorFolder));
    f.open();
    f.capture(0, Qt::Key_Z);
    f.click(f.form.Command6);
    QStringList saved{f.path(kOwnIni)};
    if (!emulatorCopy.isEmpty())
        saved << f.path(emulatorCopy);
    QCOMPARE(f.boxTexts().last(), written(saved));
    QCOMPARE(changedLines(firstStartFile(), f.readFile(kOwnIni)),
             QList<QByteArray>{"InputStart1 = \"KEY_Z,JOY1_BUTTON9\""});
    if (!emulatorCopy.isEmpty())
        QCOMPARE(changedLines(usersFile(), f.readFile(emulatorCopy)),
                 QList<QByteArray>{"InputStart1 = \"KEY_Z,JOY1_BUTTON9\""});
    if (!unmade.isEmpty())
        QVERIFY(!QFileInfo::exists(f.path(unmade)));
}

void PanelTest::aLinkedFileIsEditedThroughTheLink() {
    PanelFixture f;
    f.writeFile(QStringLiteral("mine/Supermodel.ini"), firstStartFile());
    QDir().mkpath(f.path(QStringLiteral("Config")));
    QVERIFY(QFile::link(f.path(QStringLiteral("mine/Supermodel.ini")), f.path(kOwnIni)));
    f.open();
    f.capture(0, Qt::Key_Z);
    f.click(f.form.Command6);
    QVERIFY(QFileInfo(f.path(kOwnIni)).isSymLink());
    QCOMPARE(changedLines(firstStartFile(), f.readFile(QStringLiteral("mine/Supermodel.ini"))),
             QList<QByteArray>{"InputStart1 = \"KEY_Z,JOY1_BUTTON9\""});
}

void PanelTest::badFilesAreShownReadOnly_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("NUL byte") << QByteArray("InputStart1 = \"KEY_5\"\n") + QByteArray(1, '\0');
    QTest::newRow("over 16 MiB") << QByteArray("InputStart1 = \"KEY_5\"\n") +
                                        QByteArray(emulator::kConfigFileLimit, ';');
}

void PanelTest::badFilesAreShownReadOnly() {
    QFETCH(QByteArray, file);
    PanelFixture f;
    f.writeFile(kOwnIni, file);
    f.open();
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QVERIFY(f.dialogs.boxes[0].text.startsWith(f.path(kOwnIni)));
    QVERIFY(f.panelOpen());
    f.capture(0, Qt::Key_Z);
    f.click(f.form.Command6);
    QCOMPARE(f.dialogs.boxes.last().text, QStringLiteral("File write failed: ") + f.path(kOwnIni));
    QCOMPARE(f.dialogs.boxes.last().title, QStringLiteral("Err"));
    QVERIFY(f.panelOpen());
    QCOMPARE(f.readFile(kOwnIni), file);
}

void PanelTest::firstCloseAsksAndLaterClosesDoNot() {
    PanelFixture f;
    f.open();
    f.dialogs.answers.enqueue(false);
    f.click(f.form.Image5);
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("save settings to ? Y/N"));
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Save message"));
    QVERIFY(f.dialogs.boxes[0].question);
    QVERIFY(!f.panelOpen());
    QVERIFY(f.form.Command3->isEnabled());
    for (QLabel* slot : f.form.Label1) {
        QCOMPARE(slot->text(), QString());
        QCOMPARE(ui::tag(slot), QString());
    }
    QVERIFY(!QFile::exists(f.path(kEmuIni)));

    f.open();
    f.click(f.form.Command4); // Restore is not an edit
    f.click(f.form.Image5);
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QVERIFY(!f.panelOpen());
}

void PanelTest::saveWritesTheWorkingCopyAndCloses() {
    PanelFixture f;
    f.open();
    f.click(f.form.Command6);
    QCOMPARE(f.boxTexts(), QStringList{written({f.path(kOwnIni)})});
    QCOMPARE(f.dialogs.boxes[0].title, QString()); // the application's name
    QCOMPARE(f.readFile(kOwnIni), defaultFile());
    QVERIFY(!QFileInfo::exists(f.path(QStringLiteral("Supermodel_0.1a_Win32/Config"))));
    QVERIFY(!f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QString());
    QCOMPARE(f.form.Label1[0]->text(), QString());

    // Reopening gives back every name and key.
    f.open();
    for (int i = 0; i < Form1::kSlotCount; ++i) {
        const auto& slot = bindings::kSlots[std::size_t(i)];
        QCOMPARE(ui::tag(f.form.Label1[std::size_t(i)]),
                 QString::fromLatin1(slot.inputName.data(), slot.inputName.size()));
        QCOMPARE(f.form.Label1[std::size_t(i)]->text(),
                 QString::fromLatin1(slot.defaultKey.data(), slot.defaultKey.size()));
    }
}

void PanelTest::noAtTheOverwriteQuestionKeepsEverything() {
    PanelFixture f;
    f.writeFile(kEmuIni, defaultFile());
    f.open();
    f.capture(3, Qt::Key_Z);
    f.dialogs.answers.enqueue(false);
    f.click(f.form.Command6);
    QCOMPARE(f.boxTexts(),
             QStringList{QStringLiteral(
                 "Is the keyboard configuration file to overwrite the original ? Y/N .. ")});
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Overwrite message"));
    QCOMPARE(f.readFile(kEmuIni), defaultFile());
    QVERIFY(!QFile::exists(f.path(kOwnIni)));
    QVERIFY(f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("3"));
    QCOMPARE(f.form.Label1[3]->text(), QStringLiteral("Z"));
}

void PanelTest::closeQuestionYesSavesAndNoDiscards() {
    {
        // Yes, then No at the overwrite question: the panel stays open.
        PanelFixture f;
        f.writeFile(kEmuIni, defaultFile());
        f.open();
        f.capture(0, Qt::Key_Q);
        f.dialogs.answers << true << false;
        f.click(f.form.Image5);
        QVERIFY(f.panelOpen());
        QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("0"));
        QCOMPARE(f.readFile(kEmuIni), defaultFile());

        // Yes and Yes: written, reported, closed without a third question.
        f.dialogs.answers << true << true;
        f.click(f.form.Image5);
        QVERIFY(!f.panelOpen());
        QCOMPARE(f.dialogs.boxes.size(), 5);
        QCOMPARE(f.dialogs.boxes.last().text, written({f.path(kOwnIni), f.path(kEmuIni)}));
        QVERIFY(f.readFile(kEmuIni).contains("InputStart1 = \"Q\"\r\n"));
    }
    {
        PanelFixture f;
        f.open();
        f.capture(0, Qt::Key_Q);
        f.dialogs.answers << false;
        f.click(f.form.Image5);
        QVERIFY(!f.panelOpen());
        QVERIFY(!QFile::exists(f.path(kEmuIni)));
        f.open();
        QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("1"));
    }
}

void PanelTest::failedWriteKeepsThePanelAndItsEdits() {
    PanelFixture f;
    f.open();
    f.capture(5, Qt::Key_K);
    // A folder where the working copy belongs: it cannot be written.
    QVERIFY(QDir().mkpath(f.path(kOwnIni)));
    f.click(f.form.Command6);
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("File write failed: ") + f.path(kOwnIni));
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
    QVERIFY(f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("5"));
    QCOMPARE(f.form.Label1[5]->text(), QStringLiteral("K"));

    // The emulator's copy is a folder: the working copy, written first,
    // stays saved.
    QVERIFY(QDir().rmdir(f.path(kOwnIni)));
    QDir().mkpath(f.path(kEmuIni));
    f.click(f.form.Command6);
    QCOMPARE(f.dialogs.boxes.size(), 2);
    QCOMPARE(f.dialogs.boxes[1].text, QStringLiteral("File write failed: ") + f.path(kEmuIni));
    QCOMPARE(f.dialogs.boxes[1].title, QStringLiteral("Err"));
    QVERIFY(f.panelOpen());
    QVERIFY(f.readFile(kOwnIni).contains("InputServiceB = \"K\"\r\n"));
}

void PanelTest::saveOnAFullDiskSaysSoAndKeepsTheOldFile() {
    PanelFixture f;
    FullDisk disk;
    MOUNT_FULL_DISK(disk, f.path(QStringLiteral("Supermodel_0.1a_Win32/Config")));
    f.writeFile(kEmuIni, defaultFile());
    f.open();
    f.capture(0, Qt::Key_Q);
    disk.fill();
    f.click(f.form.Command6);

    QCOMPARE(f.boxTexts().size(), 2); // the overwrite question, then the failure
    QCOMPARE(f.dialogs.boxes[1].text, QStringLiteral("File write failed: ") + f.path(kEmuIni));
    QCOMPARE(f.dialogs.boxes[1].title, QStringLiteral("Err"));
    QCOMPARE(f.readFile(kEmuIni), defaultFile());
    QVERIFY(f.readFile(kOwnIni).contains("InputStart1 = \"Q\"\r\n"));
    QVERIFY(f.panelOpen());
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("Q"));
}

void PanelTest::hugeValuesAreShownCutAndKeptWhole() {
    PanelFixture f;
    QByteArray file = defaultFile();
    file.replace("InputStart1 = \"1\"", "InputStart1 = \"" + QByteArray(4 << 20, 'K') + '"');
    f.writeFile(kEmuIni, file);
    f.open();
    QCOMPARE(f.form.Label1[0]->text(), QString(4096, u'K'));
    QCOMPARE(f.form.Label1[1]->text(), QStringLiteral("2")); // the next lines still read
    QVERIFY(!f.form.Label1[0]->grab().isNull());             // and it can be drawn

    f.click(f.form.Command6); // not edited: the value stays whole
    QCOMPARE(f.readFile(kOwnIni), file);
    QCOMPARE(f.readFile(kEmuIni), file);
}

void PanelTest::sameFileIsNeverCopiedOntoItself() {
    for (const QString& spelling :
         {QStringLiteral("./"), QStringLiteral("/./"), QStringLiteral("link/")}) {
        PanelFixture f;
        QFile::link(f.folder().chopped(1), f.path(QStringLiteral("link")));
        f.open();
        // The emulator folder names the program folder in another spelling.
        f.form.Text4->setText(spelling == QStringLiteral("/./")
                                  ? f.folder().chopped(1) + QStringLiteral("//./")
                                  : f.folder() + spelling);
        f.dialogs.answers << true;
        f.click(f.form.Command6);
        QVERIFY2(f.boxTexts().last().startsWith(QStringLiteral("File write successful ..")),
                 qPrintable(spelling));
        QCOMPARE(f.readFile(kOwnIni), defaultFile());
    }
}

void PanelTest::inputSetUpNeedsTheEmulator() {
    PanelFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.open();
    const QString program = f.form.Text4->text() + QLatin1String(emulator::kEmulatorProgram);
    f.click(f.form.Command7);
    QCOMPARE(ui::tag(f.form.Command1), u'"' + program + QStringLiteral("\" -config-inputs"));
    QCOMPARE(f.boxTexts(),
             QStringList{QStringLiteral("Emu Error ...\nThe Emu Path folder has no supermodel "
                                        "program: ") +
                         program});
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
    QVERIFY(f.panelOpen());
    QVERIFY(f.launcher.starts.isEmpty());

    f.writeFile(f.emulatorFile(), "#!/bin/sh\n");
    f.dialogs.answers << false; // the first close asks
    f.click(f.form.Command7);
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].program, program);
    QCOMPARE(f.launcher.starts[0].arguments, QStringList{QStringLiteral("-config-inputs")});
    QCOMPARE(f.launcher.starts[0].state, emulator::WindowState::Normal);
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QCOMPARE(f.dialogs.boxes.last().text, QStringLiteral("save settings to ? Y/N"));
    QVERIFY(f.panelOpen());
}

void PanelTest::setUpLocksThePanelAndShowsWhatItPrints() {
    PanelFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.writeFile(f.emulatorFile(), "#!/bin/sh\n");
    const QByteArray file = "InputStart1 = \"KEY_9\"\n";
    f.writeFile(kOwnIni, file);
    f.open();
    f.form.List2->setCurrentRow(0);
    f.click(f.form.page().Command8); // its game page: locked as well
    f.dialogs.answers << false;      // the first close asks
    f.click(f.form.Command7);
    QCOMPARE(f.launcher.starts.size(), 1);
    QVERIFY(f.panelOpen());
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    const ui::SetupView& view = f.form.setupView();
    QVERIFY(view.Picture5->isVisible());
    QCOMPARE(view.Label10->text(), emulator::kSetupRunsLine);

    // As the real one: its help, then a prompt without a line end, and it waits.
    const QString prompt =
        QStringLiteral(" P1 Start [KEY_1,JOY1_BUTTON9]: Ret/c/s/a/r/Down/h/b/q/Esc? ");
    f.launcher.print(QStringLiteral("Configure Inputs\n----------------\n\nCommon Controls:\n"));
    f.launcher.print(prompt);
    QVERIFY2(view.Text8->toPlainText().endsWith(QStringLiteral("Common Controls:\n") + prompt),
             qPrintable(view.Text8->toPlainText()));

    // Nothing edits the panel meanwhile, and a click on the output leaves
    // the focus where it was.
    const qsizetype boxes = f.dialogs.boxes.size();
    QWidget* focused = f.form.focusWidget();
    QTest::mouseClick(view.Text8->viewport(), Qt::LeftButton);
    QCOMPARE(f.form.focusWidget(), focused);
    QTest::mouseDClick(f.form.Label1[0], Qt::LeftButton);
    QTest::mouseDClick(f.form.page().Label7[0], Qt::LeftButton);
    for (QWidget* w :
         {static_cast<QWidget*>(f.form.Command4), static_cast<QWidget*>(f.form.Command5),
          static_cast<QWidget*>(f.form.Command6), static_cast<QWidget*>(f.form.Image5)})
        f.click(w);
    QVERIFY(f.panelOpen());
    QVERIFY(f.form.Text6->isHidden());
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("9"));
    QCOMPARE(ui::tag(f.form.Picture3), QString());
    QCOMPARE(f.dialogs.boxes.size(), boxes);
    QCOMPARE(f.readFile(kOwnIni), file);
    QVERIFY(f.form.Command6->toolTip().contains(QStringLiteral("rewrites the whole")));

    // It rewrites the file and ends: the panel shows the file, asks nothing.
    f.writeFile(kOwnIni, "InputStart1 = KEY_5\n");
    f.launcher.print(QStringLiteral("\nConfiguration successfully saved.\n"));
    f.launcher.finish(0);
    QVERIFY(view.Picture5->isHidden());
    QVERIFY(f.form.Command6->isEnabled());
    QCOMPARE(f.form.Command6->toolTip(), QString());
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("5"));
    QVERIFY(f.form.Label1[0]->isEnabled() && f.form.page().Label7[0]->isEnabled());
    f.click(f.form.Image5);
    QVERIFY(!f.panelOpen());
    QCOMPARE(f.dialogs.boxes.size(), boxes);
}

void PanelTest::setUpStartsOnTheSavedEdits() {
    // The set-up as the emulator runs it: it reads the file as it starts and
    // writes it whole, from what it read plus a line of its own, as it ends.
    PanelFixture f;
    f.writeFile(f.emulatorFile(), "#!/bin/sh\n");
    f.writeFile(kOwnIni, firstStartFile());
    QByteArray read;
    f.launcher.onStart = [&] { read = f.readFile(kOwnIni); };
    f.open();
    f.capture(12, Qt::Key_Z);
    f.dialogs.answers << true; // save first
    f.click(f.form.Command7);
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(changedLines(firstStartFile(), read),
             QList<QByteArray>{"InputPunch = \"KEY_Z,JOY1_BUTTON1\""});
    QCOMPARE(f.boxTexts(),
             (QStringList{QStringLiteral("save settings to ? Y/N"), written({f.path(kOwnIni)})}));
    // The panel stays, showing what was saved, with nothing unsaved.
    QVERIFY(f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QString());
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("Z"));

    read.replace("KEY_Z", "KEY_X");
    f.writeFile(kOwnIni, read + "InputSetUpDone = 1\n");
    f.launcher.finish(0);
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("X"));
    QVERIFY(f.readFile(kOwnIni).endsWith("InputSetUpDone = 1\n"));
}

void PanelTest::setUpWaitsForASaveThatFails_data() {
    QTest::addColumn<bool>("readOnly"); // else No at the overwrite question
    QTest::newRow("read-only folder") << true;
    QTest::newRow("overwrite declined") << false;
}

void PanelTest::setUpWaitsForASaveThatFails() {
    QFETCH(bool, readOnly);
    PanelFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.writeFile(f.emulatorFile(), "#!/bin/sh\n");
    f.writeFile(kEmuIni, defaultFile());
    f.open();
    f.capture(12, Qt::Key_Z);
    std::optional<ReadOnlyFolder> folder;
    if (readOnly && !folder.emplace(f.path(QStringLiteral("Config"))).works())
        QSKIP("no read-only folder can be made here");
    f.dialogs.answers << true << readOnly; // save first; overwrite
    f.click(f.form.Command7);
    QVERIFY(f.launcher.starts.isEmpty());
    QVERIFY(f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("12"));
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("Z"));
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QVERIFY(f.form.Command6->isEnabled());
    if (readOnly)
        QCOMPARE(f.boxTexts().last(), QStringLiteral("File write failed: ") + f.path(kOwnIni));
    QCOMPARE(f.readFile(kEmuIni), defaultFile());
}

void PanelTest::refusedPlacesAreNamed_data() {
    QTest::addColumn<QString>("refused");  // the copy whose write fails
    QTest::addColumn<bool>("pipeForLock"); // a named pipe where its lock goes
    QTest::newRow("a named pipe as the working copy") << kOwnIni << false;
    QTest::newRow("the emulator's copy saved by another copy") << kEmuIni << false;
    QTest::newRow("a named pipe where the emulator's copy's lock goes") << kEmuIni << true;
}

void PanelTest::refusedPlacesAreNamed() {
    QFETCH(QString, refused);
    QFETCH(bool, pipeForLock);
    PanelFixture f;
    f.writeFile(kEmuIni, defaultFile());
    QDir().mkpath(f.path(QStringLiteral("Config")));
    platform::SaveLock held(f.path(kEmuIni));
    const QString lock = platform::SaveLock::pathFor(f.path(kEmuIni));
    if (refused == kOwnIni)
        QVERIFY(::mkfifo(QFile::encodeName(f.path(kOwnIni)).constData(), 0644) == 0);
    else if (pipeForLock)
        QVERIFY(::mkfifo(QFile::encodeName(lock).constData(), 0644) == 0);
    else
        QCOMPARE(held.acquire(0), platform::SaveLock::Outcome::Locked);
    f.open();
    f.capture(0, Qt::Key_Q);
    f.click(f.form.Command6);
    QCOMPARE(f.boxTexts().last(),
             QStringLiteral("File write failed: ") + f.path(refused) +
                 (pipeForLock ? u'\n' + lock +
                                    QStringLiteral(" is a named pipe, where its lock goes: nothing "
                                                   "is saved while it is there.")
                              : QString()));
    QCOMPARE(f.dialogs.boxes.last().title, QStringLiteral("Err"));
    QVERIFY(f.panelOpen());
    QCOMPARE(f.readFile(kEmuIni), defaultFile());
    if (refused == kOwnIni)
        QCOMPARE(platform::placeAt(f.path(kOwnIni)), platform::Place::Pipe);
}

void PanelTest::failedInputSetUpStartIsReported() {
    PanelFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.writeFile(f.emulatorFile(), "x");
    f.launcher.succeeds = false;
    f.open();
    f.dialogs.answers << false; // the first close asks, before the start
    f.click(f.form.Command7);
    QCOMPARE(f.boxTexts(), (QStringList{QStringLiteral("save settings to ? Y/N"),
                                        QStringLiteral("Emu Error ...\nThe emulator could not be "
                                                       "started: ") +
                                            f.path(f.emulatorFile())}));
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QVERIFY(f.form.Command6->isEnabled());
    QVERIFY(f.form.setupView().Picture5->isHidden());
}

void PanelTest::closingEndsACaptureAndTheWalk() {
    PanelFixture f;
    f.open();
    f.click(f.form.Command5);
    QVERIFY(!f.form.Text6->isHidden());
    QCOMPARE(ui::tag(f.form.Command5), QStringLiteral("1"));
    f.dialogs.answers << false;
    f.click(f.form.Image5);
    QVERIFY(f.form.Text6->isHidden());
    QCOMPARE(ui::tag(f.form.Command5), QString());
    QCOMPARE(f.form.Label3->text(), QString());

    // Reopened, nothing is pending: a double-click starts a fresh capture.
    f.open();
    QVERIFY(f.form.Text6->isHidden());
}

void PanelTest::earlierMouseNamesReadAndWrittenBack() {
    // A file written before the emulator's mouse names were used.
    QByteArray earlier = kDefaultInputFile;
    earlier.replace("MOUSE_LEFT_BUTTON", "MouseLeft");
    earlier.replace("MOUSE_RIGHT_BUTTON", "MouseRight");
    earlier.replace("InputStart1 = \"1\"", "InputStart1 = \"ScorollLock\"");
    QVERIFY(earlier.contains("\"MouseLeft\""));
    PanelFixture f;
    f.writeFile(kEmuIni, earlier);
    f.open();
    QCOMPARE(f.form.Label1[47]->text(), QStringLiteral("MouseLeft"));
    QCOMPARE(f.form.Label1[48]->text(), QStringLiteral("MouseRight"));
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("ScrollLock"));

    f.dialogs.answers << true; // overwrite
    f.click(f.form.Command6);
    QByteArray expected = kDefaultInputFile;
    expected.replace("InputStart1 = \"1\"", "InputStart1 = \"ScrollLock\"");
    QCOMPARE(f.readFile(kEmuIni), expected);

    // Read back, the slots show what they showed.
    f.open();
    QCOMPARE(f.form.Label1[47]->text(), QStringLiteral("MouseLeft"));
    QCOMPARE(f.form.Label1[48]->text(), QStringLiteral("MouseRight"));
}

QTEST_MAIN(PanelTest)
#include "test_panel.moc"
