#include "ChartPlot.h"

#include <algorithm>

namespace report {

double ChartPlot::slot() const {
    return categoryLength() / std::max(1, between ? count : count - 1);
}

double ChartPlot::categoryAt(double category) const {
    const double from = between ? (category + 0.5) * slot() : category * slot();
    return categoriesReversed ? categoryLength() - from : from;
}

QPointF ChartPlot::point(double along, double up) const {
    if (horizontal)
        return {inner.left() + up, inner.bottom() - along};
    return {inner.left() + along, inner.bottom() - up};
}

QPointF ChartPlot::at(double category, double value, bool secondaryAxis) const {
    return point(categoryAt(category), scale(secondaryAxis).fraction(value) * valueLength());
}

QPointF ChartPlot::atXY(double x, double y, bool secondaryAxis) const {
    const double across = xScale ? xScale->fraction(x) * categoryLength() : categoryAt(x - 1);
    return point(across, scale(secondaryAxis).fraction(y) * valueLength());
}

} // namespace report
