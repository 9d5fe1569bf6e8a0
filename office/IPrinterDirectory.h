#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace office {

// The printers the print system knows, asked afresh on every call.
class IPrinterDirectory {
public:
    virtual ~IPrinterDirectory() = default;

    // Whether a destination has exactly this name ("queue" or "queue/instance").
    virtual bool hasPrinter(const QString& name) const = 0;
    virtual std::optional<QString> defaultPrinter() const = 0;
    // Every destination's name, in the order the print system lists them.
    virtual QStringList printerNames() const = 0;
};

} // namespace office
