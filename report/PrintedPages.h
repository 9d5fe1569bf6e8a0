#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace report {

// The pages of one print area that have something to print, in print order. Whatever prints
// marks the page that shows it (a cell) or a block of pages (a merged area); finish() then
// makes the list, and a page that nothing marked is blank and left out. What is held follows
// what was marked, never the number of pages the area is laid out on.
class PrintedPages {
public:
    PrintedPages() = default;
    // An area laid out on tall × wide pages, numbered down the rows of pages first (downFirst)
    // or across them first.
    PrintedPages(int tall, int wide, bool downFirst);

    void mark(int rowPage, int columnPage) { markBlock(rowPage, rowPage, columnPage, columnPage); }
    void markBlock(int firstRowPage, int lastRowPage, int firstColumnPage, int lastColumnPage);
    // Every page prints.
    void markAll();
    void finish();

    // How many pages print.
    int count() const;
    // The row and column of pages of the printed page at ordinal, from 0 and less than count().
    std::pair<int, int> at(int ordinal) const;

private:
    void compact();

    int m_tall = 0;
    int m_wide = 0;
    bool m_downFirst = true;
    // Set when more pages were marked than are worth listing: every page then prints, as it
    // would in a file that marks them all.
    bool m_all = false;
    std::vector<int> m_marked; // positions in print order among all the area's pages
    std::size_t m_compactAt = 0;
};

} // namespace report
