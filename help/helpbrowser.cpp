#include "help/helpbrowser.h"

#include "help/chmfile.h"
#include "qtbridge/textconv.h"

namespace tav {

const QString HelpBrowser::kScheme = QStringLiteral("chm");

namespace {

QString PageHtml(const QString& heading, const QString& text) {
    return QStringLiteral("<h3>%1</h3><p>%2</p>")
        .arg(heading.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

void HelpBrowser::SetFile(const ChmFile* file) {
    m_file = file;
}

void HelpBrowser::ShowMessage(const QString& heading, const QString& text) {
    setHtml(PageHtml(heading, text));
    clearHistory();
}

QUrl HelpBrowser::TopicUrl(const std::string& topic) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(ToQt(ChmTopicObject(topic)));
    if (const auto hash = topic.find('#'); hash != std::string::npos) {
        url.setFragment(ToQt(topic.substr(hash + 1)));
    }
    return url;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (m_file == nullptr || url.scheme() != kScheme) {
        return {};
    }
    if (auto bytes = m_file->Retrieve(FromQt(url.path()))) {
        return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    }
    if (type == QTextDocument::HtmlResource) {
        return PageHtml(tr("Page not found"),
                        tr("The help file holds no page %1.").arg(url.path()));
    }
    return {};
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (m_file != nullptr && url.scheme() == kScheme) {
        QTextBrowser::doSetSource(url, type);
    }
}

}  // namespace tav
