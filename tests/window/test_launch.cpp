// Starting the emulator on the selected game: the launch button and the
// double-click on the list, with the test launcher and message boxes.

#include "support/Fakes.h"

#include "emulator/CommandLine.h"
#include "emulator/Launch.h"
#include "ui/CheckBox.h"
#include "ui/GameList.h"
#include "ui/Notice.h"
#include "ui/Tag.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using ui::Form1;

namespace {

// A front-end whose emulator and some archives exist, started and shown.
struct LaunchFixture : FrontEndFixture {
    explicit LaunchFixture(bool withEmulator = true, QStringList archives = {"vf3", "eca"}) {
        QDir().mkpath(path(QStringLiteral("Roms")));
        for (const QString& set : archives)
            writeFile(QStringLiteral("Roms/") + set + QStringLiteral(".zip"), "z");
        if (withEmulator)
            writeFile(emulatorFile(), "#!/bin/sh\n");
        frontend.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

    QString emulatorPath() const { return path(emulatorFile()); }

    void doubleClickRow(int row) {
        form.List2->scrollToItem(form.List2->item(row));
        const QPoint at = form.List2->visualItemRect(form.List2->item(row)).center();
        QTest::mouseClick(form.List2->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form.List2->viewport(), Qt::LeftButton, {}, at);
    }
};

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void launchButtonStartsTheSelectedGame();
    void tickedOptionsJoinTheLine();
    void failedStartIsReportedAndTheWindowComesBack();
    void doubleClickChecksTheEmulatorThenTheArchive();
    void doubleClickWithEverythingPresentLaunches();
    void tagKeepsTheLastLineUntilTheNextLaunch();
    void noSecondLaunchWhileARunGoesOn_data();
    void noSecondLaunchWhileARunGoesOn();
    void endOfARun_data();
    void endOfARun();
    void launchBringsTheInstallationFiles();
    void failedCopyIsToldAndNothingStarts();
    void playerFilesComeAlongAndWhatIsLeftIsToldFirst();
};

void LaunchTest::launchButtonStartsTheSelectedGame() {
    LaunchFixture f;
    f.form.List2->setCurrentRow(0);
    QVERIFY(f.form.Command1->isEnabled());
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);

    const QString rom = f.folder() + QStringLiteral("Roms/vf3.zip");
    QCOMPARE(ui::tag(f.form.Command1), u'"' + f.emulatorPath() + QStringLiteral("\" \"") + rom +
                                           QStringLiteral("\" -res=640,480    "));
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].program, f.emulatorPath());
    QCOMPARE(f.launcher.starts[0].arguments, (QStringList{rom, QStringLiteral("-res=640,480")}));
    QCOMPARE(f.launcher.starts[0].state, emulator::WindowState::Minimized);
    // It runs in the program folder, where its Config/, NVRAM/ and Saves/ are.
    QCOMPARE(f.launcher.starts[0].workingFolder, f.folder());
    QVERIFY(f.form.windowState() & Qt::WindowMinimized);
    QVERIFY(f.dialogs.boxes.isEmpty());
}

void LaunchTest::tickedOptionsJoinTheLine() {
    LaunchFixture f;
    f.form.List2->setCurrentRow(0);
    f.form.Check1->setValue(1);
    f.form.Check2->setValue(2); // grey counts as off
    f.form.Check3->setValue(1);
    f.form.Check4->setValue(1);
    f.form.Text7->setText(QStringLiteral("66"));
    f.form.Text1->setText(QStringLiteral("1024"));
    f.form.Text3->setText(QStringLiteral("abc"));
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QVERIFY(
        ui::tag(f.form.Command1)
            .endsWith(QStringLiteral(" -res=1024,abc -ppc-frequency=66 -show-fps  -no-throttle")));
    QCOMPARE(f.launcher.starts[0].arguments.mid(1),
             (QStringList{"-res=1024,abc", "-ppc-frequency=66", "-show-fps", "-no-throttle"}));
}

void LaunchTest::failedStartIsReportedAndTheWindowComesBack() {
    LaunchFixture f;
    f.launcher.succeeds = false;
    f.form.List2->setCurrentRow(0);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QCOMPARE(f.launcher.starts.size(), 1);
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text,
             QStringLiteral("Emu Error ...\nThe emulator could not be started: ") +
                 f.emulatorPath());
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
    QVERIFY(!ui::tag(f.form.Command1).isEmpty());
}

void LaunchTest::doubleClickChecksTheEmulatorThenTheArchive() {
    {
        // Neither emulator nor archive: the emulator is named first.
        LaunchFixture f(false, {});
        f.doubleClickRow(3);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text,
                 QStringLiteral("Emu Error ...\nEmu Path is not a folder: there is nothing at ") +
                     f.path(QStringLiteral("Supermodel_0.1a_Win32/")));
        QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
        QVERIFY(f.launcher.starts.isEmpty());
        QCOMPARE(ui::tag(f.form.Command1), QString());
    }
    {
        LaunchFixture f(true, {"vf3"});
        f.doubleClickRow(3);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("Scud Race Plus Rom Error ..."));
        QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
        QVERIFY(f.launcher.starts.isEmpty());
        QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    }
}

void LaunchTest::doubleClickWithEverythingPresentLaunches() {
    LaunchFixture f;
    f.doubleClickRow(0);
    QCOMPARE(f.form.List2->currentRow(), 0);
    QVERIFY(f.dialogs.boxes.isEmpty());
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].arguments.first(), f.folder() + QStringLiteral("Roms/vf3.zip"));
    QVERIFY(f.form.windowState() & Qt::WindowMinimized);
}

void LaunchTest::tagKeepsTheLastLineUntilTheNextLaunch() {
    LaunchFixture f;
    f.form.List2->setCurrentRow(15);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    const QString first = ui::tag(f.form.Command1);
    QVERIFY(first.contains(QStringLiteral("eca.zip")));
    f.form.showNormal();
    f.form.List2->setCurrentRow(0);
    f.form.Check1->setValue(1);
    QCOMPARE(ui::tag(f.form.Command1), first);
    f.launcher.finish(0);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QVERIFY(ui::tag(f.form.Command1).contains(QStringLiteral("vf3.zip")));
    QCOMPARE(f.launcher.starts.size(), 2);
}

void LaunchTest::noSecondLaunchWhileARunGoesOn_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("again");
    QTest::newRow("button, then button") << "button"
                                         << "button";
    QTest::newRow("button, then the list") << "button"
                                           << "list";
    QTest::newRow("list, then the panel's Supermodel button") << "list"
                                                              << "panel";
    QTest::newRow("panel, then button") << "panel"
                                        << "button";
}

void LaunchTest::noSecondLaunchWhileARunGoesOn() {
    QFETCH(QString, first);
    QFETCH(QString, again);
    LaunchFixture f;
    f.form.List2->setCurrentRow(0);
    f.dialogs.answers << false << false; // the panel's close question, should it come
    const auto launch = [&f](const QString& way) {
        if (way == u"button") {
            QTest::mouseClick(f.form.Command1, Qt::LeftButton);
        } else if (way == u"list") {
            f.doubleClickRow(0);
        } else {
            QTest::mouseClick(f.form.Command3, Qt::LeftButton);
            QTest::mouseClick(f.form.Command7, Qt::LeftButton);
        }
    };
    launch(first);
    QCOMPARE(f.launcher.starts.size(), 1);
    const QString running = ui::tag(f.form.Command1);
    const qsizetype boxes = f.dialogs.boxes.size();
    QCOMPARE(ui::noticeShown(f.form), QString());

    launch(again);
    launch(again);
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.dialogs.boxes.size(), boxes);
    QCOMPARE(ui::noticeShown(f.form), emulator::kStillRunning);
    QCOMPARE(ui::tag(f.form.Command1), running);

    // Once it has ended, launching works again.
    f.launcher.finish(0);
    launch(again);
    QCOMPARE(f.launcher.starts.size(), 2);
}

void LaunchTest::endOfARun_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("kept");   // the run's output
    QTest::addColumn<QString>("box"); // empty: none, and the window stays minimized
    QTest::newRow("failed: the window comes back and tells")
        << 1 << QStringList{"Error: Could not open 'x.zip'.", "Error: second"} << true
        << "Emu Error ...\nError: Could not open 'x.zip'.\nError: second";
    QTest::newRow("crashed without error lines")
        << -1 << QStringList{} << true
        << "Emu Error ...\nThe emulator stopped abnormally and printed no error line.";
    QTest::newRow("failed, its output not kept")
        << 1 << QStringList{} << false
        << "Emu Error ...\nThe emulator stopped with status 1.\nIts messages could not be kept.";
    QTest::newRow("normal end changes nothing")
        << 0 << QStringList{"Error: printed, but it ended well"} << true << "";
}

void LaunchTest::endOfARun() {
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QFETCH(bool, kept);
    QFETCH(QString, box);
    LaunchFixture f;
    f.form.List2->setCurrentRow(0);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QVERIFY(f.form.windowState() & Qt::WindowMinimized);
    QVERIFY(f.dialogs.boxes.isEmpty());

    f.launcher.finish(status, lines, kept);
    QCOMPARE(bool(f.form.windowState() & Qt::WindowMinimized), box.isEmpty());
    QCOMPARE(f.dialogs.boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        QCOMPARE(f.dialogs.boxes[0].text, box);
        QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
        QVERIFY(!f.dialogs.boxes[0].question);
    }
}

void LaunchTest::launchBringsTheInstallationFiles() {
    LaunchFixture f;
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), "<games/>");
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Assets/p1crosshair.bmp"), "BM");
    f.form.List2->setCurrentRow(0);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.readFile(QStringLiteral("Config/Games.xml")), QByteArray("<games/>"));
    QCOMPARE(f.readFile(QStringLiteral("Assets/p1crosshair.bmp")), QByteArray("BM"));
}

void LaunchTest::failedCopyIsToldAndNothingStarts() {
    LaunchFixture f;
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), "<games/>");
    QVERIFY(QDir().mkpath(f.path(QStringLiteral("Config/Games.xml"))));
    f.doubleClickRow(0);
    QVERIFY(f.launcher.starts.isEmpty());
    QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text,
             QStringLiteral("Cannot copy %1Supermodel_0.1a_Win32/Config/Games.xml to "
                            "%1Config/Games.xml: a folder is in the place of the file")
                 .arg(f.folder()));
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
}

void LaunchTest::playerFilesComeAlongAndWhatIsLeftIsToldFirst() {
    // The emulator's release folder, where the player ran it before.
    LaunchFixture f;
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), "<games/>");
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/NVRAM/vf3.nv"), "scores");
    f.writeFile(QStringLiteral("elsewhere"), "x");
    QVERIFY(QDir().mkpath(f.path(QStringLiteral("Supermodel_0.1a_Win32/Saves"))));
    QVERIFY(QFile::link(f.path(QStringLiteral("elsewhere")),
                        f.path(QStringLiteral("Supermodel_0.1a_Win32/Saves/vf3.st0"))));
    qsizetype startsWhenTold = -1;
    f.dialogs.shown = [&] { startsWhenTold = f.launcher.starts.size(); };
    f.form.List2->setCurrentRow(0);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);

    QCOMPARE(f.readFile(QStringLiteral("NVRAM/vf3.nv")), QByteArray("scores"));
    QCOMPARE(f.launcher.starts.size(), 1); // the start goes on
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text,
             QStringLiteral("Not brought in: %1Supermodel_0.1a_Win32/Saves/vf3.st0 to "
                            "%1Saves/vf3.st0: a link, left alone")
                 .arg(f.folder()));
    QCOMPARE(f.dialogs.boxes[0].title, QStringLiteral("Err"));
    QCOMPARE(startsWhenTold, 0);
}

QTEST_MAIN(LaunchTest)
#include "test_launch.moc"
