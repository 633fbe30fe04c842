// Selecting games: the view of the selected game, slot marking by profile,
// Restore, and the chart that the slot labels sit on.

#include "support/Fakes.h"

#include "bindings/BindingChart.h"
#include "bindings/Profiles.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "ui/ClickableLabel.h"
#include "ui/GameList.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using ui::Form1;

namespace {

const QColor kMarked(255, 192, 192);
const QColor kUnmarked(224, 224, 224);

QList<int> markedSlots(const Form1& form) {
    QList<int> marked;
    if (!form.panelBuilt())
        return marked;
    for (int i = 0; i < Form1::kSlotCount; ++i) {
        const QColor c = Form1::backColor(form.Label1[std::size_t(i)]);
        if (c == kMarked)
            marked << i;
        else if (c != kUnmarked)
            marked << -1000 - i; // neither colour: shows up as a mismatch
    }
    return marked;
}

// Both paths name folders, so that the list's tooltip holds the status alone.
void makePathFolders(const FrontEndFixture& f) {
    for (const char* folder : {"Roms", "Supermodel_0.1a_Win32"})
        QDir().mkpath(f.path(QLatin1String(folder)));
}

QList<int> range(int from, int to) {
    QList<int> r;
    for (int i = from; i <= to; ++i)
        r << i;
    return r;
}

} // namespace

class SelectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpShowsTheLastGame();
    void eachGameShowsItsPictures_data();
    void eachGameShowsItsPictures();
    void launchButtonFollowsTheArchiveNow();
    void everyWayOfSelectingRunsTheViewOnce();
    void markingFollowsTheProfileWhileThePanelIsOpen();
    void markingWaitsWhileThePanelIsClosed();
    void restoreFillsDefaultsAndKeepsColours();
    void slotTableMatchesTheDefaultText();
    void chartBoxesLieUnderTheirSlotLabels();
};

void SelectionTest::startUpShowsTheLastGame() {
    FrontEndFixture f;
    f.frontend.start();
    QCOMPARE(f.form.List2->currentRow(), 15);
    QCOMPARE(f.form.Label2[1]->text(), QStringLiteral("16"));
    // A first start says that neither path names a folder yet.
    QCOMPARE(f.form.List2->toolTip(),
             QStringLiteral("Severe problems.\nEmu Path is not a folder: there is nothing at ") +
                 f.path(QStringLiteral("Supermodel_0.1a_Win32/")) +
                 QStringLiteral("\nRom Path is not a folder: there is nothing at ") +
                 f.path(QStringLiteral("Roms/")));
    QCOMPARE(f.form.pictureNumber(f.form.Image1), 122);
    QCOMPARE(f.form.pictureNumber(f.form.Image2), 102);
    QCOMPARE(f.form.pictureNumber(f.form.Image3), 106);
    QCOMPARE(f.form.pictureNumber(f.form.Image4), 104);
    QVERIFY(!f.form.Command1->isEnabled());
    // Every picture really drew, as large as its image allows without
    // losing its proportions.
    for (QLabel* image : {f.form.Image1, f.form.Image2, f.form.Image3, f.form.Image4}) {
        const QSize shown = image->pixmap().deviceIndependentSize().toSize();
        QVERIFY(image->rect().contains(QRect(QPoint(), shown)));
        QVERIFY(shown.width() >= image->width() - 1 || shown.height() >= image->height() - 1);
    }

    // A picture that cannot be loaded leaves the image as it was.
    const qint64 before = f.form.Image1->pixmap().cacheKey();
    QVERIFY(!f.form.showPicture(f.form.Image1, 99));
    QCOMPARE(f.form.Image1->pixmap().cacheKey(), before);
    QCOMPARE(f.form.pictureNumber(f.form.Image1), 122);
}

void SelectionTest::eachGameShowsItsPictures_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QList<int>>("pictures");
    QTest::newRow("Scud Race") << 2 << "Good." << QList<int>{109, 101, 106, 103};
    QTest::newRow("Le Mans 24, lower-case good")
        << 1 << "Mostly good, isolated problems." << QList<int>{108, 102, 106, 103};
    QTest::newRow("Virtua Striker 2 '98") << 6 << "Good." << QList<int>{113, 101, 106, 103};
    QTest::newRow("L.A. Machineguns") << 12 << "Severe problems." << QList<int>{119, 102, 106, 104};
}

void SelectionTest::eachGameShowsItsPictures() {
    QFETCH(int, row);
    QFETCH(QString, tooltip);
    QFETCH(QList<int>, pictures);
    FrontEndFixture f;
    makePathFolders(f);
    f.frontend.start();
    f.form.List2->setCurrentRow(row);
    QCOMPARE(f.form.Label2[1]->text(), QString::number(row + 1));
    QCOMPARE(f.form.List2->toolTip(), tooltip);
    const QList<int> shown{f.form.pictureNumber(f.form.Image1), f.form.pictureNumber(f.form.Image2),
                           f.form.pictureNumber(f.form.Image3),
                           f.form.pictureNumber(f.form.Image4)};
    QCOMPARE(shown, pictures);
}

void SelectionTest::launchButtonFollowsTheArchiveNow() {
    FrontEndFixture f;
    QDir().mkpath(f.path(QStringLiteral("Roms")));
    f.writeFile(QStringLiteral("Roms/scud.zip"), "z");
    f.frontend.start();
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("1"));
    f.form.List2->setCurrentRow(2);
    QVERIFY(f.form.Command1->isEnabled());
    f.form.List2->setCurrentRow(3); // Scud Race Plus: no archive
    QVERIFY(!f.form.Command1->isEnabled());

    // Removed since the scan: the count still has it, the button does not.
    QFile::remove(f.path(QStringLiteral("Roms/scud.zip")));
    f.form.List2->setCurrentRow(2);
    QVERIFY(!f.form.Command1->isEnabled());
    QCOMPARE(f.form.Label2[2]->text(), QStringLiteral("1"));
}

void SelectionTest::everyWayOfSelectingRunsTheViewOnce() {
    FrontEndFixture f;
    makePathFolders(f);
    f.frontend.start();
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QSignalSpy views(&f.form, &Form1::list2RowSelected);

    // A click on another row, then on the row already selected: one run each.
    const QRect row3 = f.form.List2->visualItemRect(f.form.List2->item(3));
    QTest::mouseClick(f.form.List2->viewport(), Qt::LeftButton, {}, row3.center());
    QCOMPARE(views.count(), 1);
    QCOMPARE(f.form.Label2[1]->text(), QStringLiteral("4"));
    f.form.Label2[1]->setText(QString());
    QTest::mouseClick(f.form.List2->viewport(), Qt::LeftButton, {}, row3.center());
    QCOMPARE(views.count(), 2);
    QCOMPARE(f.form.Label2[1]->text(), QStringLiteral("4"));

    // Arrow keys.
    f.form.List2->setFocus();
    QTest::keyClick(f.form.List2, Qt::Key_Down);
    QCOMPARE(views.count(), 3);
    QCOMPARE(f.form.Label2[1]->text(), QStringLiteral("5"));
    QCOMPARE(f.form.List2->toolTip(), QStringLiteral("Mostly good, isolated problems."));

    // Setting the index.
    f.form.List2->setCurrentRow(0);
    QCOMPARE(views.count(), 4);
    QCOMPARE(f.form.pictureNumber(f.form.Image1), 107);
}

void SelectionTest::markingFollowsTheProfileWhileThePanelIsOpen() {
    FrontEndFixture f;
    f.frontend.start();
    f.form.List2->setCurrentRow(0); // profile "1"
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QVERIFY(!f.form.Picture3->isHidden());
    QCOMPARE(markedSlots(f.form), range(8, 15));

    f.form.List2->setCurrentRow(2); // profile "3" unmarks the fighting slots
    QCOMPARE(markedSlots(f.form), range(16, 27));
    f.form.List2->setCurrentRow(1); // profile "2": no shifts 3 and 4
    QCOMPARE(markedSlots(f.form), (QList<int>{16, 17, 18, 19, 20, 21, 24, 25, 26, 27}));
    f.form.List2->setCurrentRow(9); // Daytona USA 2 Power Edition, as Daytona USA 2
    QCOMPARE(markedSlots(f.form), range(16, 27));
    f.form.List2->setCurrentRow(6); // profile "7"
    QCOMPARE(markedSlots(f.form), (QList<int>{8, 9, 10, 11, 30, 31, 32}));
    f.form.List2->setCurrentRow(4); // lightgun
    QCOMPARE(markedSlots(f.form), (QList<int>{47, 48}));
    f.form.List2->setCurrentRow(5);
    QCOMPARE(markedSlots(f.form), range(33, 44));
    f.form.List2->setCurrentRow(14);
    QCOMPARE(markedSlots(f.form), (QList<int>{45, 46}));
    f.form.List2->setCurrentRow(13); // "x": nothing
    QCOMPARE(markedSlots(f.form), QList<int>{});

    QCOMPARE(bindings::profileSlotList(QStringLiteral("6")),
             bindings::profileSlotList(QStringLiteral("7")));
    QVERIFY(!bindings::profileSlotList(QStringLiteral("x")));
    QVERIFY(!bindings::profileSlotList(QString()));
}

void SelectionTest::markingWaitsWhileThePanelIsClosed() {
    FrontEndFixture f;
    f.frontend.start();
    f.form.List2->setCurrentRow(4);
    QCOMPARE(markedSlots(f.form), QList<int>{}); // nothing marked before a refresh
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QCOMPARE(markedSlots(f.form), (QList<int>{47, 48}));
    f.dialogs.answers.enqueue(false); // the first close asks; do not save
    QTest::mouseClick(f.form.Image5, Qt::LeftButton);
    QVERIFY(f.form.Picture3->isHidden());

    // Closed: colours persist through other selections.
    f.form.List2->setCurrentRow(0);
    QCOMPARE(markedSlots(f.form), (QList<int>{47, 48}));
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    QCOMPARE(markedSlots(f.form), range(8, 15));
}

void SelectionTest::restoreFillsDefaultsAndKeepsColours() {
    FrontEndFixture f;
    f.frontend.start();
    f.form.List2->setCurrentRow(0);
    QTest::mouseClick(f.form.Command3, Qt::LeftButton);
    for (ui::ClickableLabel* slot : f.form.Label1) {
        slot->setText(QString());
        ui::setTag(slot, QString());
    }
    ui::setTag(f.form.Picture3, QString());
    QTest::mouseClick(f.form.Command4, Qt::LeftButton);

    for (int i = 0; i < Form1::kSlotCount; ++i) {
        const bindings::InputSlot& slot = bindings::kSlots[std::size_t(i)];
        QCOMPARE(f.form.Label1[std::size_t(i)]->text(),
                 QString::fromLatin1(slot.defaultKey.data(), slot.defaultKey.size()));
        QCOMPARE(ui::tag(f.form.Label1[std::size_t(i)]),
                 QString::fromLatin1(slot.inputName.data(), slot.inputName.size()));
    }
    QCOMPARE(markedSlots(f.form), range(8, 15));
    QCOMPARE(ui::tag(f.form.Picture3), QString()); // Restore is not an edit

    // So closing now asks nothing and the restored values are dropped.
    QTest::mouseClick(f.form.Image5, Qt::LeftButton);
    QVERIFY(f.dialogs.boxes.isEmpty());
    QVERIFY(f.form.Picture3->isHidden());
    QCOMPARE(f.form.Label1[0]->text(), QString());
}

void SelectionTest::slotTableMatchesTheDefaultText() {
    const QString text = bindings::defaultBindingText();
    QVERIFY(text.startsWith(QStringLiteral(
        "Start1;1;Start2;2;Coin1;3;Coin2;4;ServiceA;5;ServiceB;7;TestA;6;TestB;8;")));
    QVERIFY(text.endsWith(QStringLiteral("Trigger;MouseLeft;Offscreen;MouseRight;")));
    const QStringList elements = text.split(u';');
    QCOMPARE(elements.size(), 99);
    QVERIFY(elements.last().isEmpty());
    // Spot checks against the slot table's designed values.
    QCOMPARE(elements[2 * 12], QStringLiteral("Punch"));
    QCOMPARE(elements[2 * 28 + 1], QStringLiteral("A"));
    QCOMPARE(elements[2 * 44], QStringLiteral("TwinJoyRightTurbo"));
    QCOMPARE(elements[2 * 44 + 1], QStringLiteral("X"));
}

void SelectionTest::chartBoxesLieUnderTheirSlotLabels() {
    Form1 form;
    form.setSlotLooks(&bindings::slotLook);
    form.buildPanel();
    const QImage chart = bindings::bindingChart(1.0).toImage();
    QCOMPARE(chart.size(), QSize(361, 570));
    for (int i = 0; i < Form1::kSlotCount; ++i) {
        const QRect label = form.Label1[std::size_t(i)]->geometry();
        QCOMPARE(bindings::chartSlotBox(i), label);
        // The box's frame sits exactly on the label's edge and its inside is
        // white: the label hides it completely.
        QVERIFY(chart.pixelColor(label.center()) == QColor(Qt::white));
        QVERIFY2(chart.pixelColor(label.topLeft()) != QColor(Qt::white),
                 qPrintable(QString::number(i)));
        QVERIFY(chart.pixelColor(label.bottomRight()) != QColor(Qt::white));
        // Something (the caption) is drawn left of the box on the same row.
        bool caption = false;
        for (int x = std::max(0, label.left() - 100); x < label.left() - 8 && !caption; ++x)
            caption = chart.pixelColor(x, label.center().y()).lightness() < 100;
        QVERIFY2(caption, qPrintable(QString::number(i)));
    }
}

QTEST_MAIN(SelectionTest)
#include "test_selection.moc"
