#include "PrintedPages.h"

#include <algorithm>

namespace report {

namespace {

// Marks kept before the list is sorted and cut to distinct pages again.
constexpr std::size_t kFirstCompaction = 4096;
// Distinct marked pages beyond which every page of the area counts as marked: a list of four
// million pages takes 16 MB, and no printer run will reach its end anyway.
constexpr std::size_t kMostListed = std::size_t{1} << 22;

} // namespace

PrintedPages::PrintedPages(int tall, int wide, bool downFirst)
    : m_tall(std::max(0, tall))
    , m_wide(std::max(0, wide))
    , m_downFirst(downFirst)
    , m_compactAt(kFirstCompaction) {}

void PrintedPages::markBlock(int firstRowPage, int lastRowPage, int firstColumnPage,
                             int lastColumnPage) {
    firstRowPage = std::max(firstRowPage, 0);
    lastRowPage = std::min(lastRowPage, m_tall - 1);
    firstColumnPage = std::max(firstColumnPage, 0);
    lastColumnPage = std::min(lastColumnPage, m_wide - 1);
    if (m_all || firstRowPage > lastRowPage || firstColumnPage > lastColumnPage)
        return;
    const auto pages = static_cast<std::size_t>(lastRowPage - firstRowPage + 1) *
                       static_cast<std::size_t>(lastColumnPage - firstColumnPage + 1);
    if (pages > kMostListed) {
        markAll();
        return;
    }
    for (int row = firstRowPage; row <= lastRowPage; ++row) {
        for (int column = firstColumnPage; column <= lastColumnPage; ++column) {
            const int position = m_downFirst ? column * m_tall + row : row * m_wide + column;
            // Cells come in row order: most marks repeat the page just marked.
            if (m_marked.empty() || m_marked.back() != position)
                m_marked.push_back(position);
        }
        if (m_marked.size() >= m_compactAt)
            compact();
        if (m_all)
            return;
    }
}

void PrintedPages::markAll() {
    m_all = true;
    m_marked = {};
}

void PrintedPages::compact() {
    std::sort(m_marked.begin(), m_marked.end());
    m_marked.erase(std::unique(m_marked.begin(), m_marked.end()), m_marked.end());
    if (m_marked.size() > kMostListed) {
        markAll();
        return;
    }
    m_compactAt = std::max(kFirstCompaction, 2 * m_marked.size());
}

void PrintedPages::finish() {
    if (!m_all)
        compact();
    if (!m_all)
        m_marked.shrink_to_fit();
}

int PrintedPages::count() const {
    return m_all ? m_tall * m_wide : static_cast<int>(m_marked.size());
}

std::pair<int, int> PrintedPages::at(int ordinal) const {
    const int position = m_all ? ordinal : m_marked[static_cast<std::size_t>(ordinal)];
    if (m_downFirst)
        return {position % m_tall, position / m_tall};
    return {position / m_wide, position % m_wide};
}

} // namespace report
