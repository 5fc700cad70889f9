#pragma once
// An animated GIF made by the editing engine: a range of one video, or a list of photos shown
// one frame slot each. The job picks a free output name (never overwriting), owns the file
// until it is complete and reports done only when the engine finished writing it.
#include "session/jobs/job.h"

#include <QStringList>
#include <cstdint>

namespace kestrel::session {

struct GifVideoRequest {
    QString videoPath;
    int64_t start_us = 0, end_us = 0;  // the range of the video
    int64_t width = 0, height = 0;     // output size in pixels (bounded and made even)
    double fps = 10;                   // held to 1..120
    QString folder, baseName;          // the GIF goes to folder/baseName.gif, numbered when taken
};

struct GifPhotosRequest {
    QStringList photos;                // in GIF order
    int64_t width = 0, height = 0;
    double fps = 10;
    QString folder, baseName;
};

class GifExportJob : public Job {
    Q_OBJECT
public:
    explicit GifExportJob(GifVideoRequest request, QObject* parent = nullptr);
    explicit GifExportJob(GifPhotosRequest request, QObject* parent = nullptr);

    // The file the job writes (free when the job was made).
    const QString& outputPath() const { return outputPath_; }
    int outputWidth() const { return width_; }
    int outputHeight() const { return height_; }
    double outputFps() const { return fps_; }

protected:
    void begin() override;

private:
    bool fromVideo_ = true;
    GifVideoRequest video_;
    GifPhotosRequest photos_;
    QString outputPath_;
    int width_ = 2, height_ = 2;
    double fps_ = 10;
};

}  // namespace kestrel::session
