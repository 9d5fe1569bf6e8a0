#pragma once

#include "ICodePages.h"

#include <iconv.h>

#include <map>
#include <mutex>
#include <set>

namespace xls {

// Code pages decoded by the C library's iconv, except the Unicode ones and Latin-1, which
// Qt's own decoders know without ICU. Converters are opened as needed and kept for reuse.
// One object serves several threads at once: an iconv converter carries state while it
// converts, so each decode borrows one that no other thread holds, under a lock held only to
// take it from the idle ones and to give it back.
class IconvCodePages : public ICodePages {
public:
    IconvCodePages() = default;
    IconvCodePages(const IconvCodePages&) = delete;
    IconvCodePages& operator=(const IconvCodePages&) = delete;
    ~IconvCodePages() override;

    QString decode(int codePage, QByteArrayView bytes) const override;

private:
    class Borrowed;

    // An idle converter from codePage to UTF-16LE, taken out of the idle ones, or a new one;
    // (iconv_t)-1 when iconv cannot open one.
    iconv_t take(int codePage) const;
    void giveBack(int codePage, iconv_t converter) const;

    mutable std::mutex m_mutex;
    mutable std::multimap<int, iconv_t> m_idle;
    mutable std::set<int> m_unknown; // code pages iconv cannot open
};

} // namespace xls
