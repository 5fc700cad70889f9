#pragma once
// A joiner window driven as a user drives it: files come from a scripted open panel, alerts
// are recorded instead of shown, the output goes into a private folder.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

#include "tests/support/temp_dir.h"
#include "tools/joiner/joinner_window_controller.h"

namespace kestrel::tools::shared {
class ClipListCell;
}

namespace kestrel::test {

class JoinerWindowHarness {
public:
    JoinerWindowHarness();
    ~JoinerWindowHarness();

    kestrel::tools::joiner::JoinnerWindowController& window() { return *window_; }
    const TempDir& dir() const { return dir_; }
    QString outputFolder() const;
    // Chooses another output folder through the pop-up's "other folder" item.
    void chooseOutputFolder(const QString& folder);
    QString file(const char* name) const { return QString::fromStdString(dir_.file(name)); }

    // Presses Add File with the open panel answering paths.
    void addThroughPanel(const QStringList& paths);
    // Presses a control as the mouse would (press and release in its middle).
    static void click(QWidget* control);
    kestrel::tools::shared::ClipListCell* cell(int row) const;
    void selectRow(int row);
    // Types text into a time field, then ends its editing with Return.
    void typeInto(QWidget* field, const QString& text);
    // Clicks the format bar's profile of that name in the open category.
    bool chooseProfile(const QString& name);
    // Waits until the running join has ended.
    bool waitJoinEnded(int timeoutMs = 300000);
    // Files in the output folder, hidden ones (a run's unfinished file) too.
    QStringList outputs() const;

    QList<QPair<int, QString>> alerts;

private:
    TempDir dir_;
    QString outputFolder_;
    std::unique_ptr<kestrel::tools::joiner::JoinnerWindowController> window_;
};

}  // namespace kestrel::test
