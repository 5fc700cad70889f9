#pragma once
// The export of the single-clip tools (3D converter, face beauty): one file, its cut range, an
// optional 3D filter or face values, rendered by the editing engine into one MP4 (or, for a
// picture, a picture file) at the even source size.
#include "session/jobs/job.h"

#include <QString>
#include <array>

namespace kestrel::session {

struct SingleClipExport {
    QString input;
    QString output;                 // the dialog's path; never overwritten
    int64_t start_us = 0, end_us = 0;
    int source_width = 0, source_height = 0;
    bool picture = false;           // a still: 5 s, no cut, no codec settings, a picture file out
    QString filter_config;          // 3D: the mode's config.json; empty for none
    std::array<int, 5> beauty{};    // smoothing, brightening, tone, slimming, eye enlarging
};

// Picture lengths of the single-clip tools.
constexpr int64_t kStillLengthUs = 5000000;

class SingleClipExportJob : public Job {
    Q_OBJECT
public:
    explicit SingleClipExportJob(SingleClipExport settings, QObject* parent = nullptr);

protected:
    void begin() override;

private:
    SingleClipExport settings_;
};

}  // namespace kestrel::session
