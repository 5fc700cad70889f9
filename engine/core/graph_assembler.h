#pragma once
// Small helper to assemble a libavfilter graph in code. Options are set one by one through
// AVOptions, so file paths and texts need no escaping. Errors throw GraphError.
#include "engine/core/ff_handles.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::engine {

struct GraphError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using FilterOptions = std::vector<std::pair<std::string, std::string>>;

class GraphAssembler {
public:
    explicit GraphAssembler(AVFilterGraph* graph) : graph_(graph) {}

    // A new filter with its options; not linked.
    AVFilterContext* add(const char* filter, const FilterOptions& options = {});
    // A new filter fed by pad 0 of `from` (or by `from_pad`); returns the new filter.
    AVFilterContext* chain(AVFilterContext* from, const char* filter, const FilterOptions& options = {});
    // A chain given as libavfilter text ("hqdn3d,unsharp") after `from`; returns its last filter.
    AVFilterContext* chainText(AVFilterContext* from, const std::string& text);
    void link(AVFilterContext* from, unsigned from_pad, AVFilterContext* to, unsigned to_pad);
    void configure();

    AVFilterGraph* graph() const { return graph_; }

private:
    std::string uniqueName(const char* filter);

    AVFilterGraph* graph_;
    int counter_ = 0;
};

// Number text with enough digits for times and factors, never in exponent form.
std::string number(double value);
// Expression true while start_us <= t < end_us (end 0 or less: open end).
std::string timeWindowExpression(int64_t start_us, int64_t end_us);

}  // namespace kestrel::engine
