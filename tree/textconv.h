// The one place where the core's 8-bit texts and Qt's QString meet.
#pragma once

#include <QString>
#include <string>

namespace tav {

// Document and catalogue texts are 8-bit; on this platform they are taken as UTF-8.
inline QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace tav
