// Faults a user meets in the editor window, each driven through the window's own controls:
// refused edits, the trim fields and spin buttons, the range bar, typed crop and colour values.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QTest>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "export/ui/export_session.h"
#include "services/language.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

struct WindowFaults : ::testing::Test {
    QPointer<EditVideoWindowController> window;
    QStringList alerts;
    QPointer<kestrel::editor::EditorExportController> run;

    void open(int64_t tool) {
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(standardClip()));  // 320x240, 2 s
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        ASSERT_NE(window->fileData(), nullptr);
        ASSERT_NE(window->exportAttachment(), nullptr);
        run = window->exportAttachment()->exportRun();
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts << text; });
    }
    EditVideoWindowController::Views& v() { return window->views(); }
    kestrel::editor::KxfxView* effects() { return window->exportAttachment()->effectPanel(); }
    void TearDown() override {
        waitUntil([this] { return !run || run->pendingJobs() == 0; });
        exportkit::ExportSession::setFailureAlert(nullptr);
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    static void typeInto(kestrel::widgets::RDTextField* field, const QString& text) {
        field->setText(text);
        Q_EMIT field->textEdited(text);
    }
    static QString timeOf(const QList<kestrel::widgets::RDTextField*>& fields) {
        QStringList parts;
        for (const auto* f : fields) parts << f->text();
        return parts.join(QLatin1Char(':'));
    }
    void exportTo(const std::string& folder) {
        run->setRecord(window->fileData());
        exportkit::ExportWindowController* dialog = run->prepareExportDialog();
        dialog->setOutputPath(QString::fromStdString(folder));
        dialog->startExport();
        ASSERT_TRUE(waitUntil([this] { return !run || (!run->exporting() && run->pendingJobs() == 0); }));
    }
};

// A trim end before its start is refused: the export writes nothing and says why, instead of
// writing the whole, unturned file and reporting success.
TEST_F(WindowFaults, RefusedTrimExportsNothingAndSaysWhy) {
    open(1);
    click(v().right_ratioBtn);
    typeInto(v().startSecondsField, QStringLiteral("01"));
    typeInto(v().startMioSecondsField, QStringLiteral("500"));
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    typeInto(v().stopMioSecondsField, QStringLiteral("000"));
    TempDir out;
    exportTo(out.path());
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], services::localized(QStringLiteral("EditRefusedTrimOrderMessage")));
    EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(", ").toStdString();
    EXPECT_FALSE(run->exporting());

    // Put right, the same window exports.
    typeInto(v().stopSecondsField, QStringLiteral("02"));
    alerts.clear();
    exportTo(out.path());
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    EXPECT_EQ(filesIn(out.path()).size(), 1);
}

}  // namespace
}  // namespace kestrel::test
