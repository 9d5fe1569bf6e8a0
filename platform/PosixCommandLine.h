#pragma once

#include "ICommandLine.h"

#include <QStringList>

namespace platform {

// POSIX hands over separate arguments. The argument text puts each one in double quotes and
// joins them with one blank, so that a split at the quotes gives every argument back whole.
class PosixCommandLine : public ICommandLine {
public:
    // argv[0], the program's name, is left out.
    PosixCommandLine(int argc, const char* const* argv);

    QString argumentText() const override { return m_text; }

    static QString joinArguments(const QStringList& arguments);

private:
    QString m_text;
};

} // namespace platform
