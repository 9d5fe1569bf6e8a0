#pragma once

#include <QPageSize>

namespace report {

// The paper an Excel paper size code names. Codes for paper fed sideways ("rotated") give
// the plain paper with rotated set: the page is then that paper turned a quarter.
struct Paper {
    QPageSize size;
    bool rotated = false;
};

// 0 (the printer's choice) and codes we do not know give A4.
Paper paperForCode(int code);

} // namespace report
