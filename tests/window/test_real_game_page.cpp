// The game page over the emulator's own game definitions, with a virtual
// joystick for the whole-axis inputs, checked against the real emulator:
// what the page binds and saves is what "-print-inputs" reads, under the
// labels the page shows.

#include "support/Fakes.h"
#include "support/RealEmulator.h"
#include "support/UsersFile.h"
#include "support/VirtualPad.h"

#include "bindings/BindingValue.h"
#include "bindings/Capture.h"
#include "bindings/GameInputs.h"
#include "bindings/GamePage.h"
#include "bindings/Latin1.h"
#include "bindings/PadLayout.h"
#include "emulator/EmulatorFiles.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>

using ui::Form1;

namespace {

const QString kGamesXml = QStringLiteral(KESTRUN_REAL_EMULATOR "/Config/Games.xml");
const char kPadName[] = "Kestrun Test Stick";
int g_realDevices = 0;

// The emulator's names of the test pad's whole axis `axis`: reversed
// ("_INV", first pushed to its negative end) or not.
QStringList padAxis(int axis) {
    static const QStringList names{"XAXIS", "YAXIS", "ZAXIS", "RXAXIS", "RYAXIS", "RZAXIS"};
    const QString name = QStringLiteral("JOY%1_").arg(g_realDevices + 1) + names[axis];
    return {name + QStringLiteral("_INV"), name};
}

// The program folder with the first-start file, and an emulator folder
// holding the real installation's definitions and assets.
struct RealPageFixture : FrontEndFixture {
    RealPageFixture() {
        const QString emulator = path(QStringLiteral("Supermodel_0.1a_Win32/"));
        QDir().mkpath(emulator + QLatin1String("Config"));
        QFile::copy(kGamesXml, emulator + QLatin1String("Config/Games.xml"));
        QFile::link(QStringLiteral(KESTRUN_REAL_EMULATOR "/Assets"),
                    emulator + QLatin1String("Assets"));
        writeFile(QStringLiteral("Config/Supermodel.ini"), firstStartFile());
        frontend.start();
        QCoreApplication::processEvents(); // the definitions join just after start-up
        form.show();
        QTest::mouseClick(form.Command3, Qt::LeftButton);
    }
    // Selects the game titled `title` and turns to its page.
    bool turnTo(const QString& title) {
        const QList<QListWidgetItem*> found = form.List2->findItems(title, Qt::MatchExactly);
        if (found.size() != 1)
            return false;
        form.List2->setCurrentItem(found[0]);
        QTest::mouseClick(form.page().Command8, Qt::LeftButton);
        return bindings::pageShown(form) && form.page().Label6->text() == title;
    }
    ui::ClickableLabel* entry(const QString& name) const {
        for (ui::ClickableLabel* e : form.page().Label7)
            if (!e->isHidden() && ui::tag(e) == name)
                return e;
        return nullptr;
    }
    // The group heading shown above entry `i`.
    QString headingOf(int i) const {
        const int y = form.page().Label8[std::size_t(i)]->y();
        QString heading;
        int nearest = -1;
        for (const QLabel* h : form.page().Label9)
            if (!h->isHidden() && h->y() < y && h->y() > nearest) {
                nearest = h->y();
                heading = h->text();
            }
        return heading;
    }
    int capturedSlot() const { return ui::tag(form.Picture3).toInt(); }
    bool capturing() const { return !form.Text6->isHidden(); }
    // Waits until the capture reads the test pad.
    bool padSeen() const {
        return QTest::qWaitFor(
            [&] { return form.Label3->toolTip().contains(QLatin1String(kPadName)); }, 2000);
    }
    // Moves the pad's axis from rest to the negative end and on to the
    // positive one, again until the capture moves on (a poll of the devices
    // can miss a step on a busy machine); back to rest then. True once the
    // capture has moved on.
    bool sweep(VirtualPad& pad, int axis) {
        const int slot = capturedSlot();
        const auto movedOn = [&] { return !capturing() || capturedSlot() != slot; };
        bool taken = false;
        for (int round = 0; round < 10 && !taken; ++round)
            for (int end : {0, -32768, 32767})
                if (!taken) {
                    pad.set(QStringLiteral("a%1=%2").arg(axis).arg(end));
                    taken = QTest::qWaitFor(movedOn, 60);
                }
        pad.set(QStringLiteral("a%1=0").arg(axis));
        return taken;
    }
};

} // namespace

class RealGamePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void everyEntryBindsAndTheEmulatorReadsIt_data();
    void everyEntryBindsAndTheEmulatorReadsIt();
    void skiChampsXAxisTakesAWholeStickAxisAndRefusesAKey();
    void everyPadLayoutIsReadByTheEmulator();
};

void RealGamePageTest::initTestCase() {
    if (!QFileInfo(kGamesXml).isFile())
        QSKIP("the emulator's Games.xml is not in ../shared/real-emulator");
    // Held for the whole test: the virtual devices live as long as it does.
    g_realDevices = virtualpad::initialise();
    QVERIFY(g_realDevices >= 0);
}

void RealGamePageTest::cleanupTestCase() {
    virtualpad::finish();
}

void RealGamePageTest::everyEntryBindsAndTheEmulatorReadsIt_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("wholeAxes");
    QTest::newRow("Spikeout") << "Spikeout" << 16 << 0;
    QTest::newRow("Ski Champ") << "Ski Champ" << 19 << 2;
    QTest::newRow("Sega Bass Fishing") << "Sega Bass Fishing" << 24 << 4;
    QTest::newRow("Magical Truck Adventure") << "Magical Truck Adventure" << 16 << 2;
}

// "All over again" on the page: a key of its own for each entry, an axis of
// its own for each whole-axis one; saved, and read back by the emulator.
void RealGamePageTest::everyEntryBindsAndTheEmulatorReadsIt() {
    if (const QString missing = realemulator::missing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QFETCH(QString, title);
    VirtualPad pad(kPadName);
    RealPageFixture f;
    QVERIFY(f.turnTo(title));
    QTEST(bindings::pageEntries(f.form), "entries");
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    QVERIFY(f.padSeen());
    QHash<QString, QStringList> given; // by input: the key or the axis it was given
    int keys = 0;
    int axes = 0;
    while (f.capturing() && keys + axes < Form1::kPageEntryCount) {
        const int slot = f.capturedSlot();
        const QString input = ui::tag(f.form.slotLabel(slot));
        if (bindings::slotKind(f.form, slot) == bindings::InputKind::WholeAxis) {
            given.insert(input, padAxis(axes));
            QVERIFY2(f.sweep(pad, axes++), qPrintable(input));
        } else {
            given.insert(input, {QString(QChar(u'A' + keys))}); // as the slot shows it
            QTest::keyClick(f.form.Text6, Qt::Key(Qt::Key_A + keys++));
        }
        QVERIFY2(!f.capturing() || f.capturedSlot() == slot + 1, qPrintable(input));
    }
    QTEST(axes, "wholeAxes");
    QCOMPARE(keys + axes, bindings::pageEntries(f.form));
    // Each entry as the page shows it: heading, label, value.
    QList<QStringList> shown;
    for (int i = 0; i < bindings::pageEntries(f.form); ++i) {
        const ui::ClickableLabel* entry = f.form.page().Label7[std::size_t(i)];
        const QString value = f.store().value(ui::tag(entry));
        const QStringList sources = given.value(ui::tag(entry));
        QVERIFY2(std::any_of(sources.begin(), sources.end(),
                             [&](const QString& source) {
                                 return bindings::splitSources(value).contains(source) ||
                                        bindings::shownKey(value) == source;
                             }),
                 qPrintable(ui::tag(entry) + u' ' + value));
        shown.append({f.headingOf(i), f.form.page().Label8[std::size_t(i)]->text(), value});
    }

    f.dialogs.answers << true;
    QTest::mouseClick(f.form.Command6, Qt::LeftButton);
    QVERIFY(f.dialogs.boxes.last().text.contains(QLatin1String("successful")));
    // What the front-end brings into its folder before any start.
    const auto failure = emulator::bringEmulatorFiles(f.form.Text4->text(), f.folder());
    QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    const QString printed = realemulator::printInputs(f.folder());
    QVERIFY(printed.contains(QLatin1String("Input Assignments")));
    QVERIFY2(!printed.contains(QLatin1String("Unable to map input")), qPrintable(printed));
    const auto bindings = realemulator::printedBindings(printed);
    for (const QStringList& entry : shown) {
        const QHash<QString, QString> group = bindings.value(entry[0]);
        QVERIFY2(group.contains(entry[1]), qPrintable(entry[0] + u'/' + entry[1]));
        QCOMPARE(group.value(entry[1]), entry[2]);
    }
}

void RealGamePageTest::skiChampsXAxisTakesAWholeStickAxisAndRefusesAKey() {
    VirtualPad pad(kPadName);
    RealPageFixture f;
    QVERIFY(f.turnTo(QStringLiteral("Ski Champ")));
    ui::ClickableLabel* skiX = f.entry(QStringLiteral("SkiX"));
    QVERIFY(skiX);
    QCOMPARE(f.store().value(ui::tag(skiX)), QStringLiteral("JOY1_XAXIS"));
    QTest::mouseDClick(skiX, Qt::LeftButton);
    QVERIFY(f.padSeen());
    QTest::keyClick(f.form.Text6, Qt::Key_A);
    pad.set(QStringLiteral("b0")); // nor a button, nor half an axis
    QTest::qWait(60);
    pad.set(QStringLiteral("b0=0 a1=-32768"));
    QTest::qWait(100);
    QVERIFY(f.capturing());
    QCOMPARE(f.store().value(ui::tag(skiX)), QStringLiteral("JOY1_XAXIS"));
    QVERIFY2(f.form.Label3->text().startsWith(QLatin1String("A key cannot drive SkiX")),
             qPrintable(f.form.Label3->text()));
    QTest::mouseClick(f.form.Text6, Qt::LeftButton);
    QVERIFY(f.capturing());
    QVERIFY2(f.form.Label3->text().startsWith(QLatin1String("A mouse button cannot drive SkiX")),
             qPrintable(f.form.Label3->text()));
    // End to end, the stick's Y axis drives it.
    QVERIFY(f.sweep(pad, 1));
    QVERIFY(!f.capturing());
    QVERIFY2(padAxis(1).contains(f.store().value(ui::tag(skiX))),
             qPrintable(f.store().value(ui::tag(skiX))));
}

// The game controller's layout of every input type, both players, Nintendo
// style for the second: the emulator reads each value as written.
void RealGamePageTest::everyPadLayoutIsReadByTheEmulator() {
    if (const QString missing = realemulator::missing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QStringList types;
    for (const bindings::GameInput& input : bindings::kGameInputs)
        types << bindings::latin1(input.type);
    types.removeDuplicates();
    const auto values = bindings::padValues(types, 2, {false, true}, {});
    QByteArray ini = "[ Global ]\r\nInputSystem = \"sdlgamepad\"\r\n";
    for (const bindings::InputValue& v : values)
        ini += "Input" + v.input.toLatin1() + " = \"" + v.value.toLatin1() + "\"\r\n";
    QTemporaryDir run;
    QVERIFY(QDir(run.path()).mkpath(QStringLiteral("Config")));
    QVERIFY(QFile::copy(kGamesXml, run.filePath(QStringLiteral("Config/Games.xml"))));
    QVERIFY(QFile::link(QStringLiteral(KESTRUN_REAL_EMULATOR "/Assets"),
                        run.filePath(QStringLiteral("Assets"))));
    QFile file(run.filePath(QStringLiteral("Config/Supermodel.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
    file.close();
    const QString printed = realemulator::printInputs(run.path());
    QVERIFY2(!printed.contains(QLatin1String("Unable to map input")), qPrintable(printed));
    const auto bindings = realemulator::printedBindings(printed);
    for (const bindings::InputValue& v : values) {
        const bindings::GameInput* input = bindings::gameInput(v.input.toStdString());
        const QString heading = bindings::latin1(bindings::inputTypeHeading(input->type));
        QCOMPARE(bindings.value(heading).value(bindings::latin1(input->label)), v.value);
    }
}

QTEST_MAIN(RealGamePageTest)
#include "test_real_game_page.moc"
