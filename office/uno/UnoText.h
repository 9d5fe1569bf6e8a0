#pragma once

#include <QString>

#include <rtl/ustring.hxx>

namespace office {

// Both sides hold UTF-16, so the conversions copy code units unchanged.
inline rtl::OUString toUno(const QString& text) {
    return {reinterpret_cast<const sal_Unicode*>(text.constData()),
            static_cast<sal_Int32>(text.size())};
}

inline QString fromUno(const rtl::OUString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

} // namespace office
