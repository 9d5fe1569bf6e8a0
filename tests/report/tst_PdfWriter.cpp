// The PDF writer, checked with the reader's own tools: the file's structure, its fonts, its
// text and page sizes, and its rendering against the same painting on an image.

#include "report/GlyphPainting.h"
#include "report/PdfPages.h"
#include "report/PdfPaintEngine.h"
#include "report/TextShaper.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

using Painting = std::function<void(QPainter&, const report::TextShaper&)>;

struct Page {
    QSizeF size;
    Painting paint;
};

QImage checker() {
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 255));
    }
    return image;
}

// An image whose left half is opaque magenta and right half transparent.
QImage halfMagenta() {
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 10; ++x)
            image.setPixel(x, y, qRgba(255, 0, 255, 255));
    }
    return image;
}

void paintShapes(QPainter& painter, const report::TextShaper&) {
    painter.fillRect(QRectF(20, 20, 80, 50), Qt::red);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(20, 20, 80, 50));
    painter.fillRect(QRectF(60, 40, 80, 50), QColor(0, 0, 255, 128));
    painter.setPen(QPen(Qt::darkGreen, 4));
    painter.drawLine(QPointF(20, 100), QPointF(280, 100));
    QBrush texture(checker());
    texture.setTransform(QTransform::fromScale(0.75, 0.75));
    painter.fillRect(QRectF(150, 20, 60, 40), texture);
    painter.save();
    painter.translate(10, 0);
    painter.setClipRect(QRectF(210, 20, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::yellow);
    painter.drawEllipse(QRectF(190, 0, 100, 100));
    painter.restore();
    painter.drawImage(QRectF(20, 140, 40, 40), halfMagenta());
    painter.drawImage(QRectF(220, 65, 20, 20), halfMagenta(), QRectF(10, 0, 10, 20));
    painter.drawImage(QRectF(245, 65, 20, 20), halfMagenta(), QRectF(0, 0, 10, 20));
    painter.save();
    painter.rotate(90);
    painter.fillRect(QRectF(120, -290, 60, 20), Qt::cyan);
    painter.restore();
    painter.fillRect(QRectF(80, 120, 60, 30), QBrush(Qt::darkRed, Qt::DiagCrossPattern));
    painter.setClipRect(QRect(150, 110, 20, 20));
    painter.setClipRect(QRectF(180, 110, 20, 20), Qt::ReplaceClip);
    painter.fillRect(QRectF(150, 110, 60, 20), Qt::green);
    painter.setClipping(false);
    painter.fillRect(QRectF(150, 135, 50, 20), Qt::cyan);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.fillRect(QRectF(175, 135, 50, 20), Qt::yellow);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setPen(QPen(Qt::blue, 3, Qt::DashLine));
    painter.drawLine(QPointF(80, 170), QPointF(240, 170));
}

void paintText(QPainter& painter, const report::TextShaper& shaper) {
    painter.setPen(Qt::black);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 14));
    painter.drawText(QPointF(20, 40), QStringLiteral("Tessaly prints"));
    painter.setFont(QFont(QStringLiteral("IPAGothic"), 14));
    painter.drawText(QPointF(20, 80), QStringLiteral("日本語の表"));
    // Glyphs spread apart, as justified text places them, straight into the document.
    report::ShapedLine spread = shaper.shape(QStringLiteral("Spread"), painter.font());
    for (report::GlyphRun& run : spread.runs) {
        for (std::size_t i = 0; i < run.x.size(); ++i)
            run.x[i] += 4.0 * static_cast<double>(i);
    }
    if (report::PdfPaintEngine* pdf = report::PdfPaintEngine::of(painter)) {
        for (const report::GlyphRun& run : spread.runs)
            pdf->drawGlyphRun(QPointF(20, 120), run);
    } else {
        report::drawShapedLine(painter, QPointF(20, 120), spread);
    }
}

const QList<Page>& pages() {
    static const QList<Page> list = {{QSizeF(300, 200), paintShapes},
                                     {QSizeF(200, 300.5), paintText}};
    return list;
}

QString run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (exitCode != nullptr)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QColor average(const QImage& image, const QRect& rect) {
    qint64 sums[3] = {0, 0, 0};
    const QRect inside = rect & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sums[0] += qRed(pixel);
            sums[1] += qGreen(pixel);
            sums[2] += qBlue(pixel);
        }
    }
    const qint64 count = std::max<qint64>(1, static_cast<qint64>(inside.width()) * inside.height());
    return QColor(static_cast<int>(sums[0] / count), static_cast<int>(sums[1] / count),
                  static_cast<int>(sums[2] / count));
}

// The columns of a rectangle that hold dark pixels: the first and the last.
QPair<int, int> inkColumns(const QImage& image, const QRect& rect) {
    int first = -1;
    int last = -1;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            if (QColor(image.pixel(x, y)).lightness() < 128) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class PdfWriterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void passesStructureCheck();
    void pageSizesAsSet();
    void fontsEmbeddedAsSubsetsWithUnicode();
    void textExtracts_data();
    void textExtracts();
    void rendersAsPainted_data();
    void rendersAsPainted();
    void textAdvancesAsPainted();
    void unwritableFileReported();

private:
    QImage rendered(int page) const;
    QImage painted(int page) const;

    QTemporaryDir m_dir;
    QString m_pdf;
    report::TextShaper m_shaper;
};

void PdfWriterTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_pdf = m_dir.filePath(QStringLiteral("pages.pdf"));
    report::PdfPages pdf(m_pdf, QStringLiteral("Pages"), m_shaper);
    QPainter painter;
    for (int i = 0; i < pages().size(); ++i) {
        pdf.setPageSize(pages()[i].size);
        if (i == 0)
            QVERIFY(painter.begin(&pdf));
        else
            QVERIFY(pdf.newPage());
        QVERIFY(report::PdfPaintEngine::of(painter) != nullptr);
        pages()[i].paint(painter, m_shaper);
    }
    QVERIFY2(painter.end(), qPrintable(pdf.errorString()));
    QVERIFY(pdf.errorString().isEmpty());
}

QImage PdfWriterTest::rendered(int page) const {
    const QString prefix = m_dir.filePath(QStringLiteral("page%1").arg(page));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
         QStringLiteral("-l"), QString::number(page), m_pdf, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QImage PdfWriterTest::painted(int page) const {
    const QSizeF size = pages()[page - 1].size;
    QImage image(qCeil(size.width()), qCeil(size.height()), QImage::Format_RGB32);
    image.setDotsPerMeterX(2835); // 72 dots per inch, as the PDF device
    image.setDotsPerMeterY(2835);
    image.fill(Qt::white);
    QPainter painter(&image);
    pages()[page - 1].paint(painter, m_shaper);
    return image;
}

void PdfWriterTest::passesStructureCheck() {
    int exitCode = -1;
    const QString report =
        run(QStringLiteral("qpdf"), {QStringLiteral("--check"), m_pdf}, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("No syntax or stream encoding errors")));
}

void PdfWriterTest::pageSizesAsSet() {
    const QString info =
        run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                        QStringLiteral("-l"), QStringLiteral("9"), m_pdf});
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages: +2\n"))));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page +1 size: +300 x 200 pts"))),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page +2 size: +200 x 300.5 pts"))),
             qPrintable(info));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Title: +Pages\n"))));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Creator: +Tessaly\n"))));
}

void PdfWriterTest::fontsEmbeddedAsSubsetsWithUnicode() {
    const QStringList lines =
        run(QStringLiteral("pdffonts"), {m_pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QCOMPARE(lines.size(), 2);
    QStringList names;
    for (const QString& line : lines) {
        const QStringList columns = line.simplified().split(u' ');
        // name type encoding emb sub uni object generation
        QVERIFY2(columns.size() >= 8, qPrintable(line));
        QVERIFY2(columns.mid(columns.size() - 5, 3) == QStringList({"yes", "yes", "yes"}),
                 qPrintable(line));
        QVERIFY(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+")).match(columns[0]).hasMatch());
        names << columns[0].mid(7);
    }
    names.sort();
    QCOMPARE(names, QStringList({"IPAGothic", "LiberationSans"}));
}

void PdfWriterTest::textExtracts_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("latin") << QStringLiteral("Tessaly prints");
    QTest::newRow("japanese") << QStringLiteral("日本語の表");
    QTest::newRow("glyph run") << QStringLiteral("Spread");
}

void PdfWriterTest::textExtracts() {
    QFETCH(QString, text);
    const QString extracted =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-f"), QStringLiteral("2"), m_pdf, QStringLiteral("-")});
    QVERIFY2(extracted.contains(text), qPrintable(extracted));
}

void PdfWriterTest::rendersAsPainted_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QRect>("region");
    QTest::newRow("opaque fill") << 1 << QRect(25, 25, 30, 10);
    QTest::newRow("pen around it") << 1 << QRect(19, 30, 2, 30);
    QTest::newRow("alpha over fill") << 1 << QRect(65, 45, 30, 20);
    QTest::newRow("alpha over paper") << 1 << QRect(105, 75, 30, 10);
    QTest::newRow("wide line") << 1 << QRect(30, 98, 200, 4);
    QTest::newRow("texture") << 1 << QRect(152, 22, 56, 36);
    QTest::newRow("inside the clip") << 1 << QRect(222, 22, 36, 36);
    QTest::newRow("outside the clip") << 1 << QRect(262, 22, 20, 36);
    QTest::newRow("opaque image half") << 1 << QRect(22, 142, 16, 36);
    QTest::newRow("transparent image half") << 1 << QRect(42, 142, 16, 36);
    QTest::newRow("image's transparent part") << 1 << QRect(222, 67, 16, 16);
    QTest::newRow("image's opaque part") << 1 << QRect(247, 67, 16, 16);
    QTest::newRow("rotated fill") << 1 << QRect(272, 122, 16, 56);
    QTest::newRow("hatch") << 1 << QRect(82, 122, 56, 26);
    QTest::newRow("dashes") << 1 << QRect(80, 167, 144, 6);
    QTest::newRow("replacing clip") << 1 << QRect(182, 112, 16, 16);
    QTest::newRow("replaced clip") << 1 << QRect(152, 112, 16, 16);
    QTest::newRow("multiplied") << 1 << QRect(177, 137, 21, 16);
    QTest::newRow("multiplied on paper") << 1 << QRect(202, 137, 20, 16);
}

void PdfWriterTest::rendersAsPainted() {
    QFETCH(int, page);
    QFETCH(QRect, region);
    const QColor pdf = average(rendered(page), region);
    const QColor image = average(painted(page), region);
    const int off =
        std::max({std::abs(pdf.red() - image.red()), std::abs(pdf.green() - image.green()),
                  std::abs(pdf.blue() - image.blue())});
    QVERIFY2(off <= 16,
             qPrintable(QStringLiteral("PDF %1, image %2").arg(pdf.name(), image.name())));
}

void PdfWriterTest::textAdvancesAsPainted() {
    const QImage pdf = rendered(2);
    const QImage image = painted(2);
    for (const QRect line :
         {QRect(0, 20, 200, 26), QRect(0, 60, 200, 26), QRect(0, 100, 200, 26)}) {
        const auto ours = inkColumns(pdf, line);
        const auto qt = inkColumns(image, line);
        QVERIFY(ours.first >= 0);
        QVERIFY2(std::abs(ours.first - qt.first) <= 1 && std::abs(ours.second - qt.second) <= 2,
                 qPrintable(QStringLiteral("%1-%2 against %3-%4")
                                .arg(ours.first)
                                .arg(ours.second)
                                .arg(qt.first)
                                .arg(qt.second)));
    }
}

void PdfWriterTest::unwritableFileReported() {
    report::PdfPages pdf(m_dir.filePath(QStringLiteral("missing/folder/x.pdf")), QString(),
                         m_shaper);
    QPainter painter;
    QVERIFY(!painter.begin(&pdf));
    QVERIFY(!pdf.errorString().isEmpty());
}

QTEST_MAIN(PdfWriterTest)
#include "tst_PdfWriter.moc"
