#include "tests/support/ffprobe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cmath>
#include <cstdlib>

namespace kestrel::test {

const ProbedStream* ProbedMedia::firstOf(const std::string& type) const {
    for (const auto& s : streams)
        if (s.type == type) return &s;
    return nullptr;
}

int ProbedMedia::countOf(const std::string& type) const {
    int n = 0;
    for (const auto& s : streams) n += s.type == type;
    return n;
}

ProbedMedia ffprobe(const std::string& path, bool count_frames) {
    ProbedMedia m;
    QStringList args{"-v", "error", "-print_format", "json", "-show_format", "-show_streams"};
    if (count_frames) args << "-count_frames";
    args << QString::fromStdString(path);
    QProcess p;
    p.start("ffprobe", args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(600000) || p.exitCode() != 0) {
        m.error = p.readAllStandardError().toStdString();
        return m;
    }
    const QJsonObject root = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QJsonObject fmt = root["format"].toObject();
    m.format = fmt["format_name"].toString().toStdString();
    m.duration_s = fmt.contains("duration") ? fmt["duration"].toString().toDouble() : -1;
    m.size_bytes = fmt["size"].toString().toLongLong();
    m.bit_rate = fmt["bit_rate"].toString().toLongLong();
    for (const auto& v : root["streams"].toArray()) {
        const QJsonObject o = v.toObject();
        ProbedStream s;
        s.index = o["index"].toInt();
        s.type = o["codec_type"].toString().toStdString();
        s.codec = o["codec_name"].toString().toStdString();
        s.width = o["width"].toInt();
        s.height = o["height"].toInt();
        s.sar = o["sample_aspect_ratio"].toString().toStdString();
        s.dar = o["display_aspect_ratio"].toString().toStdString();
        s.avg_frame_rate = o["avg_frame_rate"].toString().toStdString();
        s.r_frame_rate = o["r_frame_rate"].toString().toStdString();
        s.sample_rate = o["sample_rate"].toString().toInt();
        s.channels = o["channels"].toInt();
        s.duration_s = o.contains("duration") ? o["duration"].toString().toDouble() : -1;
        if (o.contains("nb_read_frames")) s.frames = o["nb_read_frames"].toString().toLong();
        else if (o.contains("nb_frames")) s.frames = o["nb_frames"].toString().toLong();
        if (o["tags"].toObject().contains("rotate")) s.rotation = o["tags"].toObject()["rotate"].toString().toInt();
        for (const auto& sd : o["side_data_list"].toArray()) {
            const QJsonObject so = sd.toObject();
            if (so.contains("rotation")) s.rotation = so["rotation"].toInt();
        }
        m.streams.push_back(s);
    }
    m.ok = true;
    return m;
}

std::vector<unsigned char> decodeFrameRGB(const std::string& path, double time_s, int width, int height) {
    QStringList args{"-hide_banner", "-loglevel", "error", "-nostdin", "-ss", QString::number(time_s, 'f', 6),
                     "-i", QString::fromStdString(path), "-frames:v", "1"};
    if (width > 0 && height > 0) args << "-vf" << QString("scale=%1:%2:flags=bilinear").arg(width).arg(height);
    args << "-f" << "rawvideo" << "-pix_fmt" << "rgb24" << "-";
    QProcess p;
    p.start("ffmpeg", args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(600000) || p.exitCode() != 0) return {};
    const QByteArray bytes = p.readAllStandardOutput();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

double meanAbsDiff(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.size() != b.size() || a.empty()) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
    return sum / double(a.size());
}

}  // namespace kestrel::test
