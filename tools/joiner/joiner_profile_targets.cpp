#include "tools/joiner/joiner_profile_targets.h"

#include "export/profiles/target_properties.h"

namespace kestrel::tools::joiner {
namespace {

exportkit::MediaProperties properties(const kestrel::model::FileData& data) {
    exportkit::MediaProperties p;
    p.width = data.width;
    p.height = data.height;
    p.bitrate = data.bitrate;
    p.fps = data.fps;
    p.metadata_vcodec = data.metadata_vcodec;
    p.extension = data.extension;
    p.a_codec = data.a_codec;
    p.a_channel = data.a_channel;
    p.a_samplerate = data.a_samplerate;
    p.a_bitrate = data.a_bitrate;
    p.duration = data.duration;
    p.fileSize = data.fileSize;
    return p;
}

void writeBack(const exportkit::MediaProperties& p, kestrel::model::FileData& data) {
    data.width = p.width;
    data.height = p.height;
    data.bitrate = p.bitrate;
    data.fps = p.fps;
    data.metadata_vcodec = p.metadata_vcodec;
    data.extension = p.extension;
    data.a_codec = p.a_codec;
    data.a_channel = p.a_channel;
    data.a_samplerate = p.a_samplerate;
    data.a_bitrate = p.a_bitrate;
    data.fileSize = p.fileSize;
}

template <typename Write>
void eachClip(const QList<kestrel::model::SimpleDataPtr>& clips, Write write) {
    for (const kestrel::model::SimpleDataPtr& clip : clips) {
        if (!clip) continue;
        const exportkit::MediaProperties source = properties(clip->sourceData);
        exportkit::MediaProperties target = properties(clip->targetData);
        write(source, target);
        writeBack(target, clip->targetData);
    }
}

}  // namespace

void applyChoiceToClips(const exportkit::ProfileChoice& choice, bool audioCategory,
                        const QList<kestrel::model::SimpleDataPtr>& clips) {
    eachClip(clips, [&](const exportkit::MediaProperties& source, exportkit::MediaProperties& target) {
        exportkit::writeTargetFromChoice(choice, audioCategory, source, target);
    });
}

void applySettingToClips(int flag, exportkit::ProfileChoice& choice, const exportkit::ChoiceKeys& keys,
                         const QList<kestrel::model::SimpleDataPtr>& clips) {
    eachClip(clips, [&](const exportkit::MediaProperties& source, exportkit::MediaProperties& target) {
        exportkit::applySettingChange(flag, choice, keys, source, target);
    });
}

void applyAllSettingsToClips(exportkit::ProfileChoice& choice, const exportkit::ChoiceKeys& keys,
                             const QList<kestrel::model::SimpleDataPtr>& clips) {
    eachClip(clips, [&](const exportkit::MediaProperties& source, exportkit::MediaProperties& target) {
        exportkit::applyAllSettings(choice, keys, source, target);
    });
}

}  // namespace kestrel::tools::joiner
