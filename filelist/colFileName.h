#pragma once

#include "clsFileName.h"

#include <QtGlobal>

#include <memory>
#include <vector>

// An ordered, unkeyed list of shared file-name entries, positions 1 to Count. It stores every
// text as given, duplicates and empty texts included, and judges nothing.
class colFileName {
public:
    using Entry = std::shared_ptr<clsFileName>;
    using const_iterator = std::vector<Entry>::const_iterator;

    // Removes every entry, the last one first.
    void Clear();
    // A new entry holding strFileName. lngIndex 0 appends it; otherwise it goes in front of
    // (blnBefore) or right after the entry at lngIndex. Throws std::out_of_range, adding
    // nothing, when lngIndex is not 0 and names no entry.
    Entry Add(const QString& strFileName, qint32 lngIndex = 0, bool blnBefore = false);
    // Removes the entry at lngIndex; false, and nothing removed, when there is none.
    bool Remove(qint32 lngIndex);
    qint32 Count() const { return static_cast<qint32>(m_entries.size()); }
    // The entry at lngIndex itself, or a null reference when there is none.
    Entry Item(qint32 lngIndex) const;

    // Iteration over the entries in position order (for-each).
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }

private:
    std::vector<Entry> m_entries;
};
