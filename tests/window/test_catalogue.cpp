// The game list from the emulator's definitions, driven as a user would:
// New Scan, archives under any case or in the wrong place, what the list's
// tooltip says of an archive, and the version menu.

#include "support/Fakes.h"
#include "support/ZipBytes.h"

#include "emulator/VersionMenu.h"
#include "ui/GameList.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace {

// Two versions of Virtua Fighter 3, its team battle and a game only the
// definitions know.
const QByteArray kDefinitions = R"(<games>
  <game name="vf3"><identity><title>Virtua Fighter 3</title><version>Japan, Revision D</version>
    <manufacturer>Sega</manufacturer><year>1996</year></identity>
    <hardware><inputs><input type="common"/><input type="fighting"/></inputs></hardware>
    <roms><region name="crom"><file offset="0" name="a.20" crc32="0x11111111"/>
      <file offset="2" name="b.19" crc32="0x22222222"/></region>
    <region name="vrom"><file offset="0" name="v.26" crc32="0x33333333"/></region></roms></game>
  <game name="vf3a" parent="vf3"><identity><title>Virtua Fighter 3</title>
    <version>Japan, Revision A</version></identity>
    <roms><region name="crom"><file offset="0" name="a.20a" crc32="0x44444444"/></region></roms></game>
  <game name="vf3tb" parent="vf3"><identity><title>Virtua Fighter 3 Team Battle</title>
    <version>Japan</version></identity>
    <roms><region name="crom"><file offset="0" name="t.20" crc32="0x66666666"/></region></roms></game>
  <game name="skichamp"><identity><title>Ski Champ</title><version>Japan</version>
    <manufacturer>Sega</manufacturer><year>1998</year></identity>
    <hardware><inputs><input type="common"/><input type="ski"/></inputs></hardware>
    <roms><region name="crom"><file offset="0" name="s.20" crc32="0x55555555"/></region></roms></game>
</games>)";

QByteArray zipOf(std::initializer_list<std::pair<const char*, quint32>> files) {
    QList<zipbytes::Member> members;
    for (const auto& [name, crc] : files)
        members.append(zipbytes::member(name, crc));
    return zipbytes::archive(members);
}

const QByteArray kVf3 = zipOf({{"a.20", 0x11111111}, {"b.19", 0x22222222}, {"v.26", 0x33333333}});
const QByteArray kVf3a = zipOf({{"a.20a", 0x44444444}});

// What the archives in the tests hold: a set's name for its own files.
const QHash<QString, QByteArray>& contents() {
    static const QHash<QString, QByteArray> archives = [] {
        QList<zipbytes::Member> many;
        for (int i = 0; i <= 4096; ++i)
            many.append(zipbytes::member(QByteArray::number(i), quint32(i)));
        return QHash<QString, QByteArray>{
            {"vf3", kVf3},
            {"vf3a", kVf3a},
            {"short", zipOf({{"a.20", 0x11111111}, {"b.19", 0x22222222}})},
            {"ski", zipOf({{"s.20", 0x55555555}})},
            {"tb", zipOf({{"t.20", 0x66666666}})},
            {"empty", zipbytes::archive({})},
            {"text", "not a zip"},
            {"many", zipbytes::archive(many)},
        };
    }();
    return archives;
}

struct CatalogueFixture : FrontEndFixture {
    CatalogueFixture() {
        writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), kDefinitions);
        writeFile(emulatorFile(), "#!/bin/sh\n");
        QDir().mkpath(path(QStringLiteral("Roms")));
    }
    void start() {
        frontend.start();
        QCoreApplication::processEvents(); // the definitions join just after start-up
    }
    void select(int row) { form.List2->setCurrentRow(row); }
    QString tip() const { return form.List2->toolTip(); }
};

} // namespace

class CatalogueWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void definitionsAddRowsJustAfterStartUp();
    void newScanRefreshesTheSelectedGame();
    void theArchiveLine_data();
    void theArchiveLine();
    void aChangedArchiveIsReadAgain();
    void somethingElseNamedLikeAnArchiveIsAbsent();
    void versionMenuByMouseAndByKeys();
    void versionMenuGreysWhatCannotStart_data();
    void versionMenuGreysWhatCannotStart();
    void unusableDefinitionsSayWhy();
};

void CatalogueWindowTest::definitionsAddRowsJustAfterStartUp() {
    CatalogueFixture f;
    f.start();
    QCOMPARE(f.form.List2->count(), 18);
    QCOMPARE(f.form.List2->item(16)->text(), QStringLiteral("Ski Champ"));
    QCOMPARE(f.form.List2->item(17)->text(), QStringLiteral("Virtua Fighter 3 Team Battle"));
    QCOMPARE(f.form.Label2[0]->text(), QStringLiteral("18"));
    QCOMPARE(f.form.List2->currentRow(), 15);

    f.select(16);
    QCOMPARE(f.tip(), QStringLiteral("No status known.\nskichamp.zip: not in the ROM folder"));
    QCOMPARE(f.form.pictureNumber(f.form.Image1), 0); // its title card
    QCOMPARE(f.form.pictureNumber(f.form.Image2), 102);
    QCOMPARE(f.form.pictureNumber(f.form.Image3), 106);
    QCOMPARE(f.form.pictureNumber(f.form.Image4), 104); // no slot for the skis
    QVERIFY(!f.form.Image1->pixmap().isNull());
}

void CatalogueWindowTest::newScanRefreshesTheSelectedGame() {
    CatalogueFixture f;
    f.start();
    f.select(0);
    QVERIFY(!f.form.Command1->isEnabled());
    f.writeFile(QStringLiteral("Roms/VF3A.ZIP"), kVf3a);
    f.writeFile(QStringLiteral("Roms/vf3.zip"), kVf3);
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("2"));
    QCOMPARE(f.form.List2->currentRow(), 0);
    QVERIFY(f.form.Command1->isEnabled());
    QVERIFY(
        f.tip().endsWith(QLatin1String("vf3.zip: Virtua Fighter 3 (Japan, Revision D), complete")));

    // Definitions with their sets in another order: the archive is checked
    // against them, not the ones before.
    QByteArray reordered = kDefinitions;
    const qsizetype ski = reordered.indexOf("  <game name=\"skichamp\"");
    const QByteArray skiChamp = reordered.mid(ski, reordered.indexOf("</game>", ski) + 8 - ski);
    reordered.remove(ski, skiChamp.size()).insert(reordered.indexOf("<game "), skiChamp);
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), reordered);
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QVERIFY(
        f.tip().endsWith(QLatin1String("vf3.zip: Virtua Fighter 3 (Japan, Revision D), complete")));

    // The game stays selected by its title when the rows change.
    f.select(16);
    QFile::remove(f.path(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml")));
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QCOMPARE(f.form.List2->count(), 16);
    QCOMPARE(f.form.List2->currentRow(), 15);
    QCOMPARE(f.form.Label2[0]->text(), QStringLiteral("16"));
}

void CatalogueWindowTest::theArchiveLine_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("line");
    QTest::newRow("a clone alone") << QStringList{"vf3a.zip"} << 0
                                   << "vf3a.zip: Virtua Fighter 3 (Japan, Revision A), needs "
                                      "vf3.zip beside it, which is missing";
    QTest::newRow("a clone beside its parent")
        << QStringList{"vf3a.zip", "VF3.zip"} << 0
        << "VF3.zip: Virtua Fighter 3 (Japan, Revision D), complete";
    QTest::newRow("a clone beside its parent's archive under another case")
        << QStringList{"vf3tb.zip=tb", "VF3.ZIP=vf3"} << 17
        << "vf3tb.zip: Virtua Fighter 3 Team Battle (Japan), needs vf3.zip beside it; the emulator "
           "looks for vf3.zip, not VF3.ZIP";
    QTest::newRow("a clone beside its parent, which lacks a file")
        << QStringList{"vf3tb.zip=tb", "vf3.zip=short"} << 17
        << "vf3tb.zip: Virtua Fighter 3 Team Battle (Japan), needs vf3.zip beside it; with it, 1 "
           "file missing: v.26";
    QTest::newRow("missing files")
        << QStringList{"vf3.zip=short"} << 0
        << "vf3.zip: Virtua Fighter 3 (Japan, Revision D), 1 file missing: v.26";
    QTest::newRow("another game") << QStringList{"vf3.zip=ski"} << 0
                                  << "vf3.zip holds another game: Ski Champ (Japan)";
    QTest::newRow("nothing known")
        << QStringList{"vf3.zip=empty"} << 0 << "vf3.zip: not a Model 3 set the emulator knows";
    QTest::newRow("unreadable") << QStringList{"vf3.zip=text"} << 0 << "vf3.zip: unreadable";
    QTest::newRow("more files than any set has")
        << QStringList{"vf3.zip=many"} << 0 << "vf3.zip: not read: it has more than 4,096 files";
    QTest::newRow("a clone beside its parent's archive, unreadable")
        << QStringList{"vf3tb.zip=tb", "vf3.zip=text"} << 17
        << "vf3tb.zip: Virtua Fighter 3 Team Battle (Japan), needs vf3.zip beside it, which is "
           "unreadable";
    QTest::newRow("a clone beside its parent's archive, holding another game")
        << QStringList{"vf3tb.zip=tb", "vf3.zip=ski"} << 17
        << "vf3tb.zip: Virtua Fighter 3 Team Battle (Japan), needs vf3.zip beside it, which holds "
           "another game: Ski Champ (Japan)";
}

// Writes each "NAME" (holding its set's files) or "NAME=CONTENT" of `files`
// into the ROM folder.
void writeArchives(const CatalogueFixture& f, const QStringList& files) {
    for (const QString& file : files) {
        const QString name = file.section(u'=', 0, 0);
        const QString content = file.section(u'=', 1).isEmpty() ? name.section(u'.', 0, 0).toLower()
                                                                : file.section(u'=', 1);
        f.writeFile(QStringLiteral("Roms/") + name, contents().value(content));
    }
}

void CatalogueWindowTest::theArchiveLine() {
    QFETCH(QStringList, files);
    QFETCH(int, row);
    QFETCH(QString, line);
    CatalogueFixture f;
    writeArchives(f, files);
    f.start();
    f.select(row);
    QCOMPARE(f.tip().section(u'\n', 1), line);
    QCOMPARE(f.form.List2->currentItem()->data(Qt::AccessibleDescriptionRole).toString(), line);
    QVERIFY(f.form.Command1->isEnabled()); // the emulator decides, not the check
}

void CatalogueWindowTest::aChangedArchiveIsReadAgain() {
    CatalogueFixture f;
    writeArchives(f, {"vf3tb.zip=tb", "vf3.zip=short"});
    f.start();
    f.select(17);
    QVERIFY(f.tip().endsWith(QLatin1String("; with it, 1 file missing: v.26")));
    // Read once: the same line again, without a file to read.
    f.select(0);
    f.select(17);
    QVERIFY(f.tip().endsWith(QLatin1String("; with it, 1 file missing: v.26")));

    writeArchives(f, {"vf3.zip=vf3"}); // the parent's archive, now whole
    f.select(0);
    f.select(17);
    QVERIFY(f.tip().endsWith(QLatin1String("needs vf3.zip beside it, which is there")));
    writeArchives(f, {"vf3tb.zip=text"});
    f.select(0);
    f.select(17);
    QCOMPARE(f.tip().section(u'\n', 1), QStringLiteral("vf3tb.zip: unreadable"));
}

void CatalogueWindowTest::somethingElseNamedLikeAnArchiveIsAbsent() {
    CatalogueFixture f;
    QVERIFY(mkfifo(f.path(QStringLiteral("Roms/vf3.zip")).toLocal8Bit().constData(), 0600) == 0);
    QDir().mkpath(f.path(QStringLiteral("Roms/vf3a.zip")));
    f.start(); // a FIFO read would never return
    f.select(0);
    QVERIFY(!f.form.Command1->isEnabled());
    QCOMPARE(f.form.Label2[2]->text(), QString());
    QTest::mouseClick(f.form.Command2, Qt::LeftButton);
    QCOMPARE(f.form.Label2[2]->text(), QString());
}

void CatalogueWindowTest::versionMenuByMouseAndByKeys() {
    CatalogueFixture f;
    f.writeFile(QStringLiteral("Roms/vf3.zip"), kVf3);
    f.writeFile(QStringLiteral("Roms/VF3A.ZIP"), kVf3a);
    f.start();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));

    // A right click on a row selects it and lists its versions present.
    const QPoint at = f.form.List2->visualItemRect(f.form.List2->item(0)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at,
                            f.form.List2->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(f.form.List2->viewport(), &click);
    QCOMPARE(f.form.List2->currentRow(), 0);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    QCOMPARE(texts, (QStringList{"Japan, Revision D (vf3)", "Japan, Revision A (vf3a)", "",
                                 "Settings of this game"}));
    menu->close();

    // From the keyboard: Shift+F10, down to the second version, Enter.
    f.form.List2->setFocus();
    QTest::keyClick(f.form.List2, Qt::Key_F10, Qt::ShiftModifier);
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_COMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].arguments.value(0), f.path(QStringLiteral("Roms/VF3A.ZIP")));

    // The launch button takes the row's own set first, under its real name.
    f.launcher.finish(0);
    QTest::mouseClick(f.form.Command1, Qt::LeftButton);
    QCOMPARE(f.launcher.starts.size(), 2);
    QCOMPARE(f.launcher.starts[1].arguments.value(0), f.path(QStringLiteral("Roms/vf3.zip")));
}

void CatalogueWindowTest::versionMenuGreysWhatCannotStart_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("entries"); // "-" first: disabled
    QTest::newRow("a clone beside its parent")
        << QStringList{"vf3a.zip", "vf3.zip"}
        << QStringList{"Japan, Revision D (vf3)", "Japan, Revision A (vf3a)"};
    // The emulator opens vf3.zip for vf3a's parent, exactly so.
    QTest::newRow("a clone beside its parent's archive under another case")
        << QStringList{"vf3a.zip", "VF3.ZIP=vf3"}
        << QStringList{"Japan, Revision D (vf3)",
                       "-Japan, Revision A (vf3a) — needs vf3.zip beside it; the emulator looks "
                       "for vf3.zip, not VF3.ZIP"};
    QTest::newRow("a clone beside an unreadable archive of its parent")
        << QStringList{"vf3a.zip", "vf3.zip=text"}
        << QStringList{"-Japan, Revision D (vf3) — unreadable",
                       "-Japan, Revision A (vf3a) — needs vf3.zip beside it, which is unreadable"};
    QTest::newRow("another game, files missing")
        << QStringList{"vf3.zip=ski", "vf3a.zip=short"}
        << QStringList{"-Japan, Revision D (vf3) — holds another game: Ski Champ (Japan)",
                       "-Japan, Revision A (vf3a) — 1 file missing: v.26"};
}

void CatalogueWindowTest::versionMenuGreysWhatCannotStart() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, entries);
    CatalogueFixture f;
    writeArchives(f, files);
    f.start();
    f.select(0);
    QMenu* menu = emulator::ShowVersionMenu(f.form, f.frontend.gameCatalogue(), f.launcher,
                                            f.dialogs, QPoint());
    QVERIFY(menu);
    QStringList shown;
    for (const QAction* action : menu->actions())
        shown << (action->isEnabled() ? QString() : QStringLiteral("-")) + action->text();
    menu->close();
    QCOMPARE(shown, entries);
}

void CatalogueWindowTest::unusableDefinitionsSayWhy() {
    CatalogueFixture f;
    f.writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), "<games><game");
    f.start();
    QCOMPARE(f.form.List2->count(), 16);
    QCOMPARE(f.tip().count(u'\n'), 1);
    QVERIFY(f.tip().startsWith(
        QLatin1String("Severe problems.\nThe emulator's game list is not used: ")));
    QVERIFY(f.tip().endsWith(
        QLatin1String("Games.xml is not a game definitions file the front-end can read.")));
    QVERIFY(f.dialogs.boxes.isEmpty());
}

QTEST_MAIN(CatalogueWindowTest)
#include "test_catalogue.moc"
