// The window model as built: where every control sits, what lies in front of
// what, the keyboard order, the check-box values, the fixed size and the tags.

#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "ui/CaptureBox.h"
#include "ui/CheckBox.h"
#include "ui/ClickableLabel.h"
#include "ui/ControlTable.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/HelpText.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

using ui::Form1;

class WindowModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsSitAtTheirDesignedPixels_data();
    void controlsSitAtTheirDesignedPixels();
    void everyControlLiesInsideItsContainer();
    void slotLabelsAreThe49OfTheTable();
    void slotLabelsWaitForThePanelToBeBuilt();
    void panelCoversHelpTextExactly();
    void captureBoxLiesInFrontOfSlots();
    void listOneIsNeverAControl();
    void tabOrderFollowsTheDesign();
    void checkBoxAcceptsOnlyZeroOneTwo();
    void clickNeverMakesACheckBoxGrey();
    void sizeStaysFixed();
    void minimizeAndRestoreKeepTheSize();
    void startStateAndTags();
    void helpTextHasItsLinesAndFitsUnwrapped();
    void buttonsReportClicks();
};

void WindowModelTest::controlsSitAtTheirDesignedPixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("pixels");
    // Rounded from the designed twips (15 to the pixel).
    QTest::newRow("Picture3") << "Picture3"
                              << "Form1" << QRect(6, 4, 363, 572);
    QTest::newRow("Text2") << "Text2"
                           << "Form1" << QRect(6, 4, 363, 572);
    QTest::newRow("Text6") << "Text6"
                           << "Picture3" << QRect(296, 500, 62, 12);
    QTest::newRow("Command4") << "Command4"
                              << "Picture3" << QRect(12, 542, 85, 23);
    QTest::newRow("Command7") << "Command7"
                              << "Picture3" << QRect(267, 542, 85, 23);
    QTest::newRow("Image5") << "Image5"
                            << "Picture3" << QRect(336, 3, 21, 20);
    QTest::newRow("Label3") << "Label3"
                            << "Picture3" << QRect(11, 523, 341, 15);
    QTest::newRow("Command1") << "Command1"
                              << "Picture2" << QRect(5, 3, 112, 33);
    QTest::newRow("Command3") << "Command3"
                              << "Picture1" << QRect(90, 3, 20, 37);
    QTest::newRow("Check4") << "Check4"
                            << "Picture1" << QRect(4, 52, 60, 13);
    QTest::newRow("Text7") << "Text7"
                           << "Picture1" << QRect(62, 52, 47, 12);
    QTest::newRow("List2") << "List2"
                           << "Form1" << QRect(370, 283, 247, 274);
    QTest::newRow("Text4") << "Text4"
                           << "Form1" << QRect(99, 580, 518, 19);
    QTest::newRow("Command2") << "Command2"
                              << "Form1" << QRect(553, 600, 63, 19);
    QTest::newRow("Image1") << "Image1"
                            << "Form1" << QRect(371, 5, 244, 190);
    QTest::newRow("Label2(2)") << "Label2(2)"
                               << "Form1" << QRect(436, 556, 67, 21);
    QTest::newRow("Label1(0)") << "Label1(0)"
                               << "Picture3" << QRect(86, 25, 73, 12);
    QTest::newRow("Label1(48)") << "Label1(48)"
                                << "Picture3" << QRect(278, 479, 80, 12);
}

void WindowModelTest::controlsSitAtTheirDesignedPixels() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, pixels);
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    QWidget* control = form.control(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), pixels);
}

void WindowModelTest::everyControlLiesInsideItsContainer() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    const auto children = form.findChildren<QWidget*>();
    int checked = 0;
    for (QWidget* w : children) {
        if (w->objectName().isEmpty() || !form.control(w->objectName()))
            continue;
        const QRect inside = QRect(QPoint(0, 0), w->parentWidget()->size());
        QVERIFY2(inside.contains(w->geometry()), qPrintable(w->objectName()));
        ++checked;
    }
    // The slots, the game page (Picture4, Label6, 28 entries with their 28
    // row labels, 8 headings, Command8), the set-up's view, and the game
    // controller set-up (Command10 on the page, 11 controls over it).
    QCOMPARE(checked, 34 + 49 + 67 + 3 + 12);
}

void WindowModelTest::slotLabelsAreThe49OfTheTable() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    for (int i = 0; i < Form1::kSlotCount; ++i) {
        QLabel* slot = form.Label1[std::size_t(i)];
        QCOMPARE(slot->objectName(), QStringLiteral("Label1(%1)").arg(i));
        QCOMPARE(slot->parentWidget(), form.Picture3);
        QCOMPARE(slot->height(), 12);
        QVERIFY(slot->text().isEmpty());
        // No two slots overlap: each must be double-clickable on its own.
        for (int j = 0; j < i; ++j)
            QVERIFY2(!slot->geometry().intersects(form.Label1[std::size_t(j)]->geometry()),
                     qPrintable(QStringLiteral("%1 and %2").arg(i).arg(j)));
    }
}

void WindowModelTest::slotLabelsWaitForThePanelToBeBuilt() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    QVERIFY(!form.Label1.built());
    QCOMPARE(form.Picture3->findChildren<ui::ClickableLabel*>().size(), 1); // Image5
    QVERIFY(!form.control(QStringLiteral("Label1(5)")));
    form.buildPanel();
    QVERIFY(form.Label1.built());
    QCOMPARE(form.Picture3->findChildren<ui::ClickableLabel*>().size(),
             1 + Form1::kSlotCount + Form1::kPageEntryCount);
    QCOMPARE(form.control(QStringLiteral("Label1(5)")), static_cast<QWidget*>(form.Label1[5]));
    // Behind the panel's other controls, each slot in front of the next.
    const QObjectList children = form.Picture3->children();
    for (int i = 0; i < Form1::kSlotCount; ++i)
        QCOMPARE(children.at(Form1::kSlotCount - 1 - i),
                 static_cast<QObject*>(form.Label1[std::size_t(i)]));
    // The game page right in front of them, the prompt further in front.
    QCOMPARE(children.at(Form1::kSlotCount), static_cast<QObject*>(form.page().Picture4));
    QVERIFY(children.indexOf(form.Label3) > Form1::kSlotCount);
}

void WindowModelTest::panelCoversHelpTextExactly() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint middle = form.Text2->geometry().center();
    auto topmostAt = [&](QPoint p) {
        QWidget* w = form.childAt(p);
        while (w && w->parentWidget() != &form)
            w = w->parentWidget();
        return w;
    };
    QVERIFY(form.Picture3->isHidden());
    QCOMPARE(topmostAt(middle), static_cast<QWidget*>(form.Text2));

    form.Picture3->show();
    QCOMPARE(form.Picture3->geometry(), form.Text2->geometry());
    for (QPoint corner :
         {form.Text2->geometry().topLeft(), form.Text2->geometry().bottomRight(), middle})
        QCOMPARE(topmostAt(corner), static_cast<QWidget*>(form.Picture3));

    form.Picture3->hide();
    QCOMPARE(topmostAt(middle), static_cast<QWidget*>(form.Text2));
}

void WindowModelTest::captureBoxLiesInFrontOfSlots() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.Picture3->show();
    form.Text6->setGeometry(form.Label1[12]->geometry());
    form.Text6->show();
    QCOMPARE(form.Picture3->childAt(form.Label1[12]->geometry().center()),
             static_cast<QWidget*>(form.Text6));
}

void WindowModelTest::listOneIsNeverAControl() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    QVERIFY(!form.control(QStringLiteral("List1")));
    QVERIFY(!form.findChild<QWidget*>(QStringLiteral("List1")));
}

void WindowModelTest::tabOrderFollowsTheDesign() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.Picture3->show();
    form.Text6->show();
    form.Command1->setEnabled(true);
    QStringList expected{"List2",    "Text2",    "Text1",    "Text3",    "Check1",
                         "Check2",   "Check3",   "Command1", "Text4",    "Text5",
                         "Command2", "Command3", "Command9", "Command4", "Command5",
                         "Command6", "Command7", "Text6",    "Check4",   "Text7"};
    // The slots, then the game page's entries and the game controller
    // set-up, follow the buttons that open the panel and the settings.
    const QStringList padSetup{"Command10", "Command11", "Check5",    "Combo2",   "PadPicture",
                               "Combo1",    "Command14", "Command12", "Command13"};
    for (auto it = padSetup.rbegin(); it != padSetup.rend(); ++it)
        expected.insert(13, *it);
    for (int i = Form1::kPageEntryCount - 1; i >= 0; --i)
        expected.insert(13, QStringLiteral("Label7(%1)").arg(i));
    for (int i = Form1::kSlotCount - 1; i >= 0; --i)
        expected.insert(13, QStringLiteral("Label1(%1)").arg(i));
    expected.insert(13, QStringLiteral("Command8")); // turns to the game's page
    form.Label1[0]->show();
    QStringList seen;
    QWidget* w = form.List2;
    for (int guard = 0; guard < 400 && seen.size() < expected.size(); ++guard) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() &&
            form.control(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
        w = w->nextInFocusChain();
    }
    QCOMPARE(seen, expected);
    // Other labels, images and panels take no focus.
    for (QWidget* w2 :
         {static_cast<QWidget*>(form.Image1), static_cast<QWidget*>(form.Image5),
          static_cast<QWidget*>(form.Picture1), static_cast<QWidget*>(form.Label2[0])})
        QCOMPARE(w2->focusPolicy(), Qt::NoFocus);
}

void WindowModelTest::checkBoxAcceptsOnlyZeroOneTwo() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    ui::CheckBox* box = form.Check2;
    QCOMPARE(box->value(), 0);
    QVERIFY(box->setValue(2));
    QCOMPARE(box->value(), 2);
    QCOMPARE(box->checkState(), Qt::PartiallyChecked);
    QVERIFY(!box->setValue(3));
    QCOMPARE(box->value(), 2);
    QVERIFY(!box->setValue(-1));
    QCOMPARE(box->value(), 2);
    QVERIFY(box->setValue(1));
    QCOMPARE(box->checkState(), Qt::Checked);
    QVERIFY(box->setValue(0));
    QCOMPARE(box->value(), 0);
}

void WindowModelTest::clickNeverMakesACheckBoxGrey() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ui::CheckBox* box = form.Check1;
    const QPoint indicator(6, box->height() / 2);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    QCOMPARE(box->value(), 1);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    QCOMPARE(box->value(), 0);
    box->setValue(2);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    QCOMPARE(box->value(), 0);
}

void WindowModelTest::sizeStaysFixed() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(623, 649));
    QCOMPARE(form.focusWidget(), static_cast<QWidget*>(form.List2)); // first in the tab order
    form.resize(800, 700);
    QCOMPARE(form.size(), QSize(623, 649));
    form.resize(100, 100);
    QCOMPARE(form.size(), QSize(623, 649));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void WindowModelTest::minimizeAndRestoreKeepTheSize() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.minimize();
    QVERIFY(form.windowState() & Qt::WindowMinimized);
    form.showNormal();
    QVERIFY(!(form.windowState() & Qt::WindowMinimized));
    QCOMPARE(form.size(), QSize(623, 649));
}

void WindowModelTest::startStateAndTags() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    QVERIFY(form.Picture3->isHidden());
    QVERIFY(form.Text6->isHidden());
    QVERIFY(!form.Command1->isEnabled());
    QVERIFY(form.Command3->isEnabled());
    QCOMPARE(ui::tag(form.Image1), QStringLiteral("\""));
    QCOMPARE(ui::tag(form.Picture3), QStringLiteral("b"));
    QCOMPARE(ui::tag(form.Command1), QString());
    QCOMPARE(ui::tag(form.Command5), QString());
    for (QLabel* slot : form.Label1)
        QCOMPARE(ui::tag(slot), QString());
    QCOMPARE(form.Text7->text(), QStringLiteral("25"));
    QCOMPARE(form.Check4->value(), 0);
    QCOMPARE(form.Command6->text(), QStringLiteral("Save"));
    QCOMPARE(form.Command5->text(), QStringLiteral("All over again"));
    QCOMPARE(form.Command2->text(), QStringLiteral("New Scan"));
    QCOMPARE(form.Label4->text(), QStringLiteral("Rom Path :"));
    QCOMPARE(form.Label5->text(), QStringLiteral("Emu Path :"));
    QCOMPARE(form.Check3->text(), QStringLiteral("Disable 60 Hz ..."));
    QCOMPARE(form.Command1->toolTip(), QStringLiteral("Test extensive OpenGL information"));
    QCOMPARE(form.Command3->toolTip(), QStringLiteral("Button set"));
    QCOMPARE(form.Check1->toolTip(), QStringLiteral("Display frame rate in window title bar"));
    QVERIFY(form.Command1->text().isEmpty());
    QVERIFY(!form.Command1->icon().isNull());
    QVERIFY(!form.Image5->pixmap().isNull());
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(ui::Form1::backColor(form.Label1[0]), QColor(224, 224, 224));
    QCOMPARE(form.Text6->palette().color(QPalette::Base), QColor(255, 0, 0));
    QCOMPARE(form.List2->count(), 0);
}

void WindowModelTest::helpTextHasItsLinesAndFitsUnwrapped() {
    const QString text = ui::helpText();
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 32); // 31 lines, each ended by CR LF
    QCOMPARE(lines[0], QStringLiteral("------------"));
    QCOMPARE(lines[9], QStringLiteral(" Toggle Mouse Cursor (Full Screen Mode)  Alt-I"));
    QCOMPARE(lines[30], QStringLiteral("--------------------------------------------------------"));

    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Text2->toPlainText(),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const QFontMetrics metrics(form.Text2->font());
    const int room =
        form.Text2->viewport()->width() - 2 * int(form.Text2->document()->documentMargin());
    for (const QString& line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) < room, qPrintable(line));
    QVERIFY(metrics.lineSpacing() * 31 < form.Text2->viewport()->height());
    // The columns line up because every character has the same advance.
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")),
             metrics.horizontalAdvance(QStringLiteral("WWWW")));
}

void WindowModelTest::buttonsReportClicks() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy scan(&form, &Form1::command2Clicked);
    QSignalSpy open(&form, &Form1::command3Clicked);
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    QTest::mouseClick(form.Command3, Qt::LeftButton);
    QCOMPARE(scan.count(), 1);
    QCOMPARE(open.count(), 1);

    form.Picture3->show();
    QSignalSpy close(&form, &Form1::image5Clicked);
    QSignalSpy slot(&form, &Form1::slotDoubleClicked);
    QTest::mouseClick(form.Image5, Qt::LeftButton);
    QTest::mouseDClick(form.Label1[30], Qt::LeftButton);
    QCOMPARE(close.count(), 1);
    QCOMPARE(slot.count(), 1);
    QCOMPARE(slot.first().first().toInt(), 30);

    QSignalSpy closeRequest(&form, &Form1::closeRequested);
    form.close();
    QCOMPARE(closeRequest.count(), 1);
}

QTEST_MAIN(WindowModelTest)
#include "test_window_model.moc"
