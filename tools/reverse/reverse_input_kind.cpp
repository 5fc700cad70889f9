#include "tools/reverse/reverse_input_kind.h"

#include "widgets/dialogs/file_kinds.h"

namespace kestrel::tools::reverse {
namespace {

const QString kAudioList = QStringLiteral(".mp3,.mp2,.wma,.m4a,.aac,.wav,.ogg,.m4r,.ac3,.flac");
const QString kVideoList = QStringLiteral(
    ".dts,.webm,.m1v,.m2t,.mp2v,.mpe,.mpv2,.ogm,.ogv,.vp6,.wm,.webp,.mtv,.mkv,.avi,.flv,.f4v,.mp4,.m4v,.wmv,.3gp,"
    ".3g2,.3gp2,.asf,.mov,.vob,.mpg,.rmvb,.ivr,.nut,.h261,.h264,.ram,.dat,.dv,.dif,.yuv,.qt,.mod,.tod,.mts,.ts,"
    ".m2ts,.tp,.trp,.m2p,.m2v,.mpv,.nsv,.divx");

}  // namespace

InputKind inputKind(const QString& path) {
    // Whole entries of the lists, never a part of one.
    if (widgets::hasAllowedExtension(path, widgets::splitExtensionList(kAudioList))) return InputKind::Audio;
    if (widgets::hasAllowedExtension(path, widgets::splitExtensionList(kVideoList))) return InputKind::Video;
    return InputKind::Other;
}

QString formatTime(int64_t microseconds) {
    const int64_t ms = std::max<int64_t>(0, microseconds) / 1000;
    return QString::asprintf("%02d:%02d:%02d.%03d", int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60),
                             int(ms % 1000));
}

int64_t fieldsToMicroseconds(int hours, int minutes, int seconds, int milliseconds) {
    return ((int64_t(hours) * 3600 + minutes * 60 + seconds) * 1000 + milliseconds) * 1000;
}

}  // namespace kestrel::tools::reverse
