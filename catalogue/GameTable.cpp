#include "catalogue/GameTable.h"

namespace catalogue {

QStringList gameRecord(int index) {
    if (index < 0 || index >= kGameCount)
        return {};
    const std::string_view record = kGameRecords[std::size_t(index)];
    return QString::fromUtf8(record.data(), qsizetype(record.size())).split(u';');
}

} // namespace catalogue
