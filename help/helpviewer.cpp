#include "helpviewer.h"

#include <QDir>
#include <QFile>

#include "chmfile.h"

namespace tav {

const QString HelpViewer::kScheme = QStringLiteral("chm");

namespace {

constexpr int kDefaultWidth = 600;
constexpr int kDefaultHeight = 450;

QString DefaultTitle() {
    return HelpViewer::tr("TAV Configuration Manager Help");
}

QString PageHtml(const QString& heading, const QString& text) {
    return QStringLiteral("<h3>%1</h3><p>%2</p>")
        .arg(heading.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(DefaultTitle());
    setOpenLinks(true);
    setOpenExternalLinks(false);
    resize(kDefaultWidth, kDefaultHeight);
}

HelpViewer::~HelpViewer() = default;

bool HelpViewer::ShowHelpFile(const QString& path) {
    m_file.reset();
    ChmOpenResult opened = ChmFile::Open(QFile::encodeName(path).toStdString());
    if (opened.error) {
        ShowError(path, QString::fromLocal8Bit(opened.error->reason));
        return false;
    }
    const std::string topic = opened.file->DefaultTopic();
    if (topic.empty()) {
        ShowError(path, tr("it holds no page to show"));
        return false;
    }
    const std::string title = opened.file->Title();
    setWindowTitle(title.empty() ? DefaultTitle() : QString::fromUtf8(title));
    m_file = std::move(opened.file);
    m_error.clear();

    QUrl url;
    url.setScheme(kScheme);
    url.setPath(QString::fromUtf8(topic));
    // The file was opened afresh: the same page must be read again, not kept.
    if (source() == url) {
        reload();
    } else {
        setSource(url);
    }
    clearHistory();
    return true;
}

QVariant HelpViewer::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (!m_file || url.scheme() != kScheme) {
        return {};
    }
    if (auto bytes = m_file->Retrieve(url.path().toStdString())) {
        return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    }
    if (type == QTextDocument::HtmlResource) {
        return PageHtml(tr("Page not found"),
                        tr("The help file holds no page %1.").arg(url.path()));
    }
    return {};
}

void HelpViewer::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (m_file && url.scheme() == kScheme) {
        QTextBrowser::doSetSource(url, type);
    }
}

void HelpViewer::ShowError(const QString& path, const QString& reason) {
    m_file.reset();
    m_error =
        tr("The help file %1 could not be shown: %2.").arg(QDir::toNativeSeparators(path), reason);
    setWindowTitle(DefaultTitle());
    setHtml(PageHtml(tr("Help is not available"), m_error));
    clearHistory();
}

}  // namespace tav
