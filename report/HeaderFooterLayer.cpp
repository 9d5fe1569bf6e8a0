#include "HeaderFooterLines.h"
#include "PageLayers.h"
#include "PictureDrawing.h"

#include <QPainter>

namespace report {

void paintHeaderFooter(QPainter& painter, const std::vector<PlacedRun>& runs,
                       const PictureDrawing& pictures) {
    painter.save();
    for (const PlacedRun& run : runs) {
        if (run.picture != nullptr) {
            pictures.draw(painter, *run.picture, run.pictureBox);
            continue;
        }
        painter.setFont(run.font);
        painter.setPen(run.color);
        painter.drawText(run.origin, run.text);
        if (run.secondUnderline) {
            painter.setPen(QPen(run.color, run.lineWidth));
            painter.drawLine(*run.secondUnderline);
        }
    }
    painter.restore();
}

} // namespace report
