#include "CupsPrinterDirectory.h"

#include "platform/CupsPasswordRefusal.h"

#include <cups/cups.h>

#include <functional>

namespace office {

namespace {

QString destinationName(const cups_dest_t& dest) {
    QString name = QString::fromUtf8(dest.name);
    if (dest.instance != nullptr)
        name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
    return name;
}

// Calls visit for each destination until it returns true; returns whether one did.
bool findDestination(const std::function<bool(const cups_dest_t&)>& visit) {
    platform::refuseCupsPasswordPrompts();
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    bool found = false;
    for (int i = 0; i < count && !found; ++i)
        found = visit(dests[i]);
    cupsFreeDests(count, dests);
    return found;
}

} // namespace

bool CupsPrinterDirectory::hasPrinter(const QString& name) const {
    return findDestination([&](const cups_dest_t& dest) { return destinationName(dest) == name; });
}

std::optional<QString> CupsPrinterDirectory::defaultPrinter() const {
    std::optional<QString> result;
    findDestination([&](const cups_dest_t& dest) {
        if (dest.is_default != 0)
            result = destinationName(dest);
        return result.has_value();
    });
    return result;
}

QStringList CupsPrinterDirectory::printerNames() const {
    QStringList names;
    findDestination([&](const cups_dest_t& dest) {
        names.append(destinationName(dest));
        return false;
    });
    return names;
}

} // namespace office
