#include "tests/support/media_fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace kestrel::test {
namespace {

int runArgs(const QString& program, const QStringList& args, std::string* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        if (output) *output = "cannot start " + program.toStdString();
        return -1;
    }
    p.waitForFinished(600000);
    if (output) *output = p.readAll().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace

int runCommand(const std::string& command, std::string* output) {
    return runArgs("/bin/sh", {"-c", QString::fromStdString(command)}, output);
}

void makeMedia(const std::string& path, const FixtureSpec& s) {
    QStringList args{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
    const QString dur = QString::number(s.duration_s, 'f', 3);
    int inputs = 0;
    if (s.width > 0) {
        args << "-f" << "lavfi" << "-i"
             << QString("%1%2size=%3x%4:rate=%5:duration=%6")
                    .arg(QString::fromStdString(s.video_source))
                    .arg(s.video_source.find('=') == std::string::npos ? "=" : ":")  // "color=c=red" has options
                    .arg(s.width).arg(s.height)
                    .arg(QString::fromStdString(s.frame_rate)).arg(dur);
        ++inputs;
    }
    for (int i = 0; i < s.audio_streams; ++i) {
        args << "-f" << "lavfi" << "-i"
             << QString("sine=frequency=%1:sample_rate=%2:duration=%3").arg(440 + 220 * i).arg(s.sample_rate).arg(dur);
        ++inputs;
    }
    for (int i = 0; i < inputs; ++i) args << "-map" << QString::number(i);
    if (s.width > 0) {
        args << "-c:v" << QString::fromStdString(s.video_codec);
        if (!s.pixel_format.empty()) args << "-pix_fmt" << QString::fromStdString(s.pixel_format);
        if (s.video_codec == "libx264") args << "-preset" << "ultrafast";
        if (s.gop > 0) args << "-g" << QString::number(s.gop) << "-keyint_min" << QString::number(s.gop);
        // setsar reads "4:3" as two options (ratio 4, max 3): pass the ratio as "4/3".
        if (!s.sar.empty()) args << "-vf" << QString("setsar=%1").arg(QString::fromStdString(s.sar).replace(':', '/'));
    }
    if (s.audio_streams > 0) {
        args << "-c:a" << QString::fromStdString(s.audio_codec) << "-ac" << QString::number(s.channels);
    }
    for (const auto& a : s.extra_args) args << QString::fromStdString(a);
    // ffmpeg writes a rotation tag only when it copies a stream, so a rotated fixture is
    // encoded first and then copied with the tag.
    const bool rotated = s.width > 0 && s.rotation_deg != 0;
    const QString target = QString::fromStdString(path);
    const QString encoded = rotated ? target + ".unrotated." + QFileInfo(target).suffix() : target;
    args << encoded;
    std::string out;
    if (runArgs("ffmpeg", args, &out) != 0)
        throw std::runtime_error("ffmpeg could not make " + path + ": " + out);
    if (rotated) {
        const QStringList copy{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-i", encoded,
                               "-map", "0", "-c", "copy", "-metadata:s:v:0",
                               QString("rotate=%1").arg(s.rotation_deg), target};
        const int rc = runArgs("ffmpeg", copy, &out);
        QFile::remove(encoded);
        if (rc != 0) throw std::runtime_error("ffmpeg could not tag " + path + ": " + out);
    }
}

void makePicture(const std::string& path, int width, int height, const std::string& source) {
    QStringList args{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                     QString("%1%2size=%3x%4:rate=1")
                         .arg(QString::fromStdString(source))
                         .arg(source.find('=') == std::string::npos ? "=" : ":")  // "color=c=red" has options
                         .arg(width)
                         .arg(height),
                     "-frames:v", "1", QString::fromStdString(path)};
    std::string out;
    if (runArgs("ffmpeg", args, &out) != 0)
        throw std::runtime_error("ffmpeg could not make " + path + ": " + out);
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

void truncateCopy(const std::string& from, const std::string& to, long n) {
    std::ifstream in(from, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + from);
    std::vector<char> buf(static_cast<size_t>(n));
    in.read(buf.data(), n);
    writeBytes(to, std::string(buf.data(), static_cast<size_t>(in.gcount())));
}

}  // namespace kestrel::test
