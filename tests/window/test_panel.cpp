// The binding panel's life: opening from the emulator's input file or the
// defaults, Save with its questions and failures, closing, and the
// emulator's own input set-up.

#include "support/DefaultInputFile.h"
#include "support/Fakes.h"
#include "support/FullDisk.h"

#include "bindings/SlotTable.h"
#include "emulator/CommandLine.h"
#include "emulator/InputFile.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
    void openingReadsTheFileInOrder();
    void firstCloseAsksAndLaterClosesDoNot();
    void saveWritesBothCopiesAndCloses();
    void noAtTheOverwriteQuestionKeepsEverything();
    void closeQuestionYesSavesAndNoDiscards();
    void failedWriteKeepsThePanelAndItsEdits();
    void saveOnAFullDiskSaysSoAndKeepsTheOldFile();
    void hugeKeysAreCutShownAndSavedCut();
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

void PanelTest::openingReadsTheFileInOrder() {
    PanelFixture f;
    // CR alone ends lines; a comment with "Input" counts; a line without a
    // quote gives an empty key.
    f.writeFile(kEmuIni, "; header\r[ Global ]\rInputStart1 = \"9\"\r; Input note \"x\" here\r  "
                         "InputCoin1 = \"Up\"\rInputBare\r");
    f.open();
    QCOMPARE(ui::tag(f.form.Label1[0]), QStringLiteral("Start1"));
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("9"));
    QCOMPARE(ui::tag(f.form.Label1[1]), QStringLiteral(";  note"));
    QCOMPARE(f.form.Label1[1]->text(), QStringLiteral("x"));
    QCOMPARE(ui::tag(f.form.Label1[2]), QStringLiteral("  Coin1"));
    QCOMPARE(f.form.Label1[2]->text(), QStringLiteral("Up"));
    QCOMPARE(ui::tag(f.form.Label1[3]), QStringLiteral("Bare"));
    QCOMPARE(f.form.Label1[3]->text(), QString());
    QCOMPARE(f.form.Label1[4]->text(), QString()); // short file: the rest stay empty
    QCOMPARE(ui::tag(f.form.Label1[48]), QString());
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
    f.form.Label1[3]->setText(QStringLiteral("Z"));
    ui::setTag(f.form.Picture3, QStringLiteral("3"));
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
        f.form.Label1[0]->setText(QStringLiteral("Q"));
        f.dialogs.answers << true << false;
        f.click(f.form.Image5);
        QVERIFY(f.panelOpen());
        QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("b"));
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
        f.form.Label1[0]->setText(QStringLiteral("Q"));
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
    f.form.Label1[5]->setText(QStringLiteral("K"));
    ui::setTag(f.form.Picture3, QStringLiteral("5"));
    // An emulator folder that does not exist: its "Config" cannot be made.
    f.form.Text4->setText(f.folder() + QStringLiteral("missing/deeper/"));
    f.click(f.form.Command6);
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
    QVERIFY(!f.boxTexts().contains(QStringLiteral("File write successful ..")));
    QVERIFY(f.panelOpen());
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("5"));
    QCOMPARE(f.form.Label1[5]->text(), QStringLiteral("K"));
    QVERIFY(!QFile::exists(f.path(kOwnIni)));

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
    f.form.Label1[0]->setText(QStringLiteral("Q"));
    ui::setTag(f.form.Picture3, QStringLiteral("0"));
    disk.fill();
    f.click(f.form.Command6);

    QCOMPARE(f.boxTexts().size(), 2); // the overwrite question, then the failure
    QCOMPARE(f.dialogs.boxes[1].text, QStringLiteral("File write failed: ") + f.path(kEmuIni));
    QCOMPARE(f.dialogs.boxes[1].title, QStringLiteral("Err"));
    QCOMPARE(f.readFile(kEmuIni), defaultFile());
    QVERIFY(!QFile::exists(f.path(kOwnIni)));
    QVERIFY(f.panelOpen());
    QCOMPARE(f.form.Label1[0]->text(), QStringLiteral("Q"));
}

void PanelTest::hugeKeysAreCutShownAndSavedCut() {
    PanelFixture f;
    QByteArray file = defaultFile();
    file.replace("InputStart1 = \"1\"", "InputStart1 = \"" + QByteArray(4 << 20, 'K') + '"');
    f.writeFile(kEmuIni, file);
    f.open();
    const QString cut(emulator::kLongestKeyName, u'K');
    QCOMPARE(f.form.Label1[0]->text(), cut);
    QCOMPARE(f.form.Label1[1]->text(), QStringLiteral("2")); // the next lines still read
    QVERIFY(!f.form.Label1[0]->grab().isNull());             // and it can be drawn

    f.click(f.form.Command6);
    QVERIFY(f.readFile(kEmuIni).contains("InputStart1 = \"" + cut.toLatin1() + "\"\r\n"));
    QCOMPARE(f.readFile(kEmuIni).size(), defaultFile().size() - 1 + cut.size());
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

    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/") +
                    QLatin1String(emulator::kEmulatorProgram),
                "#!/bin/sh\n");
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

void PanelTest::failedInputSetUpStartIsReported() {
    PanelFixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    f.writeFile(
        QStringLiteral("Supermodel_0.1a_Win32/") + QLatin1String(emulator::kEmulatorProgram), "x");
    f.launcher.succeeds = false;
    f.open();
    f.click(f.form.Command7);
    QCOMPARE(f.boxTexts(), QStringList{QStringLiteral("Emu Error ...")});
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QVERIFY(f.panelOpen());
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
