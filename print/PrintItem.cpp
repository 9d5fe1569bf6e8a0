#include "PrintItem.h"

#include <algorithm>

namespace print {

qsizetype tickedCount(const PrintItems& items) {
    return std::count_if(items.begin(), items.end(),
                         [](const PrintItem& item) { return item.checked; });
}

} // namespace print
