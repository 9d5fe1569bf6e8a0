// Formatting speed: a million values through typical format codes, against Qt's own conversion
// of the same values to text as a peer measured in the same run.
//
// usage: bench_xlsformat [RUNS]   prints the median of RUNS runs (default 7) of each kind.

#include "xls/format/NumberFormat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

constexpr int ValueCount = 1000000;

const QStringList& typicalCodes() {
    static const QStringList codes{
        QStringLiteral("General"),  QStringLiteral("0"),        QStringLiteral("#,##0"),
        QStringLiteral("#,##0.00"), QStringLiteral("0.00%"),    xls::builtInFormatCode(38),
        xls::builtInFormatCode(43), QStringLiteral("0.00E+00"), QStringLiteral("# ?/?"),
        QStringLiteral("yyyy/m/d"), QStringLiteral("h:mm:ss"),  xls::builtInFormatCode(28),
    };
    return codes;
}

QList<double> makeValues() {
    QRandomGenerator random(4);
    QList<double> values;
    values.reserve(ValueCount);
    for (int i = 0; i < ValueCount; ++i) {
        // Amounts, fractions and date serials of recent decades.
        switch (i % 3) {
        case 0:
            values.append(random.bounded(2000000) - 1000000 + random.bounded(100) / 100.0);
            break;
        case 1:
            values.append(random.generateDouble());
            break;
        default:
            values.append(30000 + random.bounded(20000) + random.generateDouble());
            break;
        }
    }
    return values;
}

double medianMilliseconds(int runs, const std::function<qsizetype()>& work, qsizetype& check) {
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        check += work();
        times.append(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 7;
    const QList<double> values = makeValues();
    const QStringList& codes = typicalCodes();
    QTextStream out(stdout);
    qsizetype check = 0;

    QList<xls::NumberFormat> formats;
    const double parsing = medianMilliseconds(
        runs,
        [&] {
            formats.clear();
            for (int i = 0; i < 1000; ++i) {
                for (const QString& code : codes)
                    formats.append(xls::NumberFormat(code));
            }
            return formats.size();
        },
        check);

    const double engine = medianMilliseconds(
        runs,
        [&] {
            qsizetype length = 0;
            for (int i = 0; i < ValueCount; ++i) {
                const xls::NumberFormat& format = formats[i % codes.size()];
                length += format.formatNumber(values[i], xls::DateSystem::Base1900).text.size();
            }
            return length;
        },
        check);

    const double peer = medianMilliseconds(
        runs,
        [&] {
            qsizetype length = 0;
            for (int i = 0; i < ValueCount; ++i)
                length += QString::number(values[i], 'g', 15).size();
            return length;
        },
        check);

    out << "values formatted: " << ValueCount << " across " << codes.size() << " codes, median of "
        << runs << " runs\n";
    out << "engine:  " << engine << " ms (" << engine * 1e6 / ValueCount << " ns a value)\n";
    out << "peer QString::number(v, 'g', 15): " << peer << " ms (" << peer * 1e6 / ValueCount
        << " ns a value)\n";
    out << "ratio engine / peer: " << engine / peer << "\n";
    out << "parsing: " << parsing << " ms for " << 1000 * codes.size() << " codes ("
        << parsing * 1e6 / (1000.0 * static_cast<double>(codes.size())) << " ns a code)\n";
    out << "(check " << check << ")\n";
    return 0;
}
