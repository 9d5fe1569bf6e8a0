#include "BiffBuilder.h"
#include "OfficeArtBuilder.h"

#include "xls/DrawingRecords.h"
#include "xls/IconvCodePages.h"
#include "xls/WorkbookReader.h"

#include <QImage>
#include <QtTest>

using namespace xls;
using namespace xlstest;

namespace {

const char* kindName(ObjectKind kind) {
    static const char* const names[] = {
        "Picture", "Rectangle", "RoundRectangle", "Ellipse",  "Line",         "Shape",
        "TextBox", "Group",     "Chart",          "CheckBox", "OptionButton", "GroupBox",
        "Label",   "Button",    "ListBox",        "ComboBox", "Comment",      "Other"};
    return names[static_cast<int>(kind)];
}

const char* formatName(PictureFormat format) {
    static const char* const names[] = {"?", "emf", "wmf", "pict", "jpeg", "png", "dib", "tiff"};
    return names[static_cast<int>(format)];
}

// One line per object: kind, anchor cells with offsets, print and hidden flags, picture,
// checked state and text.
QString describe(const Workbook& book, const SheetObject& o) {
    const ObjectAnchor& a = o.anchor;
    QString line = QStringLiteral("%1 %2+%3,%4+%5 %6+%7,%8+%9")
                       .arg(QLatin1String(kindName(o.kind)))
                       .arg(a.firstColumn)
                       .arg(a.firstColumnOffset)
                       .arg(a.firstRow)
                       .arg(a.firstRowOffset)
                       .arg(a.lastColumn)
                       .arg(a.lastColumnOffset)
                       .arg(a.lastRow)
                       .arg(a.lastRowOffset);
    if (!o.prints)
        line += QStringLiteral(" noprint");
    if (!o.line.visible)
        line += QStringLiteral(" unframed");
    if (o.hidden)
        line += QStringLiteral(" hidden");
    if (o.picture) {
        const Picture& p = book.pictures().at(*o.picture);
        line +=
            QStringLiteral(" %1:%2").arg(QLatin1String(formatName(p.format))).arg(p.data.size());
    }
    if (o.checked != 0)
        line += QStringLiteral(" checked");
    if (o.text)
        line += QStringLiteral(" \"%1\"").arg(o.text->text);
    if (o.note)
        line += QStringLiteral(" note %1,%2%3")
                    .arg(o.note->row)
                    .arg(o.note->column)
                    .arg(o.note->shown ? QStringLiteral(" shown") : QString());
    return line;
}

QStringList describeAll(const Workbook& book, const std::vector<SheetObject>& objects) {
    QStringList out;
    for (const SheetObject& o : objects)
        out << describe(book, o);
    return out;
}

// A shape anchored from (column, 1) to (column + 1, 3), with client data and, when asked, a
// text box; extra lengthens its property table's length past its container.
QByteArray shape(int shapeType, const QList<QPair<int, quint32>>& properties, int column,
                 bool textbox, int extra = 0) {
    QByteArray table;
    for (const auto& [id, value] : properties)
        table += u16(id) + u32(value);
    const QByteArray anchor = u16(0) + u16(column) + u16(10) + u16(1) + u16(20) + u16(column + 1) +
                              u16(30) + u16(3) + u16(40);
    return container(0xF004, art(2, shapeType, 0xF00A, u32(1025) + u32(0x0A00)) +
                                 art(3, static_cast<int>(properties.size()), 0xF00B, table, extra) +
                                 art(0, 0, 0xF010, anchor) + art(0, 0, 0xF011, {}) +
                                 (textbox ? art(0, 0, 0xF00D, {}) : QByteArray()));
}

QByteArray objRecord(int type, int id) {
    return BiffBuilder::encoded(0x005D, u16(0x15) + u16(18) + u16(type) + u16(id) + u16(0x11) +
                                            QByteArray(12, '\0') + u32(0));
}

// Records split across a record and CONTINUE records at the given sizes.
QList<QByteArray> splitRecord(quint16 code, const QByteArray& data, int firstSize) {
    if (firstSize <= 0 || firstSize >= data.size())
        return {BiffBuilder::encoded(code, data)};
    return {BiffBuilder::encoded(code, data.first(firstSize)),
            BiffBuilder::encoded(0x003C, data.sliced(firstSize))};
}

// An OBJ record of the form before the drawing layer: the count of objects, type, id, flags,
// the anchor from (column, 1) to (column + 1, 3), no macro, then the type's own fields.
QByteArray olderObj(int type, quint16 flags, int column, const QByteArray& own) {
    return u32(1) + u16(type) + u16(column) + u16(flags) + u16(column) + u16(10) + u16(1) +
           u16(20) + u16(column + 1) + u16(30) + u16(3) + u16(40) + u16(0) + QByteArray(6, '\0') +
           own;
}

// Fill (background, foreground, pattern, automatic) and line (colour, style, weight,
// automatic) of an older OBJ record, then its frame flags.
QByteArray fillAndLine(int foreground, int pattern, int lineStyle, bool automaticLine) {
    return u8(9) + u8(foreground) + u8(pattern) + u8(0) + u8(12) + u8(lineStyle) + u8(2) +
           u8(automaticLine ? 1 : 0) + u16(0);
}

// An IMDATA record of format cf in environment env holding image, claiming extra bytes more.
QByteArray imData(int cf, int env, const QByteArray& image, int extra = 0) {
    return u16(cf) + u16(env) + u32(quint32(image.size() + extra)) + image;
}

const char* placeName(HeaderFooterPlace place) {
    static const char* const names[] = {"LH", "CH", "RH", "LF", "CF", "RF"};
    return names[static_cast<int>(place)];
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

    Workbook read(const QByteArray& stream) {
        return WorkbookReader(m_codePages).readStream(stream);
    }

private slots:
    // A picture and a text box in hand-built records, whole, split and damaged: each case
    // keeps the sheet's cells and the objects up to the damage.
    void builtLayers_data() {
        QTest::addColumn<int>("splitAt");     // where the drawing records break into CONTINUE
        QTest::addColumn<int>("pib");         // the picture the first shape names
        QTest::addColumn<int>("extra");       // bytes the second shape's properties overclaim
        QTest::addColumn<int>("runBytes");    // the text's formatting runs, in bytes
        QTest::addColumn<int>("nesting");     // groups around the second shape
        QTest::addColumn<bool>("inContinue"); // the second shape in a CONTINUE after the OBJ
        QTest::addColumn<bool>("metafile");
        QTest::addColumn<QStringList>("expected");
        const QString picture = QStringLiteral("Picture 1+10,1+20 2+30,3+40 unframed");
        const QString box = QStringLiteral("Rectangle 4+10,1+20 5+30,3+40 hidden \"Hello\"");
        QTest::newRow("whole") << 0 << 1 << 0 << 16 << 0 << false << false
                               << QStringList{picture + " png:4", box};
        QTest::newRow("split") << 13 << 1 << 0 << 16 << 0 << false << false
                               << QStringList{picture + " png:4", box};
        QTest::newRow("compressed metafile")
            << 0 << 1 << 0 << 16 << 0 << false << true << QStringList{picture + " emf:300", box};
        QTest::newRow("picture past the store")
            << 0 << 2 << 0 << 16 << 0 << false << false << QStringList{picture, box};
        QTest::newRow("properties past their shape")
            << 0 << 1 << 1 << 16 << 0 << false << false << QStringList{picture + " png:4"};
        QTest::newRow("runs past the text")
            << 0 << 1 << 0 << 64 << 0 << false << false
            << QStringList{picture + " png:4",
                           QStringLiteral("Rectangle 4+10,1+20 5+30,3+40 hidden")};
        QTest::newRow("second shape carried by a CONTINUE")
            << 0 << 1 << 0 << 16 << 0 << true << false << QStringList{picture + " png:4", box};
        QTest::newRow("picture framed by its line property")
            << 0 << -1 << 0 << 16 << 0 << false << false
            << QStringList{QStringLiteral("Picture 1+10,1+20 2+30,3+40 png:4"), box};
        QTest::newRow("groups nested deeply")
            << 0 << 1 << 0 << 16 << 40 << false << false << QStringList{picture + " png:4"};
    }

    void builtLayers() {
        QFETCH(int, splitAt);
        QFETCH(int, pib);
        QFETCH(int, extra);
        QFETCH(int, runBytes);
        QFETCH(int, nesting);
        QFETCH(bool, inContinue);
        QFETCH(bool, metafile);
        QFETCH(QStringList, expected);
        const QByteArray image = metafile ? QByteArray(300, 'm') : QByteArrayLiteral("PNG!");
        // A negative picture number asks for picture 1 with a line given (fLine and its use bit).
        const QByteArray first = pib < 0 ? shape(75, {{0x0104, 1}, {0x01FF, 0x00080008}}, 1, false)
                                         : shape(75, {{0x0104, pib}}, 1, false);
        QByteArray second = shape(1, {{0x0181, 0x0000FF}, {0x03BF, 0x00020002}}, 4, true, extra);
        for (int level = 0; level < nesting; ++level)
            second =
                container(0xF003, container(0xF004, art(2, 0, 0xF00A, u32(0) + u32(1))) + second);
        const QByteArray patriarch = container(0xF004, art(1, 0, 0xF009, QByteArray(16, '\0')) +
                                                           art(2, 0, 0xF00A, u32(1024) + u32(5)));
        const QByteArray drawing =
            container(0xF002, art(0, 1, 0xF008, u32(2) + u32(1026)) +
                                  container(0xF003, patriarch + first + second));
        const QByteArray text =
            BiffBuilder::encoded(0x01B6, u16(0x12) + u16(0) + QByteArray(6, '\0') + u16(5) +
                                             u16(runBytes) + u16(0) + u32(0));
        QList<QByteArray> records = {
            BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1.0))};
        records += splitRecord(0x00EC, drawing.first(drawing.size() - second.size()), splitAt);
        records += objRecord(8, 1);
        records += BiffBuilder::encoded(inContinue ? 0x003C : 0x00EC, second);
        records +=
            {objRecord(2, 2), text, BiffBuilder::encoded(0x003C, u8(0) + "Hel"),
             BiffBuilder::encoded(0x003C, u8(1) + QByteArray("l\0o\0", 4)),
             BiffBuilder::encoded(0x003C, u16(0) + u16(5) + u32(0) + u16(5) + u16(0) + u32(0))};
        const QList<QByteArray> group = splitRecord(0x00EB, pictureStore(image, metafile), splitAt);

        const Workbook book = read(BiffBuilder::workbook(group, records));
        const Sheet& sheet = book.sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->number(), 1.0);
        QCOMPARE(describeAll(book, sheet.objects()), expected);
        if (sheet.objects().front().picture)
            QCOMPARE(book.pictures().at(0).data, image);
    }

    // Objects of the older OBJ form, in an Excel 5.0/95 sheet and as a writer of Excel 97-2003
    // files puts a bitmap: each carries its anchor; pictures come in IMDATA records after them.
    void olderObjects_data() {
        QTest::addColumn<bool>("biff8");
        QTest::addColumn<QList<QByteArray>>("records");
        QTest::addColumn<QStringList>("expected");
        const auto obj = [](const QByteArray& data) { return BiffBuilder::encoded(0x005D, data); };
        const QByteArray shown = fillAndLine(10, 1, 0, false);
        // A 2 x 1 bitmap with the small header: 12 bytes, then one row of 6 bytes and padding.
        const QByteArray bitmap =
            u32(12) + u16(2) + u16(1) + u16(1) + u16(24) + QByteArray::fromHex("0000ffff00000000");
        // A metafile's header and its end record.
        const QByteArray wmf =
            u16(1) + u16(9) + u16(0x0300) + u32(12) + u16(0) + u32(3) + u16(0) + u32(3) + u16(0);
        const QByteArray picture = obj(
            olderObj(8, 0x0614, 1, fillAndLine(9, 0, 0xFF, true) + u16(9) + QByteArray(14, '\0')));
        const QString pictureAt = QStringLiteral("Picture 1+10,1+20 2+30,3+40 unframed");
        const QByteArray text = u16(7) + u16(0) + u16(16) + u16(0) + u16(0) + u16(0x12) + u16(0) +
                                QByteArray(8, '\0') + "Memo 95" + u8(0) + u16(0) + u16(5) + u32(0) +
                                u16(7) + u16(0) + u32(0);
        QTest::newRow("shapes")
            << false
            << QList{obj(olderObj(2, 0x0600, 1, shown)), obj(olderObj(3, 0x0300, 2, shown)),
                     obj(olderObj(1, 0x0400, 3,
                                  u8(8) + u8(1) + u8(1) + u8(0) + u16(2) + u8(1) + u8(0))),
                     obj(olderObj(4, 0x0400, 4, shown)), obj(olderObj(6, 0x0400, 5, shown + text))}
            << QStringList{"Rectangle 1+10,1+20 2+30,3+40",
                           "Ellipse 2+10,1+20 3+30,3+40 noprint hidden", "Line 3+10,1+20 4+30,3+40",
                           "Shape 4+10,1+20 5+30,3+40", "TextBox 5+10,1+20 6+30,3+40 \"Memo 95\""};
        QTest::newRow("group and polygon left out")
            << false << QList{obj(olderObj(0, 0x0400, 1, {})), obj(olderObj(9, 0x0400, 2, shown))}
            << QStringList{};
        QTest::newRow("bitmap across a CONTINUE")
            << false
            << QList{picture, BiffBuilder::encoded(0x007F, imData(9, 1, bitmap).first(10)),
                     BiffBuilder::encoded(0x003C, imData(9, 1, bitmap).sliced(10))}
            << QStringList{pictureAt + " dib:20"};
        QTest::newRow("metafile after its clipboard header")
            << false
            << QList{picture, BiffBuilder::encoded(0x007F, imData(2, 1, u32(8) + u32(0) + wmf))}
            << QStringList{pictureAt + " wmf:24"};
        QTest::newRow("native data")
            << false << QList{picture, BiffBuilder::encoded(0x007F, imData(0xE, 1, "native"))}
            << QStringList{pictureAt};
        QTest::newRow("picture cut short")
            << false << QList{picture, BiffBuilder::encoded(0x007F, imData(9, 1, bitmap, 1))}
            << QStringList{pictureAt};
        QTest::newRow("picture with no picture object")
            << false
            << QList{obj(olderObj(2, 0x0400, 1, shown)),
                     BiffBuilder::encoded(0x007F, imData(9, 1, bitmap))}
            << QStringList{"Rectangle 1+10,1+20 2+30,3+40"};
        QTest::newRow("record cut short, the next read")
            << false << QList{obj(olderObj(6, 0x0400, 1, shown + text).first(50)), picture}
            << QStringList{pictureAt};
        QTest::newRow("Excel 97-2003 sheet")
            << true << QList{picture, BiffBuilder::encoded(0x007F, imData(9, 1, bitmap))}
            << QStringList{pictureAt + " dib:20"};
    }

    void olderObjects() {
        QFETCH(bool, biff8);
        QFETCH(QList<QByteArray>, records);
        QFETCH(QStringList, expected);
        records.prepend(BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1.0)));
        const Workbook book = read(
            BiffBuilder::workbook({}, records, biff8 ? BiffVersion::Biff8 : BiffVersion::Biff5));
        const Sheet& sheet = book.sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->number(), 1.0);
        QCOMPARE(describeAll(book, sheet.objects()), expected);
    }

    // What the older form says of colours, lines, arrowheads and text, as the painter needs it.
    void olderObjectDetails() {
        const QByteArray text = u16(2) + u16(0) + u16(0) + u16(6) + u16(0) + u16(0x24) + u16(2) +
                                QByteArray(8, '\0') + "ab";
        const QList<QByteArray> records = {
            BiffBuilder::encoded(0x005D, olderObj(2, 0x0400, 1, fillAndLine(10, 1, 2, false))),
            BiffBuilder::encoded(
                0x005D,
                olderObj(1, 0x0400, 2, u8(12) + u8(0) + u8(3) + u8(0) + u16(4) + u8(2) + u8(0))),
            BiffBuilder::encoded(
                0x005D,
                olderObj(4, 0x0400, 3, fillAndLine(10, 0, 5, false).chopped(2) + u8(2) + u8(0))),
            BiffBuilder::encoded(0x005D,
                                 olderObj(6, 0x0400, 4, fillAndLine(9, 1, 0, true) + text))};
        const Workbook book = read(BiffBuilder::workbook({}, records, BiffVersion::Biff5));
        const std::vector<SheetObject>& objects = book.sheets()[0].objects();
        QCOMPARE(objects.size(), size_t{4});
        QCOMPARE(objects[0].fill.color.paletteIndex, 10);
        QCOMPARE(objects[0].line.color.paletteIndex, 12);
        QCOMPARE(objects[0].line.dash, 2);
        QCOMPARE(objects[0].line.widthEmu, 19050);
        // Filled arrowheads at both ends, drawn from the bottom-right corner.
        QCOMPARE(objects[1].line.startArrowhead, 1);
        QCOMPARE(objects[1].line.endArrowhead, 1);
        QCOMPARE(objects[1].line.widthEmu, 28575);
        QVERIFY(objects[1].flipH && objects[1].flipV);
        // An arc of the bottom-left quarter, unfilled and without a line.
        QCOMPARE(objects[2].shapeType, 19);
        QVERIFY(objects[2].flipH && objects[2].flipV);
        QVERIFY(!objects[2].fill.filled && !objects[2].line.visible);
        // Automatic line: the default thin black one; centred, turned up, in font 6.
        QVERIFY(objects[3].line.visible);
        QCOMPARE(objects[3].text->hAlign, TextHAlign::Center);
        QCOMPARE(objects[3].text->vAlign, TextVAlign::Middle);
        QCOMPARE(objects[3].text->orientation, TextOrientation::Up);
        QCOMPARE(objects[3].text->runs, (QList<TextRun>{{0, 6}}));
    }

    // Form controls' state: the check box sub-records, a combo box's field and a list's
    // selected line.
    void controlState_data() {
        QTest::addColumn<QByteArray>("subRecords");
        QTest::addColumn<int>("checked");
        QTest::addColumn<QString>("shown");
        const auto cmo = [](int type) {
            return u16(0x15) + u16(18) + u16(type) + u16(7) + u16(0x11) + QByteArray(12, '\0');
        };
        const QByteArray noFormula = u16(0);
        QTest::newRow("mixed check box")
            << cmo(0x0B) + u16(0x0A) + u16(12) + u16(0) + QByteArray(10, '\0') + u16(0x12) +
                   u16(8) + u16(2) + QByteArray(6, '\0') + u32(0)
            << 2 << QString();
        QTest::newRow("option button, older record only")
            << cmo(0x0C) + u16(0x0A) + u16(12) + u16(1) + QByteArray(10, '\0') + u32(0) << 1
            << QString();
        QTest::newRow("combo box field")
            << cmo(0x14) + u16(0x13) + u16(0x1FEE) + noFormula + u16(0) + u16(0) + u16(0) + u16(0) +
                   QByteArray(6, '\0') + unicodeString(QStringLiteral("Tokyo"), 2) + u8(0) + u32(0)
            << 0 << QStringLiteral("Tokyo");
        QTest::newRow("list's selected line")
            << cmo(0x12) + u16(0x13) + u16(0x1FEE) + noFormula + u16(2) + u16(2) + u16(0x0002) +
                   u16(0) + unicodeString(QStringLiteral("A"), 2) +
                   unicodeString(QStringLiteral("B"), 2) + u32(0)
            << 0 << QStringLiteral("B");
        QTest::newRow("list cut off")
            << cmo(0x12) + u16(0x13) + u16(0x1FEE) + noFormula + u16(5) + u16(1) + u16(0x0002) +
                   u16(0) + unicodeString(QStringLiteral("A"), 2)
            << 0 << QString();
    }

    void controlState() {
        QFETCH(QByteArray, subRecords);
        QFETCH(int, checked);
        QFETCH(QString, shown);
        RecordReader reader(Record{0x005D, 0, subRecords});
        const ObjRecord obj = drawingrecords::obj(reader);
        QCOMPARE(obj.id, 7);
        QCOMPARE(obj.checked, checked);
        QCOMPARE(obj.shownValue, shown);
    }

    // The page setup's choice of where comments print, from its SETUP record's flags, with
    // and without printer settings.
    void commentPrinting_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<CommentPrinting>("expected");
        QTest::newRow("none") << 0x0200 << CommentPrinting::None;
        QTest::newRow("as displayed") << 0x0020 << CommentPrinting::AsDisplayed;
        QTest::newRow("at end") << 0x0220 << CommentPrinting::AtEnd;
        QTest::newRow("at end, no printer settings") << 0x0224 << CommentPrinting::AtEnd;
    }

    void commentPrinting() {
        QFETCH(int, flags);
        QFETCH(CommentPrinting, expected);
        const QByteArray setup = u16(9) + u16(100) + u16(1) + u16(1) + u16(1) + u16(flags) +
                                 u16(300) + u16(300) + f64(0.5) + f64(0.5) + u16(1);
        const Workbook book =
            read(BiffBuilder::workbook({}, {BiffBuilder::encoded(0x00A1, setup)}));
        QCOMPARE(book.sheets()[0].pageSetup().comments, expected);
    }

    void fixtureObjects_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const QStringList lines = {
            // The comment at C4, shown; comments print through the page setup, not by flag.
            QStringLiteral("Comment 3+272,0+0 4+562,1+82 noprint \"Check this\" note 3,2 shown"),
            QStringLiteral("Picture 1+46,1+29 1+952,3+83 unframed png:79"),
            QStringLiteral("Picture 4+46,1+29 4+952,3+83 unframed jpeg:655"),
            QStringLiteral("Rectangle 1+46,7+28 2+382,10+109"),
            QStringLiteral("Ellipse 4+46,7+28 5+382,10+109 noprint"),
            QStringLiteral("Line 1+46,13+28 2+835,15+82"),
            QStringLiteral("TextBox 4+46,13+28 5+382,15+82 unframed \"Memo 1\""),
            QStringLiteral("CheckBox 1+46,19+29 2+382,20+113 unframed checked \"Agree\""),
        };
        for (int i = 0; i < lines.size(); ++i)
            QTest::addRow("%d", i) << i << lines[i];
    }

    void fixtureObjects() {
        QFETCH(int, index);
        QFETCH(QString, expected);
        const Workbook book =
            WorkbookReader(m_codePages).readFile(fixture(QStringLiteral("drawings.xls")));
        const std::vector<SheetObject>& objects = book.sheets()[0].objects();
        QCOMPARE(objects.size(), size_t{8});
        QCOMPARE(describe(book, objects[static_cast<size_t>(index)]), expected);
    }

    // Pictures open as images of the size they were made; shapes keep their colours, line
    // and arrowhead; groups hold their members; the page setup says where comments print.
    void fixtureDetails() {
        const Workbook book =
            WorkbookReader(m_codePages).readFile(fixture(QStringLiteral("drawings.xls")));
        const std::vector<SheetObject>& objects = book.sheets()[0].objects();
        for (const size_t i : {size_t{1}, size_t{2}}) {
            const QImage image = QImage::fromData(book.pictures().at(*objects[i].picture).data);
            QCOMPARE(image.size(), QSize(16, 8));
        }
        QCOMPARE(book.pictures().size(), 2);
        const SheetObject& rectangle = objects[3];
        QCOMPARE(rectangle.fill.color.rgb, qRgb(255, 0, 0));
        QCOMPARE(rectangle.line.color.rgb, qRgb(0, 0, 255));
        QVERIFY(qAbs(rectangle.line.widthEmu - 19080) <= 360); // 0.53 mm
        QCOMPARE(objects[5].line.endArrowhead, 1);
        QCOMPARE(objects[5].line.startArrowhead, 0);
        QVERIFY(!objects[6].text->runs.isEmpty());

        const std::vector<SheetObject>& grouped = book.sheets()[1].objects();
        QCOMPARE(grouped.size(), size_t{1});
        QCOMPARE(grouped[0].kind, ObjectKind::Group);
        QCOMPARE(grouped[0].children.size(), size_t{2});
        for (const SheetObject& child : grouped[0].children) {
            QCOMPARE(child.kind, ObjectKind::Rectangle);
            QVERIFY(child.childAnchor && grouped[0].childFrame.contains(*child.childAnchor));
        }
        QCOMPARE(book.sheets()[0].pageSetup().comments, CommentPrinting::AtEnd);
        QCOMPARE(book.sheets()[1].pageSetup().comments, CommentPrinting::None);
    }

    // The pictures of headers and footers: the globals' store (in one HFPicture record or
    // continued in a second), the sheet's shape naming its section, picture and size. Damage
    // loses the picture, never the workbook.
    void headerFooterPictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pib");
        QTest::addColumn<int>("storeSplit"); // where the store goes on in a second record
        QTest::addColumn<int>("drawingCut"); // bytes cut off the end of the sheet's drawing
        QTest::addColumn<QString>("expected");
        QTest::newRow("centre header") << "CH" << 1 << 0 << 0 << "CH png:4 64x32";
        QTest::newRow("store continued") << "RF" << 1 << 30 << 0 << "RF png:4 64x32";
        QTest::newRow("other name") << "LHFIRST" << 1 << 0 << 0 << "";
        QTest::newRow("picture not stored") << "LH" << 2 << 0 << 0 << "";
        QTest::newRow("drawing cut in the anchor") << "LF" << 1 << 0 << 4 << "";
        QTest::newRow("drawing cut in the header") << "LF" << 1 << 0 << 100 << "";
    }

    void headerFooterPictures() {
        QFETCH(QString, name);
        QFETCH(int, pib);
        QFETCH(int, storeSplit);
        QFETCH(int, drawingCut);
        QFETCH(QString, expected);
        const QByteArray store = pictureStore(QByteArrayLiteral("PNG!"), false);
        QList<QByteArray> globals;
        if (storeSplit > 0)
            globals = {hfPicture(2 | 4, store.first(storeSplit)),
                       hfPicture(2, store.sliced(storeSplit))};
        else
            globals = {hfPicture(2, store)};
        const QByteArray drawing = hfDrawing(name, pib, 64, 32);
        const Workbook book = read(BiffBuilder::workbook(
            globals, {BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1.0)),
                      hfPicture(1, drawing.first(drawing.size() - drawingCut))}));
        const Sheet& sheet = book.sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->number(), 1.0);
        QStringList found;
        for (int place = 0; place < 6; ++place) {
            const auto at = static_cast<HeaderFooterPlace>(place);
            if (const HeaderFooterPicture* picture = sheet.headerFooterPicture(at))
                found << QStringLiteral("%1 %2:%3 %4x%5")
                             .arg(QLatin1String(placeName(at)),
                                  QLatin1String(formatName(picture->picture.format)))
                             .arg(picture->picture.data.size())
                             .arg(picture->pixels.width())
                             .arg(picture->pixels.height());
        }
        QCOMPARE(found.join(u'|'), expected);
    }
};

QTEST_GUILESS_MAIN(DrawingTest)
#include "tst_drawing.moc"
