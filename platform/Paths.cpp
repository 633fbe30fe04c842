#include "platform/Paths.h"

namespace platform {

QString withTrailingSeparator(const QString& folder) {
    if (folder.endsWith(kSeparator))
        return folder;
    return folder + kSeparator;
}

QString relative(std::initializer_list<const char*> parts) {
    QString name;
    for (const char* part : parts) {
        if (!name.isEmpty())
            name += kSeparator;
        name += QLatin1String(part);
    }
    return name;
}

} // namespace platform
