#include "CGetFiles.h"

#include "platform/PlatformError.h"

#include <new>

namespace {
constexpr qint32 kFolderNotFound = 76;
constexpr qint32 kOutOfMemory = 7;
} // namespace

CGetFiles::CGetFiles(platform::IDirectorySearch& directorySearch)
    : m_directorySearch(directorySearch) {}

void CGetFiles::setFolder(const QString& strFolder) {
    m_Error = 0;
    if (!m_directorySearch.isFileOrFolder(strFolder)) {
        m_Error = kFolderNotFound;
        return;
    }
    m_Folder = strFolder;
}

void CGetFiles::GetFiles() {
    m_Error = 0;
    // The separator is always inserted, also after a folder that already ends in one.
    const QString prefix = m_Folder + u'/';
    try {
        const auto found = m_directorySearch.findFiles(prefix + m_ExtName);
        for (QString name = found->next(); !name.isEmpty(); name = found->next())
            m_Files->Add(prefix + name);
    } catch (const platform::PlatformError& error) {
        m_Error = error.number();
    } catch (const std::bad_alloc&) {
        m_Error = kOutOfMemory;
    }
}
