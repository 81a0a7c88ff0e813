// The yardstick for start-up time and memory: a bare Qt dialog that quits once it is shown.
// With --text it also shows one line of text, which makes Qt set up its font database.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));
    dialog.resize(400, 450);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("TAV Configuration Manager"), &dialog);
        label->adjustSize();  // measures the text: the font database is set up here
    }
    dialog.show();
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    dialog.exec();
    return 0;
}
