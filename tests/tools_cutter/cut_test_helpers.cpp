#include "tests/tools_cutter/cut_test_helpers.h"

#include <QApplication>
#include <QWidget>
#include <stdexcept>

#include "tests/support/media_fixtures.h"
#include "tests/support/user_input.h"

namespace kestrel::test::cutter {

std::string makeColourThirds(const std::string& path) {
    const std::string colour = ":s=320x240:r=30";
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i color=c=red" + colour + ":d=2.5 -f lavfi -i color=c=lime" + colour +
        ":d=5 -f lavfi -i color=c=blue" + colour + ":d=2.5 -f lavfi -i sine=frequency=440:duration=10 "
        "-filter_complex '[0:v][1:v][2:v]concat=n=3:v=1:a=0[v]' -map '[v]' -map 3:a "
        "-c:v libx264 -pix_fmt yuv420p -g 30 -keyint_min 30 -sc_threshold 0 -c:a aac '" + path + "'";
    std::string out;
    if (runCommand(command, &out) != 0) throw std::runtime_error("cannot make " + path + ": " + out);
    return path;
}

std::vector<Hue> frameHues(const std::string& path) {
    std::string raw;
    runCommand("ffmpeg -v error -i '" + path + "' -map 0:v:0 -vf scale=4:4 -f rawvideo -pix_fmt rgb24 - 2>/dev/null",
               &raw);
    std::vector<Hue> hues;
    constexpr size_t kFrameBytes = 4 * 4 * 3;
    for (size_t at = 0; at + kFrameBytes <= raw.size(); at += kFrameBytes) {
        long r = 0, g = 0, b = 0;
        for (size_t p = at; p < at + kFrameBytes; p += 3) {
            r += static_cast<unsigned char>(raw[p]);
            g += static_cast<unsigned char>(raw[p + 1]);
            b += static_cast<unsigned char>(raw[p + 2]);
        }
        const long n = 16;
        r /= n, g /= n, b /= n;
        if (r > 150 && g < 100 && b < 100) hues.push_back(Hue::Red);
        else if (g > 150 && r < 100 && b < 100) hues.push_back(Hue::Green);
        else if (b > 150 && r < 100 && g < 100) hues.push_back(Hue::Blue);
        else hues.push_back(Hue::Other);
    }
    return hues;
}

std::string decodeErrors(const std::string& path) {
    std::string out;
    runCommand("ffmpeg -v error -i '" + path + "' -f null - 2>&1", &out);
    return out;
}

ModalCloser::ModalCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++closed_;
            modal->close();
        }
    });
    timer_.start(20);
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) { return waitUntil(condition, timeoutMs); }

}  // namespace kestrel::test::cutter
