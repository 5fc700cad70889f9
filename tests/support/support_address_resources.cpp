#include "tests/support/support_address_resources.h"

#include "services/language.h"
#include "services/strings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

namespace kestrel::test {

namespace {

// The table's text without its "email_address" line, with the address's line when one is given.
QByteArray tableWithAddress(const QString& path, const QString& address) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray text;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.trimmed().startsWith("\"email_address\"")) text += line + '\n';
    if (!address.isEmpty()) text += "\"email_address\" = \"" + address.toUtf8() + "\";\n";
    return text;
}

}  // namespace

SupportAddressResources::SupportAddressResources(const QString& address) {
    const QDir built(services::Language::resourcesPath());
    hadPrevious_ = qEnvironmentVariableIsSet("KESTREL_RESOURCES");
    previous_ = qgetenv("KESTREL_RESOURCES");
    if (!dir_.isValid() || !built.exists()) return;
    ok_ = true;
    for (const QFileInfo& entry : built.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = dir_.filePath(entry.fileName());
        if (!entry.fileName().endsWith(QLatin1String(".lproj"))) {
            ok_ = QFile::link(entry.absoluteFilePath(), target) && ok_;
            continue;
        }
        const QByteArray table = tableWithAddress(entry.absoluteFilePath() + "/Main.strings", address);
        QFile out(target + "/Main.strings");
        ok_ = QDir().mkpath(target) && !table.isEmpty() && out.open(QIODevice::WriteOnly) && out.write(table) == table.size() && ok_;
    }
    // A table that does not parse would read as empty, and every text would be its key.
    ok_ = ok_ && services::readStringsFile(dir_.filePath("en.lproj/Main.strings")).ok();
    setenv("KESTREL_RESOURCES", QFile::encodeName(dir_.path()).constData(), 1);
}

SupportAddressResources::~SupportAddressResources() {
    if (hadPrevious_) setenv("KESTREL_RESOURCES", previous_.constData(), 1);
    else unsetenv("KESTREL_RESOURCES");
}

}  // namespace kestrel::test
