// The shipped pictures: every numbered picture loads, and each is drawn from
// a source large enough for the screen it is shown on.

#include "ui/Pictures.h"

#include <QImage>
#include <QTest>

class PicturesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyNumberedPictureLoads();
    void sharpOnDoubleDensityScreens();
    void unknownPicturesGiveNothing();
};

void PicturesTest::everyNumberedPictureLoads() {
    for (int n = 101; n <= 122; ++n) {
        const QPixmap picture =
            ui::renderPicture(ui::numberedPictureResource(n), QSize(244, 190), 1.0);
        QVERIFY2(!picture.isNull(), qPrintable(QString::number(n)));
    }
    // Snapshots keep their proportions inside the snapshot image.
    const QPixmap snapshot =
        ui::renderPicture(ui::numberedPictureResource(107), QSize(244, 190), 1.0);
    QCOMPARE(snapshot.size(), QSize(244, 186));
}

void PicturesTest::sharpOnDoubleDensityScreens() {
    const QString launch = ui::launchPictureResource();
    const QPixmap once = ui::renderPicture(launch, QSize(113, 30), 1.0);
    const QPixmap twice = ui::renderPicture(launch, QSize(113, 30), 2.0);
    QCOMPARE(once.size(), QSize(113, 30));
    QCOMPARE(twice.size(), QSize(226, 60));
    QCOMPARE(twice.deviceIndependentSize(), QSizeF(113, 30));
    // Drawn from the double-size source, not blown up from the small one:
    // an upscaled picture has no edge sharper than its blur.
    const QImage sharp = twice.toImage();
    const QImage blown =
        once.toImage().scaled(226, 60, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(sharp != blown);
    int hardEdges = 0;
    for (int y = 0; y < sharp.height(); ++y)
        for (int x = 1; x < sharp.width(); ++x)
            hardEdges += std::abs(qGray(sharp.pixel(x, y)) - qGray(sharp.pixel(x - 1, y))) > 200;
    int blownEdges = 0;
    for (int y = 0; y < blown.height(); ++y)
        for (int x = 1; x < blown.width(); ++x)
            blownEdges += std::abs(qGray(blown.pixel(x, y)) - qGray(blown.pixel(x - 1, y))) > 200;
    QVERIFY2(hardEdges > blownEdges,
             qPrintable(QStringLiteral("%1 vs %2").arg(hardEdges).arg(blownEdges)));
}

void PicturesTest::unknownPicturesGiveNothing() {
    QVERIFY(ui::numberedPictureResource(100).isEmpty());
    QVERIFY(ui::numberedPictureResource(123).isEmpty());
    QVERIFY(ui::renderPicture(QStringLiteral(":/pictures/999.png"), QSize(10, 10), 1.0).isNull());
    QVERIFY(ui::renderPicture(QString(), QSize(10, 10), 1.0).isNull());
}

QTEST_MAIN(PicturesTest)
#include "test_pictures.moc"
