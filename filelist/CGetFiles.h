#pragma once

#include "colFileName.h"

#include "platform/IDirectorySearch.h"

#include <QString>

#include <memory>

// Lists the files of one folder whose names match a wildcard pattern, as full paths, into Files.
// Failures are kept in Error, never raised: 0 none, 76 folder not found, otherwise the number of
// the error that stopped the last scan.
class CGetFiles {
public:
    explicit CGetFiles(platform::IDirectorySearch& directorySearch);

    qint32 Error() const { return m_Error; }
    QString Folder() const { return m_Folder; }
    // Accepts strFolder, unchanged, when a file or folder of that name exists; otherwise sets
    // Error to 76 and keeps the previous folder.
    void setFolder(const QString& strFolder);
    QString ExtName() const { return m_ExtName; }
    void setExtName(const QString& strExtName) { m_ExtName = strExtName; }
    // The shared list that receives the results; it is never cleared.
    std::shared_ptr<colFileName> Files() const { return m_Files; }

    // Appends Folder, "/" and each matching name to Files. A failure stops the scan and keeps
    // what was found before it.
    void GetFiles();

private:
    platform::IDirectorySearch& m_directorySearch;
    qint32 m_Error = 0;
    QString m_Folder;
    QString m_ExtName;
    std::shared_ptr<colFileName> m_Files = std::make_shared<colFileName>();
};
