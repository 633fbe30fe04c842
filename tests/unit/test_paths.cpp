// The two path boxes as they are used: "~/" for the home folder, an Emu Path
// naming the program file, what is there when a path is not a folder, and
// where a first start finds an installed emulator.

#include "catalogue/EmulatorSearch.h"
#include "catalogue/FolderPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "T" in a row stands for the test's own folder, which is also the home.
QString inFolder(QString text, const QString& folder) {
    return text.replace(QLatin1String("T/"), folder);
}

} // namespace

class PathsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void tildeMeansHome_data();
    void tildeMeansHome();
    void programFileNamesItsFolder_data();
    void programFileNamesItsFolder();
    void notAFolderSaysWhatIsThere_data();
    void notAFolderSaysWhatIsThere();
    void searchOrder();
    void firstProgramFound_data();
    void firstProgramFound();

private:
    QTemporaryDir m_dir;
    QString m_folder; // with its separator
};

void PathsTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + u'/';
    auto makeFile = [this](const QString& name, bool runnable) {
        QDir().mkpath(QFileInfo(m_folder + name).absolutePath());
        QFile file(m_folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        if (runnable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    makeFile(QStringLiteral("bin/supermodel"), true);
    makeFile(QStringLiteral("bin/mysupermodel"), true);
    makeFile(QStringLiteral("plain/supermodel"), false);
    QDir().mkpath(m_folder + QStringLiteral("tree/supermodel"));
    QDir().mkpath(m_folder + QStringLiteral("build/bin"));
    QDir().mkpath(m_folder + QStringLiteral("links"));
    QVERIFY(QFile::link(m_folder + QStringLiteral("bin/supermodel"),
                        m_folder + QStringLiteral("links/supermodel")));
}

void PathsTest::tildeMeansHome_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("used");
    QTest::newRow("leading ~/") << "~/roms/"
                                << "/home/ann/roms/";
    QTest::newRow("~/ alone") << "~/"
                              << "/home/ann/";
    QTest::newRow("~ alone") << "~"
                             << "/home/ann";
    QTest::newRow("another user's ~") << "~bob/roms/"
                                      << "~bob/roms/";
    QTest::newRow("~ further on") << "/srv/~/roms/"
                                  << "/srv/~/roms/";
    QTest::newRow("absolute") << "/srv/roms/"
                              << "/srv/roms/";
    QTest::newRow("empty") << ""
                           << "";
}

void PathsTest::tildeMeansHome() {
    QFETCH(QString, text);
    QTEST(catalogue::usedPath(text, QStringLiteral("/home/ann")), "used");
}

void PathsTest::programFileNamesItsFolder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folder"); // "-": none
    QTest::newRow("the program") << "T/bin/supermodel"
                                 << "T/bin/";
    QTest::newRow("with a separator after it") << "T/bin/supermodel/"
                                               << "T/bin/";
    QTest::newRow("under ~/, kept as typed") << "~/bin/supermodel/"
                                             << "~/bin/";
    QTest::newRow("not runnable, still the program file") << "T/plain/supermodel"
                                                          << "T/plain/";
    QTest::newRow("a link to it") << "T/links/supermodel"
                                  << "T/links/";
    QTest::newRow("a folder of that name") << "T/tree/supermodel/"
                                           << "-";
    QTest::newRow("another file") << "T/bin/mysupermodel"
                                  << "-";
    QTest::newRow("nothing there") << "T/none/supermodel"
                                   << "-";
    QTest::newRow("the folder") << "T/bin/"
                                << "-";
}

void PathsTest::programFileNamesItsFolder() {
    QFETCH(QString, text);
    QFETCH(QString, folder);
    const auto found = catalogue::programFileFolder(inFolder(text, m_folder), m_dir.path());
    QCOMPARE(found.value_or(QStringLiteral("-")), inFolder(folder, m_folder));
}

void PathsTest::notAFolderSaysWhatIsThere_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("a folder") << "T/bin/"
                              << "";
    QTest::newRow("a folder without its separator") << "T/bin"
                                                    << "";
    QTest::newRow("a folder under ~/") << "~/bin/"
                                       << "";
    QTest::newRow("a file") << "T/bin/supermodel/"
                            << "Rom Path is not a folder: T/bin/supermodel is an ordinary file";
    QTest::newRow("nothing, ~/ as used") << "~/roms/"
                                         << "Rom Path is not a folder: there is nothing at T/roms/";
    QTest::newRow("empty") << ""
                           << "Rom Path is empty";
}

void PathsTest::notAFolderSaysWhatIsThere() {
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(
        catalogue::notAFolder(QStringLiteral("Rom Path"), inFolder(text, m_folder), m_dir.path()),
        inFolder(line, m_folder));
}

void PathsTest::searchOrder() {
    QCOMPARE(catalogue::emulatorSearchFolders(QStringLiteral("/a/bin::/b/bin"),
                                              QStringLiteral("/home/ann")),
             (QStringList{"/a/bin", "/b/bin", "/usr/local/bin", "/home/ann/.local/bin"}));
}

void PathsTest::firstProgramFound_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("program"); // "-": none
    QTest::addColumn<QString>("folder");
    QTest::newRow("the first that has it")
        << QStringList{"T/none", "T/bin", "T/links"} << "T/bin/supermodel"
        << "T/bin/";
    QTest::newRow("one that cannot be run is passed over")
        << QStringList{"T/plain", "T/bin"} << "T/bin/supermodel"
        << "T/bin/";
    QTest::newRow("a folder of its name is passed over")
        << QStringList{"T/tree", "T/links"} << "T/links/supermodel"
        << "T/bin/";
    QTest::newRow("none") << QStringList{"T/none", "T/build/bin"} << "-"
                          << "-";
}

void PathsTest::firstProgramFound() {
    QFETCH(QStringList, folders);
    QFETCH(QString, program);
    QFETCH(QString, folder);
    for (QString& f : folders)
        f = inFolder(f, m_folder);
    const auto found = catalogue::findEmulator(folders);
    QCOMPARE(found ? found->program : QStringLiteral("-"), inFolder(program, m_folder));
    QCOMPARE(found ? found->folder : QStringLiteral("-"), inFolder(folder, m_folder));
}

QTEST_GUILESS_MAIN(PathsTest)
#include "test_paths.moc"
