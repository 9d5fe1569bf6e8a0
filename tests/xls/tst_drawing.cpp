#include "BiffBuilder.h"

#include "xls/IconvCodePages.h"
#include "xls/WorkbookReader.h"

#include <QtTest>

using namespace xls;
using namespace xlstest;

namespace {

const char* kindName(ObjectKind kind) {
    static const char* const names[] = {
        "Picture",  "Rectangle",    "RoundRectangle", "Ellipse", "Line",   "Shape",
        "TextBox",  "Group",        "Chart",          "CheckBox", "OptionButton",
        "GroupBox", "Label",        "Button",         "ListBox", "ComboBox", "Comment", "Other"};
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
    if (o.hidden)
        line += QStringLiteral(" hidden");
    if (o.picture) {
        const Picture& p = book.pictures().at(*o.picture);
        line += QStringLiteral(" %1:%2").arg(QLatin1String(formatName(p.format))).arg(p.data.size());
    }
    if (o.checked != 0)
        line += QStringLiteral(" checked");
    if (o.text)
        line += QStringLiteral(" \"%1\"").arg(o.text->text);
    if (o.note)
        line += QStringLiteral(" note %1,%2%3").arg(o.note->row).arg(o.note->column).arg(
            o.note->shown ? QStringLiteral(" shown") : QString());
    return line;
}

QStringList describeAll(const Workbook& book, const std::vector<SheetObject>& objects) {
    QStringList out;
    for (const SheetObject& o : objects)
        out << describe(book, o);
    return out;
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

private slots:
    void fixtureObjects() {
        const Workbook book =
            WorkbookReader(m_codePages).readFile(fixture(QStringLiteral("drawings.xls")));
        qDebug().noquote() << describeAll(book, book.sheets()[0].objects()).join('\n');
        qDebug().noquote() << describeAll(book, book.sheets()[1].objects()).join('\n');
    }
};

QTEST_GUILESS_MAIN(DrawingTest)
#include "tst_drawing.moc"
