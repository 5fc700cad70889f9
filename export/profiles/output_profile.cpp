#include "export/profiles/output_profile.h"

#include "export/profiles/ini_document.h"
#include "export/profiles/profile_tree.h"

#include <QFileInfo>

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
    profile.extName = ext.remove(QLatin1Char('\t'));
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
