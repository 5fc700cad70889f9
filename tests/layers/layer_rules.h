#pragma once
// The layer table of the architecture, as rules over #include lines and engine calls. The
// checks work on texts, so a test can feed them both the real tree and a made-up one.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrel::tests::layers {

struct Include {
    std::string name;   // as written: "engine/editing/rdve.h" or QWidget
    bool angled = false;
    int line = 0;
};

struct Breach {
    std::string file;
    std::string what;   // the include or the call
    std::string rule;
};

// The Qt module ("QtWidgets") a header such as QWidget or QtWidgets/QWidget belongs to; empty
// when it is no Qt header.
using QtModuleOf = std::function<std::string(const std::string& header)>;
// Reads Qt's installed headers.
QtModuleOf installedQtModules();

// The table's folder a repository path lies in ("tools/cutter", "export/ui", "engine/core"),
// or empty when the path lies in none of them.
std::string layerOf(const std::string& path);
// Windows: the editor, the tools, the application, the export dialogs.
bool isWindowLayer(const std::string& layer);

std::vector<Include> includesIn(const std::string& text);
// Engine C functions called in the text (comments and strings skipped).
std::vector<std::string> engineCallsIn(const std::string& text);

// Why `file` may not include `include` by the table; empty when it may.
std::string includeBreach(const std::string& file, const Include& include, const QtModuleOf& qtModule);

// Engine calls in the text that make a virtual video or add scenes, media or sound to one
// (comments and strings skipped), and VirtualVideoHandle::create.
std::vector<std::string> virtualVideoBuildingIn(const std::string& text);

// Every breach in a tree of sources (repository path -> text): the include rules, the headers
// a window pulls in through other project headers, engine calls outside session/ and
// engine/, and virtual videos built in session/ outside the engine model classes of
// session/model/. Files in `engineAllowance` are excused from the engine rules (and only those).
std::vector<Breach> checkTree(const std::map<std::string, std::string>& files, const QtModuleOf& qtModule,
                              const std::set<std::string>& engineAllowance = {});

// The libraries each folder's CMakeLists.txt links (the DEPS of kestrel_folder_library), checked
// against the same table: our libraries by the folder that builds them, Qt modules by the
// folder's Qt rule, FFmpeg and libass only for engine/ and session/. `cmakeFiles` maps a
// CMakeLists.txt's repository path to its text. Each "target -> dependency" pair in `allowance`
// is excused.
std::vector<Breach> checkLinks(const std::map<std::string, std::string>& cmakeFiles,
                               const std::set<std::string>& allowance = {});

}  // namespace kestrel::tests::layers
