// The core's UTF-8 texts as Qt's QString and back, for the tree, the window and the program.
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
