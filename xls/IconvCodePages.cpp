#include "IconvCodePages.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace xls {

namespace {

// iconv_open's failure value.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr)
constexpr int kWesternCodePage = 1252;

// iconv's name for a Windows code page number; nullptr for numbers it has no name for.
const char* iconvName(int codePage) {
    switch (codePage) {
    case 367:
        return "ASCII";
    case 437:
        return "IBM437";
    case 737:
        return "CP737";
    case 775:
        return "IBM775";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 855:
        return "IBM855";
    case 857:
        return "IBM857";
    case 858:
        return "IBM858";
    case 860:
        return "IBM860";
    case 861:
        return "IBM861";
    case 862:
        return "IBM862";
    case 863:
        return "IBM863";
    case 864:
        return "IBM864";
    case 865:
        return "IBM865";
    case 866:
        return "IBM866";
    case 869:
        return "IBM869";
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
    case 32769: // the Western code page under its older number
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 1361:
        return "JOHAB";
    case 10000:
    case 32768: // Apple Roman under its older number
        return "MACINTOSH";
    case 10007:
        return "MAC-CYRILLIC";
    case 10029:
        return "MAC-CENTRALEUROPE";
    case 10079:
        return "MAC-IS";
    default:
        return nullptr;
    }
}

// The code pages that Qt decodes by itself, without ICU.
std::optional<QStringConverter::Encoding> qtEncoding(int codePage) {
    switch (codePage) {
    case 1200:
        return QStringConverter::Utf16LE;
    case 1201:
        return QStringConverter::Utf16BE;
    case 28591:
        return QStringConverter::Latin1;
    case 65001:
        return QStringConverter::Utf8;
    default:
        return std::nullopt;
    }
}

} // namespace

// A converter borrowed for one decode, given back when it goes.
class IconvCodePages::Borrowed {
public:
    Borrowed(const IconvCodePages& owner, int codePage)
        : m_owner(owner)
        , m_codePage(codePage)
        , m_converter(owner.take(codePage)) {}
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    ~Borrowed() {
        if (m_converter != kNoConverter)
            m_owner.giveBack(m_codePage, m_converter);
    }
    iconv_t get() const { return m_converter; }

private:
    const IconvCodePages& m_owner;
    int m_codePage;
    iconv_t m_converter;
};

IconvCodePages::~IconvCodePages() {
    for (const auto& [codePage, converter] : m_idle)
        iconv_close(converter);
}

iconv_t IconvCodePages::take(int codePage) const {
    {
        const std::scoped_lock lock(m_mutex);
        if (m_unknown.count(codePage) != 0)
            return kNoConverter;
        const auto idle = m_idle.find(codePage);
        if (idle != m_idle.end()) {
            const iconv_t converter = idle->second;
            m_idle.erase(idle);
            return converter;
        }
    }
    const char* name = iconvName(codePage);
    const iconv_t converter = name != nullptr ? iconv_open("UTF-16LE", name) : kNoConverter;
    if (converter == kNoConverter) {
        const std::scoped_lock lock(m_mutex);
        m_unknown.insert(codePage);
    }
    return converter;
}

void IconvCodePages::giveBack(int codePage, iconv_t converter) const {
    const std::scoped_lock lock(m_mutex);
    m_idle.emplace(codePage, converter);
}

QString IconvCodePages::decode(int codePage, QByteArrayView bytes) const {
    if (bytes.isEmpty())
        return {};
    if (const auto encoding = qtEncoding(codePage)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    std::optional<Borrowed> borrowed(std::in_place, *this, codePage);
    if (borrowed->get() == kNoConverter)
        borrowed.emplace(*this, kWesternCodePage);
    const iconv_t converter = borrowed->get();
    if (converter == kNoConverter)
        return QString::fromLatin1(bytes);

    // No byte of these code pages becomes more than two UTF-16 units.
    std::vector<char16_t> out(static_cast<size_t>(bytes.size()) * 2 + 2);
    // iconv's interface takes a non-const input pointer but does not write through it.
    char* in = const_cast<char*>(bytes.data()); // NOLINT
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char16_t);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG || outLeft < sizeof(char16_t))
            break;
        // An unmapped or cut-off byte: show it as the replacement character and go on.
        const char16_t replacement = 0xFFFD;
        std::memcpy(outPtr, &replacement, sizeof replacement);
        outPtr += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    const auto units = static_cast<qsizetype>((outPtr - reinterpret_cast<char*>(out.data())) /
                                              static_cast<qsizetype>(sizeof(char16_t)));
    return QString(reinterpret_cast<const QChar*>(out.data()), units);
}

} // namespace xls
