#include "engine/mediacore/convert_job.h"

#include "engine/core/output_file.h"
#include "engine/mediacore/convert_pipeline.h"

namespace kestrel::mediacore {

using namespace kestrel::engine;

bool ConvertJob::setInput(const std::string& path) {
    std::unique_ptr<MediaInput> input = MediaInput::open(path);
    if (!input) return false;
    std::lock_guard lock(settings_mutex_);
    input_ = std::move(input);
    input_path_ = path;
    return true;
}

ResultCode ConvertJob::run() {
    ConvertSettings settings;
    std::string input_path;
    {
        std::lock_guard lock(settings_mutex_);
        settings = settings_;
        input_path = input_path_;
    }
    if (input_path.empty()) return ResultCode::OpenFailed;
    if (settings.output_path.empty()) return ResultCode::BadArgument;
    OutputFile output;
    ResultCode rc = output.prepare(settings.output_path);
    if (rc != ResultCode::Ok) return rc;
    {
        // The pipeline's files are closed when it goes, before the rename.
        ConvertPipeline pipeline(settings, [this] { return stopRequested(); }, [this](double f) { setProgress(f); });
        rc = pipeline.run(input_path, output.temporaryPath());
    }
    if (rc != ResultCode::Ok) return rc;  // the temporary file goes with `output`
    if (stopRequested()) return ResultCode::Stopped;
    return output.commit();
}

}  // namespace kestrel::mediacore
