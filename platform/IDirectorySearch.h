#pragma once

#include <QString>

#include <memory>

namespace platform {

// The names of the files that one search matches, handed out one at a time.
class IDirectoryEnumeration {
public:
    virtual ~IDirectoryEnumeration() = default;
    // The next matching name, without its folder; the empty text when there is none left.
    // Throws PlatformError when the folder cannot be read.
    virtual QString next() = 0;
};

// Existence tests and wildcard enumeration over the file system.
class IDirectorySearch {
public:
    virtual ~IDirectorySearch() = default;

    // Whether path names an ordinary file that is not hidden.
    virtual bool isOrdinaryFile(const QString& path) = 0;
    // Whether path names an ordinary file or a folder, neither of them hidden.
    virtual bool isFileOrFolder(const QString& path) = 0;
    // The ordinary, not hidden files matching pattern: a folder, "/", then a wildcard name
    // ("*" any run of characters, "?" one character, letters in any case). An empty folder
    // part stands for the root folder. Throws PlatformError when the folder cannot be opened.
    virtual std::unique_ptr<IDirectoryEnumeration> findFiles(const QString& pattern) = 0;
};

} // namespace platform
