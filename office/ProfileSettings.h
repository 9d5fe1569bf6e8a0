#pragma once

#include <QByteArray>
#include <QString>

namespace office {

// What our private LibreOffice profiles hold whatever the user's environment says: the
// Japanese locale, so that built-in number formats, dates and era formats print as Japanese
// Excel prints them, and a font replacement table made from the font table the report printer
// uses, so that both print paths print a workbook's fonts in the same installed faces.
// LibreOffice reads both only when it starts, so they go into the profile's configuration file
// before every start; a profile kept from an earlier start gets them as well.

// The profile's configuration text with these settings in place of any earlier ones for the
// same keys. Every other setting of existing is kept; text that is not such a file is replaced.
QByteArray withProfileSettings(const QByteArray& existing);

// Writes the settings into the profile in profileFolder; raises AutomationError on failure.
void writeProfileSettings(const QString& profileFolder);

} // namespace office
