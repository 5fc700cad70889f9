#include "export/ui/export_dialog_base.h"

#include "widgets/dialogs/dark_look.h"

#include "export/ui/dialog_style.h"
#include "export/ui/reveal_in_file_manager.h"
#include "platform/bookmarks.h"
#include "platform/dispatch.h"
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/folders.h"
#include "services/language.h"
#include "services/output_name.h"
#include "widgets/named_image_view.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

#include <QCloseEvent>
#include <algorithm>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace exportkit {
namespace {

const QString kOutputDirKey = QStringLiteral("kOutputDir");

QString askFolder(QWidget* parent, const QString& startFolder) {
    QFileDialog panel(parent, services::localized(QStringLiteral("Main_Sel_File_Hit")), startFolder);
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly, true);
    panel.setLabelText(QFileDialog::Accept, services::localized(QStringLiteral("OpenPanelOpenTitle")));
    panel.setLabelText(QFileDialog::Reject, services::localized(QStringLiteral("OpenPanelCancelTitle")));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty()) return QString();
    return panel.selectedFiles().first();
}

QString withoutTrailingSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

}  // namespace

ExportDialogBase::ExportDialogBase(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    resize(554, 223);
    folderChooser_ = [this](const QString& start) { return askFolder(this, start); };
    stopConfirmer_ = [this](const QString& key) { return askStop(key); };
    revealer_ = revealInFileManager;
}

ExportDialogBase::~ExportDialogBase() { platform::NotificationCenter::defaultCenter().removeObserversOf(this); }

QString ExportDialogBase::defaultOutputFolder() {
    return services::FileManager::moviesFolderPath() + QLatin1Char('/') + services::localized(QStringLiteral("Title"));
}

void ExportDialogBase::setOutputPath(const QString& path) {
    outputPath_ = withoutTrailingSeparator(path);
    if (outputPathTextFiled) outputPathTextFiled->setText(outputPath_);
}

void ExportDialogBase::loadWindow() {
    if (loaded_) return;
    loaded_ = true;
    style::styleWindow(this);
    const QString stored = platform::UserDefaults::standard().stringForKey(kOutputDirKey);
    outputPath_ = withoutTrailingSeparator(stored.isEmpty() ? defaultOutputFolder() : stored);
    platform::EMBookmark::defaultShareBookmark().BookmarkStartAccessingSecurityScopedResourceWithFilePath(outputPath_);
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    buildSharedViews();
    buildOwnViews();
    // The result line sits under the progress row, wherever the dialog put that row.
    succeededLabel->move(succeededLabel->x(), progressGroup->geometry().bottom() + 1);
    progressTitlelabel->hide();
    progressView->hide();
    changeLanguage();
}

void ExportDialogBase::buildSharedViews() {
    windowTitlelabel = new QLabel(this);
    windowTitlelabel->setGeometry(0, 8, 554, 22);
    windowTitlelabel->setAlignment(Qt::AlignCenter);
    style::styleCaption(windowTitlelabel, style::kTitleColor, 14);

    outputTitleLabel = new QLabel(this);
    outputTitleLabel->setGeometry(20, 44, 110, 24);
    style::styleCaption(outputTitleLabel, style::kCaptionColor);
    outputPathBox = new QWidget(this);
    outputPathBox->setGeometry(130, 44, 320, 24);
    style::styleBorderedBox(outputPathBox, 0);
    outputPathTextFiled = new QLineEdit(outputPathBox);
    outputPathTextFiled->setGeometry(4, 1, 312, 22);
    outputPathTextFiled->setReadOnly(true);
    outputPathTextFiled->setFrame(false);
    outputPathTextFiled->setStyleSheet(QStringLiteral("background: transparent; color: rgba(204, 204, 204, 153);"));
    outputPathTextFiled->setText(outputPath_);

    selectOutputDirBtn = style::makePictureButton(this, QStringLiteral("ZantImage/Reverse/btnBrowsePath"), QStringLiteral("@2x.png"));
    selectOutputDirBtn->setGeometry(458, 44, 34, 24);
    if (selectOutputDirBtn->normalBackgroundImage().isNull()) selectOutputDirBtn->setContentTitle(QStringLiteral("\u2026"));
    selectOutputDirBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        platform::dispatchMainAsync([self = QPointer<ExportDialogBase>(this)] {
            if (self) self->selectOutputDirAction();
        });
    });
    outputOpenBtn = style::makePictureButton(this, QStringLiteral("ZantImage/Reverse/btnOpenPath"), QStringLiteral("@2x.png"));
    outputOpenBtn->setGeometry(498, 44, 34, 24);
    if (outputOpenBtn->normalBackgroundImage().isNull()) outputOpenBtn->setContentTitle(QStringLiteral("\u2197"));
    outputOpenBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        platform::dispatchMainAsync([self = QPointer<ExportDialogBase>(this)] {
            if (self) self->outputOpenAction();
        });
    });

    progressGroup = new QWidget(this);
    progressGroup->setGeometry(0, 121, 554, 24);
    progressTitlelabel = new QLabel(progressGroup);
    progressTitlelabel->setGeometry(20, 0, 110, 24);
    style::styleCaption(progressTitlelabel, style::kCaptionColor);
    progressView = new kestrel::widgets::NSProgressView(QRectF(130, 4, 402, 16), progressGroup);
    progressView->setGeometry(130, 4, 402, 16);
    progressView->setIsShowProgressLabel(true);
    progressView->progressBackView()->setImageNamed(QStringLiteral("ZantImage/Reverse/pbBottom.bmp"));
    progressView->progressTintView()->setImageNamed(QStringLiteral("ZantImage/Reverse/pbTop.bmp"));
    progressView->setProgress(0);

    succeededLabel = new QLabel(this);
    succeededLabel->setGeometry(130, 150, 402, 20);
    style::styleCaption(succeededLabel, style::kCaptionColor);
    succeededLabel->hide();

    startBtn = style::makePictureButton(this, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"));
    startBtn->setGeometry(227, 180, 100, 28);
    startBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { startExport(); });
    openBtn = style::makePictureButton(this, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"));
    openBtn->setGeometry(165, 180, 100, 28);
    openBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        platform::dispatchMainAsync([self = QPointer<ExportDialogBase>(this)] {
            if (self) self->openfileAction();
        });
    });
    openBtn->hide();
    closeBtn = style::makePictureButton(this, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"));
    closeBtn->setGeometry(289, 180, 100, 28);
    closeBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { closeWindowAction(); });
    closeBtn->hide();
}

void ExportDialogBase::changeLanguage() {
    if (!loaded_) return;
    // An export that has not reported progress yet is running all the same: its button stops it.
    const bool running = exporting_;
    for (kestrel::widgets::ZorButton* button : {startBtn, openBtn, closeBtn}) {
        button->setContentColor(kestrel::widgets::kTextColor);
        button->setOnColor(kestrel::widgets::kHoverTextColor);
    }
    startBtn->setContentTitle(services::localized(running ? QStringLiteral("Stop") : QStringLiteral("Start")));
    openBtn->setContentTitle(services::localized(QStringLiteral("Reverse Open")));
    closeBtn->setContentTitle(services::localized(QStringLiteral("Reverse Close")));
    outputTitleLabel->setText(services::localized(QStringLiteral("gif_miker_src")));
    progressTitlelabel->setText(services::localized(QStringLiteral("Progress:")));
    windowTitlelabel->setText(services::localized(QStringLiteral("Export")));
    setWindowTitle(windowTitlelabel->text());
    layoutCaptionColumn();
    layoutActionButtons();
    style::applyTextDirection(this, {outputPathTextFiled});
}

void ExportDialogBase::layoutActionButtons() {
    // 100 points wide unless a title needs more; Start stays centred, Open and Close stay a
    // centred pair 24 points apart.
    constexpr int kMinWidth = 100, kPadding = 24, kPairGap = 24;
    const int centre = width() / 2;
    int startWidth = kMinWidth;
    for (const char* key : {"Start", "Stop"})
        startWidth = std::max(startWidth, style::textWidth(startBtn, services::localized(QLatin1String(key))) + kPadding);
    startBtn->setGeometry(centre - startWidth / 2, startBtn->y(), startWidth, startBtn->height());
    const int pairWidth = std::max({kMinWidth, style::textWidth(openBtn, openBtn->contentTitle()) + kPadding,
                                    style::textWidth(closeBtn, closeBtn->contentTitle()) + kPadding});
    openBtn->setGeometry(centre - kPairGap / 2 - pairWidth, openBtn->y(), pairWidth, openBtn->height());
    closeBtn->setGeometry(centre + kPairGap / 2, closeBtn->y(), pairWidth, closeBtn->height());
}

void ExportDialogBase::showSucceeded(const QString& text) {
    style::setElidedText(succeededLabel, text);
    succeededLabel->show();
}

void ExportDialogBase::layoutCaptionColumn() {
    int widest = 0;
    for (QLabel* caption : {outputTitleLabel, progressTitlelabel})
        widest = std::max(widest, caption->fontMetrics().horizontalAdvance(caption->text()));
    captionRight_ = std::min(20 + widest + 10, 300);
    for (QLabel* caption : {outputTitleLabel, progressTitlelabel}) caption->resize(captionRight_ - 20, caption->height());
    outputPathBox->setGeometry(captionRight_, outputPathBox->y(), 450 - captionRight_, outputPathBox->height());
    outputPathTextFiled->resize(outputPathBox->width() - 8, outputPathTextFiled->height());
    progressView->setGeometry(captionRight_, progressView->y(), kContentRight - captionRight_, progressView->height());
    succeededLabel->setGeometry(captionRight_, succeededLabel->y(), kContentRight - captionRight_, succeededLabel->height());
    if (!succeededLabel->text().isEmpty())
        style::setElidedText(succeededLabel, succeededLabel->toolTip().isEmpty() ? succeededLabel->text() : succeededLabel->toolTip());
}

void ExportDialogBase::selectOutputDirAction() {
    const QString path = openFolder();
    if (path.isEmpty()) return;
    setOutputPath(path);
    platform::UserDefaults::standard().setString(kOutputDirKey, outputPath_);
    platform::EMBookmark::defaultShareBookmark().saveOpenFileToBookmarkWithFilePath(outputPath_);
}

QString ExportDialogBase::openFolder() { return folderChooser_ ? folderChooser_(defaultOutputFolder()) : QString(); }

void ExportDialogBase::outputOpenAction() {
    services::FileManager::sharedManager().createDirectoryAtPath(outputPath_);
    if (revealer_) revealer_(outputPath_);
}

void ExportDialogBase::openfileAction() {
    if (revealer_) revealer_(outputPath_ + QLatin1Char('/') + outputFileName_);
    closeWindowAction();
}

void ExportDialogBase::closeWindowAction() {
    hide();
    done(QDialog::Rejected);
}

void ExportDialogBase::resetFinishState() {
    startBtn->setContentTitle(services::localized(QStringLiteral("Start")));
    startBtn->show();
    closeBtn->hide();
    openBtn->hide();
    succeededLabel->hide();
}

int ExportDialogBase::runModal(QWidget* owner) {
    loadWindow();
    if (owner) {
        const QRect area = owner->window()->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    return exec();
}

bool ExportDialogBase::askStop(const QString& messageKey) {
    QMessageBox box(QMessageBox::Question,
                    services::localized(QStringLiteral("Ixy-de-Rz5.title")) + QLatin1Char(' ') +
                        services::Language::getCurrentVersion() + QLatin1Char(' '),
                    services::localized(messageKey), QMessageBox::NoButton, this);
    QPushButton* ok = box.addButton(services::localized(QStringLiteral("alertOKBtn")), QMessageBox::AcceptRole);
    box.addButton(services::localized(QStringLiteral("alertCancelBtn")), QMessageBox::RejectRole);
    stopAlert_ = &box;
    box.exec();
    stopAlert_ = nullptr;
    return box.clickedButton() == ok;
}

void ExportDialogBase::dismissStopAlert() {
    if (stopAlert_) stopAlert_->reject();
}

bool ExportDialogBase::requestStop(const QString& messageKey) {
    if (!startExportCallbackBlock_) return false;
    if (stopConfirmer_ && !stopConfirmer_(messageKey)) return false;
    // The job may have ended while the question was open.
    if (!exporting_ || !startExportCallbackBlock_) return false;
    callStartBlock();
    return true;
}

void ExportDialogBase::callStartBlock() {
    const StartBlock block = startExportCallbackBlock_;  // the owner may replace it
    block(outputPath_ + QLatin1Char('/') + outputFileName_);
}

void ExportDialogBase::proposeOutputFileName(const QString& base, const QString& extension) {
    const QString path = services::uniqueOutputPath(outputPath_, base, extension);
    outputFileName_ = QFileInfo(path).fileName();
}

void ExportDialogBase::closeEvent(QCloseEvent* event) {
    if (exporting_) {
        // Closing while the job runs asks the owner to stop and keeps the dialog open.
        if (startExportCallbackBlock_) callStartBlock();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ExportDialogBase::reject() {
    if (exporting_) {
        if (startExportCallbackBlock_) callStartBlock();
        return;
    }
    QDialog::reject();
}

void ExportDialogBase::setVisible(bool visible) {
    if (visible) loadWindow();
    QDialog::setVisible(visible);
}

}  // namespace exportkit
