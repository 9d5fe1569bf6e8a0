#pragma once

#include "ICodePages.h"

#include <iconv.h>

#include <map>

namespace xls {

// Code pages decoded by the C library's iconv, except the Unicode ones and Latin-1, which
// Qt's own decoders know without ICU. A converter is opened on first use of each code page
// and kept; the object is therefore not to be shared between threads.
class IconvCodePages : public ICodePages {
public:
    IconvCodePages() = default;
    IconvCodePages(const IconvCodePages&) = delete;
    IconvCodePages& operator=(const IconvCodePages&) = delete;
    ~IconvCodePages() override;

    QString decode(int codePage, QByteArrayView bytes) const override;

private:
    // The converter from codePage to UTF-16LE, or (iconv_t)-1 when iconv cannot open one.
    iconv_t converterFor(int codePage) const;

    mutable std::map<int, iconv_t> m_converters;
};

} // namespace xls
