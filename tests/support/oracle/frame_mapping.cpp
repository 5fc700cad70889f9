#include "tests/support/oracle/frame_mapping.h"

#include "tests/support/oracle/picture_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace kestrel::test {
namespace {

// Two source frames whose changing pixels differ by less than this (in squared 8-bit levels)
// are one picture: a still stretch, or a frame the source itself repeats.
constexpr double kSamePicture = 1.0;
// Lists in messages stop after this many items.
constexpr size_t kListedAtMost = 12;

double weightedDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                          const std::vector<double>& weights) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = double(a[i]) - double(b[i]);
        sum += weights[i] * d * d;
    }
    return sum;
}

std::vector<double> changeWeights(const std::vector<std::vector<uint8_t>>& source, size_t pixels) {
    std::vector<double> weights(pixels, 0.0);
    for (size_t j = 1; j < source.size(); ++j)
        for (size_t i = 0; i < pixels; ++i) {
            const double d = double(source[j][i]) - double(source[j - 1][i]);
            weights[i] += d * d;
        }
    double total = 0;
    for (const double w : weights) total += w;
    for (double& w : weights) w = total > 0 ? w / total : 1.0 / double(pixels);
    return weights;
}

std::vector<std::vector<uint8_t>> thumbnails(const FrameSource& source, const MappingOptions& options,
                                             std::string& error) {
    DecodedFrames frames(source, "gray", options.thumbnail_width, options.thumbnail_height, "area");
    std::vector<std::vector<uint8_t>> all;
    Picture picture;
    while (frames.next(picture)) all.push_back(picture.bytes);
    if (!frames.problem().empty()) error += (error.empty() ? "" : "\n") + frames.problem();
    return all;
}

std::string dbText(double psnr_db) {
    if (std::isinf(psnr_db)) return "identical";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dB", psnr_db);
    return text;
}

// "0-12, 12-73, none" or "none x75"
std::string runsText(const std::vector<int>& frames) {
    std::string text;
    size_t i = 0;
    while (i < frames.size()) {
        size_t j = i;
        if (frames[i] < 0)
            while (j + 1 < frames.size() && frames[j + 1] < 0) ++j;
        else
            while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1) ++j;
        if (!text.empty()) text += ", ";
        if (frames[i] < 0) text += "none" + (j > i ? " x" + std::to_string(j - i + 1) : std::string());
        else text += std::to_string(frames[i]) + (j > i ? "-" + std::to_string(frames[j]) : std::string());
        i = j + 1;
    }
    return text;
}

std::string listText(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size() && i < kListedAtMost; ++i) text += (i ? ", " : "") + items[i];
    if (items.size() > kListedAtMost) text += " ... (" + std::to_string(items.size()) + " in all)";
    return text;
}

std::string timesText(size_t n) { return n == 2 ? "twice" : std::to_string(n) + " times"; }

// One output frame of a sequence that may run over several pieces.
struct SequenceFrame {
    const FrameMapping* mapping;
    int frame;
    std::string name;  // "output frame 7" or "piece 1 frame 7"
};

::testing::AssertionResult checkSequence(const std::vector<SequenceFrame>& outputs, const std::vector<int>& expected,
                                         const std::vector<const FrameMapping*>& mappings) {
    std::string errors;
    for (const auto* m : mappings)
        if (!m->error.empty()) errors += (errors.empty() ? "" : "\n") + m->error;
    bool ok = errors.empty() && outputs.size() == expected.size();
    for (size_t i = 0; ok && i < outputs.size(); ++i) ok = outputs[i].mapping->shows(outputs[i].frame, expected[i]);
    if (ok) return ::testing::AssertionSuccess();

    // Name what went wrong: each output frame counts as the frame it should be where it shows
    // that picture, else as its nearest match.
    std::vector<std::string> lines;
    if (!errors.empty()) lines.push_back(errors);
    if (outputs.size() != expected.size())
        lines.push_back(std::to_string(outputs.size()) + " output frames, want " + std::to_string(expected.size()));
    std::map<int, size_t> wanted;
    for (const int j : expected) ++wanted[j];
    std::map<int, std::vector<std::string>> shown_by;
    std::vector<std::string> unmatched, foreign;
    std::vector<int> assigned(outputs.size(), -1);
    for (size_t i = 0; i < outputs.size(); ++i) {
        const SequenceFrame& o = outputs[i];
        const MappedFrame& m = o.mapping->frames[size_t(o.frame)];
        if (i < expected.size() && o.mapping->shows(o.frame, expected[i])) assigned[i] = expected[i];
        else assigned[i] = m.source_frame;
        if (assigned[i] < 0) {
            unmatched.push_back(o.name + " matches no source frame (nearest is source frame " +
                                std::to_string(m.nearest) + " at " + dbText(m.psnr_db) + ")");
            continue;
        }
        shown_by[assigned[i]].push_back(o.name);
        if (!wanted.count(assigned[i]))
            foreign.push_back(o.name + " shows source frame " + std::to_string(assigned[i]) + ", which is not wanted");
    }
    std::vector<std::string> missing, repeated;
    for (const auto& [frame, want] : wanted) {
        const auto found = shown_by.find(frame);
        const size_t got = found == shown_by.end() ? 0 : found->second.size();
        if (got == 0) missing.push_back(std::to_string(frame));
        else if (got != want)
            repeated.push_back("source frame " + std::to_string(frame) + " appears " + timesText(got) +
                               (want == 1 ? "" : " (want " + timesText(want) + ")") + ": " + listText(found->second));
    }
    if (!missing.empty())
        lines.push_back((missing.size() == 1 ? "source frame " : "source frames ") + listText(missing) + " missing");
    for (size_t i = 0; i < repeated.size() && i < kListedAtMost; ++i) lines.push_back(repeated[i]);
    if (repeated.size() > kListedAtMost) lines.push_back(std::to_string(repeated.size()) + " source frames repeated");
    constexpr size_t kUnmatchedNamed = 3;
    for (size_t i = 0; i < unmatched.size() && i < kUnmatchedNamed; ++i) lines.push_back(unmatched[i]);
    if (unmatched.size() > kUnmatchedNamed)
        lines.push_back("... " + std::to_string(unmatched.size()) + " output frames match no source frame");
    if (!foreign.empty()) lines.push_back(listText(foreign));
    if (missing.empty() && repeated.empty() && unmatched.empty() && foreign.empty())
        for (size_t i = 0; i < outputs.size() && i < expected.size(); ++i)
            if (assigned[i] != expected[i]) {
                lines.push_back(outputs[i].name + " shows source frame " + std::to_string(assigned[i]) +
                                ", want source frame " + std::to_string(expected[i]) + " (out of order)");
                break;
            }
    for (const auto* m : mappings) lines.push_back(m->describe());
    std::string text;
    for (const auto& line : lines) text += (text.empty() ? "" : "\n") + line;
    return ::testing::AssertionFailure() << text;
}

std::vector<int> rangeOf(int first, int end) {
    std::vector<int> frames;
    for (int j = first; j < end; ++j) frames.push_back(j);
    return frames;
}

}  // namespace

bool FrameMapping::shows(int output_frame, int source_frame) const {
    if (output_frame < 0 || output_frame >= outputFrames() || source_frame < 0 || source_frame >= source_frames)
        return false;
    const MappedFrame& m = frames[size_t(output_frame)];
    if (m.source_frame < 0) return false;
    if (m.source_frame == source_frame) return true;
    return weightedDifference(source_thumbnails[size_t(source_frame)], source_thumbnails[size_t(m.source_frame)],
                              weights) < kSamePicture;
}

std::string FrameMapping::describe() const {
    std::vector<int> shown;
    for (const auto& f : frames) shown.push_back(f.source_frame);
    return output + " (" + std::to_string(frames.size()) + " frames) against " + source + " (" +
           std::to_string(source_frames) + " frames): source frames " + (shown.empty() ? "none" : runsText(shown));
}

std::vector<FrameMapping> mapPieces(const std::vector<FrameSource>& pieces, const FrameSource& source,
                                    const MappingOptions& options) {
    std::string source_error;
    const auto source_thumbnails = thumbnails(source, options, source_error);
    const size_t pixels = size_t(options.thumbnail_width) * size_t(options.thumbnail_height);
    const auto weights = changeWeights(source_thumbnails, pixels);

    std::vector<FrameMapping> mappings;
    for (const auto& output : pieces) {
        FrameMapping mapping;
        mapping.output = output.describe();
        mapping.source = source.describe();
        mapping.options = options;
        mapping.error = source_error;
        mapping.source_thumbnails = source_thumbnails;
        mapping.source_frames = int(source_thumbnails.size());
        mapping.weights = weights;
        mapping.output_thumbnails = thumbnails(output, options, mapping.error);
        for (const auto& out : mapping.output_thumbnails) {
            MappedFrame m;
            double nearest = 0;
            for (size_t j = 0; j < source_thumbnails.size(); ++j) {
                const double d = weightedDifference(out, source_thumbnails[j], weights);
                if (m.nearest < 0 || d < nearest) {
                    nearest = d;
                    m.nearest = int(j);
                }
            }
            if (m.nearest >= 0) {
                const auto& nearest_thumbnail = source_thumbnails[size_t(m.nearest)];
                m.psnr_db = psnrFromMse(meanSquaredDifference(out.data(), nearest_thumbnail.data(), pixels));
                if (m.psnr_db >= options.min_match_psnr_db) m.source_frame = m.nearest;
            }
            mapping.frames.push_back(m);
        }
        mappings.push_back(std::move(mapping));
    }
    return mappings;
}

FrameMapping mapFrames(const FrameSource& output, const FrameSource& source, const MappingOptions& options) {
    return std::move(mapPieces({output}, source, options).front());
}

::testing::AssertionResult showsSourceFrames(const FrameMapping& mapping, int first, int end) {
    return showsSourceSequence(mapping, rangeOf(first, end));
}

::testing::AssertionResult showsSourceSequence(const FrameMapping& mapping, const std::vector<int>& expected) {
    std::vector<SequenceFrame> outputs;
    for (int k = 0; k < mapping.outputFrames(); ++k)
        outputs.push_back({&mapping, k, "output frame " + std::to_string(k)});
    return checkSequence(outputs, expected, {&mapping});
}

::testing::AssertionResult piecesShowSourceFramesOnce(const std::vector<FrameMapping>& pieces, int first, int end) {
    std::vector<SequenceFrame> outputs;
    std::vector<const FrameMapping*> mappings;
    for (size_t p = 0; p < pieces.size(); ++p) {
        mappings.push_back(&pieces[p]);
        for (int k = 0; k < pieces[p].outputFrames(); ++k)
            outputs.push_back({&pieces[p], k, "piece " + std::to_string(p) + " frame " + std::to_string(k)});
    }
    return checkSequence(outputs, rangeOf(first, end), mappings);
}

}  // namespace kestrel::test
