#pragma once

#include "SheetObject.h"

#include <QSize>

namespace xls {

// The six places of a header or footer that can hold a picture: the left, centre and right
// sections of each.
enum class HeaderFooterPlace {
    LeftHeader,
    CenterHeader,
    RightHeader,
    LeftFooter,
    CenterFooter,
    RightFooter
};

// The picture that a section's &G code prints, at the size the sheet gives it.
struct HeaderFooterPicture {
    Picture picture;
    QSize pixels; // at 96 to the inch
};

} // namespace xls
