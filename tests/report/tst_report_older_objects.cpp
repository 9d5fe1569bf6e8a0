// Drawing objects of the older OBJ form: an arc's outline, and a picture (an OBJ record and IMDATA
// records, as xlwt's insert_bitmap writes it) printed by the report printer and by LibreOffice's
// PDF export, compared by region.

#include "platform/CupsPrintSpooler.h"
#include "report/ObjectShapes.h"
#include "report/XlsReport.h"
#include "tests/support/LibreOfficePdf.h"
#include "xls/IconvCodePages.h"
#include "xls/SheetObject.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The bounds, in points, of the pixels of the first page that match, rendered at 72 dots per
// inch.
template <typename Match> QRect regionOf(const QString& pdf, Match match) {
    const QString base = pdf + QStringLiteral(".page");
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
                  QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                  QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
    if (!render.waitForFinished(60000))
        return {};
    const QImage image(base + QStringLiteral(".png"));
    QRect region;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixel(x, y)))
                region |= QRect(x, y, 1, 1);
        }
    }
    return region;
}

bool red(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}
bool blue(QRgb pixel) {
    return qBlue(pixel) > 200 && qRed(pixel) < 80 && qGreen(pixel) < 80;
}

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class ReportOlderObjectsTest : public QObject {
    Q_OBJECT

private slots:
    // An arc is a quarter of the ellipse centred on its box's bottom-left corner, from the
    // top-left corner to the bottom-right one; its fill closes it along the chord.
    void outlinesAnArc() {
        xls::SheetObject arc;
        arc.kind = xls::ObjectKind::Shape;
        arc.shapeType = 19;
        const QRectF box(10, 20, 100, 50);
        const std::optional<QPainterPath> outline = report::shapeOutline(arc, box);
        QVERIFY(outline);
        QCOMPARE(outline->elementAt(0), box.topLeft());
        QCOMPARE(outline->currentPosition(), box.bottomRight());
        // Nine tenths across, the arc is 21.8 units below the top and the chord 45.
        QVERIFY(outline->contains(QPointF(100, 56)));
        QVERIFY(!outline->contains(QPointF(100, 40)));
        QVERIFY(!outline->contains(QPointF(30, 60)));
    }

    // The bitmap, red on the left and blue on the right, prints where LibreOffice prints it.
    // Its anchor ends three quarters into column B, 36 points; LibreOffice draws it a point a
    // pixel wide (48 points) whatever the anchor says, so widths are checked against the
    // anchor, corners and heights against LibreOffice.
    void matchesLibreOfficesExport() {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString source = QStringLiteral(TESSALY_REPORT_FIXTURES "/older_picture.xls");
        const QString copy = work.filePath(QStringLiteral("older_picture.xls"));
        QVERIFY(QFile::copy(source, copy));
        const QString exported = testsupport::exportWithLibreOffice({copy}, work.path());
        QVERIFY2(exported.isEmpty(), qPrintable(exported));
        const QString theirs = work.filePath(QStringLiteral("older_picture.pdf"));

        xls::IconvCodePages codePages;
        platform::CupsPrintSpooler spooler; // the pages go into a PDF file: not used
        report::XlsReport control(codePages, spooler);
        const QString ours = work.filePath(QStringLiteral("ours.pdf"));
        control.setOutputFile(ours);
        control.setFile(source);
        control.StartSheets();
        control.AddSheet(QStringLiteral("Picture"), QString());
        control.CommitSheet();
        control.Print();

        const QRect ourRed = regionOf(ours, red);
        const QRect ourBlue = regionOf(ours, blue);
        const QRect theirRed = regionOf(theirs, red);
        const QString boxes = QStringLiteral("ours %1 and %2, LibreOffice's red %3")
                                  .arg(describe(ourRed), describe(ourBlue), describe(theirRed));
        QVERIFY2(!ourRed.isEmpty() && !theirRed.isEmpty(), qPrintable(boxes));
        // One column to the left of the picture: LibreOffice's is about 3.3 points wider.
        QVERIFY2(std::abs(ourRed.x() - theirRed.x()) <= 1.5 + 3.3, qPrintable(boxes));
        QVERIFY2(std::abs(ourRed.y() - theirRed.y()) <= 2, qPrintable(boxes));
        QVERIFY2(std::abs(ourRed.height() - theirRed.height()) <= 2, qPrintable(boxes));
        QVERIFY2(std::abs(ourBlue.left() - ourRed.right() - 1) <= 1, qPrintable(boxes));
        QVERIFY2(std::abs(ourBlue.right() - ourRed.left() + 1 - 36) <= 1.5, qPrintable(boxes));
        QCOMPARE(ourBlue.height(), ourRed.height());
    }
};

QTEST_MAIN(ReportOlderObjectsTest)
#include "tst_report_older_objects.moc"
