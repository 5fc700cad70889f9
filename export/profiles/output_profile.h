#pragma once
// The values one profile file carries: the container's extension ("Main"/"ExtName") and the
// eight option values of section "Parameter".
#include "export/profiles/option_value.h"

#include <QString>

namespace exportkit {

struct OutputProfile {
    QString path;
    QString name;     // the file name without ".pf"
    QString extName;  // spaces at both ends and every tab dropped
    OptionValue vcodec, size, fps, bitrate;                     // "vcodec", "s", "r", "b"
    OptionValue acodec, channels, sampleRate, audioBitrate;     // "acodec", "ac", "ar", "ab"

    bool isKeepOriginal() const;
    static OutputProfile read(const QString& path);
};

}  // namespace exportkit
