// The one table of failure reasons: every code the engines return reads as a reason, never as
// a bare code, and the causes one code covers are told apart by the files they concern.
#include <gtest/gtest.h>

#include <QDir>
#include <QStorageInfo>

#include "engine/core/result_code.h"
#include "engine/editing/rdve_result.h"
#include "services/language.h"
#include "session/jobs/failure_reasons.h"
#include "session/jobs/job.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

namespace {

using kestrel::engine::ResultCode;
using kestrel::session::FailureContext;
using kestrel::session::failureReason;

QString text(const char* key) { return services::localized(QString::fromLatin1(key)); }
int32_t code(ResultCode value) { return kestrel::engine::toInt(value); }

TEST(FailureReasons, EveryEngineCodeReadsAsItsOwnReason) {
    const struct {
        int32_t code;
        const char* key;
    } cases[] = {
        {0, "FailureSetUp"},
        {code(ResultCode::Stopped), "FailureStopped"},
        {code(ResultCode::EmptyRange), "CutRangeEmptyMessage"},
        {code(ResultCode::OpenFailed), "FailureSourceUnreadable"},
        {code(ResultCode::NoStream), "FailureNoStream"},
        {code(ResultCode::EncoderMissing), "FailureCodecUnsupported"},
        {code(ResultCode::WriteFailed), "FailureWriteFailed"},
        {code(ResultCode::BadArgument), "FailureBadSetting"},
        {code(ResultCode::OutputExists), "FailureOutputExists"},
        {code(ResultCode::DecodeFailed), "FailureDecode"},
        {code(ResultCode::FilterFailed), "FailureFilter"},
        {code(ResultCode::EncodeFailed), "FailureEncode"},
        {kestrel::editing::kNotAvailable, "FailureNotAvailable"},
    };
    QStringList seen;
    for (const auto& c : cases) {
        const QString reason = failureReason(c.code);
        EXPECT_EQ(reason, text(c.key)) << c.code;
        EXPECT_FALSE(reason.isEmpty()) << c.code;
        EXPECT_FALSE(reason.contains("error")) << c.code << ": " << reason.toStdString();
        EXPECT_FALSE(seen.contains(reason)) << c.code << " shares its reason: " << reason.toStdString();
        seen << reason;
    }
    // A code no engine documents is still said, with its number to look it up by.
    EXPECT_EQ(failureReason(-99), text("FailureUnknown").arg(-99));
    EXPECT_TRUE(failureReason(-99).contains("-99"));
}

TEST(FailureReasons, TheFilesTellOneCodesCausesApart) {
    kestrel::test::TempDir dir;
    const QString there = QString::fromStdString(dir.file("there.mp4"));
    kestrel::test::writeBytes(there.toStdString(), "not a movie");
    const QString gone = QString::fromStdString(dir.file("gone.mp4"));
    const QString folder = QString::fromStdString(dir.file("out"));
    QDir().mkpath(folder);
    const QString plainFile = QString::fromStdString(dir.file("plain"));
    kestrel::test::writeBytes(plainFile.toStdString(), "x");
    const int64_t free = QStorageInfo(folder).bytesAvailable();
    ASSERT_GT(free, 0);

    const struct {
        const char* what;
        int32_t code;
        FailureContext context;
        const char* key;
    } cases[] = {
        {"source gone", code(ResultCode::OpenFailed), {gone, {}, 0}, "FailureSourceMissing"},
        {"source there", code(ResultCode::OpenFailed), {there, {}, 0}, "FailureSourceUnreadable"},
        {"source gone while decoding", code(ResultCode::DecodeFailed), {gone, {}, 0}, "FailureSourceMissing"},
        {"folder gone", code(ResultCode::WriteFailed), {{}, folder + "/moved", 0}, "FailureFolderMissing"},
        {"folder is a file", code(ResultCode::WriteFailed), {{}, plainFile, 0}, "FailureFolderUnwritable"},
        {"no room", code(ResultCode::WriteFailed), {{}, folder, free + (int64_t(1) << 40)}, "FailureDiskFull"},
        {"room enough", code(ResultCode::WriteFailed), {{}, folder, 1}, "FailureWriteFailed"},
    };
    for (const auto& c : cases) EXPECT_EQ(failureReason(c.code, c.context), text(c.key)) << c.what;
}

TEST(FailureReasons, AJobsOwnMessageComesFirst) {
    kestrel::session::JobResult result;
    result.code = code(ResultCode::WriteFailed);
    EXPECT_EQ(failureReason(result), text("FailureWriteFailed"));
    result.message = "the job's own words";
    EXPECT_EQ(failureReason(result), "the job's own words");
    EXPECT_EQ(kestrel::session::failureLine("clip.mp4", "gone"), "clip.mp4: gone");
}

}  // namespace
