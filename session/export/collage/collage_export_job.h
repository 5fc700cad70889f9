#pragma once
// Renders a collage to one MP4 file (H.264 and AAC, 30 frames a second) at a frame size, as one
// job: the virtual video is built from the same values as the preview.
#include "session/edit/collage_composition.h"
#include "session/jobs/job.h"

namespace kestrel::session {

// Output frame size of an aspect choice (0 "16 : 9" … 7 "5 : 8"), both sides even.
struct FrameSize {
    int width = 0, height = 0;
};
FrameSize collageExportSize(int aspectIndex);

class CollageExportJob : public Job {
    Q_OBJECT
public:
    // outputPath must not exist; it is removed unless the job ends done.
    CollageExportJob(CollageSpec spec, FrameSize size, QString outputPath, QObject* parent = nullptr);
    const QString& outputPath() const { return outputPath_; }

protected:
    void begin() override;

private:
    CollageSpec spec_;
    FrameSize size_;
    QString outputPath_;
};

}  // namespace kestrel::session
