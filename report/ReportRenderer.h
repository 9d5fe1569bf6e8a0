#pragma once

#include "RenderControl.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QPagedPaintDevice;

namespace xls {
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class FontMapper;
class PageSink;
class TextShaper;

// Prints sheets of one workbook as one document: every sheet is laid out first, so that page
// numbers run on across the sheets (a sheet with a first page number of its own starts
// there) and &N counts the pages of the whole document; then the pages are painted one by
// one, each on paper of its sheet's size and orientation. Macro sheets print like
// worksheets; a chart sheet prints its chart on one page; modules add no page.
class ReportRenderer {
public:
    // filePath: the workbook's full path, for &F and &Z in headers and footers. shaper: what
    // measures and shapes the text, the document writer's too.
    ReportRenderer(const xls::Workbook& workbook, const QString& filePath, const FontMapper& fonts,
                   const TextShaper& shaper);

    // How many pages the sheets print.
    int pageCount(const QList<const xls::Sheet*>& sheets) const;
    // Paints the sheets onto a printer or a PDF writer, starting the document at its first
    // page; returns the number of pages painted. A document of no page leaves the device
    // untouched. Throws ReportError when the device cannot be painted on, RenderStopped when
    // control asks to stop, which it looks at before every page.
    int render(QPagedPaintDevice& device, const QList<const xls::Sheet*>& sheets,
               const QDateTime& printed, const RenderControl& control = {}) const;
    int render(PageSink& sink, const QList<const xls::Sheet*>& sheets, const QDateTime& printed,
               const RenderControl& control = {}) const;

private:
    const xls::Workbook& m_workbook;
    QString m_filePath;
    const FontMapper& m_fonts;
    const TextShaper& m_shaper;
    double m_maxDigitWidth;
};

} // namespace report
