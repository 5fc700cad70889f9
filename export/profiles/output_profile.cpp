#include "export/profiles/output_profile.h"

#include "export/profiles/ini_document.h"
#include "export/profiles/profile_tree.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace exportkit {

bool OutputProfile::isKeepOriginal() const { return name == kKeepOriginalProfile; }

OutputProfile OutputProfile::read(const QString& path) {
    OutputProfile profile;
    profile.path = path;
    profile.name = QFileInfo(path).completeBaseName();
    IniDocument file;
    file.load(path);
    const auto parameter = [&](const char* key) {
        return parseOptionValue(file.value(QStringLiteral("Parameter"), QLatin1String(key)).value_or(QString()));
    };
    QString ext = new_startAndendnospaceString(file.value(QStringLiteral("Main"), QStringLiteral("ExtName")).value_or(QString()))
                      .value_or(QString());
    ext.remove(QLatin1Char('\t'));
    // The extension becomes part of an output file name: a path separator or any character
    // but letters and digits would write elsewhere or make a name no player recognises.
    static const QRegularExpression plainExtension(QStringLiteral("^[A-Za-z0-9]{1,8}$"));
    profile.extName = plainExtension.match(ext).hasMatch() ? ext : QString();
    profile.vcodec = parameter("vcodec");
    profile.size = parameter("s");
    profile.fps = parameter("r");
    profile.bitrate = parameter("b");
    profile.acodec = parameter("acodec");
    profile.channels = parameter("ac");
    profile.sampleRate = parameter("ar");
    profile.audioBitrate = parameter("ab");
    return profile;
}

}  // namespace exportkit
