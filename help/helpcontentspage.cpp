#include "help/helpcontentspage.h"

namespace tav {

namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

void AppendList(std::string& html, const std::vector<SitemapEntry>& entries, int depth) {
    if (entries.empty()) {
        return;
    }
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    html += indent + "<ul>\n";
    for (const SitemapEntry& entry : entries) {
        const std::string name = Escaped(entry.name.empty() ? entry.local : entry.name);
        html += indent + "<li>";
        if (entry.local.empty()) {
            html += name;
        } else {
            html += "<a href=\"" + Escaped(entry.local) + "\">" + name + "</a>";
        }
        if (!entry.children.empty()) {
            html += '\n';
            AppendList(html, entry.children, depth + 1);
            html += indent;
        }
        html += "</li>\n";
    }
    html += indent + "</ul>\n";
}

}  // namespace

std::string HelpContentsPage(const std::vector<SitemapEntry>& contents,
                             const std::vector<SitemapEntry>& keywords, std::string_view title) {
    const std::string heading = Escaped(title);
    std::string html =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
        "<title>" +
        heading +
        "</title>\n"
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">\n</head>\n<body>\n"
        "<p class=\"nav\"><a href=\"index.html\">Welcome</a> | <a href=\"#contents\">Contents</a>"
        " | <a href=\"#index\">Index</a></p>\n\n<h1>" +
        heading + "</h1>\n\n<h2 id=\"contents\">Contents</h2>\n";
    AppendList(html, contents, 0);
    html += "\n<h2 id=\"index\">Index</h2>\n";
    AppendList(html, keywords, 0);
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace tav
