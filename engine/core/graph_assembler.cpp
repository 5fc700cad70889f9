#include "engine/core/graph_assembler.h"

extern "C" {
#include <libavutil/opt.h>
}
#include <cstdio>

namespace kestrel::engine {

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string timeWindowExpression(int64_t start_us, int64_t end_us) {
    std::string expression = "gte(t," + number(start_us / 1e6) + ")";
    if (end_us > 0) expression += "*lt(t," + number(end_us / 1e6) + ")";
    return expression;
}

std::string GraphAssembler::uniqueName(const char* filter) {
    return std::string(filter) + "_" + std::to_string(counter_++);
}

AVFilterContext* GraphAssembler::add(const char* filter, const FilterOptions& options) {
    const AVFilter* definition = avfilter_get_by_name(filter);
    if (!definition) throw GraphError(std::string("filter not available: ") + filter);
    AVFilterContext* ctx = avfilter_graph_alloc_filter(graph_, definition, uniqueName(filter).c_str());
    if (!ctx) throw GraphError("out of memory");
    for (const auto& [key, value] : options) {
        int rc = av_opt_set(ctx, key.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN);
        if (rc < 0) throw GraphError(std::string(filter) + " option " + key + "=" + value + ": " + ffErrorText(rc));
    }
    int rc = avfilter_init_str(ctx, nullptr);
    if (rc < 0) throw GraphError(std::string("cannot set up ") + filter + ": " + ffErrorText(rc));
    return ctx;
}

AVFilterContext* GraphAssembler::chain(AVFilterContext* from, const char* filter, const FilterOptions& options) {
    AVFilterContext* ctx = add(filter, options);
    link(from, 0, ctx, 0);
    return ctx;
}

AVFilterContext* GraphAssembler::chainText(AVFilterContext* from, const std::string& text) {
    // The parsed chain runs from `from` into a pass-through filter that marks its end.
    AVFilterContext* end = add(from->output_pads && avfilter_pad_get_type(from->output_pads, 0) == AVMEDIA_TYPE_AUDIO ? "anull" : "null");
    FilterInOutPtr outputs(avfilter_inout_alloc());
    FilterInOutPtr inputs(avfilter_inout_alloc());
    if (!outputs || !inputs) throw GraphError("out of memory");
    outputs->name = av_strdup("in");
    outputs->filter_ctx = from;
    outputs->pad_idx = 0;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = end;
    inputs->pad_idx = 0;
    AVFilterInOut* in_raw = inputs.release();
    AVFilterInOut* out_raw = outputs.release();
    std::string labelled = "[in]" + text + "[out]";
    int rc = avfilter_graph_parse_ptr(graph_, labelled.c_str(), &in_raw, &out_raw, nullptr);
    avfilter_inout_free(&in_raw);
    avfilter_inout_free(&out_raw);
    if (rc < 0) throw GraphError("bad filter chain \"" + text + "\": " + ffErrorText(rc));
    return end;
}

void GraphAssembler::link(AVFilterContext* from, unsigned from_pad, AVFilterContext* to, unsigned to_pad) {
    int rc = avfilter_link(from, from_pad, to, to_pad);
    if (rc < 0) throw GraphError(std::string("cannot link ") + from->name + " to " + to->name);
}

void GraphAssembler::configure() {
    int rc = avfilter_graph_config(graph_, nullptr);
    if (rc < 0) throw GraphError("cannot configure the filter graph: " + ffErrorText(rc));
}

}  // namespace kestrel::engine
