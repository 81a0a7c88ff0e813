// The one place where the core's 8-bit texts and Qt's QString meet.
#pragma once

#include <QString>
#include <string>

namespace tav {

// The core hands out texts as UTF-8 (the document model and the catalogues decode their bytes);
// file names are UTF-8 on this platform.
inline QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace tav
