// The binding panel left by keyboard: Esc does what its close mark does,
// except while a capture waits.

#include "support/Fakes.h"

#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/Panel.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

class PanelKeysTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void escapeClosesThePanelUnlessACaptureWaits();
};

void PanelKeysTest::escapeClosesThePanelUnlessACaptureWaits() {
    FrontEndFixture f;
    f.frontend.start();
    f.form.show();
    f.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    auto escape = [&f] {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &f.form, Qt::Key_Escape);
    };
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QTest::mouseDClick(f.form.Label1[0], Qt::LeftButton);
    QTest::keyClick(f.form.Text6, Qt::Key_J);

    // A waiting capture takes Esc: the slot stays as it was, the panel open.
    const QString second = f.value(1);
    QTest::mouseDClick(f.form.Label1[1], Qt::LeftButton);
    escape();
    QVERIFY(f.form.Text6->isHidden());
    QCOMPARE(f.value(1), second);
    QVERIFY(f.form.Picture3->isVisible());
    QVERIFY(f.dialogs.boxes.isEmpty());

    // Then Esc asks the close mark's question; No closes without a save.
    f.dialogs.answers << false;
    escape();
    QCOMPARE(f.dialogs.boxes.size(), 1);
    QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("save settings to ? Y/N"));
    QVERIFY(f.form.Picture3->isHidden());
    QVERIFY(!f.form.Command3->isHidden() && f.form.Command3->isEnabled());
    QVERIFY(!QFile::exists(f.path(QStringLiteral("Config/Supermodel.ini"))));

    // Nothing edited: it closes at once.
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    escape();
    QVERIFY(f.form.Picture3->isHidden());
    QCOMPARE(f.dialogs.boxes.size(), 1);
}

QTEST_MAIN(PanelKeysTest)
#include "test_panel_keys.moc"
