#pragma once
// What the joiner's output is asked to be: the format bar's stored choice where it names a
// value, the reference clip's own values where it leaves one open. Frame rates stay rationals
// (29.97 is 30000/1001), so a reference clip's rate reaches the output unchanged.
#include <QString>
#include <cstdint>

#include "export/profiles/profile_choice.h"
#include "model/simple_data.h"

namespace kestrel::session {

struct FrameRate {
    int num = 0;
    int den = 1;

    bool isSet() const { return num > 0 && den > 0; }
    double value() const { return isSet() ? double(num) / double(den) : 0.0; }
    bool operator==(const FrameRate&) const = default;

    // The nearest rational with a small denominator: 29.97002997 -> 30000/1001, 25 -> 25/1.
    static FrameRate fromDouble(double fps);
};

struct JoinOutputSettings {
    QString extension;       // container of the output file
    QString vcodec;          // empty: the engine keeps the clips' codec
    int width = 0;           // both > 0 or no size is sent
    int height = 0;
    FrameRate fps;           // unset: not sent
    int videoKbps = 0;       // 0: not sent
    QString acodec;
    int audioKbps = 0;       // always sent, 0 leaves it to the encoder
    int channels = 0;        // 0 with sampleRate 0: no encode context sent
    int sampleRate = 0;

    bool hasFrameSize() const { return width > 0 && height > 0; }
};

// choice: the nine values as the format bar stored them (absent or a single blank = open).
// reference: the clip whose values fill what the choice leaves open; null for none.
// firstClip: where the extension comes from when neither names one.
JoinOutputSettings joinOutputSettings(const exportkit::ProfileChoice& choice, const kestrel::model::SimpleData* reference,
                                      const kestrel::model::SimpleData* firstClip);

}  // namespace kestrel::session
