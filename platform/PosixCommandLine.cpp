#include "PosixCommandLine.h"

#include "FileName.h"

namespace platform {

PosixCommandLine::PosixCommandLine(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(decodeFileName(QByteArray(argv[i])));
    m_text = joinArguments(arguments);
}

QString PosixCommandLine::joinArguments(const QStringList& arguments) {
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (const QString& argument : arguments)
        quoted.append(u'"' + argument + u'"');
    return quoted.join(u' ');
}

} // namespace platform
