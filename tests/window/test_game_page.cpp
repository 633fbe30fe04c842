// The binding panel's game page: every input of the selected game, bound like
// the chart's slots, sharing one value per input with the chart, saved in
// place.

#include "support/Definitions.h"
#include "support/Fakes.h"
#include "support/UsersFile.h"

#include "bindings/Capture.h"
#include "bindings/GamePage.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using ui::Form1;

namespace {

const QString kOwnIni = QStringLiteral("Config/Supermodel.ini");

// With `types`, the emulator's definitions give every built-in row's set
// those input types; without, there are no definitions.
struct PageFixture : FrontEndFixture {
    explicit PageFixture(const QStringList& types = {}, const QByteArray& file = usersFile()) {
        QDir().mkpath(path(QStringLiteral("Supermodel_0.1a_Win32")));
        if (!types.isEmpty())
            writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"),
                      builtInDefinitions([types](int) { return types; }));
        writeFile(kOwnIni, file);
        frontend.start();
        QCoreApplication::processEvents(); // the definitions join just after start-up
        form.show();
        QTest::mouseClick(form.Command3, Qt::LeftButton);
    }
    void turn() { QTest::mouseClick(form.page().Command8, Qt::LeftButton); }
    // The shown entry of input `name`, or null.
    ui::ClickableLabel* entry(const QString& name) const {
        for (ui::ClickableLabel* e : form.page().Label7)
            if (!e->isHidden() && ui::tag(e) == name)
                return e;
        return nullptr;
    }
    QStringList labels() const {
        QStringList shown;
        for (QLabel* l : form.page().Label8)
            if (!l->isHidden())
                shown << l->text();
        return shown;
    }
    QStringList headings() const {
        QStringList shown;
        for (QLabel* l : form.page().Label9)
            if (!l->isHidden())
                shown << l->text();
        return shown;
    }
    void capture(const QString& name, Qt::Key key) {
        QTest::mouseDClick(entry(name), Qt::LeftButton);
        QTest::keyClick(form.Text6, key);
    }
    void save() {
        dialogs.answers << true;
        QTest::mouseClick(form.Command6, Qt::LeftButton);
    }
};

} // namespace

class GamePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageListsTheGamesInputs_data();
    void pageListsTheGamesInputs();
    void oneValuePerInputAndTheGameSectionTold();
    void dirtDevilsBindsShiftUpAndSaveEditsItsLine();
    void skiChampsXAxisTakesOnlyAWholeAxis();
    void walkAndRestoreStayOnThePage();
    void keyboardReachesThePageAndBindsAnEntry();
    void focusGoesOnToTheNextEntry();
    void closingAndReopeningForgetsUnsavedPageEdits();
};

void GamePageTest::pageListsTheGamesInputs_data() {
    QTest::addColumn<QStringList>("types"); // empty: no definitions
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QStringList>("someLabels");
    QTest::addColumn<QStringList>("headings");
    const QStringList common{"Common Controls"};
    QTest::newRow("Virtua Fighter 3: P1 and P2")
        << QStringList{"common", "joystick1", "joystick2", "fighting"} << 0 << 24
        << QStringList{"P1 Punch", "P2 Punch", "P2 Joystick Up", "P2 Coin"}
        << QStringList{"Common Controls", "4-Way Joysticks", "Fighting Game Buttons"};
    QTest::newRow("Virtual On: the largest")
        << QStringList{"common", "twin_joysticks"} << 5 << 28
        << QStringList{"Macro Turn Left", "Right Joystick Down", "Right Turbo"}
        << QStringList{"Common Controls", "Virtual On Controls"};
    QTest::newRow("Le Mans 24 shifts up and down")
        << QStringList{"common", "vehicle", "vr4", "shiftupdown"} << 1 << 19
        << QStringList{"Shift Up", "Shift Down", "Full Steering"}
        << QStringList{"Common Controls", "Racing Game Steering Controls",
                       "Racing Game 4 VR View Buttons"};
    QTest::newRow("no definitions: the profile's slots, light-gun triggers by their names")
        << QStringList{} << 4 << 10
        << QStringList{"P1 Analog Gun Left Trigger", "P1 Analog Gun Right Trigger"}
        << QStringList{"Common Controls", "Analog Guns"};
}

void GamePageTest::pageListsTheGamesInputs() {
    QFETCH(QStringList, types);
    QFETCH(int, row);
    PageFixture f(types);
    f.form.List2->setCurrentRow(row);
    QVERIFY(f.form.page().Picture4->isHidden());
    f.turn();
    QVERIFY(!f.form.page().Picture4->isHidden());
    QCOMPARE(f.form.page().Label6->text(), f.form.List2->item(row)->text());
    QTEST(int(f.labels().size()), "entries");
    QFETCH(QStringList, someLabels);
    for (const QString& label : someLabels)
        QVERIFY2(f.labels().contains(label), qPrintable(label));
    QTEST(f.headings(), "headings");
    // The page lies inside the panel; its rows scroll within it.
    const QRect page(f.form.page().Picture4->mapTo(f.form.Picture3, QPoint()),
                     f.form.page().Picture4->size());
    QVERIFY(f.form.Picture3->rect().contains(page));
    QVERIFY(f.form.page().rows->widget()->height() <= f.form.page().rows->height() ||
            f.form.page().rows->verticalScrollBar()->maximum() > 0);
    // Another game while it is open shows that game's controls.
    f.form.List2->setCurrentRow(row == 2 ? 3 : 2);
    QCOMPARE(f.form.page().Label6->text(), f.form.List2->currentItem()->text());
    f.turn(); // back to the chart
    QVERIFY(f.form.page().Picture4->isHidden());
    QVERIFY(!f.form.Label1[0]->isHidden());
}

void GamePageTest::oneValuePerInputAndTheGameSectionTold() {
    PageFixture f({"common", "joystick1", "joystick2", "fighting"});
    f.form.List2->setCurrentRow(0); // Virtua Fighter 3, whose section sets Punch
    f.turn();
    ui::ClickableLabel* punch = f.entry(QStringLiteral("Punch"));
    QVERIFY(punch);
    // The page shows what the game gets, and edits it where it comes from.
    QCOMPARE(punch->text(), QStringLiteral("Q"));
    QVERIFY(punch->toolTip().contains(QLatin1String("set in this game's [ vf3 ] section")));
    f.capture(QStringLiteral("Punch"), Qt::Key_G);
    QCOMPARE(f.store().gameValue(QStringLiteral("vf3"), QStringLiteral("Punch")),
             std::optional<QString>(QStringLiteral("KEY_G")));
    QCOMPARE(f.value(12), QStringLiteral("KEY_A,JOY1_BUTTON1"));
    QCOMPARE(punch->text(), QStringLiteral("G"));
    // An input the game's section lacks is the chart's value, and back.
    f.capture(QStringLiteral("Kick"), Qt::Key_H);
    QCOMPARE(f.value(13), QStringLiteral("KEY_H,JOY1_BUTTON2"));
    // An input the file lacks shows the release's value and says so.
    f.store().load([](const QString&) { return std::optional<QString>(); });
    bindings::renderSlots(f.form, f.store());
    ui::ClickableLabel* kick2 = f.entry(QStringLiteral("Kick2"));
    QCOMPARE(f.store().value(ui::tag(kick2)), QStringLiteral("JOY2_BUTTON2"));
    QVERIFY(kick2->toolTip().contains(QLatin1String("built-in")));
    QVERIFY(kick2->deviceMark());
    QVERIFY(kick2->accessibleDescription().contains(QLatin1String("joystick 2 button 2")));
}

void GamePageTest::dirtDevilsBindsShiftUpAndSaveEditsItsLine() {
    const QByteArray user = usersFile();
    QCOMPARE(user.count('\n'), 263);
    PageFixture f({"common", "vehicle", "shiftupdown", "viewchange"}, user);
    f.turn();
    QVERIFY(f.entry(QStringLiteral("GearShiftUp")));
    QVERIFY(!f.entry(QStringLiteral("GearShift1"))); // four-gear games only
    f.capture(QStringLiteral("GearShiftUp"), Qt::Key_J);
    f.capture(QStringLiteral("Start1"), Qt::Key_K); // on the chart too
    QVERIFY(!ui::tag(f.form.Picture3).isEmpty());   // the close question counts it
    f.save();
    QVERIFY(f.dialogs.boxes.last().text.contains(QLatin1String("successful")));
    QCOMPARE(changedLines(user, f.readFile(kOwnIni)),
             (QList<QByteArray>{"InputStart1 = \"KEY_K,JOY1_BUTTON9\"",
                                "InputGearShiftUp = \"KEY_J\"           ; sequential shift up"}));
}

void GamePageTest::skiChampsXAxisTakesOnlyAWholeAxis() {
    PageFixture f({"common", "ski"});
    f.turn();
    ui::ClickableLabel* skiX = f.entry(QStringLiteral("SkiX"));
    QVERIFY(skiX);
    QTest::mouseDClick(skiX, Qt::LeftButton);
    QVERIFY(f.form.Text6->isVisible());
    // The line shows the prompt short; its tooltip and description whole.
    const QString whole = QStringLiteral(
        "InputSkiX: move a stick from one end to the other, or the mouse across the red box");
    QVERIFY(f.form.Label3->text().startsWith(QLatin1String("InputSkiX: ")));
    QVERIFY(f.form.Label3->toolTip().startsWith(whole));
    QCOMPARE(f.form.Label3->accessibleDescription(), whole);
    QTest::keyClick(f.form.Text6, Qt::Key_A); // refused: the emulator would be
    QTest::mouseClick(f.form.Text6, Qt::LeftButton);
    QVERIFY(f.form.Text6->isVisible());
    QCOMPARE(f.store().value(ui::tag(skiX)), QStringLiteral("JOY1_XAXIS"));
    QVERIFY(f.form.Label3->text().contains(QLatin1String("SkiX")));
    // The mouse moved well across the box gives the mouse's X axis.
    const int y = f.form.Text6->height() / 2;
    QTest::mouseMove(f.form.Text6, QPoint(2, y));
    QTest::mouseMove(f.form.Text6, QPoint(f.form.Text6->width() - 2, y));
    QVERIFY(f.form.Text6->isHidden());
    QCOMPARE(f.store().value(ui::tag(skiX)), QStringLiteral("MOUSE_XAXIS,JOY1_XAXIS"));
    // A pole takes keys as usual.
    f.capture(QStringLiteral("SkiPollLeft"), Qt::Key_Z);
    QCOMPARE(f.store().value(QStringLiteral("SkiPollLeft")), QStringLiteral("KEY_Z,JOY1_BUTTON1"));
}

void GamePageTest::walkAndRestoreStayOnThePage() {
    PageFixture f({"common", "magtruck"});
    f.turn();
    const int entries = bindings::pageEntries(f.form);
    QCOMPARE(entries, 16);
    QTest::mouseClick(f.form.Command5, Qt::LeftButton);
    QCOMPARE(ui::tag(f.form.Picture3), QString::number(Form1::kPageFirstSlot));
    int keys = 0;
    while (f.form.Text6->isVisible() && keys < 40) {
        const int slot = ui::tag(f.form.Picture3).toInt();
        if (bindings::slotKind(f.form, slot) == bindings::InputKind::WholeAxis) {
            QTest::keyClick(f.form.Text6, Qt::Key_Escape); // skipped
        } else {
            QTest::keyClick(f.form.Text6, Qt::Key(Qt::Key_A + keys % 26));
        }
        ++keys;
    }
    QCOMPARE(keys, entries); // the page's entries only
    QCOMPARE(f.store().value(QStringLiteral("MagicalPedal2")),
             QStringLiteral("JOY2_BUTTON1,KEY_P"));
    QCOMPARE(f.value(15), QStringLiteral("KEY_F,JOY1_BUTTON4")); // untouched
    // Restore brings back the release's keys, joysticks kept.
    QTest::mouseClick(f.form.Command4, Qt::LeftButton);
    QCOMPARE(f.store().value(QStringLiteral("MagicalPedal2")),
             QStringLiteral("KEY_S,JOY2_BUTTON1"));
    QCOMPARE(f.store().value(QStringLiteral("MagicalLeverUp2")), QStringLiteral("NONE"));
    QCOMPARE(f.value(0), QStringLiteral("KEY_1,JOY1_BUTTON9"));
}

void GamePageTest::keyboardReachesThePageAndBindsAnEntry() {
    PageFixture f({"common", "joystick1", "spikeout"});
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    // From New Scan: the panel's own button is off while it is open, and
    // the settings' comes next.
    f.form.Command2->setFocus();
    QTest::keyClick(f.form.Command2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.form.Command9);
    QTest::keyClick(f.form.Command9, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.form.page().Command8);
    QCOMPARE(f.form.page().Command8->text(), QStringLiteral("Every control of this game"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!f.form.page().Picture4->isHidden());
    QCOMPARE(f.form.page().Command8->text(), QStringLiteral("Back to the chart"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // the page's first entry
    QCOMPARE(QApplication::focusWidget(), f.form.page().Label7[0]);
    for (int i = 0; i < 12; ++i) // common, joystick: on to Shift
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.entry(QStringLiteral("Shift")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(f.form.Text6->hasFocus());
    QTest::keyClick(f.form.Text6, Qt::Key_M);
    QCOMPARE(f.store().value(QStringLiteral("Shift")), QStringLiteral("KEY_M,JOY1_BUTTON1"));
}

void GamePageTest::focusGoesOnToTheNextEntry() {
    PageFixture f({"common", "ski"});
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.turn();
    const auto& entries = f.form.page().Label7;
    const int last = bindings::pageEntries(f.form) - 1;
    QTest::mouseDClick(entries[3], Qt::LeftButton);
    QTest::keyClick(f.form.Text6, Qt::Key_G);
    QCOMPARE(QApplication::focusWidget(), entries[4]);
    // Enter binds it, Esc leaves it as it was: on either way.
    QTest::keyClick(entries[4], Qt::Key_Return);
    QTest::keyClick(f.form.Text6, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), entries[5]);
    QTest::mouseDClick(entries[std::size_t(last)], Qt::LeftButton);
    QTest::keyClick(f.form.Text6, Qt::Key_H);
    QCOMPARE(QApplication::focusWidget(), f.form.Command6);
}

void GamePageTest::closingAndReopeningForgetsUnsavedPageEdits() {
    PageFixture f({"common", "ski"});
    f.turn();
    f.capture(QStringLiteral("SkiSelect1"), Qt::Key_U);
    f.dialogs.answers << false; // not saved
    QTest::mouseClick(f.form.Image5, Qt::LeftButton);
    QVERIFY(f.form.Picture3->isHidden());
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QVERIFY(f.form.page().Picture4->isHidden()); // the chart first
    f.turn();
    QCOMPARE(f.store().value(QStringLiteral("SkiSelect1")), QStringLiteral("KEY_Q,JOY1_BUTTON3"));
}

QTEST_MAIN(GamePageTest)
#include "test_game_page.moc"
