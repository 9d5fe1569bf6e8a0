#pragma once

#include "CellSlot.h"
#include "CellSources.h"
#include "PageLayout.h"
#include "SlotText.h"

#include <vector>

class QPaintDevice;

namespace report {

// The cells of one page laid out: a slot for every row and column the page shows, and the
// texts they show. Everything a painter draws for the cells is decided here.
class CellLayout {
public:
    // device: the paint device the texts are shaped for.
    CellLayout(const CellSources& sources, const LaidOutPage& page, QPaintDevice* device);

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    const CellSlot& slot(int rowSlot, int columnSlot) const {
        return m_slots[static_cast<size_t>(rowSlot * m_columns + columnSlot)];
    }
    const std::vector<CellSlot>& cellSlots() const { return m_slots; }
    const std::vector<SlotText>& texts() const { return m_texts; }

private:
    friend class CellLayoutBuilder;

    int m_rows = 0;
    int m_columns = 0;
    std::vector<CellSlot> m_slots;
    std::vector<SlotText> m_texts;
};

} // namespace report
