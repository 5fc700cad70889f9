#include "tests/tools_joiner/joiner_window_helpers.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>

#include "platform/user_defaults.h"
#include "services/language.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/output_folder_popup.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

namespace kestrel::test {

JoinerWindowHarness::JoinerWindowHarness() {
    auto& defaults = platform::UserDefaults::standard();
    for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
    services::Language::setLanguage();
    window_ = std::make_unique<kestrel::tools::joiner::JoinnerWindowController>();
    window_->setAlertPresenter([this](int tag, const QString& text) {
        alerts.append({tag, text});
        return false;
    });
    window_->show();
    QTest::qWait(50);
    chooseOutputFolder(QString::fromStdString(dir_.file("out")));
}

JoinerWindowHarness::~JoinerWindowHarness() {
    kestrel::widgets::setOpenPanelRunner({});
    window_->close();
    window_.reset();
    QTest::qWait(20);
}

QString JoinerWindowHarness::outputFolder() const { return outputFolder_; }

void JoinerWindowHarness::chooseOutputFolder(const QString& folder) {
    // Chosen in the pop-up's "other folder" item, as a user would.
    QDir().mkpath(folder);
    outputFolder_ = folder;
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([folder](const QString&) { return folder; });
    window_->outputFolderBtn()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});
}

void JoinerWindowHarness::addThroughPanel(const QStringList& paths) {
    kestrel::widgets::setOpenPanelRunner([paths](const kestrel::widgets::OpenPanelRequest&) { return paths; });
    click(window_->addfileBtn());
    QTest::qWait(50);
}

void JoinerWindowHarness::click(QWidget* control) {
    const QPoint middle = control->rect().center();
    QTest::mousePress(control, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseRelease(control, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::qWait(30);
}

kestrel::tools::shared::ClipListCell* JoinerWindowHarness::cell(int row) const { return window_->fileListTableView()->cell(row); }

void JoinerWindowHarness::selectRow(int row) {
    kestrel::tools::shared::ClipListCell* c = cell(row);
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(30, c->height() / 2));
    QTest::qWait(80);
}

void JoinerWindowHarness::typeInto(QWidget* field, const QString& text) {
    auto* edit = static_cast<QLineEdit*>(field);
    edit->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::qWait(30);
}

bool JoinerWindowHarness::chooseProfile(const QString& name) {
    exportkit::OutputFormatBar* bar = window_->formatBar();
    const int at = bar->functionItemChilds().indexOf(name);
    if (at < 0) return false;
    kestrel::widgets::ZorButton* button = bar->functionItemButtons()[size_t(at)];
    bar->functionItemScrollview()->ensureWidgetVisible(button);
    click(button);
    return true;
}

bool JoinerWindowHarness::waitJoinEnded(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (window_->joining() && timer.elapsed() < timeoutMs) QTest::qWait(50);
    QTest::qWait(20);
    return !window_->joining();
}

QStringList JoinerWindowHarness::outputs() const { return QDir(outputFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

}  // namespace kestrel::test
