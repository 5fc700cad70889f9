#include "widgets/dialogs/file_kinds.h"

#include <QFileInfo>

namespace kestrel::widgets {

namespace {
const QString kVideoList = QStringLiteral(
    ".dts,.webm,.m1v,.m2t,.mp2v,.mpe,.mpv2,.ogm,.ogv,.vp6,.wm,.webp,.mtv,.mkv,.avi,.flv,.f4v,.mp4,.m4v,.wmv,"
    ".3gp,.3g2,.3gp2,.asf,.mov,.vob,.mpg,.rmvb,.ivr,.nut,.h261,.h264,.ram,.dat,.dv,.dif,.yuv,.qt,.mod,.tod,"
    ".mts,.ts,.m2ts,.tp,.trp,.m2p,.m2v,.mpv,.nsv,.divx");
const QString kAudioList = QStringLiteral(".mp3,.mp2,.wma,.m4a,.aac,.wav,.ogg,.m4r,.ac3,.flac");
const QString kPictureList = QStringLiteral(".jpg,.jpeg,.bmp,.png,.gif,.tiff");
}  // namespace

QStringList splitExtensionList(const QString& dottedList) {
    if (dottedList.isEmpty()) return {};
    return dottedList.mid(1).split(QStringLiteral(",."), Qt::SkipEmptyParts);
}

QStringList videoFileTypes() { return splitExtensionList(kVideoList); }
QStringList audioFileTypes() { return splitExtensionList(kAudioList); }
QStringList pictureFileTypes() { return splitExtensionList(kPictureList); }

QStringList openPanelFileTypes(bool allowPictures, bool allowAudio) {
    QStringList types = videoFileTypes();
    if (allowAudio) types += audioFileTypes();
    if (allowPictures) types += pictureFileTypes();
    return types;
}

bool hasAllowedExtension(const QString& path, const QStringList& fileTypes) {
    const QString extension = QFileInfo(path).suffix().toLower();
    return !extension.isEmpty() && fileTypes.contains(extension);
}

QString caseInsensitivePattern(const QString& extension) {
    QString pattern = QStringLiteral("*.");
    for (const QChar c : extension) {
        const QChar lower = c.toLower(), upper = c.toUpper();
        if (lower == upper) pattern += c;
        else pattern += QStringLiteral("[%1%2]").arg(lower, upper);
    }
    return pattern;
}

}  // namespace kestrel::widgets
