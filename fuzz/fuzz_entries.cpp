#include "fuzz/fuzz_entries.h"

#include "engine/core/ff_handles.h"
#include "engine/core/filter_graph.h"
#include "engine/core/subtitle_charset.h"
#include "engine/core/subtitle_check.h"
#include "engine/mediacore/media_core.h"
#include "export/profiles/ini_document.h"
#include "export/profiles/output_profile.h"
#include "services/strings_file.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace kestrel::fuzz {
namespace {

// The bytes as a file with the given extension in a private folder; removed when it goes.
class InputFile {
public:
    InputFile(const uint8_t* data, size_t size, const char* extension) {
        static const std::string folder = [] {
            std::string pattern = (std::getenv("TMPDIR") ? std::string(std::getenv("TMPDIR")) : "/tmp") + "/kestrel-fuzz-XXXXXX";
            return std::string(mkdtemp(pattern.data()) ? pattern : "/tmp");
        }();
        path_ = folder + "/input-" + std::to_string(getpid()) + extension;
        if (FILE* file = std::fopen(path_.c_str(), "wb")) {
            if (size) std::fwrite(data, 1, size, file);
            std::fclose(file);
        }
    }
    ~InputFile() { ::unlink(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

int probeAndDecode(const uint8_t* data, size_t size) {
    InputFile file(data, size, ".media");
    void* media = MediaOpen(file.path().c_str());
    if (!media) return 0;
    MediaAudioInfo audio{};
    MediaVideoInfo video{};
    MediaGetInfo(media, &audio, &video);
    MediaGetDuration(media);
    std::vector<uint8_t> pixels(64 * 48 * 4);
    MediaSnapshot(media, 0, 64, 48, pixels.data(), 0);
    MediaClose(media);
    return 0;
}

int readSubtitle(const uint8_t* data, size_t size) {
    InputFile file(data, size, ".srt");
    engine::subtitleCharacterEncoding(file.path());
    if (!engine::checkSubtitleFile(file.path()).ok()) return 0;
    engine::VideoSourceParams source;
    source.width = 64;
    source.height = 48;
    source.pixel_format = AV_PIX_FMT_YUV420P;
    source.time_base = {1, 25};
    source.frame_rate = {25, 1};
    engine::VideoSettings settings;
    engine::SubtitleStyle style;
    style.path = file.path();
    settings.subtitles.push_back(style);
    std::unique_ptr<engine::FilterGraph> graph = engine::FilterGraph::buildVideo(source, settings);
    if (!graph) return 0;
    engine::FramePtr frame = engine::makeFrame();
    frame->width = 64;
    frame->height = 48;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->pts = 0;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return 0;
    for (int plane = 0; plane < 3; ++plane)
        for (int y = 0; y < (plane ? 24 : 48); ++y) std::fill_n(frame->data[plane] + y * frame->linesize[plane], plane ? 32 : 64, 128);
    graph->push(frame.get());
    graph->push(nullptr);
    engine::FramePtr out = engine::makeFrame();
    while (graph->pull(out.get()) >= 0) av_frame_unref(out.get());
    return 0;
}

int readProfile(const uint8_t* data, size_t size) {
    InputFile file(data, size, ".pf");
    exportkit::OutputProfile::read(QString::fromStdString(file.path()));
    exportkit::IniDocument document;
    document.parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    document.value(QStringLiteral("Main"), QStringLiteral("ExtName"));
    document.setValue(QStringLiteral("Parameter"), QStringLiteral("vcodec"), QStringLiteral("h264"));
    return 0;
}

int readStrings(const uint8_t* data, size_t size) {
    services::parseStrings(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}

}  // namespace kestrel::fuzz
