// Part pictures on a screen at 200 %: drawn with the screen's own pixels, not blown up from a
// picture scaled for a screen at 100 %.

#include "support/businessfixture.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "gui/catalogue/partpage.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QtTest>

class TestHiDpi : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        delete Partpage::loaded();
        f.reset();
    }

    // The picture's pixel size against the room of the part editor's picture box, in its
    // device-independent pixels (the box is 180 wide less its frame).
    void partPicture_data() {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("scaled");
        QTest::newRow("large photo: scaled to the screen's pixels") << QSize(1600, 1200) << 2.0
                                                                    << true;
        QTest::newRow("between one and two rooms: its own pixels") << QSize(267, 267) << 1.5
                                                                   << false;
        QTest::newRow("small: shown as it is") << QSize(60, 40) << 1.0 << false;
    }
    void partPicture() {
        QFETCH(QSize, image);
        QFETCH(qreal, ratio);
        QFETCH(bool, scaled);
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        QImage photo(image, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        QVERIFY(photo.save(f->filePath(QStringLiteral("photo.png")), "PNG"));
        RecordSet& parts = f->connection(Business::parts);
        parts.addNew();
        parts.setField(Parts::part_no, qint64(1));
        parts.setField(Parts::description, QStringLiteral("Impeller"));
        parts.setField(Parts::picture_file, QStringLiteral("PHOTO.PNG"));
        parts.update();
        parts.moveFirst();

        Partpage& page = Partpage::get(f->business());
        page.newpart = 0;
        page.load();
        page.show();
        const QPixmap shown = page.Picture1->pixmap();
        QVERIFY(!shown.isNull());
        QCOMPARE(shown.devicePixelRatio(), ratio);
        const QSize room = page.Picture1->contentsRect().size();
        const QSizeF logical = shown.deviceIndependentSize();
        QVERIFY(logical.width() <= room.width() + 0.5 && logical.height() <= room.height() + 0.5);
        QCOMPARE(shown.size() != image, scaled);
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
