#include "tests/tools_collage/collage_test_helpers.h"

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "tests/support/media_fixtures.h"
#include "tools/collage/collage_cell_view.h"
#include "widgets/dialogs/open_panel.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kestrel::test {

std::string colourClip(const TempDir& dir, const std::string& name, const std::string& colour, double seconds) {
    FixtureSpec spec;
    spec.duration_s = seconds;
    spec.video_source = "color=c=" + colour;
    spec.width = 320, spec.height = 240;
    std::string path = dir.file(name + ".mp4");
    makeMedia(path, spec);
    return path;
}

std::string colourPicture(const TempDir& dir, const std::string& name, const std::string& colour) {
    std::string path = dir.file(name + ".png");
    std::string output;
    if (runCommand("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i color=c=" + colour +
                       ":s=400x300 -frames:v 1 '" + path + "'",
                   &output) != 0)
        throw std::runtime_error("ffmpeg could not make " + path + ": " + output);
    return path;
}

std::string toneFile(const TempDir& dir, const std::string& name, double seconds) {
    FixtureSpec spec;
    spec.duration_s = seconds;
    spec.width = 0;
    std::string path = dir.file(name + ".m4a");
    makeMedia(path, spec);
    return path;
}

CollageHarness::CollageHarness() {
    window = new tools::collage::CollageWindowController();
    window->setAlert([this](QWidget*, const QString& text) { alerts << text; });
    exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts << text; });
    widgets::setOpenPanelRunner([this](const widgets::OpenPanelRequest&) {
        return panelAnswers.isEmpty() ? QStringList() : QStringList{panelAnswers.takeFirst()};
    });
    window->show();
    QTest::qWaitForWindowExposed(window);
}

CollageHarness::~CollageHarness() {
    widgets::setOpenPanelRunner(nullptr);
    exportkit::ExportSession::setFailureAlert(nullptr);
    delete window.data();
}

void CollageHarness::chooseLayout(int row) {
    QListWidget* list = window->layoutList;
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void CollageHarness::choose(QComboBox* box, int index) {
    ASSERT_TRUE(box->isEnabled());
    click(box);
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(waitUntil([&] { return list->isVisible(); }, 30000)) << "the box opened no list";
    const QModelIndex item = box->model()->index(index, box->modelColumn(), box->rootModelIndex());
    list->scrollTo(item);
    clickAt(list->viewport(), list->visualRect(item).center());
    waitUntil([&] { return !list->isVisible(); }, 30000);
}

void CollageHarness::fillCell(int cell, const std::string& path) {
    tools::collage::CollageCellView* view = window->cellViews().value(cell);
    ASSERT_NE(view, nullptr);
    panelAnswers << QString::fromStdString(path);
    QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
}

std::string CollageHarness::exportTo(const std::string& folder) {
    bool finished = false;
    QTimer::singleShot(0, [&] {
        exportkit::ExportWindowController* dialog = window->exportDialog();
        if (!dialog) return;
        dialog->setOutputPath(QString::fromStdString(folder));
        dialog->startExport();
        finished = waitUntil([&] { return !dialog->exporting(); });
        dialog->closeWindowAction();
    });
    QTest::mouseClick(window->exportBtn, Qt::LeftButton, {}, window->exportBtn->rect().center());
    if (!finished) return "";
    return window->lastWrittenPath().toStdString();
}

Mean meanAt(const std::vector<unsigned char>& rgb, int width, int x, int y, int half) {
    Mean m;
    int n = 0;
    const int height = int(rgb.size() / 3 / width);
    for (int yy = std::max(0, y - half); yy <= std::min(height - 1, y + half); ++yy)
        for (int xx = std::max(0, x - half); xx <= std::min(width - 1, x + half); ++xx) {
            const unsigned char* p = &rgb[(size_t(yy) * width + xx) * 3];
            m.r += p[0], m.g += p[1], m.b += p[2];
            ++n;
        }
    if (n) m.r /= n, m.g /= n, m.b /= n;
    return m;
}

}  // namespace kestrel::test
