#pragma once

#include <QString>

#include <memory>

namespace xls {
class Workbook;
}

namespace report {

// A workbook to paint: its file, and the workbook as the engine already read it, when it did,
// so that the file is read once. Without it the file is read when the workbook is painted.
struct WorkbookSource {
    WorkbookSource(QString file, std::shared_ptr<const xls::Workbook> read = {})
        : file(std::move(file))
        , read(std::move(read)) {}

    QString file;
    std::shared_ptr<const xls::Workbook> read;
};

} // namespace report
