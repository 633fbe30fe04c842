#pragma once

#include <QString>

#include <string_view>

namespace bindings {

// The slot and profile tables hold plain ASCII.
inline QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace bindings
