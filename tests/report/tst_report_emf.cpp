// The EMF player: metafiles made by hand and by LibreOffice, painted and compared region by
// region with LibreOffice's own rendering of them; damaged metafiles, played as far as they
// are sound.

#include "report/EmfPlayer.h"
#include "report/FontMapper.h"

#include "tests/support/LibreOfficePdf.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>

namespace {

const QString kFixtures = QStringLiteral(TESSALY_EMF_FIXTURES);
// LibreOffice centres a converted picture on an A4 page at 96 pixels per inch.
constexpr double kPixelsPerHundredthMm = 96 / 2540.0;
// The picture is compared in cells of this many pixels; a cell's mean colour may differ from
// the reference's by this much in each channel (edges, smoothing, text shapes).
constexpr int kCell = 16;
constexpr int kTolerance = 48;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage paint(const QByteArray& emf, QSize size, bool* played = nullptr) {
    const report::FontMapper fonts;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool result = report::EmfPlayer(fonts).play(painter, emf, QRectF(QPointF(), size));
    if (played != nullptr)
        *played = result;
    return image;
}

QColor meanColor(const QImage& image, const QRect& area) {
    qint64 red = 0, green = 0, blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red();
            green += c.green();
            blue += c.blue();
        }
    }
    const qint64 n = qint64{area.width()} * area.height();
    return QColor(int(red / n), int(green / n), int(blue / n));
}

int difference(const QColor& a, const QColor& b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

// A record's offset in a metafile: the first of the type.
qsizetype recordAt(const QByteArray& emf, quint32 type) {
    for (qsizetype at = 0; at + 8 <= emf.size();) {
        if (qFromLittleEndian<quint32>(emf.constData() + at) == type)
            return at;
        at += qFromLittleEndian<quint32>(emf.constData() + at + 4);
    }
    return -1;
}

void put32(QByteArray& emf, qsizetype at, quint32 value) {
    qToLittleEndian(value, emf.data() + at);
}

} // namespace

class EmfPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void comparedWithLibreOffice_data();
    void comparedWithLibreOffice();
    void hatches();
    void damaged_data();
    void damaged();

private:
    QTemporaryDir m_references;
};

void EmfPlayerTest::initTestCase() {
    QVERIFY(m_references.isValid());
    const QString failed = testsupport::exportWithLibreOffice(
        {kFixtures + "/hand.emf", kFixtures + "/libreoffice.emf"}, m_references.path(),
        QStringLiteral("png"));
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
}

void EmfPlayerTest::comparedWithLibreOffice_data() {
    QTest::addColumn<QString>("name");
    // A part of the picture, in fractions of it, that LibreOffice paints otherwise: it fills a
    // hatched brush solid, where the hatch leaves gaps (hatches() checks those).
    QTest::addColumn<QRectF>("leftOut");
    QTest::newRow("by hand") << "hand" << QRectF(0.25, 0, 0.25, 0.5);
    QTest::newRow("by LibreOffice") << "libreoffice" << QRectF();
}

void EmfPlayerTest::comparedWithLibreOffice() {
    QFETCH(QString, name);
    QFETCH(QRectF, leftOut);
    const QByteArray emf = readFile(kFixtures + "/" + name + ".emf");
    const QImage reference(m_references.filePath(name + ".png"));
    QVERIFY(!reference.isNull());
    const std::optional<QRectF> frame = report::EmfPlayer::frame(emf);
    QVERIFY(frame);
    const QSize size = (frame->size() * kPixelsPerHundredthMm).toSize();
    const QPoint origin((reference.width() - size.width()) / 2,
                        (reference.height() - size.height()) / 2);
    const QImage ours = paint(emf, size);
    int worst = 0;
    QPoint worstCell;
    int inked = 0;
    for (int y = 0; y + kCell <= size.height(); y += kCell) {
        for (int x = 0; x + kCell <= size.width(); x += kCell) {
            const QRect cell(x, y, kCell, kCell);
            const QRectF fraction(double(x) / size.width(), double(y) / size.height(),
                                  double(kCell) / size.width(), double(kCell) / size.height());
            if (leftOut.intersects(fraction))
                continue;
            const QColor mine = meanColor(ours, cell);
            const int d = difference(mine, meanColor(reference, cell.translated(origin)));
            inked += difference(mine, Qt::white) > kTolerance ? 1 : 0;
            if (d > worst) {
                worst = d;
                worstCell = cell.topLeft();
            }
        }
    }
    QVERIFY2(inked > 10, "the picture painted next to nothing");
    QVERIFY2(worst <= kTolerance, qPrintable(QStringLiteral("cell at %1,%2 differs by %3")
                                                 .arg(worstCell.x())
                                                 .arg(worstCell.y())
                                                 .arg(worst)));
}

// The cross-hatched ellipse of the hand-made picture: green lines on its opaque white
// background, neither filling the ellipse's middle.
void EmfPlayerTest::hatches() {
    const QImage image = paint(readFile(kFixtures + "/hand.emf"), QSize(400, 200));
    int green = 0;
    int white = 0;
    for (int y = 30; y < 70; ++y) {
        for (int x = 130; x < 170; ++x) {
            const QColor c = image.pixelColor(x, y);
            green += c.green() > 100 && c.red() < 100 ? 1 : 0;
            white += c == Qt::white ? 1 : 0;
        }
    }
    QVERIFY2(green > 100 && white > 100,
             qPrintable(QStringLiteral("%1 green, %2 white").arg(green).arg(white)));
}

// Points are in the hand-made picture's logical units (2,000 x 1,000), painted at a fifth.
using Checks = QList<std::pair<QPoint, QColor>>;

void EmfPlayerTest::damaged_data() {
    QTest::addColumn<QByteArray>("emf");
    QTest::addColumn<bool>("played");
    QTest::addColumn<Checks>("checks");
    const QByteArray hand = readFile(kFixtures + "/hand.emf");
    const QPoint rectangle(250, 250), triangle(1250, 350), path(1750, 250), bitmap(1125, 625);
    const qsizetype polygon = recordAt(hand, 86);
    const qsizetype text = recordAt(hand, 84);
    const qsizetype bits = recordAt(hand, 81);
    QVERIFY(polygon > 0 && text > 0 && bits > 0);

    QTest::newRow("cut inside a polygon")
        << hand.left(polygon + 20) << true
        << Checks{{rectangle, Qt::red}, {triangle, Qt::white}, {path, Qt::white}};
    QByteArray overrun = hand;
    put32(overrun, polygon + 24, 0x40000000);
    QTest::newRow("polygon counting past its record")
        << overrun << true
        << Checks{{rectangle, Qt::red}, {triangle, Qt::white}, {path, Qt::magenta}};
    QByteArray tooLong = hand;
    put32(tooLong, polygon + 4, 0x7FFFFFF0);
    QTest::newRow("record longer than the file")
        << tooLong << true << Checks{{rectangle, Qt::red}, {path, Qt::white}};
    QByteArray oddSize = hand;
    put32(oddSize, polygon + 4, 10);
    QTest::newRow("record size not whole words")
        << oddSize << true << Checks{{rectangle, Qt::red}, {path, Qt::white}};
    QByteArray farBits = hand;
    put32(farBits, bits + 56, 0xFFFFFFF0);
    QTest::newRow("bitmap past its record")
        << farBits << true << Checks{{bitmap, Qt::white}, {path, Qt::magenta}};
    QByteArray farText = hand;
    put32(farText, text + 48, 0x7FFFFFFF);
    QTest::newRow("text past its record") << farText << true << Checks{{path, Qt::magenta}};
    QByteArray noSignature = hand;
    put32(noSignature, 40, 0);
    QTest::newRow("no signature") << noSignature << false << Checks{{rectangle, Qt::white}};
    QTest::newRow("header alone") << hand.left(60) << false << Checks{{rectangle, Qt::white}};
}

void EmfPlayerTest::damaged() {
    QFETCH(QByteArray, emf);
    QFETCH(bool, played);
    QFETCH(Checks, checks);
    bool result = false;
    const QImage image = paint(emf, QSize(400, 200), &result);
    QCOMPARE(result, played);
    for (const auto& [at, color] : checks)
        QCOMPARE(image.pixelColor(at / 5).name(), QColor(color).name());
}

QTEST_MAIN(EmfPlayerTest)
#include "tst_report_emf.moc"
