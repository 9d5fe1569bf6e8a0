#pragma once

#include "CellSources.h"
#include "TextSpills.h"

#include <memory>

class QPaintDevice;

namespace report {

// How far a cell's text reaches past its own cell into empty neighbours, shaped in the
// fonts of its pieces on a 72 dots-per-inch device, as the placement shapes it: the one measure
// from which TextSpills decide the columns a text covers, for the printed range, the blank pages
// and the pages' layouts.
class CellTextReach : public TextReachMeasure {
public:
    explicit CellTextReach(const CellSources& sources);
    ~CellTextReach() override;
    TextReach reach(const xls::Cell& cell, double cellWidth) const override;

private:
    CellSources m_sources;
    std::unique_ptr<QPaintDevice> m_device;
};

} // namespace report
