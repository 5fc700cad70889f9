#include "tests/layers/layer_rules.h"

#include <QDir>
#include <QLibraryInfo>

#include <algorithm>
#include <regex>
#include <sstream>

namespace kestrel::tests::layers {
namespace {

enum class Qt { None, CoreGui, CoreGuiNetwork, NoWidgets, Widgets, Any };

struct Layer {
    std::string folder;
    std::vector<std::string> mayUse;   // project folders besides its own; "engine/*" and "tools/shared" as written
    Qt qt;
};

// The table in the architecture, lowest first. A folder may use only folders above it, and
// among those only the ones its row names.
const std::vector<Layer>& table() {
    static const std::vector<Layer> layers = {
        {"platform", {}, Qt::CoreGui},
        {"engine/core", {}, Qt::None},
        {"engine/mediacore", {"engine/core"}, Qt::None},
        {"engine/editing", {"engine/core"}, Qt::None},   // Qt for its preview view: see qtAllowed
        // The player paces frames on platform's queues and media times (platform lies above it).
        {"engine/player", {"engine/core", "platform"}, Qt::Widgets},
        {"model", {"platform", "engine/editing"}, Qt::CoreGui},
        {"services", {"platform"}, Qt::CoreGuiNetwork},
        {"widgets", {"platform", "services"}, Qt::Widgets},
        {"export/profiles", {"platform", "services"}, Qt::CoreGui},
        {"export/settings", {"platform", "services", "export/profiles"}, Qt::CoreGui},
        {"session", {"platform", "engine/*", "model", "services", "export/profiles", "export/settings"}, Qt::NoWidgets},
        {"export/ui",
         {"platform", "engine/*", "model", "services", "widgets", "export/profiles", "export/settings", "session"},
         Qt::Any},
        {"editor",
         {"platform", "engine/*", "model", "services", "widgets", "export/profiles", "export/settings", "session",
          "export/ui"},
         Qt::Any},
        {"tools/*",
         {"platform", "engine/*", "model", "services", "widgets", "export/profiles", "export/settings", "session",
          "export/ui", "editor", "tools/shared"},
         Qt::Any},
        {"app",
         {"platform", "engine/*", "model", "services", "widgets", "export/profiles", "export/settings", "session",
          "export/ui", "editor", "tools/*"},
         Qt::Any},
    };
    return layers;
}

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

const Layer* rowOf(const std::string& layer) {
    const std::string key = startsWith(layer, "tools/") ? "tools/*" : layer;
    for (const Layer& row : table())
        if (row.folder == key) return &row;
    return nullptr;
}

bool rowAllows(const Layer& row, const std::string& layer) {
    for (const std::string& use : row.mayUse) {
        if (use == layer) return true;
        if (use == "engine/*" && startsWith(layer, "engine/")) return true;
        if (use == "tools/*" && startsWith(layer, "tools/")) return true;
    }
    return false;
}

bool isFfmpegHeader(const std::string& name) {
    static const char* prefixes[] = {"libavcodec/", "libavformat/", "libavutil/", "libavfilter/", "libavdevice/",
                                     "libswscale/", "libswresample/", "libpostproc/", "ass/"};
    return std::any_of(std::begin(prefixes), std::end(prefixes), [&](const char* p) { return startsWith(name, p); });
}

// The engines' C interfaces: only session/ (and the engines) call them.
bool isEngineInterface(const std::string& name) {
    return name == "engine/mediacore/media_core.h" || name == "engine/mediacore/media_join.h" ||
           name == "engine/editing/rdve.h";
}

bool qtAllowed(const std::string& file, const std::string& layer, Qt rule, const std::string& module) {
    const bool widgetsModule = module.size() > 7 && module.compare(module.size() - 7, 7, "Widgets") == 0;
    if (layer == "engine/editing") return startsWith(file, "engine/editing/preview_view.");
    switch (rule) {
    case Qt::None: return false;
    case Qt::CoreGui: return module == "QtCore" || module == "QtGui";
    case Qt::CoreGuiNetwork: return module == "QtCore" || module == "QtGui" || module == "QtNetwork";
    case Qt::NoWidgets: return !widgetsModule;
    case Qt::Widgets:
        return module == "QtCore" || module == "QtGui" || module == "QtWidgets" || module == "QtSvg" ||
               module == "QtSvgWidgets" || module == "QtMultimedia";
    case Qt::Any: return true;
    }
    return false;
}

std::string qtRuleText(Qt rule) {
    switch (rule) {
    case Qt::None: return "no Qt";
    case Qt::CoreGui: return "Qt Core and Gui only";
    case Qt::CoreGuiNetwork: return "Qt Core, Gui and Network only";
    case Qt::NoWidgets: return "no widgets";
    case Qt::Widgets: return "Qt Core, Gui, Widgets, Svg and Multimedia only";
    case Qt::Any: return "any Qt";
    }
    return {};
}

// Blanks comments (and, when asked, string and character literals) so that their text is not
// read as code; line breaks stay where they were.
std::string blanked(const std::string& text, bool strings) {
    std::string out = text;
    enum { Code, Line, Block, Str, Chr } state = Code;
    for (size_t i = 0; i < out.size(); ++i) {
        const char c = text[i], next = i + 1 < text.size() ? text[i + 1] : '\0';
        switch (state) {
        case Code:
            if (c == '/' && next == '/') state = Line, out[i] = ' ';
            else if (c == '/' && next == '*') state = Block, out[i] = ' ', out[++i] = ' ';
            else if (strings && c == '"') state = Str;
            else if (strings && c == '\'') state = Chr;
            break;
        case Line:
            if (c == '\n') state = Code;
            else out[i] = ' ';
            break;
        case Block:
            if (c == '*' && next == '/') state = Code, out[i] = ' ', out[++i] = ' ';
            else if (c != '\n') out[i] = ' ';
            break;
        case Str:
        case Chr:
            if (c == '\\') out[i] = ' ', out[++i] = ' ';
            else if ((state == Str && c == '"') || (state == Chr && c == '\'')) state = Code;
            else if (c != '\n') out[i] = ' ';
            break;
        }
    }
    return out;
}

}  // namespace

QtModuleOf installedQtModules() {
    auto modules = std::make_shared<std::map<std::string, std::string>>();
    const QDir headers(QLibraryInfo::path(QLibraryInfo::HeadersPath));
    for (const QString& module : headers.entryList({QStringLiteral("Qt*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& header : QDir(headers.filePath(module)).entryList(QDir::Files))
            modules->emplace(header.toStdString(), module.toStdString());   // first module wins
        modules->emplace(module.toStdString(), module.toStdString());       // <QtCore> itself
    }
    return [modules](const std::string& header) -> std::string {
        const auto slash = header.find('/');
        if (slash != std::string::npos) {
            const std::string module = header.substr(0, slash);
            return startsWith(module, "Qt") && modules->count(module) ? module : std::string();
        }
        auto it = modules->find(header);
        return it == modules->end() ? std::string() : it->second;
    };
}

std::string layerOf(const std::string& path) {
    if (startsWith(path, "tools/")) {
        const auto slash = path.find('/', 6);
        return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    for (const Layer& row : table())
        if (row.folder != "tools/*" && startsWith(path, row.folder + "/")) return row.folder;
    return {};
}

bool isWindowLayer(const std::string& layer) {
    return layer == "editor" || layer == "app" || layer == "export/ui" || startsWith(layer, "tools/");
}

std::vector<Include> includesIn(const std::string& text) {
    static const std::regex pattern(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Include> found;
    const std::string code = blanked(text, false);
    size_t start = 0;
    for (int line = 1; start <= code.size(); ++line) {
        const size_t end = std::min(code.find('\n', start), code.size());
        std::smatch m;
        const std::string row = code.substr(start, end - start);
        if (std::regex_search(row, m, pattern)) found.push_back({m[2].str(), m[1].str() == "<", line});
        start = end + 1;
    }
    return found;
}

std::vector<std::string> engineCallsIn(const std::string& text) {
    static const std::regex pattern(
        R"(\b(apiMediaConvert\w*|apiMediaJoin\w*|rdVE\w*|Media(Open|GetInfo|GetDuration|Snapshot|Close))\s*\()");
    std::vector<std::string> calls;
    const std::string code = blanked(text, true);
    for (auto it = std::sregex_iterator(code.begin(), code.end(), pattern); it != std::sregex_iterator(); ++it)
        calls.push_back((*it)[1].str());
    return calls;
}

std::string includeBreach(const std::string& file, const Include& include, const QtModuleOf& qtModule) {
    const std::string layer = layerOf(file);
    const Layer* row = rowOf(layer);
    if (!row) return {};
    const std::string& name = include.name;
    if (isFfmpegHeader(name)) {
        const bool mayUse = startsWith(layer, "engine/") || layer == "session";
        return mayUse && layer != "engine/player" ? std::string() : "FFmpeg and libass only in engine/ and session/";
    }
    if (include.angled) {
        const std::string module = qtModule(name);
        if (module.empty() || qtAllowed(file, layer, row->qt, module)) return {};
        return layer + " uses " + qtRuleText(row->qt) + " (" + name + " is " + module + ")";
    }
    const std::string used = layerOf(name);
    if (used.empty() || used == layer) return {};
    if (isEngineInterface(name) && !startsWith(layer, "engine/") && layer != "session")
        return "the engines' C interfaces only through session/";
    if (startsWith(layer, "tools/") && startsWith(used, "tools/") && used != "tools/shared")
        return "a tool never uses another tool's folder (shared parts go in tools/shared)";
    if (!rowAllows(*row, used)) return layer + " may not use " + used;
    return {};
}

std::vector<Breach> checkTree(const std::map<std::string, std::string>& files, const QtModuleOf& qtModule,
                              const std::set<std::string>& engineAllowance) {
    std::vector<Breach> breaches;
    std::map<std::string, std::vector<Include>> includes;
    for (const auto& [path, text] : files) includes[path] = includesIn(text);

    // The FFmpeg or engine-interface header a project header pulls in, through any depth of
    // project headers; the player's view and transport headers are the windows' one way in.
    std::map<std::string, std::string> pulled;
    std::function<std::string(const std::string&, std::set<std::string>&)> pullsIn =
        [&](const std::string& header, std::set<std::string>& seen) -> std::string {
        if (startsWith(header, "engine/player/")) return {};
        if (auto it = pulled.find(header); it != pulled.end()) return it->second;
        if (!seen.insert(header).second) return {};
        std::string found;
        for (const Include& inc : includes[header]) {
            if (isFfmpegHeader(inc.name) || isEngineInterface(inc.name)) found = inc.name;
            else if (!inc.angled && files.count(inc.name)) found = pullsIn(inc.name, seen);
            if (!found.empty()) break;
        }
        return pulled[header] = found;
    };

    for (const auto& [path, text] : files) {
        const std::string layer = layerOf(path);
        if (layer.empty()) continue;
        const bool excused = engineAllowance.count(path) > 0;
        for (const Include& inc : includes[path]) {
            const std::string where = path + ":" + std::to_string(inc.line);
            std::string rule = includeBreach(path, inc, qtModule);
            const bool engineRule = isEngineInterface(inc.name) || isFfmpegHeader(inc.name);
            if (!rule.empty() && !(excused && engineRule)) {
                breaches.push_back({where, inc.name, rule});
                continue;
            }
            if (rule.empty() && isWindowLayer(layer) && !excused && !inc.angled && files.count(inc.name) &&
                !startsWith(inc.name, "engine/player/")) {
                std::set<std::string> seen;
                const std::string reached = pullsIn(inc.name, seen);
                if (!reached.empty())
                    breaches.push_back({where, inc.name, "a window header path reaches " + reached +
                                                             " (engines only through session/)"});
            }
        }
        const bool mayCall = startsWith(layer, "engine/") || layer == "session";
        if (!mayCall && !excused)
            for (const std::string& call : engineCallsIn(text))
                breaches.push_back({path, call + "()", "engine C calls only in session/ and engine/"});
        // The handle owners open the engine video that the model classes hold.
        const bool buildsModels = startsWith(path, "session/model/") || path == "session/jobs/engine_handles.cpp";
        if (layer == "session" && !buildsModels && !excused)
            for (const std::string& call : virtualVideoBuildingIn(text))
                breaches.push_back({path, call, "virtual videos, scenes, media and sound only through session/model/"});
    }
    return breaches;
}

std::vector<std::string> virtualVideoBuildingIn(const std::string& text) {
    static const std::regex pattern(
        R"(\b(rdVEVirtualVideoCreate|rdVECreateScene|rdVEAddScene|rdVESceneCreateMedia|rdVESceneAddMedia(Handle)?|rdVEAddAudioMedia)\s*\(|\bVirtualVideoHandle::create\b)");
    std::vector<std::string> found;
    const std::string code = blanked(text, true);
    for (auto it = std::sregex_iterator(code.begin(), code.end(), pattern); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].matched ? (*it)[1].str() + "()" : std::string("VirtualVideoHandle::create"));
    return found;
}

std::vector<Breach> checkLinks(const std::map<std::string, std::string>& cmakeFiles,
                               const std::set<std::string>& allowance) {
    static const std::regex library(R"(kestrel_folder_library\(\s*(\w+)([^)]*)\))");
    struct Library {
        std::string cmakeFile;
        std::string folder;
        std::vector<std::string> deps;
        bool withoutUi = false;   // built with EXCLUDE "/export/ui/"
    };
    std::vector<Library> libraries;
    for (const auto& [path, text] : cmakeFiles) {
        const std::string code = std::regex_replace(text, std::regex("#[^\n]*"), "");
        const std::string folder = path.substr(0, path.rfind('/'));
        for (auto it = std::sregex_iterator(code.begin(), code.end(), library); it != std::sregex_iterator(); ++it) {
            Library lib{path, folder, {}, false};
            std::istringstream words((*it)[2].str());
            bool inDeps = false;
            for (std::string word; words >> word;) {
                if (word == "DEPS") inDeps = true;
                else if (word == "EXCLUDE") inDeps = false;
                else if (inDeps) lib.deps.push_back(word);
                else if (word.find("/export/ui/") != std::string::npos) lib.withoutUi = true;
            }
            lib.deps.insert(lib.deps.begin(), (*it)[1].str());   // the target's own name first
            libraries.push_back(std::move(lib));
        }
    }
    // Which folder builds each of our libraries; export builds profiles, settings and (when the
    // widget kit is there) its dialogs as one library, so it counts as its highest part.
    std::map<std::string, std::string> folderOf;
    for (const Library& lib : libraries) {
        std::string folder = lib.folder;
        if (folder == "export") folder = lib.withoutUi ? "export/settings" : "export/ui";
        auto [it, added] = folderOf.emplace(lib.deps.front(), folder);
        if (!added && folder == "export/ui") it->second = folder;
    }

    std::vector<Breach> breaches;
    for (const Library& lib : libraries) {
        const std::string& target = lib.deps.front();
        const std::string layer = folderOf[target];
        const Layer* row = rowOf(layer);
        if (!row) continue;
        for (size_t i = 1; i < lib.deps.size(); ++i) {
            const std::string& dep = lib.deps[i];
            if (allowance.count(target + " -> " + dep)) continue;
            std::string rule;
            if (startsWith(dep, "Qt6::")) {
                const std::string module = "Qt" + dep.substr(5);
                const std::string probe = layer == "engine/editing" ? "engine/editing/preview_view.cpp" : layer + "/x.cpp";
                if (!qtAllowed(probe, layer, row->qt, module)) rule = layer + " uses " + qtRuleText(row->qt);
            } else if (startsWith(dep, "PkgConfig::")) {
                if (!startsWith(layer, "engine/") && layer != "session") rule = "FFmpeg and libass only in engine/ and session/";
            } else if (auto it = folderOf.find(dep); it != folderOf.end()) {
                if (it->second != layer && !rowAllows(*row, it->second))
                    rule = layer + " may not use " + it->second;
            }
            if (!rule.empty()) breaches.push_back({lib.cmakeFile, target + " -> " + dep, rule});
        }
    }
    return breaches;
}

}  // namespace kestrel::tests::layers
