#include "session/media/media_probe.h"

#include <QFileInfo>
#include <QImage>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/mediacore/media_core.h"
#include "platform/user_defaults.h"
#include "services/language.h"

namespace kestrel::session {

namespace {

QString text(const char* field, size_t size) { return QString::fromUtf8(field, int(strnlen(field, size))); }

// Closes the probe handle on every path.
struct MediaHandle {
    void* h = nullptr;
    ~MediaHandle() {
        if (h) MediaClose(h);
    }
};
struct ConvertHandle {
    void* h = nullptr;
    ~ConvertHandle() {
        if (h) apiMediaConvertClose(h);
    }
};

QString savedChoice(const char* key) { return platform::UserDefaults::standard().stringForKey(QString::fromLatin1(key)); }

}  // namespace

SavedOutputChoices SavedOutputChoices::read() {
    SavedOutputChoices c;
    c.vcodec = savedChoice("vcodec_SelectTitle");
    c.resolution = savedChoice("resolution_SelectTitle");
    c.framerate = savedChoice("framerate_SelectTitle");
    c.bitate = savedChoice("bitate_SelectTitle");
    c.acodec = savedChoice("acodec_SelectTitle");
    c.achannel = savedChoice("achannel_SelectTitle");
    c.asamplerate = savedChoice("asamplerate_SelectTitle");
    c.abitate = savedChoice("abitate_SelectTitle");
    c.extName = savedChoice("extName_SelectTitle");
    return c;
}

QList<kestrel::model::AudioStreamInfo> getAudioStreamInfomation(const QString& path) {
    QList<kestrel::model::AudioStreamInfo> list;
    ConvertHandle job{apiMediaConvertCreate()};
    if (!job.h) return list;
    const QByteArray utf8 = path.toUtf8();
    int32_t count = 0;
    if (apiMediaConvertSetInputMedia(job.h, utf8.constData()) <= 0) return list;
    if (apiMediaConvertGetAudioStreamInfo(job.h, &count, nullptr) <= 0 || count <= 0) return list;
    std::vector<MediaAudioInfo> records(static_cast<size_t>(count));
    std::memset(records.data(), 0, records.size() * sizeof(MediaAudioInfo));
    if (apiMediaConvertGetAudioStreamInfo(job.h, &count, records.data()) < 1) return list;
    for (int i = 0; i < count && i < int(records.size()); ++i) {
        const MediaAudioInfo& a = records[size_t(i)];
        const QString codec = text(a.codec_name, sizeof a.codec_name);
        kestrel::model::AudioStreamInfo s;
        s.channel = a.channels;
        s.bitrate = a.bit_rate;
        s.fmt = a.sample_format;
        s.exist = a.exist;
        s.sample = a.sample_rate;
        s.index = a.stream_index;
        s.lang = text(a.language, sizeof a.language);
        s.title = text(a.title, sizeof a.title);
        s.psect = text(a.aspect_text, sizeof a.aspect_text);
        s.codec = codec;
        list.append(s);
    }
    return list;
}

QSize thumbnailSize(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const float scale = float(double(height) / 180.0);
    return {int(float(width) / scale), 180};
}

void fillTarget(kestrel::model::SimpleData& r, const SavedOutputChoices& c) {
    if (r.sourceData.exist != 0) {
        const QStringList pieces = c.resolution.split(QLatin1Char('x'));
        const int w = pieces.isEmpty() ? 0 : pieces.first().trimmed().toInt();
        const int h = pieces.isEmpty() ? 0 : pieces.last().trimmed().toInt();
        const int bitrate = c.bitate.trimmed().toInt();
        const double fps = c.framerate.trimmed().toDouble();
        const double abitrate = c.abitate.trimmed().toDouble();
        r.targetData.width = w != 0 ? w : r.sourceData.width;
        r.targetData.height = h != 0 ? h : r.sourceData.height;
        r.targetData.bitrate = bitrate != 0 ? bitrate : r.sourceData.bitrate;
        r.targetData.a_bitrate = int32_t(abitrate) != 0 ? int32_t(abitrate) : r.sourceData.a_bitrate;
        if (fps != 0) r.targetData.fps = fps;
    }
    r.targetData.metadata_vcodec = c.vcodec;
    r.targetData.extension = c.extName.isEmpty() ? r.sourceData.extension : c.extName;
}

kestrel::model::SimpleDataPtr probeMediaFile(const QString& path, const SavedOutputChoices& choices) {
    const QByteArray utf8 = path.toUtf8();
    MediaHandle media{MediaOpen(utf8.constData())};
    if (!media.h) return nullptr;
    MediaAudioInfo a;
    MediaVideoInfo v;
    std::memset(&a, 0, sizeof a);
    std::memset(&v, 0, sizeof v);
    if (MediaGetInfo(media.h, &a, &v) < 0) return nullptr;
    if (v.exist != 0 && (v.width < 1 || v.height < 1)) return nullptr;
    if (a.exist > 0 && (a.channels < 1 || a.sample_rate < 1)) return nullptr;

    kestrel::model::SimpleDataPtr record = kestrel::model::makeSimpleData();
    kestrel::model::SimpleData& r = *record;
    r.audioStreamInfos = getAudioStreamInfomation(path);
    const QFileInfo info(path);
    r.sourceData.fileSize = float(double(info.size()) / 1000000.0);
    const float duration = float(double(MediaGetDuration(media.h)) / 1000000.0);
    r.sourceData.duration = duration;
    r.targetData.duration = duration;
    if (a.exist > 0) {
        r.sourceData.a_exist = a.exist;
        r.sourceData.a_index = a.stream_index;
        r.sourceData.a_channel = a.channels;
        r.sourceData.a_samplerate = a.sample_rate;
        r.sourceData.a_fmt = a.sample_format;
        r.sourceData.a_bitrate = a.bit_rate / 1000;
        r.sourceData.a_codec = text(a.codec_name, sizeof a.codec_name);
        r.sourceData.a_title = text(a.title, sizeof a.title);
        r.sourceData.a_lang = text(a.language, sizeof a.language);
        r.sourceData.a_apsect = text(a.aspect_text, sizeof a.aspect_text);
    }
    r.path = path;
    r.name = info.fileName();
    r.sourceData.extension = info.suffix();
    if (v.exist != 0) {
        r.sourceData.exist = v.exist;
        r.sourceData.index = v.stream_index;
        r.sourceData.width = v.width;
        r.sourceData.height = v.height;
        r.sourceData.angle = v.rotation;
        r.sourceData.aspect = v.display_aspect;
        r.sourceData.bitrate = v.bit_rate / 1000;
        r.sourceData.fps = v.frame_rate;  // 29.97 stays 29.97: a whole number would change the output rate
        r.sourceData.metadata_vcodec = text(v.codec_name, sizeof v.codec_name);
        r.sourceData.metadata_vcodecTag = text(v.codec_tag, sizeof v.codec_tag);
        r.sourceData.metadata_lang = text(v.language, sizeof v.language);
        r.sourceData.metadata_title = text(v.title, sizeof v.title);
        r.sourceData.metadata_apsect = text(v.aspect_text, sizeof v.aspect_text);
        const QSize thumb = thumbnailSize(v.width, v.height);
        if (thumb.width() > 0) {
            QImage image(thumb, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            // Rows are packed in the engine's buffer; QImage rows of 32-bit pixels are too.
            MediaSnapshot(media.h, 0, thumb.width(), thumb.height(), image.bits(), 0);
            r.thumbImage = image;
        }
    } else {
        r.thumbImage = services::Language::imageWithfileName(QStringLiteral("ZantImage/Cut/FileList/imgAudio.bmp"));
    }
    fillTarget(r, choices);
    return record;
}

}  // namespace kestrel::session
