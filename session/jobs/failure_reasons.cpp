#include "session/jobs/failure_reasons.h"

#include <QFileInfo>
#include <QStorageInfo>

#include "engine/core/result_code.h"
#include "engine/editing/rdve_result.h"
#include "services/language.h"
#include "session/jobs/job.h"

namespace kestrel::session {

namespace {

using engine::ResultCode;

QString text(const char* key) { return services::localized(QString::fromLatin1(key)); }

bool is(int32_t code, ResultCode value) { return code == engine::toInt(value); }

// An input the engine could not open or read: gone, or there but unusable.
QString sourceReason(const FailureContext& context, const char* thereButUnusable) {
    if (!context.source.isEmpty() && !QFileInfo::exists(context.source)) return text("FailureSourceMissing");
    return text(thereButUnusable);
}

// An output that could not be written: the folder gone, not writable, or out of room.
QString writeReason(const FailureContext& context) {
    if (!context.outputFolder.isEmpty()) {
        const QFileInfo folder(context.outputFolder);
        if (!folder.exists()) return text("FailureFolderMissing");
        if (!folder.isDir() || !folder.isWritable()) return text("FailureFolderUnwritable");
        const QStorageInfo storage(context.outputFolder);
        if (context.expectedBytes > 0 && storage.isValid() && storage.bytesAvailable() < context.expectedBytes)
            return text("FailureDiskFull");
    }
    return text("FailureWriteFailed");
}

}  // namespace

QString failureReason(int32_t code, const FailureContext& context) {
    if (code == 0) return text("FailureSetUp");
    if (is(code, ResultCode::Stopped)) return text("FailureStopped");
    if (is(code, ResultCode::EmptyRange)) return text("CutRangeEmptyMessage");
    if (is(code, ResultCode::OpenFailed)) return sourceReason(context, "FailureSourceUnreadable");
    if (is(code, ResultCode::NoStream)) return sourceReason(context, "FailureNoStream");
    if (is(code, ResultCode::EncoderMissing)) return text("FailureCodecUnsupported");
    if (is(code, ResultCode::WriteFailed)) return writeReason(context);
    if (is(code, ResultCode::BadArgument)) return text("FailureBadSetting");
    if (is(code, ResultCode::OutputExists)) return text("FailureOutputExists");
    if (is(code, ResultCode::DecodeFailed)) return sourceReason(context, "FailureDecode");
    if (is(code, ResultCode::FilterFailed)) return text("FailureFilter");
    if (is(code, ResultCode::EncodeFailed)) return text("FailureEncode");
    if (code == editing::kNotAvailable) return text("FailureNotAvailable");
    // A code no engine documents: said as it is, so it can still be looked up.
    return text("FailureUnknown").arg(code);
}

QString failureReason(const JobResult& result, const FailureContext& context) {
    if (!result.message.isEmpty()) return result.message;
    return failureReason(result.code, context);
}

QString failureLine(const QString& fileName, const QString& reason) { return fileName + QStringLiteral(": ") + reason; }

}  // namespace kestrel::session
