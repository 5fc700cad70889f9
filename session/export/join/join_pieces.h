#pragma once
// The joiner's clips as the pieces the join engine takes: a kept range is one piece, a removed
// range the two pieces around it (an empty one is skipped), each with the clip's volume as a
// fraction and the transition into the next piece.
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

#include "model/simple_data.h"

namespace kestrel::session {

struct JoinPiece {
    QString path;
    int64_t start_us = 0;
    int64_t stop_us = 0;
    double volume = 1.0;       // 0 silent .. 2 double
    int32_t transition = 0;    // 0 none, 1 left, 2 top, 3 fade-out: into the next piece
    int64_t transition_us = 0;

    int64_t lengthUs() const { return stop_us - start_us; }
};

// A transition between two kept lengths: a third of the shorter under 6 s, else 3 s; none
// when that is 0.5 s or less.
int64_t transitionDurationUs(int64_t ownLengthUs, int64_t nextLengthUs);

// The kept length of a clip: its range, or its duration less the range when it is removed.
int64_t keptLengthUs(const kestrel::model::SimpleData& clip);

// Every clip's pieces in join order.
std::vector<JoinPiece> joinPieces(const QList<kestrel::model::SimpleDataPtr>& clips);

// How long the joined output runs: the pieces less the transitions' overlaps.
int64_t joinedLengthUs(const std::vector<JoinPiece>& pieces);

}  // namespace kestrel::session
