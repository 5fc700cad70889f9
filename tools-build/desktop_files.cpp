// Build tool: fills the desktop entry and the AppStream metadata from their templates.
//   kestrel_desktop_files <template> <output> <Resources folder>
// "{{key}}" stands for the English text of a strings-table key. A line holding one is followed
// by the same line in each other language of the program: "Name=..." gives "Name[de]=...", an
// element "<name>...</name>" gives "<name xml:lang="de">...</name>". "{{mime-types}}" stands for
// the MIME types of the video and audio files the open panels accept, as the desktop's MIME
// database names them. An output ending in ".desktop" gets desktop-entry escapes, any other XML
// escapes. A missing key fails the build ("file: error: ...").
#include "services/strings_file.h"
#include "widgets/dialogs/file_kinds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>
#include <optional>

namespace {

// The program's language folders and the locale names the desktop knows them by, in the order
// of the language menu.
struct Translation {
    const char* folder;
    const char* locale;
};
constexpr Translation kTranslations[] = {{"zh-Hans", "zh_CN"}, {"zh-Hant", "zh_TW"}, {"fr", "fr"},
                                         {"de", "de"},         {"ja", "ja"},         {"es", "es"},
                                         {"pt-PT", "pt_PT"},   {"ar", "ar"}};

void report(const QString& file, const QString& message) {
    std::fprintf(stderr, "%s: error: %s\n", qUtf8Printable(file), qUtf8Printable(message));
}

QString escapedForDesktopEntry(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return out.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
}

// The desktop's MIME type names of the files with these extensions that are of the given kind
// ("video" for ".ts", not the translation files that share the extension): named under it, or
// shown with its generic icon (ASF and RealMedia are "application/" types).
QStringList mimeTypesOf(const QStringList& extensions, const QString& kind) {
    const QMimeDatabase database;
    QStringList names;
    for (const QString& extension : extensions)
        for (const QMimeType& type : database.mimeTypesForFileName("file." + extension))
            if (type.name().startsWith(kind + "/") || type.genericIconName() == kind + "-x-generic") names << type.name();
    return names;
}

QString openPanelMimeTypes() {
    QStringList names = mimeTypesOf(kestrel::widgets::videoFileTypes(), QStringLiteral("video")) +
                        mimeTypesOf(kestrel::widgets::audioFileTypes(), QStringLiteral("audio"));
    names.sort();
    names.removeDuplicates();
    return names.join(QLatin1Char(';')) + QLatin1Char(';');
}

class Filler {
public:
    Filler(QString templatePath, bool desktopEntry) : templatePath_(std::move(templatePath)), desktopEntry_(desktopEntry) {}

    bool loadTables(const QString& resources) {
        for (const QString& folder : folders()) {
            const QString path = resources + "/" + folder + ".lproj/Main.strings";
            const services::StringsParseResult parsed = services::readStringsFile(path);
            if (!parsed.ok()) {
                report(path, parsed.error.isEmpty() ? QStringLiteral("cannot read the table") : parsed.error);
                return false;
            }
            tables_.insert(folder, parsed.toHash());
        }
        return true;
    }

    // The line in one language; nullopt when a key is missing.
    std::optional<QString> fill(const QString& line, const QString& folder) const {
        static const QRegularExpression placeholder(QStringLiteral("\\{\\{([^{}]+)\\}\\}"));
        const QHash<QString, QString>& table = tables_.value(folder);
        QString out;
        qsizetype last = 0;
        for (auto it = placeholder.globalMatch(line); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const auto found = table.constFind(match.captured(1));
            if (found == table.constEnd()) {
                report(templatePath_, QStringLiteral("the %1 strings table has no key \"%2\"").arg(folder, match.captured(1)));
                return std::nullopt;
            }
            const QString text = desktopEntry_ ? escapedForDesktopEntry(found.value()) : found.value().toHtmlEscaped();
            out += line.mid(last, match.capturedStart() - last) + text;
            last = match.capturedEnd();
        }
        return out + line.mid(last);
    }

    // "Name=x" -> "Name[de]=x"; "<name>x</name>" -> "<name xml:lang="de">x</name>".
    QString markedAs(const QString& line, const char* locale) const {
        QString out = line;
        if (desktopEntry_) {
            const qsizetype equals = out.indexOf(QLatin1Char('='));
            return out.insert(equals, QStringLiteral("[%1]").arg(QLatin1String(locale)));
        }
        static const QRegularExpression openingTag(QStringLiteral("<([A-Za-z_][\\w.-]*)"));
        const QRegularExpressionMatch match = openingTag.match(out);
        return out.insert(match.capturedEnd(), QStringLiteral(" xml:lang=\"%1\"").arg(QLatin1String(locale)));
    }

private:
    static QStringList folders() {
        QStringList list{QStringLiteral("en")};
        for (const Translation& translation : kTranslations) list << QLatin1String(translation.folder);
        return list;
    }

    QString templatePath_;
    bool desktopEntry_;
    QHash<QString, QHash<QString, QString>> tables_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: kestrel_desktop_files <template> <output> <Resources folder>\n");
        return 2;
    }
    const QString templatePath = args.at(0), output = args.at(1);
    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        report(templatePath, QStringLiteral("cannot read the template"));
        return 1;
    }
    Filler filler(templatePath, output.endsWith(QLatin1String(".desktop")));
    if (!filler.loadTables(args.at(2))) return 1;

    const QString mimeTypes = openPanelMimeTypes();
    QString result;
    for (QString line : QString::fromUtf8(templateFile.readAll()).split(QLatin1Char('\n'))) {
        line.replace(QStringLiteral("{{mime-types}}"), mimeTypes);
        const std::optional<QString> english = filler.fill(line, QStringLiteral("en"));
        if (!english) return 1;
        result += *english + QLatin1Char('\n');
        if (*english == line) continue;  // nothing to translate
        for (const Translation& translation : kTranslations) {
            const std::optional<QString> translated = filler.fill(line, QLatin1String(translation.folder));
            if (!translated) return 1;
            if (*translated != *english) result += filler.markedAs(*translated, translation.locale) + QLatin1Char('\n');
        }
    }
    result.chop(1);  // the split added one line after the template's last newline

    QDir().mkpath(QFileInfo(output).absolutePath());
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(result.toUtf8()) < 0 || !file.commit()) {
        report(output, QStringLiteral("cannot write the file"));
        return 1;
    }
    return 0;
}
