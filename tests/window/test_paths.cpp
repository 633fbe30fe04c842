// The two path boxes in use: an Emu Path naming the program file, "~/" for
// the home folder, and the emulator a first start finds installed.

#include "support/Fakes.h"

#include "catalogue/EmulatorSearch.h"
#include "ui/GameList.h"
#include "ui/Notice.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

class PathsWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emuPathNamingTheProgramBecomesItsFolder();
    void tildeMeansTheHomeFolderWhereUsed();
    void firstStartFindsAnInstalledEmulator_data();
    void firstStartFindsAnInstalledEmulator();
};

void PathsWindowTest::emuPathNamingTheProgramBecomesItsFolder() {
    FrontEndFixture f;
    f.writeFile(f.emulatorFile(), "#!/bin/sh\n");
    f.writeFile(QStringLiteral("Roms/vf3.zip"), "z");
    f.frontend.start();
    f.form.show();
    f.form.Text4->setText(f.path(f.emulatorFile()));
    f.form.List2->setCurrentRow(0);
    QCOMPARE(f.form.Text4->text(), f.path(QStringLiteral("Supermodel_0.1a_Win32/")));
    QVERIFY(ui::noticeShown(f.form).startsWith(QLatin1String("Emu Path named the supermodel")));
    // Once: the folder stays, with no further note.
    ui::showNotice(f.form, QStringLiteral("later"));
    f.form.List2->setCurrentRow(1);
    f.form.List2->setCurrentRow(0);
    QCOMPARE(ui::noticeShown(f.form), QStringLiteral("later"));
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].program, f.path(f.emulatorFile()));
    QVERIFY(f.dialogs.boxes.isEmpty());
}

void PathsWindowTest::tildeMeansTheHomeFolderWhereUsed() {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const auto restore = qScopeGuard([&] { qputenv("HOME", oldHome); });
    QDir().mkpath(home.path() + QStringLiteral("/roms"));
    QDir().mkpath(home.path() + QStringLiteral("/emu"));
    QFile(home.path() + QStringLiteral("/roms/vf3.zip")).open(QIODevice::WriteOnly);
    QFile(home.path() + QStringLiteral("/emu/supermodel")).open(QIODevice::WriteOnly);

    FrontEndFixture f;
    f.frontend.start();
    f.form.show();
    f.form.Text4->setText(QStringLiteral("~/emu"));
    f.form.Text5->setText(QStringLiteral("~/roms"));
    QTest::mouseClick(f.form.Command2, Qt::LeftButton); // New Scan
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("1"));
    QCOMPARE(f.form.Text4->text(), QStringLiteral("~/emu/")); // as typed
    QCOMPARE(f.form.Text5->text(), QStringLiteral("~/roms/"));
    f.form.List2->setCurrentRow(0);
    QVERIFY(!f.form.List2->toolTip().contains(QLatin1String("not a folder")));
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].program, home.path() + QStringLiteral("/emu/supermodel"));
    QCOMPARE(f.launcher.starts[0].arguments.value(0),
             home.path() + QStringLiteral("/roms/vf3.zip"));
}

void PathsWindowTest::firstStartFindsAnInstalledEmulator_data() {
    QTest::addColumn<QString>("present"); // what the program folder has
    QTest::addColumn<QString>("emuPath"); // "found" for the emulator found
    QTest::newRow("nothing: the installed one") << ""
                                                << "found";
    QTest::newRow("the release folder beside the program") << "Supermodel_0.1a_Win32/"
                                                           << "Supermodel_0.1a_Win32/";
    QTest::newRow("settings saved before") << "Config/Kestrun.ini"
                                           << "/em/";
}

void PathsWindowTest::firstStartFindsAnInstalledEmulator() {
    QFETCH(QString, present);
    QFETCH(QString, emuPath);
    FrontEndFixture f;
    if (present.endsWith(u'/'))
        QDir().mkpath(f.path(present));
    else if (!present.isEmpty())
        f.writeFile(present, "/em/\r\n");
    const catalogue::FoundEmulator installed{QStringLiteral("/home/ann/.local/bin/supermodel"),
                                             QStringLiteral("/home/ann/src/sm/bin/")};
    catalogue::installedEmulatorSource = [installed] { return std::optional(installed); };
    f.frontend.start();
    if (emuPath != QLatin1String("found")) {
        QCOMPARE(f.form.Text4->text(), emuPath.startsWith(u'/') ? emuPath : f.path(emuPath));
        QCOMPARE(f.form.Text4->toolTip(), QString());
        return;
    }
    QCOMPARE(f.form.Text4->text(), installed.folder);
    QCOMPARE(
        f.form.Text4->toolTip(),
        QStringLiteral("Found at the first start: the installed emulator, "
                       "/home/ann/.local/bin/supermodel, a link to the program in this folder"));
    // Another path typed: the tooltip no longer speaks of it.
    f.form.show();
    QTest::keyClick(f.form.Text4, Qt::Key_X);
    QCOMPARE(f.form.Text4->toolTip(), QString());
}

QTEST_MAIN(PathsWindowTest)
#include "test_paths.moc"
