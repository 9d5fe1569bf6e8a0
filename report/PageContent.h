#pragma once

#include "CellLayout.h"
#include "HeaderFooterLines.h"
#include "ObjectLayer.h"

#include <optional>
#include <vector>

namespace report {

// Everything one page shows, laid out before any of it is painted: the runs of its header
// and footer on the paper, its cells and its drawing objects. The pages that list a sheet's
// comments have a header and footer only.
struct PageContent {
    std::vector<PlacedRun> header;
    std::vector<PlacedRun> footer;
    std::optional<CellLayout> cells;
    std::optional<ObjectLayer::Placed> objects; // none when the page options leave them out
};

} // namespace report
