#include "gui/widgets/pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSvgRenderer>
#include <QTest>

namespace {
// The share of pixels that are not fully transparent.
double coverage(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    qint64 visible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            visible += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return double(visible) / double(qint64(image.width()) * image.height());
}

void addRowPerPicture() {
    QTest::addColumn<QString>("name");
    for (const QString& name : pictures::names())
        QTest::newRow(qPrintable(name)) << name;
}
} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void namesMatchTheCompiledInFiles() {
        const QDir folder = QFileInfo(pictures::resourcePath("icon")).absoluteDir();
        QStringList files = folder.entryList(QDir::Files);
        QStringList expected;
        for (const QString& name : pictures::names())
            expected << name + ".svg";
        files.sort();
        expected.sort();
        QCOMPARE(files, expected);
    }

    void loads_data() { addRowPerPicture(); }
    void loads() {
        QFETCH(QString, name);
        const QSvgRenderer renderer(pictures::resourcePath(name));
        QVERIFY(renderer.isValid());
        QVERIFY(!renderer.viewBoxF().isEmpty());
    }

    void pixmapAtRatio_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        for (const QString& name : pictures::names()) {
            for (const qreal ratio : {1.0, 1.5, 2.0})
                QTest::addRow("%s@%gx", qPrintable(name), ratio) << name << ratio;
        }
    }
    void pixmapAtRatio() {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        const QSize logical(81, 65);
        const QPixmap pixmap = pictures::pixmap(name, logical, ratio);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.size(), (QSizeF(logical) * ratio).toSize());
        QCOMPARE(pixmap.devicePixelRatio(), ratio);
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), logical);
        // A picture that draws nothing, or only a speck, shows as an empty button.
        QVERIFY2(coverage(pixmap) > 0.15, qPrintable(QString::number(coverage(pixmap))));
    }

    void defaultRatioIsThePrimaryScreens() {
        const QPixmap pixmap = pictures::pixmap("parts", QSize(64, 52));
        QCOMPARE(pixmap.devicePixelRatio(), QGuiApplication::primaryScreen()->devicePixelRatio());
    }

    void keepsProportionsCentred() {
        // The backdrop covers its whole 4:3 view box, so in a square only a centred band shows.
        const QImage image = pictures::pixmap("backdrop", QSize(100, 100), 1).toImage();
        QCOMPARE(qAlpha(image.pixel(50, 5)), 0);
        QCOMPARE(qAlpha(image.pixel(50, 94)), 0);
        QCOMPARE(qAlpha(image.pixel(0, 50)), 255);
        QCOMPARE(qAlpha(image.pixel(99, 50)), 255);
        QCOMPARE(qAlpha(image.pixel(50, 15)), 255);
        QCOMPARE(qAlpha(image.pixel(50, 84)), 255);
    }

    void nothingForUnknownNameOrEmptySize() {
        QVERIFY(pictures::pixmap("nosuchpicture", QSize(32, 32), 1).isNull());
        QVERIFY(pictures::icon("nosuchpicture").isNull());
        QVERIFY(pictures::pixmap("icon", QSize(0, 32), 1).isNull());
    }

    void iconGivesBothRatios_data() { addRowPerPicture(); }
    void iconGivesBothRatios() {
        QFETCH(QString, name);
        const QIcon icon = pictures::icon(name);
        QVERIFY(!icon.isNull());
        for (const qreal ratio : {1.0, 2.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(32, 32), ratio);
            QCOMPARE(pixmap.devicePixelRatio(), ratio);
            QCOMPARE(pixmap.size(), QSize(32, 32) * ratio);
        }
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
