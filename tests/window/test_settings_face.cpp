// The emulator's settings face, driven as a user would: the scope, where
// each value comes from, edits saved in place, put back, the close question
// and the keyboard.

#include "support/Fakes.h"

#include "ui/CheckBox.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/SettingsFace.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

const QString kOwnIni = QStringLiteral("Config/Supermodel.ini");
constexpr int kScudPlusRow = 3;

// Scud Race Plus in two versions, clones of Scud Race.
const QByteArray kDefinitions = R"(<games>
  <game name="scud"><identity><title>Scud Race</title><version>Australia</version></identity>
    <roms><region name="crom"><file offset="0" name="a" crc32="0x1"/></region></roms></game>
  <game name="scudplus" parent="scud"><identity><title>Scud Race Plus</title>
    <version>World</version></identity>
    <roms><region name="crom"><file offset="0" name="b" crc32="0x2"/></region></roms></game>
  <game name="scudplusa" parent="scud"><identity><title>Scud Race Plus</title>
    <version>World, Revision A</version></identity>
    <roms><region name="crom"><file offset="0" name="c" crc32="0x3"/></region></roms></game>
</games>)";

const QByteArray kFile = "; the player's\n[ Global ]\nSoundVolume = 80\nWideScreen = 0\n\n"
                         "[ scudplus ]\nStretch = 1\n";

struct FaceFixture : FrontEndFixture {
    explicit FaceFixture(const QByteArray& file = kFile, bool definitions = true) {
        if (definitions)
            writeFile(QStringLiteral("Supermodel_0.1a_Win32/Config/Games.xml"), kDefinitions);
        writeFile(kOwnIni, file);
        frontend.start();
        QCoreApplication::processEvents(); // the definitions join just after start-up
        form.show();
        form.List2->setCurrentRow(kScudPlusRow);
        QTest::mouseClick(form.Command9, Qt::LeftButton);
    }
    ui::SettingsFace* face() const { return form.settingsFace(); }
    QString source(const char* name) const { return face()->source(QLatin1String(name))->text(); }
    QWidget* editor(const char* name) const { return face()->editor(QLatin1String(name)); }
    void thisGame() { QTest::mouseClick(face()->thisGameButton(), Qt::LeftButton); }
    void type(const char* name, const QString& text) {
        auto* box = qobject_cast<QLineEdit*>(editor(name));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void save() { QTest::mouseClick(face()->saveButton(), Qt::LeftButton); }
};

} // namespace

class SettingsFaceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scopeFollowsTheRowAndTheTitleNamesIt();
    void eachValueSaysWhereItComesFrom();
    void aGamesChangeGoesIntoEachOfItsSetsOnly();
    void putBackLeavesTheValueForAllGames();
    void aValueOutOfRangeIsMarkedAndKept();
    void closingAsksWhileChanged();
    void keyboardAlone();
};

void SettingsFaceTest::scopeFollowsTheRowAndTheTitleNamesIt() {
    FaceFixture f;
    QVERIFY(f.face()->isVisible());
    QCOMPARE(f.face()->geometry(), f.form.Text2->geometry());
    QCOMPARE(f.face()->title()->text(), QStringLiteral("Emulator settings for all games"));
    f.thisGame();
    QCOMPARE(f.face()->title()->text(), QStringLiteral("Emulator settings for Scud Race Plus"));
    QVERIFY(f.face()->thisGameButton()->toolTip().contains(
        QLatin1String("[ scudplus ] and [ scudplusa ]")));
    // A row the definitions do not know offers all games alone.
    f.form.List2->setCurrentRow(0);
    QVERIFY(!f.face()->thisGameButton()->isEnabled());
    QCOMPARE(f.face()->title()->text(), QStringLiteral("Emulator settings for all games"));
    f.form.List2->setCurrentRow(kScudPlusRow);
    QCOMPARE(f.face()->title()->text(), QStringLiteral("Emulator settings for Scud Race Plus"));

    FaceFixture earlier(kFile, false); // the 2011 release: no game list
    QVERIFY(!earlier.face()->thisGameButton()->isEnabled());
}

void SettingsFaceTest::eachValueSaysWhereItComesFrom() {
    FaceFixture f;
    f.form.Check1->click(); // Show Fps: the start passes -show-fps
    f.thisGame();
    QCOMPARE(f.source("VSync"), QStringLiteral("built-in"));
    QCOMPARE(f.source("SoundVolume"), QStringLiteral("all games"));
    QCOMPARE(qobject_cast<QLineEdit*>(f.editor("SoundVolume"))->text(), QStringLiteral("80"));
    QCOMPARE(f.source("Stretch"), QStringLiteral("this game"));
    QVERIFY(qobject_cast<QCheckBox*>(f.editor("Stretch"))->isChecked());
    QCOMPARE(f.source("ShowFrameRate"), QStringLiteral("window"));
    QVERIFY(!f.editor("ShowFrameRate")->isEnabled());
    QVERIFY(f.editor("ShowFrameRate")->toolTip().contains(QLatin1String("-show-fps")));
    QCOMPARE(f.source("XResolution"), QStringLiteral("window"));
    // The versions differ: scudplusa has no Stretch of its own.
    QVERIFY(f.editor("Stretch")->toolTip().contains(QLatin1String("scudplusa 0")));
    // The game list's own file is read before any game: all games only.
    QVERIFY(f.editor("GameXMLFile")->isHidden());
    f.form.Check1->click();
    QCOMPARE(f.source("ShowFrameRate"), QStringLiteral("built-in"));
}

void SettingsFaceTest::aGamesChangeGoesIntoEachOfItsSetsOnly() {
    FaceFixture f;
    f.thisGame();
    qobject_cast<QCheckBox*>(f.editor("WideScreen"))->click();
    QCOMPARE(f.source("WideScreen"), QStringLiteral("this game"));
    QVERIFY(f.face()->saveButton()->isEnabled());
    f.save();
    QVERIFY(f.face()->isHidden());
    QCOMPARE(f.dialogs.boxes.last().text.section(u'\n', 0, 0),
             QStringLiteral("File write successful .."));
    QCOMPARE(f.readFile(kOwnIni),
             QByteArray("; the player's\n[ Global ]\nSoundVolume = 80\nWideScreen = 0\n\n"
                        "[ scudplus ]\nStretch = 1\nWideScreen = 1\n\n"
                        "[ scudplusa ]\nWideScreen = 1\n"));
    // For all games, the global line changes in place.
    QTest::mouseClick(f.form.Command9, Qt::LeftButton);
    f.type("SoundVolume", QStringLiteral("120"));
    f.save();
    QVERIFY(f.readFile(kOwnIni).startsWith("; the player's\n[ Global ]\nSoundVolume = 120\n"));
}

void SettingsFaceTest::putBackLeavesTheValueForAllGames() {
    FaceFixture f;
    f.thisGame();
    QToolButton* putBack = f.face()->putBackButton(QStringLiteral("Stretch"));
    QVERIFY(putBack->isVisible());
    QVERIFY(f.face()->putBackButton(QStringLiteral("SoundVolume"))->isHidden());
    QTest::mouseClick(putBack, Qt::LeftButton);
    QCOMPARE(f.source("Stretch"), QStringLiteral("built-in"));
    f.save();
    QCOMPARE(f.readFile(kOwnIni), QByteArray(kFile).replace("Stretch = 1\n", ""));

    // A header naming another set too keeps its line: the set gets the
    // value for all games in a block of its own, and the face says why.
    FaceFixture shared("[ Global ]\nWideScreen = 0\n[ scudplus, scud ]\nWideScreen = 1\n");
    shared.thisGame();
    QTest::mouseClick(shared.face()->putBackButton(QStringLiteral("WideScreen")), Qt::LeftButton);
    QVERIFY(shared.face()->notice()->text().contains(QLatin1String("[ scudplus ]")));
    QCOMPARE(shared.source("WideScreen"), QStringLiteral("this game"));
    QVERIFY(!qobject_cast<QCheckBox*>(shared.editor("WideScreen"))->isChecked());
}

void SettingsFaceTest::aValueOutOfRangeIsMarkedAndKept() {
    const QByteArray file = "[ Global ]\nSoundVolume = 900\nBalance = left\n";
    FaceFixture f(file);
    QCOMPARE(qobject_cast<QLineEdit*>(f.editor("SoundVolume"))->text(), QStringLiteral("900"));
    QVERIFY(f.editor("SoundVolume")
                ->accessibleDescription()
                .startsWith(QLatin1String("Outside 0 to 200")));
    QVERIFY(f.editor("Balance")->accessibleDescription().startsWith(QLatin1String("Not a number")));
    f.type("MusicVolume", QStringLiteral("50"));
    f.save();
    QCOMPARE(f.readFile(kOwnIni), file + "MusicVolume = 50\n");
}

void SettingsFaceTest::closingAsksWhileChanged() {
    FaceFixture f;
    QTest::mouseClick(f.face()->closeButton(), Qt::LeftButton); // nothing changed: no question
    QVERIFY(f.face()->isHidden());
    QVERIFY(f.dialogs.boxes.isEmpty());

    QTest::mouseClick(f.form.Command9, Qt::LeftButton);
    f.type("SoundVolume", QStringLiteral("90"));
    f.dialogs.answers << false;
    QTest::mouseClick(f.face()->closeButton(), Qt::LeftButton);
    QCOMPARE(f.dialogs.boxes.last().text, QStringLiteral("save settings to ? Y/N"));
    QVERIFY(f.face()->isHidden());
    QCOMPARE(f.readFile(kOwnIni), kFile);

    // Turning to the binding panel asks the same, and Yes saves first.
    QTest::mouseClick(f.form.Command9, Qt::LeftButton);
    QCOMPARE(f.source("SoundVolume"), QStringLiteral("all games")); // the dropped change is gone
    f.type("SoundVolume", QStringLiteral("90"));
    f.dialogs.answers << true;
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QVERIFY(f.face()->isHidden());
    QVERIFY(f.form.Picture3->isVisible());
    QVERIFY(f.readFile(kOwnIni).contains("SoundVolume = 90\n"));
}

void SettingsFaceTest::keyboardAlone() {
    FaceFixture f;
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(f.face()->isHidden());
    f.form.Command3->setFocus();
    QTest::keyClick(f.form.Command3, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.form.Command9);
    QTest::keyClick(f.form.Command9, Qt::Key_Space);
    QVERIFY(f.face()->isVisible());
    QCOMPARE(QApplication::focusWidget(), f.face()->allGamesButton());
    // Tab walks the editors in the list's order; Space ticks.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.editor("New3DEngine"));
    while (QApplication::focusWidget() != f.editor("WideScreen"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(f.face()->saveButton()->isEnabled());
    // Save follows the list's editors and its folded headings.
    for (int guard = 0; guard < 100 && QApplication::focusWidget() != f.face()->saveButton();
         ++guard)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(f.face()->isHidden());
    QVERIFY(f.readFile(kOwnIni).contains("WideScreen = 1\n"));
}

QTEST_MAIN(SettingsFaceTest)
#include "test_settings_face.moc"
