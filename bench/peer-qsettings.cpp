// Qt's QSettings with IniFormat as a peer of tacconf: `peer-qsettings get FILE GROUP/KEY` prints
// one value (value()); `peer-qsettings set FILE GROUP/KEY VALUE` changes it (setValue() and sync(),
// which rewrites the whole file). Exit status 0, or 2 with a message naming the file when it cannot
// be read or written.
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool get = argc == 4 && std::strcmp(argv[1], "get") == 0;
    const bool set = argc == 5 && std::strcmp(argv[1], "set") == 0;
    if (!get && !set) {
        std::fprintf(stderr,
                     "Usage: peer-qsettings get FILE GROUP/KEY | set FILE GROUP/KEY VALUE\n");
        return 2;
    }
    QSettings settings(QString::fromLocal8Bit(argv[2]), QSettings::IniFormat);
    const QString key = QString::fromLocal8Bit(argv[3]);
    if (get) {
        const QVariant value = settings.value(key);
        // A value with commas reads as a list.
        const QString text = value.typeId() == QMetaType::QStringList
                                 ? value.toStringList().join(QLatin1String(", "))
                                 : value.toString();
        std::printf("%s\n", text.toLocal8Bit().constData());
    } else {
        settings.setValue(key, QString::fromLocal8Bit(argv[4]));
        settings.sync();
    }
    // QSettings reads and writes a file it finds malformed all the same (a key holding ";", such
    // as the replacement entry r;, is one): that is said, and is no failure of the peer.
    if (settings.status() == QSettings::FormatError) {
        std::fprintf(stderr, "peer-qsettings: %s: QSettings found a line it takes for malformed\n",
                     argv[2]);
    } else if (settings.status() == QSettings::AccessError) {
        std::fprintf(stderr, "peer-qsettings: %s: cannot be read or written\n", argv[2]);
        return 2;
    }
    return 0;
}
