#include "tests/editor_export/editor_export_test_helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include "export/profiles/profile_choice.h"
#include "export/ui/export_session.h"
#include "platform/user_defaults.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

namespace kestrel::test {

const std::string& standardClip() {
    static TempDir dir;
    static const std::string path = [] {
        const std::string p = dir.file("clip.mp4");
        FixtureSpec spec;
        spec.gop = 12;
        makeMedia(p, spec);
        return p;
    }();
    return path;
}

void setEditorChoice(const std::map<QString, QString>& titles) {
    exportkit::removeStoredChoice(exportkit::ChoiceKeys::editor());
    auto& defaults = platform::UserDefaults::standard();
    defaults.removeObjectForKey(exportkit::kCustomWidthKey);
    defaults.removeObjectForKey(exportkit::kCustomHeightKey);
    for (const auto& [key, value] : titles) defaults.setString(key, value);
}

ExportHarness::ExportHarness(const std::string& input) : record(kestrel::model::makeSimpleData()), run(&window) {
    record->path = QString::fromStdString(input);
    record->name = QDir(record->path).dirName();
    record->targetData.extension = QStringLiteral("mp4");
    record->sourceData.width = 320;
    record->sourceData.height = 240;
    run.setRecord(record);
    run.setEditsProvider([this] { return edits; });
    exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts.append(text); });
}

ExportHarness::~ExportHarness() {
    waitUntil([this] { return run.pendingJobs() == 0; });
    exportkit::ExportSession::setFailureAlert(nullptr);
}

void ExportHarness::start(const std::string& folder) {
    exportkit::ExportWindowController* dialog = run.prepareExportDialog();
    dialog->setOutputPath(QString::fromStdString(folder));
    dialog->setStopConfirmer([](const QString&) { return true; });
    dialog->startExport();
}

void ExportHarness::pressStop() { run.exportProgressWindow()->startExport(); }

bool ExportHarness::waitForEnd() {
    return waitUntil([this] { return !run.exporting() && run.pendingJobs() == 0; });
}

QStringList filesIn(const std::string& folder) {
    QStringList names = QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

std::vector<unsigned char> snapshotRGB(player::DIVuverIzizud& p, int* width, int* height) {
    int32_t w = p.frameWidth(), h = p.frameHeight();
    std::vector<uint8_t> bgra(size_t(w) * h * 4);
    if (p.Snapshot(&w, &h, bgra.data()) != 1) return {};
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        rgb[i * 3] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4];
    }
    *width = w;
    *height = h;
    return rgb;
}

}  // namespace kestrel::test
