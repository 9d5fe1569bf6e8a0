#pragma once

#include <QString>

// One entry of a file-name list: a single text, normally a file or folder path.
class clsFileName {
public:
    QString FileName() const { return m_FileName; }
    void setFileName(const QString& strFileName) { m_FileName = strFileName; }

private:
    QString m_FileName;
};
