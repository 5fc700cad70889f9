#pragma once
// Fixtures and checks the cutter tests share: a source whose thirds are distinct colours, the
// colours of every decoded frame, and waiting for the event loop.
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "editor/shutter_sound.h"

namespace kestrel::test::cutter {

// 10 s at 30 fps (2.5 s is a whole number of frames) with key frames every second: red for 0-2.5 s, green for 2.5-7.5 s, blue for
// 7.5-10 s, and a sine tone.
std::string makeColourThirds(const std::string& path);

enum class Hue { Red, Green, Blue, Other };
// The dominant colour of every frame of the first video stream, in order.
std::vector<Hue> frameHues(const std::string& path);

// Prints of `ffmpeg -v error` decoding the whole file (empty when it decodes cleanly).
std::string decodeErrors(const std::string& path);

// Spins the event loop until the condition holds; false after the timeout (user_input.h waitUntil).
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 120000);

// Closes every modal window as soon as it shows (the alerts of the window under test), as its
// title bar's close button would; counts them.
class ModalCloser {
public:
    ModalCloser();
    int closed() const { return closed_; }

private:
    QTimer timer_;
    int closed_ = 0;
};

// Counts the snapshot clicks instead of playing them.
struct CountingShutter : kestrel::editor::ShutterSound {
    explicit CountingShutter(int* plays) : plays_(plays) {}
    void play() override { ++*plays_; }
    int* plays_;
};

// One frame at 25 fps, in seconds.
inline constexpr double kFrame_s = 0.04;

}  // namespace kestrel::test::cutter
