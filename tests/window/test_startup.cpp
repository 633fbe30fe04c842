// Start-up, shutdown and the game list, on a temporary program folder.

#include "support/Fakes.h"
#include "support/FullDisk.h"

#include "platform/TemporaryName.h"
#include "ui/CheckBox.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartWithNothingOnDisk();
    void storedSettingsFillTheBoxes();
    void optionValuesOutsideTheBoxesRangeLeaveThemUnchecked_data();
    void optionValuesOutsideTheBoxesRangeLeaveThemUnchecked();
    void shutdownWritesTheExactBytes();
    void shutdownKeepsLinesInPlaceForEmptyBoxes();
    void shutdownAsksNothingEvenWithUnsavedBindings();
    void shutdownOnAFullDiskKeepsTheOldFile();
    void leftoversOfAKilledWriteAreRemoved();
    void leftoversOfAKilledCopyGoOnceTheWindowIsUp();
    void aPipeInASaveLocksPlaceStillShowsTheWindow_data();
    void aPipeInASaveLocksPlaceStillShowsTheWindow();
    void boxesHoldOneLine_data();
    void boxesHoldOneLine();
    void badSettingsFilesFallBackToDefaults_data();
    void badSettingsFilesFallBackToDefaults();
    void configAsAFileSkipsReadingAndWriting();
    void nonAsciiFoldersSurviveARestart();
    void newScanCountsArchivesAddedSinceStartUp();
    void archiveNamesCountWholeWhateverTheirCase();
    void newScanAddsTheMissingSeparatorFirst();
};

void StartupTest::firstStartWithNothingOnDisk() {
    FrontEndFixture f;
    f.frontend.start();
    const QString folder = f.folder();

    QCOMPARE(f.form.windowTitle(),
             QStringLiteral("Sega Model 3 Kestrun To Supermodel ( For research 0.0.3)"));
    QCOMPARE(ui::tag(&f.form), folder);
    for (const char* name : {"Config", "NVRAM", "Saves"})
        QVERIFY2(QFileInfo(folder + QLatin1String(name)).isDir(), name);
    QCOMPARE(f.form.Text4->text(), folder + QStringLiteral("Supermodel_0.1a_Win32/"));
    QCOMPARE(f.form.Text5->text(), folder + QStringLiteral("Roms/"));
    QCOMPARE(f.form.Text1->text(), QStringLiteral("640"));
    QCOMPARE(f.form.Text3->text(), QStringLiteral("480"));
    for (ui::CheckBox* box : {f.form.Check1, f.form.Check2, f.form.Check3, f.form.Check4})
        QCOMPARE(box->value(), 0);
    QCOMPARE(f.form.Text7->text(), QStringLiteral("25"));

    QCOMPARE(f.form.List2->count(), 16);
    QCOMPARE(f.form.List2->item(0)->text(), QStringLiteral("Virtua Fighter 3"));
    QCOMPARE(f.form.List2->item(6)->text(), QStringLiteral("Virtua Striker 2 '98"));
    QCOMPARE(f.form.List2->item(11)->text(), QStringLiteral("Harley Davidson & L.A. Riders"));
    QCOMPARE(f.form.List2->item(15)->text(), QStringLiteral("Emergency Car Ambulance"));
    QCOMPARE(f.form.Label2[0]->text(), QStringLiteral("16"));
    QCOMPARE(f.form.Label2[2]->text(), QString()); // never "0"
    QCOMPARE(f.form.List2->currentRow(), 15);
    QCOMPARE(f.form.Label2[1]->text(), QStringLiteral("16"));
    QVERIFY(f.dialogs.boxes.isEmpty());
    QVERIFY(!QFile::exists(f.path(QStringLiteral("Config/Kestrun.ini"))));
}

void StartupTest::storedSettingsFillTheBoxes() {
    FrontEndFixture f;
    const QByteArray rom = f.folder().toUtf8() + "MyRoms";
    f.writeFile(QStringLiteral("Config/Kestrun.ini"),
                "   /games/emu/  \r\n\r\n   \r\n" + rom + "\n800 \r600\r\n 1 \r\n 0 \r\n 2 \r\n");
    QDir().mkpath(f.path(QStringLiteral("MyRoms")));
    f.writeFile(QStringLiteral("MyRoms/eca.zip"), "zip");
    f.frontend.start();

    QCOMPARE(f.form.Text4->text(), QStringLiteral("/games/emu/"));
    // Used as read, then the selection's path check ends it with a separator.
    QCOMPARE(f.form.Text5->text(), QString::fromUtf8(rom) + u'/');
    QCOMPARE(f.form.Text1->text(), QStringLiteral("800"));
    QCOMPARE(f.form.Text3->text(), QStringLiteral("600"));
    QCOMPARE(f.form.Check1->value(), 1);
    QCOMPARE(f.form.Check2->value(), 0);
    QCOMPARE(f.form.Check3->value(), 2);
    // The start-up count used the ROM folder exactly as loaded, without the
    // separator, so it found nothing; the selection view (after the path
    // check) found the archive of the last game.
    QCOMPARE(f.form.Label2[2]->text(), QString());
    QVERIFY(f.form.Command1->isEnabled());
}

void StartupTest::optionValuesOutsideTheBoxesRangeLeaveThemUnchecked_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("value");
    QTest::newRow("one") << QByteArray(" 1 ") << 1;
    QTest::newRow("grey") << QByteArray("2") << 2;
    QTest::newRow("half rounds to even two") << QByteArray("1.5") << 2;
    QTest::newRow("half rounds to even zero") << QByteArray("0.5") << 0;
    QTest::newRow("refused three") << QByteArray("3") << 0;
    QTest::newRow("refused negative") << QByteArray("-1") << 0;
    QTest::newRow("outside 16 bits") << QByteArray("65537") << 0;
    QTest::newRow("not a number") << QByteArray("yes") << 0;
    QTest::newRow("number then text") << QByteArray("1abc") << 1;
}

void StartupTest::optionValuesOutsideTheBoxesRangeLeaveThemUnchecked() {
    QFETCH(QByteArray, line);
    QFETCH(int, value);
    FrontEndFixture f;
    f.writeFile(QStringLiteral("Config/Kestrun.ini"),
                "/e/\r\n/r/\r\n640\r\n480\r\n" + line + "\r\n0\r\n0\r\n");
    f.frontend.start();
    QCOMPARE(f.form.Check1->value(), value);
}

void StartupTest::shutdownWritesTheExactBytes() {
    FrontEndFixture f;
    f.frontend.start();
    f.form.Text5->setText(QStringLiteral("/srv/roms"));
    f.form.Check2->setValue(1);
    f.form.Check3->setValue(2);
    f.form.Check4->setValue(1); // not saved
    f.form.close();

    QCOMPARE(f.ended, 1);
    const QByteArray expected = f.folder().toUtf8() + "Supermodel_0.1a_Win32/\r\n" +
                                "/srv/roms\r\n640\r\n480\r\n 0 \r\n 1 \r\n 2 \r\n";
    QCOMPARE(f.readFile(QStringLiteral("Config/Kestrun.ini")), expected);
    QVERIFY(f.dialogs.boxes.isEmpty());

    // A second close request (a signal arriving late, say) does nothing more.
    f.frontend.shutdown();
    QCOMPARE(f.ended, 1);
}

void StartupTest::shutdownKeepsLinesInPlaceForEmptyBoxes() {
    FrontEndFixture f;
    f.frontend.start();
    f.form.Text4->setText(QString());
    f.form.Text5->setText(QStringLiteral("   "));
    f.form.Text1->setText(QString());
    f.form.Text3->setText(QStringLiteral("600"));
    f.form.Check1->setValue(1);
    f.frontend.shutdown();

    // Empty folders take their defaults, shown too; an empty width is written
    // as its default so that the height stays on its own line.
    QCOMPARE(f.form.Text4->text(), f.folder() + QStringLiteral("Supermodel_0.1a_Win32/"));
    QCOMPARE(f.form.Text5->text(), f.folder() + QStringLiteral("Roms/"));
    const QList<QByteArray> lines = f.readFile(QStringLiteral("Config/Kestrun.ini")).split('\n');
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines[2], QByteArray("640\r"));
    QCOMPARE(lines[3], QByteArray("600\r"));
    QCOMPARE(lines[4], QByteArray(" 1 \r"));

    // And the next start reads every value back on its own line.
    FrontEndFixture next;
    next.writeFile(QStringLiteral("Config/Kestrun.ini"),
                   f.readFile(QStringLiteral("Config/Kestrun.ini")));
    next.frontend.start();
    QCOMPARE(next.form.Text3->text(), QStringLiteral("600"));
    QCOMPARE(next.form.Check1->value(), 1);
}

void StartupTest::shutdownAsksNothingEvenWithUnsavedBindings() {
    FrontEndFixture f;
    f.frontend.start();
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    ui::setTag(f.form.Picture3, QStringLiteral("12"));
    f.form.close();
    QCOMPARE(f.ended, 1);
    QVERIFY(f.dialogs.boxes.isEmpty());
    QVERIFY(!QFile::exists(f.form.Text4->text() + QStringLiteral("Config/Supermodel.ini")));
}

void StartupTest::shutdownOnAFullDiskKeepsTheOldFile() {
    FrontEndFixture f;
    FullDisk disk;
    MOUNT_FULL_DISK(disk, f.path(QStringLiteral("Config")));
    const QByteArray old = "/old/emu/\r\n/old/roms/\r\n800\r\n600\r\n 1 \r\n 1 \r\n 1 \r\n";
    f.writeFile(QStringLiteral("Config/Kestrun.ini"), old);
    f.frontend.start();
    f.form.Text5->setText(QStringLiteral("/new/roms/"));
    disk.fill();
    f.frontend.shutdown();

    // Silent as ever, but the last good settings are still there, whole.
    QCOMPARE(f.ended, 1);
    QVERIFY(f.dialogs.boxes.isEmpty());
    QCOMPARE(f.readFile(QStringLiteral("Config/Kestrun.ini")), old);
    QCOMPARE(QDir(f.path(QStringLiteral("Config"))).entryList(QDir::Files, QDir::Name),
             (QStringList{"Kestrun.ini", "filler"}));
}

void StartupTest::leftoversOfAKilledWriteAreRemoved() {
    // Beside Kestrun.ini and both copies of Supermodel.ini, the program's and
    // the emulator's: only our own temporary files go, never a file a user
    // named after one, nor one left under the names used before.
    FrontEndFixture f;
    const auto ours = [](const char* name) {
        return QString::fromLatin1(platform::temporaryName(name));
    };
    const QString program = QStringLiteral("Config/");
    const QString emulator = QStringLiteral("Supermodel_0.1a_Win32/Config/");
    const QStringList leftovers{program + ours("Kestrun.ini"), program + ours("Supermodel.ini"),
                                emulator + ours("Supermodel.ini")};
    const QStringList others{program + "Kestrun.ini.backup",
                             program + "Kestrun.ini.aB3xY9",
                             program + "Supermodel.ini.backup",
                             program + "Supermodel.ini.GJzBBi",
                             program + ".kestrun-tmp-Kestrun.ini-x",
                             program + ".kestrun-tmp-mine.ini-aB3xY9",
                             emulator + "Supermodel.ini.backup",
                             emulator + "Supermodel.ini.GJzBBi",
                             emulator + "Supermodel.ini"};
    for (const QString& name : leftovers + others)
        f.writeFile(name, "x");
    f.frontend.start();

    for (const QString& name : leftovers)
        QVERIFY2(!QFileInfo::exists(f.path(name)), qPrintable(name));
    for (const QString& name : others)
        QCOMPARE(f.readFile(name), QByteArray("x"));
    // And no lock is left where the clean-up took one.
    QCOMPARE(QDir(f.path(emulator))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                 .size(),
             3);
}

void StartupTest::leftoversOfAKilledCopyGoOnceTheWindowIsUp() {
    FrontEndFixture f;
    const auto ours = [](const char* name) {
        return QString::fromLatin1(platform::temporaryName(name));
    };
    const QStringList leftovers{
        "Config/" + ours("Games.xml"),        "Config/" + ours("Music.xml"),
        "Config/" + ours("Kestrun-base.ini"), "Config/" + ours("Kestrun-base.txt"),
        "Assets/" + ours("p1crosshair.bmp"),  "Assets/more/" + ours("p2crosshair.bmp"),
        "NVRAM/" + ours("scud.nv"),           "Saves/" + ours("vf3.st0")};
    const QStringList others{"NVRAM/scud.nv",
                             "Saves/.kestrun-tmp-vf3.st0-x",
                             "Saves/vf3.st0.aB3xY9",
                             "Config/" + ours("Other.xml"),
                             "Config/Kestrun-base.ini.aB3xY9",
                             "Assets/p1crosshair.bmp",
                             "Assets/.kestrun-tmp-p2crosshair.bmp-x"};
    for (const QString& name : leftovers + others)
        f.writeFile(name, "x");
    // The spare folder of an Assets that took a link's place, before the
    // swap and after it (a link to the user's folder, which stays whole).
    const QStringList spares{ours("Assets"), "Assets/" + ours("more")};
    QVERIFY(QDir().mkdir(f.path(spares[0])));
    f.writeFile(QStringLiteral("mine/p1crosshair.bmp"), "x");
    QVERIFY(QFile::link(f.path(QStringLiteral("mine")), f.path(spares[1])));
    f.frontend.start();
    QCoreApplication::processEvents();
    for (const QString& name : leftovers + spares)
        QVERIFY2(!QFileInfo::exists(f.path(name)) && !QFileInfo(f.path(name)).isSymLink(),
                 qPrintable(name));
    for (const QString& name : others + QStringList{"mine/p1crosshair.bmp"})
        QCOMPARE(f.readFile(name), QByteArray("x"));
}

void StartupTest::aPipeInASaveLocksPlaceStillShowsTheWindow_data() {
    QTest::addColumn<QString>("blocked"); // the folder whose Supermodel.ini has a pipe for a lock
    QTest::addColumn<QString>("other");
    QTest::newRow("the program folder's") << "Config/"
                                          << "Supermodel_0.1a_Win32/Config/";
    QTest::newRow("the emulator folder's") << "Supermodel_0.1a_Win32/Config/"
                                           << "Config/";
}

void StartupTest::aPipeInASaveLocksPlaceStillShowsTheWindow() {
    QFETCH(QString, blocked);
    QFETCH(QString, other);
    FrontEndFixture f;
    const QString leftover = QString::fromLatin1(platform::temporaryName("Supermodel.ini"));
    f.writeFile(blocked + leftover, "x");
    f.writeFile(other + leftover, "x");
    const QString pipe = f.path(blocked + QStringLiteral(".kestrun-lock-Supermodel.ini"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);

    ::alarm(20); // a start-up that hangs ends the test
    f.frontend.start();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    ::alarm(0);
    // The clean-up passed it by, leaving what is beside it, and went on.
    QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    QCOMPARE(f.readFile(blocked + leftover), QByteArray("x"));
    QVERIFY(!QFileInfo::exists(f.path(other + leftover)));
    QVERIFY(f.dialogs.boxes.isEmpty());
}

void StartupTest::boxesHoldOneLine_data() {
    QTest::addColumn<QString>("box");
    for (const char* box : {"Text1", "Text3", "Text4", "Text5", "Text7"})
        QTest::newRow(box) << QString::fromLatin1(box);
}

void StartupTest::boxesHoldOneLine() {
    QFETCH(QString, box);
    FrontEndFixture f;
    // The settings file splits lines at CR and LF only: the Unicode breaks
    // reach the boxes from there.
    f.writeFile(QStringLiteral("Config/Kestrun.ini"),
                "/e\xe2\x80\xa8m/\r\n/r\xe2\x80\xa9o/\r\n8\xe2\x80\xa8"
                "00\r\n600\r\n 0 \r\n 0 \r\n 0 \r\n");
    f.frontend.start();
    QCOMPARE(f.form.Text4->text(), QStringLiteral("/em/"));
    QCOMPARE(f.form.Text5->text(), QStringLiteral("/ro/"));
    QCOMPARE(f.form.Text1->text(), QStringLiteral("800"));

    auto* edit = f.form.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("1\n2\r\n3\r4\u20285\u20296"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("123456"));
    QCOMPARE(edit->cursorPosition(), 6);

    f.frontend.shutdown();
    const QByteArray written = f.readFile(QStringLiteral("Config/Kestrun.ini"));
    QCOMPARE(written.count('\n'), 7);
    QVERIFY(!written.contains("\xe2\x80\xa8") && !written.contains("\xe2\x80\xa9"));
}

void StartupTest::badSettingsFilesFallBackToDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blank lines") << QByteArray("\r\n   \r\n\n\r");
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01\x02", 5);
    QTest::newRow("10 MB line") << QByteArray(10 * 1024 * 1024, 'x');
}

void StartupTest::badSettingsFilesFallBackToDefaults() {
    QFETCH(QByteArray, content);
    FrontEndFixture f;
    f.writeFile(QStringLiteral("Config/Kestrun.ini"), content);
    f.frontend.start();
    QCOMPARE(f.form.List2->count(), 16);
    QCOMPARE(f.form.Text1->text(), QStringLiteral("640"));
    QCOMPARE(f.form.Check1->value(), 0);
    // The program still closes and leaves a sound file behind.
    f.frontend.shutdown();
    QCOMPARE(f.readFile(QStringLiteral("Config/Kestrun.ini")).count('\n'), 7);
}

void StartupTest::configAsAFileSkipsReadingAndWriting() {
    FrontEndFixture f;
    f.writeFile(QStringLiteral("Config"), "not a folder");
    f.frontend.start();
    QCOMPARE(f.form.Text3->text(), QStringLiteral("480"));
    QVERIFY(QFileInfo(f.path(QStringLiteral("NVRAM"))).isDir());
    f.frontend.shutdown();
    QCOMPARE(f.ended, 1);
    QCOMPARE(f.readFile(QStringLiteral("Config")), QByteArray("not a folder"));

    // A settings file that is a folder reads as absent and is left alone.
    FrontEndFixture g;
    QDir().mkpath(g.path(QStringLiteral("Config/Kestrun.ini")));
    g.frontend.start();
    QCOMPARE(g.form.Text1->text(), QStringLiteral("640"));
    g.frontend.shutdown();
    QVERIFY(QFileInfo(g.path(QStringLiteral("Config/Kestrun.ini"))).isDir());
}

void StartupTest::nonAsciiFoldersSurviveARestart() {
    FrontEndFixture f;
    f.frontend.start();
    const QString emu = QStringLiteral("/home/zoë/エミュ $x;y/");
    f.form.Text4->setText(emu);
    f.frontend.shutdown();

    FrontEndFixture next;
    next.writeFile(QStringLiteral("Config/Kestrun.ini"),
                   f.readFile(QStringLiteral("Config/Kestrun.ini")));
    next.frontend.start();
    QCOMPARE(next.form.Text4->text(), emu);
}

void StartupTest::newScanCountsArchivesAddedSinceStartUp() {
    FrontEndFixture f;
    f.frontend.start();
    QCOMPARE(f.form.Label2[2]->text(), QString());
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QCOMPARE(f.form.Label2[2]->text(), QString());

    QDir().mkpath(f.path(QStringLiteral("Roms")));
    f.writeFile(QStringLiteral("Roms/vf3.zip"), "z");
    f.writeFile(QStringLiteral("Roms/eca.zip"), "z");
    f.form.List2->setFocus();
    f.form.Text4->setFocus();
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("2"));
    QCOMPARE(f.form.focusWidget(), static_cast<QWidget*>(f.form.List2));
    // The launch button keeps what the last selection left until a game is
    // selected again.
    QVERIFY(!f.form.Command1->isEnabled());
    QCOMPARE(f.form.List2->currentRow(), 15);
    f.form.List2->setCurrentRow(0);
    f.form.List2->setCurrentRow(15);
    QVERIFY(f.form.Command1->isEnabled());
}

void StartupTest::archiveNamesCountWholeWhateverTheirCase() {
    FrontEndFixture f;
    QDir().mkpath(f.path(QStringLiteral("Roms/scudp.zip"))); // a folder
    f.writeFile(QStringLiteral("Roms/scud.zip"), "z");
    f.writeFile(QStringLiteral("Roms/VF3.ZIP"), "z");
    f.writeFile(QStringLiteral("Roms/lemans24.zip.bak"), "z");
    f.frontend.start();
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("2"));
}

void StartupTest::newScanAddsTheMissingSeparatorFirst() {
    FrontEndFixture f;
    f.frontend.start();
    QDir().mkpath(f.path(QStringLiteral("Other")));
    f.writeFile(QStringLiteral("Other/vf3.zip"), "z");
    f.form.Text5->setText(f.folder() + QStringLiteral("Other"));
    f.form.Text4->setText(QString());
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QCOMPARE(f.form.Text5->text(), f.folder() + QStringLiteral("Other/"));
    QCOMPARE(f.form.Text4->text(), QStringLiteral("/"));
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("1"));
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
