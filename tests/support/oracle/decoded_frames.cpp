#include "tests/support/oracle/decoded_frames.h"

#include "tests/support/oracle/decoder_notes.h"

#include <QProcess>
#include <QStringList>
#include <cstdio>

namespace kestrel::test {
namespace {

constexpr int kWaitMs = 120000;

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", s);
    return text;
}

}  // namespace

std::string FrameSource::describe() const {
    std::string text = path;
    if (video_stream != 0) text += " video stream " + std::to_string(video_stream);
    if (start_s >= 0) text += " from " + seconds(start_s) + " s";
    if (duration_s > 0) text += " for " + seconds(duration_s) + " s";
    if (first_frame > 0 || end_frame >= 0) {
        text += " frames " + std::to_string(first_frame) + "-";
        text += end_frame >= 0 ? std::to_string(end_frame - 1) : std::string("end");
    }
    return text;
}

FrameSource framesOf(const std::string& path, int first_frame, int end_frame) {
    FrameSource s(path);
    s.first_frame = first_frame;
    s.end_frame = end_frame;
    return s;
}

FrameSource timeRangeOf(const std::string& path, double start_s, double duration_s) {
    FrameSource s(path);
    s.start_s = start_s;
    s.duration_s = duration_s;
    return s;
}

const uint8_t* Picture::plane(int index) const {
    size_t offset = 0;
    for (int p = 0; p < index; ++p) offset += size_t(planeWidth(p)) * size_t(planeHeight(p));
    return bytes.data() + offset;
}

DecodedFrames::DecodedFrames(const FrameSource& source, const std::string& pixel_format, int width, int height,
                             const std::string& scale_flags)
    : process_(std::make_unique<QProcess>()), what_(source.describe()) {
    // One thread each: for test-sized media, starting threads costs more than they save.
    QStringList args{"-hide_banner", "-nostdin", "-v", "error", "-filter_threads", "1", "-threads", "1"};
    if (source.start_s >= 0) args << "-ss" << QString::number(source.start_s, 'f', 6);
    if (source.duration_s > 0) args << "-t" << QString::number(source.duration_s, 'f', 6);
    args << "-i" << QString::fromStdString(source.path) << "-map" << QString("0:V:%1").arg(source.video_stream);

    QStringList filters;
    // Frame numbers count decoded frames in presentation order, as select's n does.
    if (source.end_frame >= 0)
        filters << QString("select=between(n\\,%1\\,%2)").arg(source.first_frame).arg(source.end_frame - 1);
    else if (source.first_frame > 0)
        filters << QString("select=gte(n\\,%1)").arg(source.first_frame);
    if (width > 0 && height > 0)
        filters << QString("scale=%1:%2:flags=%3").arg(width).arg(height).arg(QString::fromStdString(scale_flags));
    filters << QString("format=%1").arg(QString::fromStdString(pixel_format));
    args << "-vf" << filters.join(',');
    if (source.end_frame >= 0)
        args << "-frames:v" << QString::number(std::max(0, source.end_frame - source.first_frame));
    // Every decoded frame once, whatever its time stamp: no frame is dropped or repeated.
    args << "-fps_mode" << "passthrough" << "-strict" << "-1" << "-f" << "yuv4mpegpipe" << "-";
    process_->start("ffmpeg", args);
    if (!process_->waitForStarted(kWaitMs)) {
        problem_ = "cannot start ffmpeg to decode " + what_;
        finished_ = true;
    }
}

DecodedFrames::~DecodedFrames() {
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(kWaitMs);
    }
}

bool DecodedFrames::readBytes(uint8_t* into, int64_t n) {
    int64_t got = 0;
    while (got < n) {
        const qint64 read = process_->read(reinterpret_cast<char*>(into) + got, n - got);
        if (read < 0) return false;
        got += read;
        if (got < n && !process_->waitForReadyRead(kWaitMs) && process_->bytesAvailable() == 0) return false;
    }
    return true;
}

bool DecodedFrames::readLine(std::string& line) {
    line.clear();
    char c = 0;
    while (line.size() < 4096) {
        if (!readBytes(reinterpret_cast<uint8_t*>(&c), 1)) return false;
        if (c == '\n') return true;
        line += c;
    }
    return false;
}

bool DecodedFrames::readHeader() {
    header_read_ = true;
    std::string line;
    if (!readLine(line) || line.rfind("YUV4MPEG2", 0) != 0) return false;
    std::string colour = "420";
    size_t at = 0;
    while ((at = line.find(' ', at)) != std::string::npos) {
        ++at;
        const char tag = at < line.size() ? line[at] : 0;
        const std::string value = line.substr(at + 1, line.find(' ', at) - at - 1);
        if (tag == 'W') width_ = std::stoi(value);
        if (tag == 'H') height_ = std::stoi(value);
        if (tag == 'C') colour = value;
    }
    if (colour.rfind("mono", 0) == 0) plane_count_ = 1;
    else if (colour.rfind("420", 0) == 0) plane_count_ = 3;
    else problem_ = "unexpected YUV4MPEG colour space " + colour + " for " + what_;
    return plane_count_ > 0 && width_ > 0 && height_ > 0;
}

void DecodedFrames::finish() {
    if (finished_) return;
    finished_ = true;
    process_->closeReadChannel(QProcess::StandardOutput);
    process_->waitForFinished(kWaitMs);
    const std::string printed = withoutDecoderNotes(process_->readAllStandardError().toStdString());
    const bool failed = process_->exitStatus() != QProcess::NormalExit || process_->exitCode() != 0;
    if (failed || !printed.empty())
        problem_ += (problem_.empty() ? "" : "; ") + std::string("ffmpeg decoding ") + what_ +
                    (failed ? " failed" : " printed") + (printed.empty() ? std::string() : ": " + printed);
}

bool DecodedFrames::next(Picture& picture) {
    if (finished_) return false;
    if (!header_read_ && !readHeader()) {
        finish();
        return false;
    }
    std::string line;
    if (!readLine(line) || line.rfind("FRAME", 0) != 0) {
        finish();
        return false;
    }
    picture.width = width_;
    picture.height = height_;
    picture.plane_count = plane_count_;
    size_t size = 0;
    for (int p = 0; p < plane_count_; ++p) size += size_t(picture.planeWidth(p)) * size_t(picture.planeHeight(p));
    picture.bytes.resize(size);
    if (!readBytes(picture.bytes.data(), int64_t(size))) {
        problem_ = "frame " + std::to_string(count_) + " of " + what_ + " is cut short";
        finish();
        return false;
    }
    ++count_;
    return true;
}

int DecodedFrames::countToEnd() {
    Picture skipped;
    while (next(skipped)) {
    }
    return count_;
}

}  // namespace kestrel::test
