// The binding panel's life: opening from the emulator's input file or the
// defaults, Save with its questions and failures, closing, and the
// emulator's own input set-up.

#include "support/DefaultInputFile.h"
#include "support/Fakes.h"
#include "support/FullDisk.h"
#include "support/ReadOnlyFolder.h"
#include "support/UsersFile.h"

#include "bindings/SlotTable.h"
#include "emulator/CommandLine.h"
#include "emulator/ConfigFile.h"
#include "emulator/InputFile.h"
#include "emulator/Launch.h"
#include "platform/Files.h"
#include "platform/SaveLock.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/SlotState.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QLineEdit>
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

struct PanelFixture : FrontEndFixture {
    PanelFixture() {
        QDir().mkpath(path(QStringLiteral("Supermodel_0.1a_Win32")));
        frontend.start();
    }
    void open() { QTest::mouseClick(form.Command3, Qt::LeftButton); }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    bool panelOpen() const { return !form.Picture3->isHidden(); }
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
    void openingWithoutAFileShowsTheDefaults();
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
    void setUpDisablesSaveUntilItEnds();
    void setUpStartsOnTheSavedEdits();
    void setUpWaitsForASaveThatFails_data();
    void setUpWaitsForASaveThatFails();
    void refusedPlacesAreNamed_data();
    void refusedPlacesAreNamed();
    void firstCloseAsksAndLaterClosesDoNot();
    void saveWritesBothCopiesAndCloses();
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

void PanelTest::openingWithoutAFileShowsTheDefaults() {
    PanelFixture f;
    f.open();
    QVERIFY(f.panelOpen());
    QVERIFY(!f.form.Command3->isEnabled());
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("1"));
    QCOMPARE(ui::tag(f.form.Label1[0]), QStringLiteral("Start1"));
    QCOMPARE(f.form.Label1[48]->text(), QStringLiteral("MouseRight"));
    QVERIFY(f.dialogs.boxes.isEmpty());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("b")); // opening changes no mark
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
    QCOMPARE(ui::slotValue(f.form.Label1[0]), QStringLiteral("KEY_8,JOY1_BUTTON9"));
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
    QCOMPARE(ui::slotValue(f.form.Label1[13]), QStringLiteral("KEY_S,JOY1_BUTTON2"));
    QVERIFY(f.form.Label1[13]->toolTip().contains(QStringLiteral("built-in")));
    QCOMPARE(ui::slotValue(f.form.Label1[42]), QStringLiteral("KEY_S,JOY1_BUTTON6"));
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
    emulator::Launch(f.form, f.launcher, f.dialogs);
    QCOMPARE(f.launcher.starts.size(), 1);
    const QByteArray imported = f.readFile(read);
    QCOMPARE(f.readFile(kOwnIni), imported);
    f.writeFile(read, "InputStart1 = \"KEY_9\"\n");
    emulator::Launch(f.form, f.launcher, f.dialogs);
    QCOMPARE(f.readFile(kOwnIni),
             read == kOwnIni ? QByteArray("InputStart1 = \"KEY_9\"\n") : imported);
}

void PanelTest::captureAndRestoreKeepJoysticks() {
    PanelFixture f;
    f.writeFile(kOwnIni, firstStartFile());
    f.open();
    f.capture(47, Qt::Key_G); // Trigger: KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON
    QCOMPARE(ui::slotValue(f.form.Label1[47]), QStringLiteral("KEY_G,JOY1_BUTTON1"));
    QCOMPARE(f.form.Label1[47]->text(), QStringLiteral("G"));
    QVERIFY(ui::slotEdited(f.form.Label1[47]));
    QVERIFY(!ui::slotEdited(f.form.Label1[46]));
    f.click(f.form.Command4); // Restore: the default key, the joystick stays
    QCOMPARE(ui::slotValue(f.form.Label1[47]), QStringLiteral("MOUSE_LEFT_BUTTON,JOY1_BUTTON1"));
    QCOMPARE(ui::slotValue(f.form.Label1[0]), QStringLiteral("KEY_1,JOY1_BUTTON9"));
    f.click(f.form.Command5); // All over again: keys out, joysticks stay
    QCOMPARE(ui::slotValue(f.form.Label1[12]), QStringLiteral("JOY1_BUTTON1"));
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("Joy 1 B1"));
    QCOMPARE(ui::slotValue(f.form.Label1[16]), QString()); // SteeringLeft: keys only
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
    QVERIFY(f.boxTexts().contains(QStringLiteral("File write successful ..")));
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
    QTest::addColumn<QString>("emulatorCopy"); // empty: none is made
    QTest::newRow("its own folder") << "emu/"
                                    << "emu/Config/Supermodel.ini";
    QTest::newRow("bin: the parent's Config") << "src/bin/"
                                              << "src/Config/Supermodel.ini";
    QTest::newRow("bin without Config beside it: none") << "lone/bin/"
                                                        << "";
}

void PanelTest::savesIntoTheEmulatorsCopy() {
    QFETCH(QString, emulatorFolder);
    QFETCH(QString, emulatorCopy);
    PanelFixture f;
    QDir().mkpath(f.path(QStringLiteral("src/Config")));
    QDir().mkpath(f.path(QStringLiteral("src/bin")));
    QDir().mkpath(f.path(QStringLiteral("lone/bin")));
    QDir().mkpath(f.path(QStringLiteral("emu")));
    f.writeFile(kOwnIni, firstStartFile());
    f.form.Text4->setText(f.path(emulatorFolder));
    f.open();
    f.capture(0, Qt::Key_Z);
    f.click(f.form.Command6);
    QVERIFY(f.boxTexts().contains(QStringLiteral("File write successful ..")));
    const QByteArray saved = f.readFile(kOwnIni);
    QCOMPARE(changedLines(firstStartFile(), saved),
             QList<QByteArray>{"InputStart1 = \"KEY_Z,JOY1_BUTTON9\""});
    if (emulatorCopy.isEmpty())
        QVERIFY(!QFileInfo::exists(f.path(emulatorFolder + QStringLiteral("Config"))));
    else
        QCOMPARE(f.readFile(emulatorCopy), saved); // a new copy starts as the working copy
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

void PanelTest::saveWritesBothCopiesAndCloses() {
    PanelFixture f;
    f.open();
    f.click(f.form.Command6);
    QCOMPARE(f.boxTexts(), QStringList{QStringLiteral("File write successful ..")});
    QCOMPARE(f.dialogs.boxes[0].title, QString()); // the application's name
    QCOMPARE(f.readFile(kEmuIni), defaultFile());
    QCOMPARE(f.readFile(kOwnIni), defaultFile());
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
        QCOMPARE(f.dialogs.boxes.last().text, QStringLiteral("File write successful .."));
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
    // An emulator folder that does not exist: its "Config" cannot be made.
    f.form.Text4->setText(f.folder() + QStringLiteral("missing/deeper/"));
    f.click(f.form.Command6);
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("File write failed: ") +
                                          f.path(QStringLiteral("missing/deeper/") + kOwnIni));
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
    QVERIFY(!f.boxTexts().contains(QStringLiteral("File write successful ..")));
    QVERIFY(f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("5"));
    QCOMPARE(f.form.Label1[5]->text(), QStringLiteral("K"));
    // The working copy, written first, stays saved.
    QVERIFY(f.readFile(kOwnIni).contains("InputServiceB = \"K\"\r\n"));

    // "Config" existing as a file fails the same way.
    f.form.Text4->setText(f.folder() + QStringLiteral("Supermodel_0.1a_Win32/"));
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config"), "file");
    f.click(f.form.Command6);
    QCOMPARE(f.dialogs.boxes.size(), 2);
    QCOMPARE(f.dialogs.boxes[1].title, QStringLiteral("Err"));
    QVERIFY(f.panelOpen());
    QCOMPARE(f.readFile(QStringLiteral("Supermodel_0.1a_Win32/Config")), QByteArray("file"));
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
        QVERIFY2(f.boxTexts().contains(QStringLiteral("File write successful ..")),
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
    QCOMPARE(f.boxTexts(), QStringList{QStringLiteral("Emu Error ...")});
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
    QVERIFY(f.form.windowState() & Qt::WindowMinimized);
    QCOMPARE(f.dialogs.boxes.last().text, QStringLiteral("save settings to ? Y/N"));
    QVERIFY(!f.panelOpen());
}

void PanelTest::setUpDisablesSaveUntilItEnds() {
    PanelFixture f;
    f.writeFile(f.emulatorFile(), "#!/bin/sh\n");
    f.writeFile(kOwnIni, "InputStart1 = \"KEY_1\"\n");
    f.open();
    f.dialogs.answers << false; // the first close asks
    f.click(f.form.Command7);
    QCOMPARE(f.launcher.starts.size(), 1);
    QVERIFY(!f.form.Command6->isEnabled());
    QVERIFY(f.form.Command6->toolTip().contains(QStringLiteral("rewrites the whole")));

    // Opened meanwhile, the panel shows the file; the set-up then rewrites it.
    f.open();
    f.writeFile(kOwnIni, "InputStart1 = KEY_5\n");
    f.launcher.finish(0);
    QVERIFY(f.form.Command6->isEnabled());
    QCOMPARE(f.form.Command6->toolTip(), QString());
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("5"));
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
    QCOMPARE(f.boxTexts(), (QStringList{QStringLiteral("save settings to ? Y/N"),
                                        QStringLiteral("File write successful ..")}));
    QVERIFY(!f.panelOpen());

    f.writeFile(kOwnIni, read + "InputSetUpDone = 1\n");
    f.launcher.finish(0);
    f.open();
    QCOMPARE(f.form.Label1[12]->text(), QStringLiteral("Z"));
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
    QTest::addColumn<QString>("refused"); // the copy whose write fails
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
                                        QStringLiteral("Emu Error ...")}));
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QVERIFY(f.form.Command6->isEnabled());
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
