#pragma once

#include "platform/FontTable.h"

#include <QFont>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace xls {
struct Font;
}

namespace report {

// Maps the font names a workbook uses (ＭＳ Ｐゴシック, MS Mincho, Arial, Century, ...) to
// installed fonts of the same kind and metrics through the font table both print paths share:
// the IPA fonts for the Japanese ones, the Liberation fonts for the Latin ones. Every font it gives
// falls back to a Japanese font, so Japanese text never prints as empty boxes. Needs a
// QGuiApplication; one object serves one thread.
class FontMapper {
public:
    FontMapper();

    // The installed families for a workbook's font name, best first, the Japanese fallback
    // last. familyClass and charSet are the FONT record's (1 roman, 3 modern; 128 Japanese)
    // and choose the kind for names that are not known.
    QStringList families(const QString& workbookName, int familyClass = 0, int charSet = 0) const;

    // The workbook font as a QFont, sized in points, with its style and decorations.
    QFont font(const xls::Font& font) const;
    QFont font(const QString& workbookName, double pointSize, bool bold, bool italic) const;

    // The width in pixels at 96 dots per inch of the widest digit of the font at its size,
    // as the spreadsheet measures it: from its table of known fonts, else measured in the
    // substitute font at the point size rounded to whole pixels.
    double maxDigitWidth(const xls::Font& font) const;

private:
    using Kind = platform::FontKind;

    Kind kindOf(const QString& workbookName, int familyClass, int charSet) const;
    QString installed(Kind kind) const;

    QSet<QString> m_installed;       // lower-cased family names
    QHash<QString, Kind> m_named;    // the font table's names, normalised
    QHash<QString, QString> m_twins; // normalised names to their metric-compatible family
    mutable QHash<QString, QStringList> m_cache;
};

} // namespace report
