#pragma once

#include "SheetObject.h"

#include <optional>

namespace xls {

class RecordReader;

// The picture of an IMDATA record (with its CONTINUE records), which carries the image of a
// picture object of the older kind: a bitmap (a DIB with the small 12-byte header), a Windows
// metafile or a Macintosh PICT. Native data and unknown formats give no picture. Throws
// ReadError when the image is cut off.
std::optional<Picture> imDataPicture(RecordReader& reader);

} // namespace xls
