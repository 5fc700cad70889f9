#include "tests/support/oracle/frame_compare.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/oracle/command_line.h"
#include "tests/support/oracle/picture_figures.h"
#include "tests/support/temp_dir.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace kestrel::test {
namespace {

std::string psnrText(double psnr_db) {
    if (std::isinf(psnr_db)) return "identical";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dB", psnr_db);
    return text;
}

std::string ssimText(double ssim) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", ssim);
    return text;
}

std::string figureText(double value, bool psnr) { return psnr ? psnrText(value) : ssimText(value); }

std::string sizeText(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

}  // namespace

bool FrameComparison::ok() const {
    return error.empty() && output_frames > 0 && output_frames == reference_frames && firstFrameBelow() < 0;
}

int FrameComparison::firstFrameBelow() const {
    for (const auto& f : frames)
        if (f.psnr_db < wanted.min_psnr_db || f.ssim < wanted.min_ssim) return f.frame;
    return -1;
}

std::string FrameComparison::describe() const {
    std::string text;
    const auto line = [&text](const std::string& l) { text += (text.empty() ? "" : "\n") + l; };
    if (!error.empty()) line(error);
    if (output_frames != reference_frames)
        line(output + " has " + std::to_string(output_frames) + " frames, reference " + reference + " has " +
             std::to_string(reference_frames));
    else if (output_frames == 0)
        line(output + " has no frame");
    const std::string of = " of " + std::to_string(output_frames);
    for (const bool psnr : {true, false}) {
        const FrameFigures& lowest = psnr ? lowest_psnr : lowest_ssim;
        const double want = psnr ? wanted.min_psnr_db : wanted.min_ssim;
        const auto figure = [psnr](const FrameFigures& f) { return psnr ? f.psnr_db : f.ssim; };
        if (lowest.frame < 0 || figure(lowest) >= want) continue;
        int below = 0, first = -1;
        for (const auto& f : frames)
            if (figure(f) < want) {
                ++below;
                if (first < 0) first = f.frame;
            }
        line("frame " + std::to_string(lowest.frame) + of + ": " + (psnr ? "PSNR " : "SSIM ") +
             figureText(figure(lowest), psnr) + " (want >= " + figureText(want, psnr) + "); " +
             std::to_string(below) + " frame" + (below == 1 ? "" : "s") + " below, the first is frame " +
             std::to_string(first));
    }
    if (frames.empty()) return text;
    line(std::to_string(frames.size()) + " frames compared (" + output + " against " + reference + "): lowest PSNR " +
         psnrText(lowest_psnr.psnr_db) + " at frame " + std::to_string(lowest_psnr.frame) + ", lowest SSIM " +
         ssimText(lowest_ssim.ssim) + " at frame " + std::to_string(lowest_ssim.frame));
    return text;
}

FrameComparison compareFrames(const FrameSource& output, const FrameSource& reference, const CompareOptions& options) {
    FrameComparison c;
    c.output = output.describe();
    c.reference = reference.describe();
    c.wanted = options;

    DecodedFrames out_frames(output, "yuv420p");
    Picture out, ref;
    bool have_out = out_frames.next(out);
    const bool scale = options.scale_reference && have_out;
    DecodedFrames ref_frames(reference, "yuv420p", scale ? out.width : 0, scale ? out.height : 0);
    bool have_ref = ref_frames.next(ref);
    if (have_out) c.output_width = out.width, c.output_height = out.height;
    if (have_ref) c.reference_width = ref.width, c.reference_height = ref.height;

    while (have_out && have_ref) {
        if (out.width != ref.width || out.height != ref.height) {
            if (c.error.empty())
                c.error = "frame " + std::to_string(out_frames.count() - 1) + ": output is " +
                          sizeText(out.width, out.height) + ", reference is " + sizeText(ref.width, ref.height) +
                          (options.scale_reference ? "" : " (scale_reference was not asked)");
        } else {
            const PictureFigures f = comparePictures(out, ref);
            const FrameFigures figures{out_frames.count() - 1, f.psnr_db, f.ssim};
            c.frames.push_back(figures);
            if (c.lowest_psnr.frame < 0 || figures.psnr_db < c.lowest_psnr.psnr_db) c.lowest_psnr = figures;
            if (c.lowest_ssim.frame < 0 || figures.ssim < c.lowest_ssim.ssim) c.lowest_ssim = figures;
        }
        have_out = out_frames.next(out);
        have_ref = ref_frames.next(ref);
    }
    c.output_frames = out_frames.countToEnd();
    c.reference_frames = ref_frames.countToEnd();
    for (const std::string* problem : {&out_frames.problem(), &ref_frames.problem()})
        if (!problem->empty()) c.error += (c.error.empty() ? "" : "\n") + *problem;
    return c;
}

::testing::AssertionResult framesMatch(const FrameSource& output, const FrameSource& reference,
                                       const CompareOptions& options) {
    const FrameComparison c = compareFrames(output, reference, options);
    return (c.ok() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure()) << c.describe();
}

std::string makeReference(const TempDir& dir, const std::string& name, const std::vector<std::string>& args) {
    const std::string path = dir.file(name + ".mkv");
    std::vector<std::string> all{"-hide_banner", "-nostdin", "-v", "error", "-n"};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), {"-c:v", "ffv1", "-c:a", "flac", "-fps_mode", "passthrough", path});
    std::string printed;
    if (runCommand(commandLine("ffmpeg", all), &printed) != 0)
        throw std::runtime_error("ffmpeg could not make the reference " + path + ": " + printed);
    return path;
}

}  // namespace kestrel::test
