#pragma once
// The splitter's run: one source cut into consecutive pieces, one convert per piece, written
// into a run folder as "<base><n>.<ext>". Each piece starts where the previous one actually
// ended (read back from the written piece), so no frame is lost or shown twice, also when a
// size cap ended a piece one packet late. Progress covers the whole run; a stopped or failed
// run keeps the pieces it finished and removes the one it was writing (and the run folder when
// it made it and left it empty).
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "session/jobs/job.h"

namespace kestrel::session {

struct SplitPlan {
    QString sourcePath;
    // Ends of the pieces as fractions of the source's length, ascending; the last is 1.0.
    // Ignored when pieceLimitBytes is set.
    QList<double> endFractions;
    // Size mode: every piece holds at most this many bytes (the last one holds the rest).
    int64_t pieceLimitBytes = 0;
    QString folder;     // the run folder; made when missing
    QString baseName;   // "<source name>-split"
    QString extension;  // of the pieces, without the dot
    // Every piece encoded anew in the source's codecs: no packet of the source is copied.
    bool forceEncode = false;
};

class SplitJob : public Job {
    Q_OBJECT
public:
    explicit SplitJob(SplitPlan plan, QObject* parent = nullptr);

    const SplitPlan& plan() const { return plan_; }
    // Pieces finished so far, in order (a stopped run leaves these).
    const QStringList& pieces() const { return pieces_; }
    // The piece being written (0-based), and how many the run makes (size mode: an estimate).
    int pieceIndex() const { return int(pieces_.size()); }
    int pieceCountEstimate() const;

    // The localised reasons the run can fail with besides an engine code.
    static QString folderUnusableMessage();
    static QString unreadableSourceMessage();

protected:
    void begin() override;

private:
    void startPiece();
    // Size mode: a piece written again, asked to end at end_us (0: only the cap ends it).
    void startPieceUntil(int64_t sizeModeEnd_us);
    void pieceEnded(const QString& path, int64_t start_us, int32_t result);
    int64_t sizePieceEndUs(const QString& path, int64_t start_us, int64_t length_us) const;
    QString nextPiecePath();
    void failWith(int32_t code, const QString& message = QString());

    SplitPlan plan_;
    int64_t sourceEnd_us_ = 0;
    int64_t sourceBytes_ = 0;
    int64_t nextStart_us_ = 0;
    int fractionIndex_ = 0;
    int nextNumber_ = 1;
    int capRetries_ = 0;
    bool madeFolder_ = false;
    QStringList pieces_;
};

}  // namespace kestrel::session
