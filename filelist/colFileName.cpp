#include "colFileName.h"

#include <stdexcept>

void colFileName::Clear() {
    for (qint32 i = Count(); i >= 1; --i)
        m_entries.erase(m_entries.begin() + (i - 1));
}

colFileName::Entry colFileName::Add(const QString& strFileName, qint32 lngIndex, bool blnBefore) {
    auto entry = std::make_shared<clsFileName>();
    entry->setFileName(strFileName);
    if (lngIndex == 0) {
        m_entries.push_back(entry);
        return entry;
    }
    if (lngIndex < 1 || lngIndex > Count())
        throw std::out_of_range("colFileName::Add: no entry at position " +
                                std::to_string(lngIndex));
    const qint32 position = blnBefore ? lngIndex - 1 : lngIndex;
    m_entries.insert(m_entries.begin() + position, entry);
    return entry;
}

bool colFileName::Remove(qint32 lngIndex) {
    if (lngIndex < 1 || lngIndex > Count())
        return false;
    m_entries.erase(m_entries.begin() + (lngIndex - 1));
    return true;
}

colFileName::Entry colFileName::Item(qint32 lngIndex) const {
    if (lngIndex < 1 || lngIndex > Count())
        return nullptr;
    return m_entries[static_cast<std::size_t>(lngIndex - 1)];
}
