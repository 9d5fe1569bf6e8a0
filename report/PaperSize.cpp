#include "PaperSize.h"

#include <QSizeF>

namespace report {

namespace {

struct PaperCode {
    int code;
    QPageSize::PageSizeId id;
    bool rotated;
};

// Windows' paper codes, which Excel stores, and the Qt sizes of the same dimensions.
constexpr PaperCode kPapers[] = {
    {1, QPageSize::Letter, false},
    {2, QPageSize::Letter, false}, // Letter Small
    {3, QPageSize::Tabloid, false},
    {4, QPageSize::Ledger, false},
    {5, QPageSize::Legal, false},
    {6, QPageSize::Statement, false},
    {7, QPageSize::ExecutiveStandard, false}, // 7.25 x 10.5 in
    {8, QPageSize::A3, false},
    {9, QPageSize::A4, false},
    {10, QPageSize::A4, false}, // A4 Small
    {11, QPageSize::A5, false},
    {12, QPageSize::JisB4, false},
    {13, QPageSize::JisB5, false},
    {15, QPageSize::Quarto, false},
    {16, QPageSize::Imperial10x14, false},
    {17, QPageSize::Tabloid, false}, // 11 x 17 in
    {18, QPageSize::Note, false},
    {19, QPageSize::Envelope9, false},
    {20, QPageSize::Envelope10, false},
    {21, QPageSize::Envelope11, false},
    {22, QPageSize::Envelope12, false},
    {23, QPageSize::Envelope14, false},
    {24, QPageSize::AnsiC, false},
    {25, QPageSize::AnsiD, false},
    {26, QPageSize::AnsiE, false},
    {27, QPageSize::EnvelopeDL, false},
    {28, QPageSize::EnvelopeC5, false},
    {29, QPageSize::EnvelopeC3, false},
    {30, QPageSize::EnvelopeC4, false},
    {31, QPageSize::EnvelopeC6, false},
    {32, QPageSize::EnvelopeC65, false},
    {33, QPageSize::EnvelopeB4, false},
    {34, QPageSize::EnvelopeB5, false},
    {35, QPageSize::EnvelopeB6, false},
    {36, QPageSize::EnvelopeItalian, false},
    {37, QPageSize::EnvelopeMonarch, false},
    {38, QPageSize::EnvelopePersonal, false},
    {39, QPageSize::FanFoldUS, false},
    {40, QPageSize::FanFoldGerman, false},
    {41, QPageSize::FanFoldGermanLegal, false},
    {42, QPageSize::B4, false},
    {43, QPageSize::Postcard, false},
    {66, QPageSize::A2, false},
    {69, QPageSize::DoublePostcard, false},
    {70, QPageSize::A6, false},
    {71, QPageSize::EnvelopeKaku2, false},
    {72, QPageSize::EnvelopeKaku3, false},
    {73, QPageSize::EnvelopeChou3, false},
    {74, QPageSize::EnvelopeChou4, false},
    {75, QPageSize::Letter, true},
    {76, QPageSize::A3, true},
    {77, QPageSize::A4, true},
    {78, QPageSize::A5, true},
    {79, QPageSize::JisB4, true},
    {80, QPageSize::JisB5, true},
    {81, QPageSize::Postcard, true},
    {82, QPageSize::DoublePostcard, true},
    {83, QPageSize::A6, true},
    {84, QPageSize::EnvelopeKaku2, true},
    {85, QPageSize::EnvelopeKaku3, true},
    {86, QPageSize::EnvelopeChou3, true},
    {87, QPageSize::EnvelopeChou4, true},
    {88, QPageSize::JisB6, false},
    {89, QPageSize::JisB6, true},
    {91, QPageSize::EnvelopeYou4, false},
    {92, QPageSize::EnvelopeYou4, true},
};

} // namespace

Paper paperForCode(int code) {
    // Folio is 8.5 x 13 in, not the 210 x 330 mm Qt calls Folio.
    if (code == 14)
        return {QPageSize(QSizeF(8.5, 13), QPageSize::Inch, QStringLiteral("Folio")), false};
    if (code == 90)
        return {QPageSize(QSizeF(12, 11), QPageSize::Inch, QStringLiteral("12x11")), false};
    for (const PaperCode& paper : kPapers) {
        if (paper.code == code)
            return {QPageSize(paper.id), paper.rotated};
    }
    return {QPageSize(QPageSize::A4), false};
}

} // namespace report
