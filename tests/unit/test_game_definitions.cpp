#include "emulator/GameDefinitions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A program folder ("front/", with its Config) and emulator folders beside it.
struct Folders {
    QTemporaryDir dir;
    QString root = dir.path() + u'/';
    QString program = root + QStringLiteral("front/");
    QString target = program + QStringLiteral("Config/Games.xml");

    Folders() { QDir().mkpath(program + QStringLiteral("Config")); }

    void write(const QString& path, const QByteArray& bytes, int ageSeconds) const {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        QVERIFY(file.flush()); // a later write would set the time again
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }
    QByteArray read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
};

} // namespace

class TestGameDefinitions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copies_data();
    void copies();
    void folderNamedGamesXmlIsLeftAlone();
    void sameFolderIsNeverTouched();
};

void TestGameDefinitions::copies_data() {
    QTest::addColumn<QString>("emulator"); // under the root
    QTest::addColumn<QString>("source");   // under the root; empty: none
    QTest::addColumn<int>("sourceAge");
    QTest::addColumn<int>("targetAge"); // -1: no copy yet
    QTest::addColumn<QByteArray>("result");

    QTest::newRow("missing copy") << "emu/"
                                  << "emu/Config/Games.xml" << 100 << -1 << QByteArray("new");
    QTest::newRow("older copy replaced")
        << "emu/"
        << "emu/Config/Games.xml" << 100 << 200 << QByteArray("new");
    QTest::newRow("newer copy kept") << "emu/"
                                     << "emu/Config/Games.xml" << 200 << 100 << QByteArray("old");
    QTest::newRow("source build in bin")
        << "src/bin/"
        << "src/Config/Games.xml" << 100 << -1 << QByteArray("new");
    QTest::newRow("only bin looks above")
        << "src/other/"
        << "src/Config/Games.xml" << 100 << -1 << QByteArray("(none)");
    QTest::newRow("nothing to copy") << "emu/"
                                     << "" << 0 << 100 << QByteArray("old");
    QTest::newRow("no emulator folder") << ""
                                        << "" << 0 << -1 << QByteArray("(none)");
}

void TestGameDefinitions::copies() {
    QFETCH(QString, emulator);
    QFETCH(QString, source);
    QFETCH(int, sourceAge);
    QFETCH(int, targetAge);
    QFETCH(QByteArray, result);

    Folders f;
    QDir().mkpath(f.root + emulator);
    if (!source.isEmpty())
        f.write(f.root + source, "new", sourceAge);
    if (targetAge >= 0)
        f.write(f.target, "old", targetAge);
    emulator::copyGameDefinitions(emulator.isEmpty() ? QString() : f.root + emulator, f.program);
    QCOMPARE(f.read(f.target), result);
    if (!source.isEmpty())
        QCOMPARE(f.read(f.root + source), QByteArray("new")); // only ever read
}

void TestGameDefinitions::folderNamedGamesXmlIsLeftAlone() {
    Folders f;
    f.write(f.root + QStringLiteral("emu/Config/Games.xml"), "new", 0);
    QVERIFY(QDir().mkpath(f.target));
    emulator::copyGameDefinitions(f.root + QStringLiteral("emu/"), f.program);
    QVERIFY(QFileInfo(f.target).isDir());

    // A folder on the emulator's side is no source.
    Folders g;
    QVERIFY(QDir().mkpath(g.root + QStringLiteral("emu/Config/Games.xml")));
    emulator::copyGameDefinitions(g.root + QStringLiteral("emu/"), g.program);
    QVERIFY(!QFileInfo::exists(g.target));
}

void TestGameDefinitions::sameFolderIsNeverTouched() {
    // The emulator sits in the program folder: its file is the copy.
    Folders f;
    f.write(f.target, "own", 100);
    const QDateTime before = QFileInfo(f.target).lastModified();
    emulator::copyGameDefinitions(f.program, f.program);
    emulator::copyGameDefinitions(f.program + QStringLiteral("./"), f.program);
    QCOMPARE(f.read(f.target), QByteArray("own"));
    QCOMPARE(QFileInfo(f.target).lastModified(), before);
}

QTEST_APPLESS_MAIN(TestGameDefinitions)
#include "test_game_definitions.moc"
