#pragma once
// A range of a video written as a numbered picture sequence: one real JPEG every 1/fps seconds,
// named by its time in whole milliseconds ("0.jpg", "100.jpg", ...), into a new folder. The
// pictures are written into a hidden folder beside it that becomes the output only when the
// sequence is complete, so a stopped or failed job leaves nothing behind; no picture at all is
// a failure.
#include "session/jobs/job.h"

#include <cstdint>

namespace kestrel::session {

struct PictureSequenceRequest {
    QString videoPath;
    int64_t start_us = 0, end_us = 0;
    int64_t width = 0, height = 0;  // picture size (bounded and made even)
    double fps = 10;                // held to 1..120
    QString folder, baseName;       // the pictures go to folder/baseName/, numbered when taken
};

class PictureSequenceJob : public Job {
    Q_OBJECT
public:
    explicit PictureSequenceJob(PictureSequenceRequest request, QObject* parent = nullptr);

    // The folder the pictures end in (free when the job was made).
    const QString& outputFolder() const { return outputFolder_; }
    // Pictures in the finished folder.
    int pictureCount() const { return pictureCount_; }

    // The run's own codes beyond the engine's.
    static constexpr int32_t kNoPictureCode = -20;
    static constexpr int32_t kFolderFailedCode = -21;
    static constexpr int32_t kOpenFailedCode = -22;

protected:
    void begin() override;

private:
    PictureSequenceRequest request_;
    QString outputFolder_;
    int pictureCount_ = 0;
};

}  // namespace kestrel::session
