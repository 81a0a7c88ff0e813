// The page pane of the help viewer: a text browser whose pages, style sheets and images come from
// the open help file through "chm:" URLs, and which never leaves that file.
#pragma once

#include <QString>
#include <QTextBrowser>

namespace tav {

class ChmFile;

class HelpBrowser final : public QTextBrowser {
    Q_OBJECT

public:
    // The URL scheme of objects inside the open help file: "chm:///index.html".
    static const QString kScheme;

    explicit HelpBrowser(QWidget* parent = nullptr);

    // The help file whose objects are shown; null for none. The file must outlive its use here
    // (until the next SetFile).
    void SetFile(const ChmFile* file);

    // Shows `text` under `heading` instead of a page, with an empty history.
    void ShowMessage(const QString& heading, const QString& text);

    // The "chm:" URL of a topic reference as sitemaps write it ("tree.html#top", "a\b.htm").
    static QUrl TopicUrl(const std::string& topic);

    // Objects of the open help file for "chm:" URLs; an empty result for anything else, and for
    // objects the file does not hold, so a page never reaches outside its help file.
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    // Follows links inside the help file only; links elsewhere leave the page as it is.
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    const ChmFile* m_file = nullptr;
};

}  // namespace tav
