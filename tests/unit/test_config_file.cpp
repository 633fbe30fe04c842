// The emulator's configuration file: which files the editor refuses.
#include "emulator/ConfigFile.h"
#include "support/UsersFile.h"

#include <QTest>

using namespace emulator;

class ConfigFileTest final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void badFilesAreFound();
};

void ConfigFileTest::badFilesAreFound() {
    QCOMPARE(configProblem(firstStartFile()), ConfigProblem::None);
    QCOMPARE(configProblem(QByteArray("InputPunch = \"A\"\n\0\n", 20)), ConfigProblem::NulByte);
    QCOMPARE(configProblem(QByteArray(kConfigFileLimit + 1, 'x')), ConfigProblem::TooLarge);
    QCOMPARE(configProblem(QByteArray(kConfigFileLimit, 'x')), ConfigProblem::None);
}

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "test_config_file.moc"
