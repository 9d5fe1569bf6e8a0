#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace testsupport {

// The names and contents of the entries of a folder at one moment, so that a test can show
// that nothing in it was changed or added. Names are kept as bytes.
class FolderSnapshot {
public:
    explicit FolderSnapshot(const QString& folder);

    // What differs in later: added, removed and changed entries, one line each.
    QStringList differencesTo(const FolderSnapshot& later) const;

private:
    QMap<QByteArray, QByteArray> m_entries; // name -> SHA-256 of the content ("dir" for folders)
};

} // namespace testsupport
