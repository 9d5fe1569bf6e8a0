#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// A failed operating-system call, numbered the way the program's error handlers report it.
class PlatformError : public std::runtime_error {
public:
    // The numbers the program uses for file-system failures.
    static constexpr int kFileNotFound = 53;
    static constexpr int kPermissionDenied = 70;
    static constexpr int kPathFileAccess = 75;
    static constexpr int kPathNotFound = 76;

    PlatformError(int number, const QString& description);

    int number() const { return m_number; }
    QString description() const { return m_description; }

    // The error for a failed POSIX call on path, from its errno value.
    static PlatformError fromErrno(int errnoValue, const QString& path);

private:
    int m_number;
    QString m_description;
};

} // namespace platform
