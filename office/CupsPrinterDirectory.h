#pragma once

#include "IPrinterDirectory.h"

namespace office {

// The destinations of the CUPS server that libcups reaches (CUPS_SERVER, client.conf or the
// local scheduler), with the user's lpoptions applied.
class CupsPrinterDirectory : public IPrinterDirectory {
public:
    bool hasPrinter(const QString& name) const override;
    std::optional<QString> defaultPrinter() const override;
    QStringList printerNames() const override;
};

} // namespace office
