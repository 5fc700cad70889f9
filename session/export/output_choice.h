#pragma once
// A window's remembered output choices (the nine user-default titles that its format bar and
// the settings dialog write) turned into the values a convert job is given. Read when an export
// starts, never during it, so a choice changed between two exports takes effect.
#include <QString>

#include "export/profiles/profile_choice.h"
#include "model/simple_data.h"

namespace kestrel::session {

struct OutputChoice {
    QString vcodec;          // empty: keep the source's
    int width = 0;           // frame size; both > 0 or nothing is sent
    int height = 0;
    int videoKbps = 0;       // 0: not sent
    double fps = 0;          // 0: not sent
    QString acodec;
    int audioKbps = 0;
    int channels = 0;        // 0 with sampleRate 0: no encode context sent
    int sampleRate = 0;
    bool reencode = false;   // the export dialog's re-encode box: no packet is copied

    bool hasFrameSize() const { return width > 0 && height > 0; }
};

enum class FrameSizeRule {
    Normal,      // keep-aspect sends no size
    RemovePart,  // keep-aspect sends the record's target size
};

// The choices stored under keys now. A title that is absent or a single blank is skipped.
OutputChoice readOutputChoice(const exportkit::ChoiceKeys& keys, const kestrel::model::SimpleData& record,
                              FrameSizeRule rule);
// The editor's choices.
OutputChoice readEditorOutputChoice(const kestrel::model::SimpleData& record, FrameSizeRule rule);

// Sends the choice to a convert job: codecs, frame size, rates and the audio encode context, each
// only when chosen. Returns 1, or the first result the job refused.
int32_t applyOutputChoice(void* convertJob, const OutputChoice& choice);

// "1280x720" -> 1280, 720; "Custom" -> the record's target size, replaced by the stored custom
// width and height where those are above 0.
void frameSizeForTitle(const QString& title, const kestrel::model::SimpleData& record, int* width, int* height);

}  // namespace kestrel::session
