#pragma once

class QPageLayout;
class QPaintDevice;

namespace report {

// Where a document's pages are painted: a printer, Qt's PDF writer or our own PDF writer.
// Painting is in points, on the whole page.
class PageSink {
public:
    virtual ~PageSink() = default;

    virtual QPaintDevice& device() = 0;
    // Gives the next page the paper of `paper`; the first page's before painting begins,
    // the others' in place of the one before. False when the device refuses it.
    virtual bool startPage(const QPageLayout& paper, bool first) = 0;
};

} // namespace report
