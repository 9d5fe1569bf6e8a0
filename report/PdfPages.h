#pragma once

#include <QPaintDevice>
#include <QSizeF>
#include <QString>

#include <memory>

namespace report {

class PdfPaintEngine;
class TextShaper;

// A PDF file as a paint device: a device pixel is a point, and the device is as large as the
// current page. A painter begun on it begins the first page and paints on across newPage();
// ending the painter finishes the file, which replaces the one at the path only when whole.
class PdfPages : public QPaintDevice {
public:
    PdfPages(const QString& path, const QString& title, const TextShaper& shaper);
    ~PdfPages() override;
    PdfPages(const PdfPages&) = delete;
    PdfPages& operator=(const PdfPages&) = delete;

    // The size in points of the next page begun: the first, or the one newPage() begins.
    void setPageSize(const QSizeF& points);
    QSizeF pageSize() const;
    // Ends the current page and begins another; false when the file cannot be written.
    bool newPage();
    // Why the file could not be written; empty when it could.
    QString errorString() const;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<PdfPaintEngine> m_engine;
};

} // namespace report
