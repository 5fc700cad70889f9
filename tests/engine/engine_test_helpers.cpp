#include "tests/engine/engine_test_helpers.h"

#include "tests/support/media_fixtures.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace kestrel::test {

void makeQuadrantVideo(const std::string& path, int width, int height, double duration_s) {
    const std::string w = std::to_string(width / 2), h = std::to_string(height / 2), d = std::to_string(duration_s);
    auto colour = [&](const char* name) { return std::string("color=c=") + name + ":s=" + w + "x" + h + ":d=" + d + ":r=25"; };
    std::string graph = colour("red") + "[a];" + colour("green") + "[b];" + colour("blue") + "[c];" + colour("white") +
                        "[d];[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack,format=yuv420p";
    std::string out;
    std::string cmd = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i '" + graph +
                      "' -c:v libx264 -preset ultrafast -g 5 '" + path + "'";
    if (runCommand(cmd, &out) != 0) throw std::runtime_error("quadrant fixture: " + out);
}

void makeColourVideo(const std::string& path, const std::string& colour, double duration_s, bool with_audio) {
    const std::string d = std::to_string(duration_s);
    std::string cmd = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i color=c=" + colour + ":s=320x240:r=25:d=" + d;
    if (with_audio) cmd += " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + d + " -c:a aac";
    cmd += " -c:v libx264 -preset ultrafast -g 5 -pix_fmt yuv420p '" + path + "'";
    std::string out;
    if (runCommand(cmd, &out) != 0) throw std::runtime_error("colour fixture: " + out);
}

int32_t runConvert(const std::string& input, const std::string& output, const std::function<void(void*)>& configure) {
    void* job = apiMediaConvertCreate();
    if (!job) return -100;
    int32_t rc = apiMediaConvertSetInputMedia(job, input.c_str());
    if (rc < 1) {
        apiMediaConvertClose(job);
        return rc;
    }
    if (configure) configure(job);
    rc = apiMediaConvertSetOutputPath(job, output.c_str());
    if (rc >= 1) rc = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    return rc;
}

std::vector<double> videoFrameTimes(const std::string& path) {
    std::string start_text, times_text;
    runCommand("ffprobe -v error -show_entries format=start_time -of csv=p=0 '" + path + "'", &start_text);
    runCommand("ffprobe -v error -select_streams v:0 -show_entries frame=pts_time -of csv=p=0 '" + path + "'", &times_text);
    const double start_s = std::atof(start_text.c_str());
    std::vector<double> times;
    std::istringstream lines(times_text);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line != "N/A") times.push_back(std::atof(line.c_str()) - start_s);
    std::sort(times.begin(), times.end());
    return times;
}

std::pair<int, int> framesInRange(const std::vector<double>& frame_times_s, double start_s, double end_s) {
    const auto from = std::lower_bound(frame_times_s.begin(), frame_times_s.end(), start_s - 0.0005);
    const auto to = std::lower_bound(frame_times_s.begin(), frame_times_s.end(), end_s - 0.0005);
    return {int(from - frame_times_s.begin()), int(to - frame_times_s.begin())};
}

Rgb pixelAt(const std::vector<unsigned char>& rgb, int width, int x, int y) {
    size_t i = (size_t(y) * width + x) * 3;
    if (i + 2 >= rgb.size()) return {-1, -1, -1};
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool near(const Rgb& actual, const Rgb& expected, int tolerance) {
    for (int k = 0; k < 3; ++k)
        if (std::abs(actual[k] - expected[k]) > tolerance) return false;
    return true;
}

double tonePitch(const std::string& path, int audio_stream) {
    std::string raw = path + ".pcm";
    std::string cmd = "ffmpeg -hide_banner -loglevel error -nostdin -y -i '" + path + "' -map 0:a:" +
                      std::to_string(audio_stream) + " -ac 1 -ar 44100 -f s16le '" + raw + "'";
    if (runCommand(cmd) != 0) return -1;
    std::ifstream in(raw, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(raw);
    size_t n = bytes.size() / 2;
    if (n < 4410) return -1;
    int crossings = 0;
    int16_t previous = 0;
    for (size_t i = 0; i < n; ++i) {
        int16_t sample = int16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
        if (i > 0 && ((previous < 0) != (sample < 0))) ++crossings;
        previous = sample;
    }
    return crossings / 2.0 / (double(n) / 44100.0);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kestrel::test
