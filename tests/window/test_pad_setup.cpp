// The game controller set-up over the game's page: the layout applied for
// one game into its sets' sections or for every game into [ Global ], a part
// moved by a pad, and all of it by keyboard.

#include "support/Fakes.h"
#include "support/UsersFile.h"
#include "support/VirtualPad.h"

#include "bindings/PadSetup.h"
#include "emulator/ConfigDocument.h"
#include "ui/CheckBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/PadPicture.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using ui::Form1;
using ui::PadPicture;

namespace {

const QString kOwnIni = QStringLiteral("Config/Supermodel.ini");

// The real emulator's game list, so that a row stands for all its sets.
struct PadFixture : FrontEndFixture {
    explicit PadFixture(const QByteArray& file = usersFile()) {
        QFile games(QStringLiteral(KESTRUN_REAL_EMULATOR "/Config/Games.xml"));
        if (!games.open(QIODevice::ReadOnly))
            return;
        writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), games.readAll());
        writeFile(kOwnIni, file);
        frontend.start();
        QCoreApplication::processEvents(); // the definitions join just after start-up
        form.show();
    }
    void select(const QString& title) {
        const auto found = form.List2->findItems(title, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        form.List2->setCurrentItem(found.front());
    }
    void openSetUp(const QString& title) {
        select(title);
        QTest::mouseClick(form.Command3, Qt::LeftButton);
        QTest::mouseClick(form.page().Command8, Qt::LeftButton);
        QTest::mouseClick(form.page().Command10, Qt::LeftButton);
    }
    const ui::PadSetupView& view() const { return form.padSetup(); }
    void save() {
        dialogs.answers << true;
        QTest::mouseClick(form.Command6, Qt::LeftButton);
    }
    emulator::ConfigDocument saved() const { return emulator::ConfigDocument(readFile(kOwnIni)); }
};

QString value(const emulator::ConfigDocument& file, const char* section, const char* name) {
    return QString::fromUtf8(file.value(section, name).value_or("(none)"));
}

} // namespace

class PadSetupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void virtuaFighter3ForThisGame();
    void partMovedByAPad();
    void nintendoLettersFollowTheConnectedPad();
    void everyGameWarnsOfJoystickBindings();
    void keyboardOnly();
};

void PadSetupTest::initTestCase() {
    QVERIFY(virtualpad::initialise() >= 0);
}

void PadSetupTest::cleanupTestCase() {
    virtualpad::finish();
}

void PadSetupTest::virtuaFighter3ForThisGame() {
    const QByteArray before = usersFile() + "\n[ scud ]\nInputStart1 = \"KEY_9\"\n";
    PadFixture f(before);
    f.openSetUp(QStringLiteral("Virtua Fighter 3"));
    QVERIFY(f.view().Picture6->isVisible());
    QVERIFY(f.view().Command11->isEnabled()); // player 2 has inputs
    f.view().Combo2->setCurrentIndex(1);      // a 5 % dead zone
    Q_EMIT f.view().Combo2->activated(1);
    QTest::mouseClick(f.view().Command12, Qt::LeftButton);
    // The chart shows [ Global ], which "this game" leaves alone.
    QCOMPARE(f.store().value(QStringLiteral("Punch")), QStringLiteral("KEY_A,JOY1_BUTTON1"));
    f.save();

    const emulator::ConfigDocument file = f.saved();
    for (const char* set : {"vf3", "vf3a", "vf3c"}) {
        QCOMPARE(value(file, set, "InputSystem"), QStringLiteral("sdlgamepad"));
        QCOMPARE(value(file, set, "InputKick"), QStringLiteral("KEY_S,JOY1_BUTTON4"));
        QCOMPARE(value(file, set, "InputKick2"), QStringLiteral("JOY2_BUTTON4"));
        QCOMPARE(value(file, set, "InputGuard2"), QStringLiteral("JOY2_BUTTON1"));
        QCOMPARE(value(file, set, "InputJoy2YDeadZone"), QStringLiteral("5"));
    }
    // The player's key in vf3's own section stays; the others start from
    // the global one.
    QCOMPARE(value(file, "vf3", "InputPunch"), QStringLiteral("KEY_Q,JOY1_BUTTON3"));
    QCOMPARE(value(file, "vf3a", "InputPunch"), QStringLiteral("KEY_A,JOY1_BUTTON3"));
    QCOMPARE(value(file, "Global", "InputSystem"), QStringLiteral("(none)"));
    QCOMPARE(value(file, "scud", "InputSystem"), QStringLiteral("(none)"));
    // Every other line of the file before stays as it was, in its order.
    const QByteArray after = f.readFile(kOwnIni);
    qsizetype at = 0;
    for (const QByteArray& line : before.split('\n')) {
        if (line.startsWith("InputPunch = \"KEY_Q"))
            continue; // vf3's own, edited in place
        at = after.indexOf(line, at);
        QVERIFY2(at >= 0, line.constData());
    }
    QCOMPARE(after.count("InputSystem"), 3);
}

void PadSetupTest::partMovedByAPad() {
    VirtualPad pad("Kestrun test pad", true, 0x045e, 0x028e); // an Xbox 360 pad
    PadFixture f;
    f.openSetUp(QStringLiteral("Virtua Fighter 3"));
    QVERIFY(QTest::qWaitFor(
        [&] { return f.view().Label12->text().contains(QLatin1String("Kestrun test pad")); },
        3000));
    PadPicture* picture = f.view().pad;
    // Punch sits west; pressed on the pad's north button, it goes there and
    // Kick takes its place.
    QTest::mouseClick(picture, Qt::LeftButton, {},
                      picture->partRect(PadPicture::Part::West).center());
    QVERIFY(f.view().Label12->text().contains(QLatin1String("P1 Punch")));
    QTest::qWait(60);
    pad.set(QStringLiteral("b%1").arg(SDL_CONTROLLER_BUTTON_Y));
    QVERIFY(QTest::qWaitFor(
        [&] { return picture->label(PadPicture::Part::North) == QLatin1String("P1 Punch"); },
        2000));
    QCOMPARE(picture->label(PadPicture::Part::West), QStringLiteral("P1 Kick"));
    // Taken off the pad, Punch keeps its keys only.
    QTest::mouseClick(picture, Qt::LeftButton, {},
                      picture->partRect(PadPicture::Part::North).center());
    QTest::mouseClick(f.view().Command14, Qt::LeftButton);
    QCOMPARE(picture->label(PadPicture::Part::North), QString());
    QTest::mouseClick(f.view().Command12, Qt::LeftButton);
    QCOMPARE(f.store().gameValue(QStringLiteral("vf3"), QStringLiteral("Punch")),
             std::optional<QString>(QStringLiteral("KEY_Q")));
    // A game that links cabinets names the pad that plays each one.
    QVERIFY(!f.view().Label12->text().contains(QLatin1String("Linked play")));
    f.select(QStringLiteral("Daytona USA 2"));
    QVERIFY(f.view().Label12->text().contains(
        QLatin1String("Linked play: Kestrun test pad plays cabinet 1.")));
}

void PadSetupTest::nintendoLettersFollowTheConnectedPad() {
    VirtualPad pad("Kestrun test Switch pad", true, 0x057e, 0x2009); // a Switch Pro pad
    PadFixture f;
    f.openSetUp(QStringLiteral("Virtua Fighter 3"));
    QVERIFY(QTest::qWaitFor(
        [&] { return f.view().Label12->text().contains(QLatin1String("Kestrun test Switch pad")); },
        3000));
    QVERIFY(f.view().Check5->isChecked());
}

void PadSetupTest::everyGameWarnsOfJoystickBindings() {
    // Two joystick bindings of the raw numbering that no layout replaces.
    const QByteArray extra = "InputServiceA = \"KEY_5,JOY1_BUTTON11\"\n"
                             "InputTestA = \"KEY_6,JOY2_BUTTON12\"\n";
    QList<int> counts;
    for (const QByteArray& file : {firstStartFile(), firstStartFile() + extra}) {
        PadFixture f(file);
        f.openSetUp(QStringLiteral("Daytona USA 2"));
        f.view().Combo1->setCurrentIndex(ui::kScopeEveryGame);
        Q_EMIT f.view().Combo1->activated(ui::kScopeEveryGame);
        f.dialogs.answers << false;
        const QString edited = ui::tag(f.form.Picture3);
        QTest::mouseClick(f.view().Command12, Qt::LeftButton);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        static const QRegularExpression count(QStringLiteral("(\\d+) joystick bindings"));
        const auto match = count.match(f.dialogs.boxes.front().text);
        QVERIFY(match.hasMatch());
        counts << match.captured(1).toInt();
        QCOMPARE(ui::tag(f.form.Picture3), edited);            // declined: nothing edited
        QTest::mouseClick(f.view().Command12, Qt::LeftButton); // now Yes
        QCOMPARE(f.store().inputSystem(), QStringLiteral("sdlgamepad"));
        QCOMPARE(f.store().value(QStringLiteral("Accelerator")),
                 QStringLiteral("KEY_UP,JOY1_RZAXIS_POS"));
        QCOMPARE(f.store().value(QStringLiteral("ServiceA")).isEmpty(), false);
    }
    QCOMPARE(counts[1], counts[0] + 2);
}

void PadSetupTest::keyboardOnly() {
    PadFixture f;
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.select(QStringLiteral("Virtual On Oratorio Tangram"));
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QTest::mouseClick(f.form.page().Command8, Qt::LeftButton);
    f.form.page().Command10->setFocus();
    QTest::keyClick(f.form.page().Command10, Qt::Key_Space);
    QVERIFY(f.view().Picture6->isVisible());
    // Tab reaches the picture; Enter chooses the part the keyboard is on.
    QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < 5 && focus != f.view().pad; ++i) {
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
    }
    QCOMPARE(focus, static_cast<QWidget*>(f.view().pad));
    QTest::keyClick(focus, Qt::Key_Return);
    QVERIFY(f.view().Label12->text().startsWith(QLatin1String("No game controller")) ||
            f.view().Label12->text().contains(QLatin1String("Press the part")));
    QVERIFY(f.view().Command14->isEnabled());
    QTest::keyClick(focus, Qt::Key_Escape); // back to the page
    QVERIFY(f.view().Picture6->isHidden());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.form.page().Command10));
    QTest::keyClick(f.form.page().Command10, Qt::Key_Space);
    f.view().Command12->setFocus();
    QTest::keyClick(f.view().Command12, Qt::Key_Space);
    QCOMPARE(ui::tag(f.form.Picture3), QStringLiteral("pad"));
    // The close question counts Apply: No leaves the file as it was.
    f.dialogs.answers << false;
    QTest::keyClick(f.view().Command12, Qt::Key_Escape);
    QVERIFY(f.view().Picture6->isHidden());
    QTest::keyClick(f.form.page().Command10, Qt::Key_Escape);
    QVERIFY(f.form.Picture3->isHidden());
    QCOMPARE(f.dialogs.boxes.last().text, QStringLiteral("save settings to ? Y/N"));
    QCOMPARE(f.readFile(kOwnIni), usersFile());
}

QTEST_MAIN(PadSetupTest)
#include "test_pad_setup.moc"
