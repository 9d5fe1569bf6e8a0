#include "PageSetupRecords.h"

#include "RecordCodes.h"
#include "RecordReader.h"

#include <algorithm>
#include <cmath>

namespace xls {

namespace {

// A margin as the file gives it, in inches, unless it is not a usable length.
double marginOf(RecordReader& reader, double fallback) {
    const double inches = reader.f64();
    return std::isfinite(inches) && inches >= 0 && inches < 100 ? inches : fallback;
}

// A count, then that many rows (columns) at which a new page starts; from Excel 97 on each
// comes with the span of the break across the other direction.
QList<int> pageBreaks(RecordReader& reader, BiffVersion version) {
    const int count = reader.u16();
    QList<int> breaks;
    breaks.reserve(std::min<qsizetype>(count, reader.remaining() / 2));
    for (int i = 0; i < count; ++i) {
        breaks.append(reader.u16());
        if (version == BiffVersion::Biff8)
            reader.skip(4); // the span of the break across the other direction
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    return breaks;
}

} // namespace

void PageSetupRecords::read(const Record& record, BiffVersion version, const Strings& strings,
                            PageSetup& page) {
    RecordReader reader(record);
    switch (record.code) {
    case record::kSetup: {
        const quint16 paperSize = reader.u16();
        const quint16 scale = reader.u16();
        const qint16 firstPage = static_cast<qint16>(reader.u16());
        page.fitWidth = reader.u16();
        page.fitHeight = reader.u16();
        const quint16 flags = reader.u16();
        // Excel 4.0's SETUP ends here; later versions go on with resolutions and margins.
        if (!reader.atEnd()) {
            reader.skip(4); // printer resolutions
            page.headerMargin = marginOf(reader, page.headerMargin);
            page.footerMargin = marginOf(reader, page.footerMargin);
        }
        page.pageOrder = (flags & 0x0001) != 0 ? PageOrder::OverThenDown : PageOrder::DownThenOver;
        // Without printer settings (0x04) paper, scale and orientation are the printer's.
        if ((flags & 0x0004) == 0) {
            page.paperSize = paperSize;
            page.scale = scale >= 10 && scale <= 400 ? scale : 100;
            if ((flags & 0x0040) == 0)
                page.orientation =
                    (flags & 0x0002) != 0 ? Orientation::Portrait : Orientation::Landscape;
        }
        if ((flags & 0x0080) != 0)
            page.firstPageNumber = firstPage;
        if ((flags & 0x0020) != 0)
            page.comments =
                (flags & 0x0200) != 0 ? CommentPrinting::AtEnd : CommentPrinting::AsDisplayed;
        // Unlike paper, scale and orientation, these hold whatever the printer-settings bit.
        page.blackAndWhite = (flags & 0x0008) != 0;
        page.draft = (flags & 0x0010) != 0;
        if (version == BiffVersion::Biff8)
            page.printErrors = static_cast<PrintErrors>((flags >> 10) & 0x03);
        break;
    }
    case record::kWsBool:
        page.fitToPages = (reader.u16() & 0x0100) != 0;
        break;
    case record::kLeftMargin:
        page.leftMargin = marginOf(reader, page.leftMargin);
        break;
    case record::kRightMargin:
        page.rightMargin = marginOf(reader, page.rightMargin);
        break;
    case record::kTopMargin:
        page.topMargin = marginOf(reader, page.topMargin);
        break;
    case record::kBottomMargin:
        page.bottomMargin = marginOf(reader, page.bottomMargin);
        break;
    case record::kHCenter:
        page.centerHorizontally = reader.u16() != 0;
        break;
    case record::kVCenter:
        page.centerVertically = reader.u16() != 0;
        break;
    case record::kHeader:
    case record::kFooter: {
        QString text;
        if (!reader.atEnd())
            text = version == BiffVersion::Biff8 ? strings.longString(reader)
                                                 : strings.shortString(reader);
        (record.code == record::kHeader ? page.header : page.footer) = text;
        break;
    }
    case record::kPrintHeaders:
        page.printHeadings = reader.u16() != 0;
        break;
    case record::kPrintGridlines:
        page.printGridlines = reader.u16() != 0;
        break;
    case record::kHorizontalPageBreaks:
        page.rowBreaks = pageBreaks(reader, version);
        break;
    case record::kVerticalPageBreaks:
        page.columnBreaks = pageBreaks(reader, version);
        break;
    default:
        break;
    }
}

} // namespace xls
