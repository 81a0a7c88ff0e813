// The program's own viewer for compiled HTML help files: a top-level text browser whose pages,
// style sheets and images come from the help file through "chm:" URLs.
#pragma once

#include <QString>
#include <QTextBrowser>
#include <memory>

namespace tav {

class ChmFile;

class HelpViewer final : public QTextBrowser {
    Q_OBJECT

public:
    // The URL scheme of objects inside the open help file: "chm:///index.html".
    static const QString kScheme;

    explicit HelpViewer(QWidget* parent = nullptr);
    ~HelpViewer() override;

    // Opens the help file at `path` afresh and shows its default topic, with an empty history.
    // When the file cannot be used (missing, unreadable, damaged, no page to show), shows a
    // message naming the file and the reason instead and returns false; nothing is thrown.
    bool ShowHelpFile(const QString& path);

    // The message shown by the last ShowHelpFile that failed; empty after a success.
    QString ErrorText() const { return m_error; }

    // Objects of the open help file for "chm:" URLs; an empty result for anything else, and for
    // objects the file does not hold, so a page never reaches outside its help file.
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    // Follows links inside the help file only; links elsewhere leave the page as it is.
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    void ShowError(const QString& path, const QString& reason);

    std::unique_ptr<ChmFile> m_file;
    QString m_error;
};

}  // namespace tav
