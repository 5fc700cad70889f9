#pragma once
// Why a job failed, in words the user reads: one table from the engines' result codes to a
// localised reason, for every tool. Where one code has several causes (an input that is gone or
// damaged, an output folder that vanished, cannot be written or has no room left), what the
// caller knows of its files tells them apart.
#include <QString>
#include <cstdint>

namespace kestrel::session {

struct JobResult;

// What a caller knows of a failed job's files; empty parts are not looked at.
struct FailureContext {
    QString source;            // the input the job read
    QString outputFolder;      // the folder the job wrote into
    int64_t expectedBytes = 0;  // about what the output needed on disk; 0 when unknown
};

// The localised reason for an engine result code: a negative code of the engines, or 0 for a
// job that could not be set up.
QString failureReason(int32_t code, const FailureContext& context = {});
// The job's own message when it gave one, else the reason for its code.
QString failureReason(const JobResult& result, const FailureContext& context = {});
// The line a tool shows for one file: "name: reason".
QString failureLine(const QString& fileName, const QString& reason);

}  // namespace kestrel::session
