#pragma once

#include "ChartScale.h"

#include <QPointF>
#include <QRectF>

#include <optional>

namespace report {

// The plot area inside a chart's axes and how values map onto it: categories spread along
// the category axis (across, or down for horizontal bars, the first at the bottom), values
// along the value axis of their axis group. A scatter chart's x values have a scale of
// their own.
struct ChartPlot {
    QRectF inner;
    bool horizontal = false;
    int count = 1;       // categories
    bool between = true; // categories sit in the middle of their slots, not on the ticks
    bool categoriesReversed = false;
    ChartScale primary;
    std::optional<ChartScale> secondary;
    std::optional<ChartScale> xScale; // scatter charts

    const ChartScale& scale(bool secondaryAxis) const {
        return secondaryAxis && secondary ? *secondary : primary;
    }
    // The length of the category axis and of the value axis.
    double categoryLength() const { return horizontal ? inner.height() : inner.width(); }
    double valueLength() const { return horizontal ? inner.width() : inner.height(); }
    // A category slot's width along the category axis.
    double slot() const;
    // Where a category (from 0; fractions between) stands along the category axis, from its
    // start.
    double categoryAt(double category) const;
    // The page point of a category position and a value position along their axes.
    QPointF point(double along, double up) const;
    // The page point of a category and a value.
    QPointF at(double category, double value, bool secondaryAxis) const;
    // The page point of a scatter chart's x and y values.
    QPointF atXY(double x, double y, bool secondaryAxis) const;
};

} // namespace report
