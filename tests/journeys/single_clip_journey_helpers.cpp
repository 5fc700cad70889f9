#include "tests/journeys/single_clip_journey_helpers.h"

#include "export/ui/export_window_controller.h"
#include "tests/support/user_input.h"
#include "tools/shared/single_clip_frame.h"
#include "widgets/zor_button.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace kestrel::test::journey {

std::string exportThroughDialog(tools::shared::SingleClipFrame& window, const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    const QStringList before = dir.entryList(QDir::Files);
    bool done = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        exportkit::ExportWindowController* dialog = window.exportDialog();
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        EXPECT_TRUE(dialog->reEncodingBtn->isHidden());
        EXPECT_TRUE(dialog->enableGpuBtn->isHidden());
        dialog->setOutputPath(QString::fromStdString(folder));
        QSignalSpy ended(&window, &tools::shared::SingleClipFrame::exportEnded);
        click(dialog->startBtn);
        EXPECT_TRUE(waitUntil([&] { return !ended.isEmpty(); }));
        done = !ended.isEmpty() && ended.first().first().value<session::JobResult>().done();
        dialog->close();
    });
    poll.start();
    click(window.exportBtn);
    if (!done) return {};
    QStringList written = dir.entryList(QDir::Files);
    for (const QString& name : before) written.removeAll(name);
    EXPECT_EQ(written.size(), 1);
    return written.isEmpty() ? std::string() : dir.filePath(written.first()).toStdString();
}

}  // namespace kestrel::test::journey
