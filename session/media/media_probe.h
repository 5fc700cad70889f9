#pragma once
// The editor's probe: the transcoding engine's media properties, audio streams, duration and a
// thumbnail of one file, turned into a new job record with the saved output choices as target.
#include <QList>
#include <QSize>
#include <QString>

#include "model/audio_stream_info.h"
#include "model/simple_data.h"

namespace kestrel::session {

// The output choices the format bar saved ("<name>_SelectTitle" user defaults); empty = none.
struct SavedOutputChoices {
    QString extName, vcodec, resolution, framerate, bitate, acodec, achannel, asamplerate, abitate;
    static SavedOutputChoices read();
};

// Audio streams of a file in engine order (every codec the engine decodes, AC-3 included).
QList<kestrel::model::AudioStreamInfo> getAudioStreamInfomation(const QString& path);

// 180 pixels high, width in proportion, truncated.
QSize thumbnailSize(int width, int height);

// Writes the target's size, bit rates, frame rate, codec and extension from the choices.
void fillTarget(kestrel::model::SimpleData& record, const SavedOutputChoices& choices);

// A new job record; null when the file cannot be opened or reports a stream without size or
// sound format.
kestrel::model::SimpleDataPtr probeMediaFile(const QString& path, const SavedOutputChoices& choices);

}  // namespace kestrel::session
