#include "tests/oracle/oracle_media.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/oracle/command_line.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

namespace kestrel::test {
namespace {

struct Output {
    std::string name;  // the file name is <pattern>-<name>.<container>
    std::string container;
    std::vector<std::string> args;  // output options; input 0 is the source, input 1 the source 0.5 s late
};

// High quality H.264: an encoder's usual error, no more.
std::vector<std::string> goodVideo(std::vector<std::string> args) {
    for (const char* a : {"-c:v", "libx264", "-preset", "ultrafast", "-crf", "16", "-pix_fmt", "yuv420p"})
        args.push_back(a);
    return args;
}

std::vector<std::string> piece(int first, int end) {
    return goodVideo({"-map", "0:v", "-vf",
                      "trim=start_frame=" + std::to_string(first) + ":end_frame=" + std::to_string(end) +
                          ",setpts=PTS-STARTPTS"});
}

// What every test of a source judges.
std::vector<Output> outputTable(Pattern pattern) {
    std::vector<Output> outputs{
        // Source frames 25-49 (1.0-2.0 s) and their sound.
        {"cut", "mp4",
         goodVideo({"-map", "0:v", "-map", "0:a?", "-vf", "trim=start_frame=25:end_frame=50,setpts=PTS-STARTPTS",
                    "-af", "atrim=start=1:end=2,asetpts=PTS-STARTPTS", "-c:a", "aac"})},
        // A 2x-zoomed copy of each picture blended over it.
        {"overlay", "mp4",
         goodVideo({"-map", "0:v", "-vf",
                    "split[picture][copy];[copy]scale=2*iw:2*ih,crop=iw/2:ih/2[zoomed];"
                    "[picture][zoomed]blend=all_mode=average"})},
        // The last frame (74) replaced by noise.
        {"noise-74", "mp4",
         goodVideo({"-map", "0:v", "-vf", "geq=lum='random(1)*255':cb=128:cr=128:enable='eq(n,74)'"})},
        // Frame 41 left out.
        {"lost-41", "mp4", goodVideo({"-map", "0:v", "-vf", "select='not(eq(n,41))',setpts=N/25/TB"})},
        // Frames after 12 one frame later; fps fills the hole with frame 12 again.
        {"doubled-12", "mp4", goodVideo({"-map", "0:v", "-vf", "setpts=(N+gt(N\\,12))/25/TB,fps=25"})},
    };
    if (pattern != Pattern::testsrc2) return outputs;
    const std::vector<Output> more{
        // Every frame, last to first.
        {"reversed", "mp4", goodVideo({"-map", "0:v", "-vf", "reverse"})},
        {"split-0-30", "mp4", piece(0, 30)},
        {"split-30-55", "mp4", piece(30, 55)},
        {"split-55-75", "mp4", piece(55, 75)},
        {"split-29-55", "mp4", piece(29, 55)},
        {"split-31-55", "mp4", piece(31, 55)},
        // Index first, so the file's last bytes are its last pictures and sound.
        {"faststart", "mp4", {"-map", "0", "-c", "copy", "-movflags", "+faststart"}},
        // Half the size, 4:4:4, in Matroska's millisecond time base.
        {"small", "mkv",
         {"-map", "0:v", "-vf", "scale=160:120", "-c:v", "libx264", "-preset", "ultrafast", "-crf", "16", "-pix_fmt",
          "yuv444p"}},
        // Brighter, as the reference command line in the comparison test makes it.
        {"brighter", "mp4", goodVideo({"-map", "0:v", "-vf", "eq=brightness=0.15"})},
        // Sound silenced sample by sample from 1 to 2 s, kept lossless so the stretch ends exactly.
        {"silenced", "mkv",
         {"-map", "0:v", "-map", "0:a", "-c:v", "copy", "-af", "aeval=val(0)*not(between(t\\,1\\,2)):c=same", "-c:a",
          "flac"}},
        // The sound 0.5 s later than the pictures in the container's time line.
        {"late-sound", "mkv", {"-map", "0:v", "-map", "1:a", "-c", "copy"}},
    };
    outputs.insert(outputs.end(), more.begin(), more.end());
    return outputs;
}

const TempDir& mediaDir() {
    static const TempDir dir;
    return dir;
}

const char* tagOf(Pattern pattern) { return pattern == Pattern::testsrc2 ? "testsrc2" : "testsrc"; }

std::map<Pattern, std::map<std::string, std::string>>& madeOutputs() {
    static std::map<Pattern, std::map<std::string, std::string>> made;
    return made;
}

}  // namespace

void PrintTo(Pattern pattern, std::ostream* out) { *out << tagOf(pattern); }

std::string oracleMediaPath(const std::string& name) { return mediaDir().file(name); }

const std::string& sourceOf(Pattern pattern) {
    static std::map<Pattern, std::string> made;
    const auto found = made.find(pattern);
    if (found != made.end()) return found->second;
    FixtureSpec fixture;
    fixture.duration_s = 3;
    fixture.video_source = tagOf(pattern);
    fixture.audio_streams = pattern == Pattern::testsrc2 ? 1 : 0;
    fixture.channels = 1;
    const std::string path = mediaDir().file(std::string(tagOf(pattern)) + ".mp4");
    makeMedia(path, fixture);
    return made[pattern] = path;
}

std::vector<std::string> outputsOf(Pattern pattern, const std::vector<std::string>& names) {
    auto& made = madeOutputs()[pattern];
    const std::string& source = sourceOf(pattern);
    std::vector<std::string> args{"-hide_banner", "-nostdin", "-v", "error", "-filter_threads", "1",
                                  "-i", source, "-itsoffset", "0.5", "-i", source};
    std::map<std::string, std::string> making;
    for (const auto& output : outputTable(pattern)) {
        const bool wanted = std::find(names.begin(), names.end(), output.name) != names.end();
        if (!wanted || made.count(output.name) || making.count(output.name)) continue;
        const std::string path =
            mediaDir().file(std::string(tagOf(pattern)) + "-" + output.name + "." + output.container);
        args.insert(args.end(), output.args.begin(), output.args.end());
        args.insert(args.end(), {"-threads", "1", path});
        making[output.name] = path;
    }
    std::string printed;
    if (!making.empty() && runCommand(commandLine("ffmpeg", args), &printed) != 0)
        throw std::runtime_error("ffmpeg could not make outputs of " + source + ": " + printed);
    made.insert(making.begin(), making.end());

    std::vector<std::string> paths;
    for (const auto& name : names) {
        const auto found = made.find(name);
        if (found == made.end()) throw std::logic_error("no output named " + name + " in the oracle tests' table");
        paths.push_back(found->second);
    }
    return paths;
}

const std::string& outputOf(Pattern pattern, const std::string& name) {
    outputsOf(pattern, {name});
    return madeOutputs()[pattern].at(name);
}

}  // namespace kestrel::test
