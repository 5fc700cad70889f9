// Build tool: turns the user guide's Markdown pages into HTML pages with Qt's Markdown reader.
//   kestrel_guide_build <English Main.strings> <output folder> <page.md>...
// "{{key}}" in a page stands for the English text of that key, so tool titles and button names
// read as the program shows them. A page's first heading is its title. A link to another page
// ("crop.html") must name a page of the guide and a picture must exist beside the output, so a
// broken page fails the build ("file: error: ...") instead of reaching the user. HTML pages in
// the output folder that no Markdown page makes any more are removed.
#include "services/strings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>
#include <optional>

namespace {

// Shown in the reader's browser: a narrow readable column, the tile symbols (drawn at twice the
// size) on the tiles' dark colour, as on the home screen. "!important" where Qt writes the
// style inline.
const char* const kStyle = R"(<meta name="viewport" content="width=device-width, initial-scale=1">
<style type="text/css">
body { font-family: sans-serif !important; font-size: 11pt !important; color: #1d2330;
       max-width: 46em; margin: 2em auto !important; padding: 0 1.5em; line-height: 1.5; }
h1, h2 { color: #1479a8; margin-top: 1.1em !important; margin-bottom: 0.4em !important; }
a, a span { color: #1479a8 !important; }
img { width: 48px; height: 48px; background: #2b303b; border-radius: 10px; padding: 8px;
      vertical-align: middle; margin-right: 0.6em; }
li { margin-bottom: 0.3em; }
p, li { white-space: normal; }  /* Qt's pre-wrap would show the line breaks between nested items */
table { border-collapse: collapse; }
td, th { border: 1px solid #c5cad3; padding: 0.2em 0.7em; }
</style>
)";

void report(const QString& file, const QString& message) {
    std::fprintf(stderr, "%s: error: %s\n", qUtf8Printable(file), qUtf8Printable(message));
}

// Characters that would turn a substituted text into Markdown markup.
QString escapedForMarkdown(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (QStringLiteral("\\`*_[]<>#|~").contains(c)) out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

std::optional<QString> substituteKeys(const QString& page, const QString& text, const QHash<QString, QString>& table) {
    static const QRegularExpression placeholder(QStringLiteral("\\{\\{([^{}]+)\\}\\}"));
    QString out;
    qsizetype last = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const auto found = table.constFind(match.captured(1));
        if (found == table.constEnd()) {
            report(page, QStringLiteral("the strings table has no key \"%1\"").arg(match.captured(1)));
            return std::nullopt;
        }
        out += text.mid(last, match.capturedStart() - last) + escapedForMarkdown(found.value());
        last = match.capturedEnd();
    }
    return out + text.mid(last);
}

QString firstHeading(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() == 1) return block.text().trimmed();
    return QString();
}

// Every link to a local page must name one of the guide's pages, every picture must exist.
bool checkReferences(const QString& page, const QTextDocument& document, const QSet<QString>& pages,
                     const QDir& output) {
    bool ok = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QString picture = format.toImageFormat().name();
                if (!QFileInfo::exists(output.filePath(picture))) {
                    report(page, QStringLiteral("no picture \"%1\"").arg(picture));
                    ok = false;
                }
            }
            if (!format.isAnchor()) continue;
            const QUrl link(format.anchorHref());
            if (!link.scheme().isEmpty()) continue;  // a web or mail address
            if (!pages.contains(link.path())) {
                report(page, QStringLiteral("the link \"%1\" names no page of the guide").arg(format.anchorHref()));
                ok = false;
            }
        }
    }
    return ok;
}

// The title is written here, escaped: Qt's own title element takes the text as it is.
QString htmlPage(const QTextDocument& document, const QString& title) {
    QString html = document.toHtml();
    html.replace(QStringLiteral("<html>"), QStringLiteral("<html lang=\"en\">"));
    html.replace(QStringLiteral("</head>"), QStringLiteral("<title>%1</title>\n").arg(title.toHtmlEscaped()) +
                                                QString::fromUtf8(kStyle) + QStringLiteral("</head>"));
    return html;
}

bool writeFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        report(path, QStringLiteral("cannot write the page"));
        return false;
    }
    return true;
}

// The offscreen platform complains about a missing runtime folder, which this tool never uses.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || message.startsWith(QLatin1String("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

}  // namespace

int main(int argc, char** argv) {
    // Fonts are needed to lay out a document, a display is not.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: kestrel_guide_build <Main.strings> <output folder> <page.md>...\n");
        return 2;
    }
    const services::StringsParseResult strings = services::readStringsFile(args.at(0));
    if (!strings.ok()) {
        report(args.at(0), strings.error);
        return 1;
    }
    const QHash<QString, QString> table = strings.toHash();
    const QDir output(args.at(1));
    QDir().mkpath(output.path());
    const QStringList sources = args.mid(2);

    QSet<QString> pages;
    for (const QString& source : sources) pages.insert(QFileInfo(source).completeBaseName() + ".html");

    bool ok = true;
    for (const QString& source : sources) {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            report(source, QStringLiteral("cannot read the page"));
            ok = false;
            continue;
        }
        const std::optional<QString> markdown = substituteKeys(source, QString::fromUtf8(file.readAll()), table);
        if (!markdown) {
            ok = false;
            continue;
        }
        QTextDocument document;
        document.setMarkdown(*markdown, QTextDocument::MarkdownDialectGitHub);
        const QString title = firstHeading(document);
        if (title.isEmpty()) {
            report(source, QStringLiteral("the page has no heading"));
            ok = false;
            continue;
        }
        if (!checkReferences(source, document, pages, output)) {
            ok = false;
            continue;
        }
        ok = writeFile(output.filePath(QFileInfo(source).completeBaseName() + ".html"), htmlPage(document, title)) && ok;
    }
    for (const QString& old : output.entryList({QStringLiteral("*.html")}, QDir::Files))
        if (!pages.contains(old)) QFile::remove(output.filePath(old));
    return ok ? 0 : 1;
}
