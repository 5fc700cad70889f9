#pragma once
// The cutters' jobs: ranges of one source written to a new file with the source's codecs kept.
// A single range is one convert (packets copied where the range starts on a key frame, else
// re-encoded in the same codec, so it starts and ends within one frame of what was asked; with
// re-encoding forced no packet is copied);
// several ranges are one join that re-encodes in the source's codecs, so no frame outside the
// ranges reaches the output (removed ranges stay removed).
//
// The output path is chosen when the job starts, by the never-overwrite rule, so jobs queued
// one after another into one folder name their files in order ("clip.mp4", "clip(2).mp4").
#include <QList>
#include <QString>
#include <cstdint>

#include "model/simple_data.h"
#include "session/jobs/job.h"

namespace kestrel::session {

// A stretch of the source in microseconds; stop 0 with start 0 means the whole file.
struct CutRange {
    int64_t start_us = 0;
    int64_t stop_us = 0;

    bool wholeFile() const { return start_us == 0 && stop_us == 0; }
    bool empty() const { return !wholeFile() && stop_us <= start_us; }
    int64_t lengthUs() const { return stop_us - start_us; }
    bool operator==(const CutRange&) const = default;
};

// What lies before and after a removed range of a source of the given length, empty pieces
// left out: none when the range covers the whole file.
QList<CutRange> piecesOutside(CutRange removed, int64_t duration_us);

// Where and under which name a cut is written: folder/base.ext, numbered when taken.
struct CutOutput {
    QString folder;
    QString baseName;
    QString extension;
};

class CutJob : public Job {
    Q_OBJECT
public:
    // Ranges of `source` in order; empty ranges are skipped. `volume` scales the sound of every
    // range (1 = unchanged, 0..2); it is passed on as a fraction.
    CutJob(QString source, QList<CutRange> ranges, CutOutput output, QObject* parent = nullptr);

    void setVolume(double volume) { volume_ = volume; }
    // Every picture and sound encoded anew in the source's codecs: no packet of the source is
    // copied. Joins re-encode whatever this says.
    void setForceEncode(bool on) { forceEncode_ = on; }
    // The file the job writes; empty until it has started.
    const QString& outputPath() const { return outputPath_; }
    const QString& source() const { return source_; }

protected:
    void begin() override;

private:
    void beginConvert(const CutRange& range);
    void beginJoin();

    QString source_;
    QList<CutRange> ranges_;
    CutOutput output_;
    double volume_ = 1.0;
    bool forceEncode_ = false;
    QString outputPath_;
};

// A batch cutter file's job: its range kept, or (remove mode) what lies outside it, written into
// the folder under the source's name and extension.
CutJob* makeRecordCutJob(const kestrel::model::SimpleData& record, const QString& folder, QObject* parent = nullptr);

// The localised reason a cut cannot be made: every range was empty.
QString emptyCutMessage();

}  // namespace kestrel::session
