#include "export/ui/start_export_window_controller.h"

#include "export/ui/dialog_style.h"
#include "services/folders.h"
#include "services/help_class.h"
#include "services/language.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QWidgetAction>

namespace exportkit {
namespace {

const QString kVideoFormats = QStringLiteral(".mp4,.mkv,.mov,.webm,.avi,.flv,.ts,.wmv,.3gp");
const QString kAudioFormats = QStringLiteral(".mp3,.mp2,.wma,.m4a,.aac,.wav,.ogg,.m4r,.ac3,.flac");

// The chosen (or hovered) row is painted in the highlight blue.
void paintRow(kestrel::widgets::MenuItemView* row, bool highlighted) {
    row->titleLabel()->setStyleSheet(
        QStringLiteral("QLabel { background-color: %1; border-radius: 5px; color: white; padding-left: 2px; }")
            .arg(highlighted ? QStringLiteral("rgb(10, 132, 255)") : QStringLiteral("rgb(22, 22, 22)")));
}

QStringList formatsOf(const QString& literal) { return literal.mid(1).split(QStringLiteral(",.")); }

}  // namespace

QStringList reverseOutputFormats(bool audioInput) {
    return audioInput ? formatsOf(kAudioFormats) : formatsOf(kVideoFormats) + formatsOf(kAudioFormats);
}

StartExportWindowController::StartExportWindowController(QWidget* parent) : ExportDialogBase(parent) {}

QStringList StartExportWindowController::qualityTitles() const {
    return {services::localized(QStringLiteral("High(Lager file size)")), services::localized(QStringLiteral("Normal")),
            services::localized(QStringLiteral("Low(Smaller file size)"))};
}

void StartExportWindowController::buildOwnViews() {
    // A missing folder is made when the dialog opens; a failure is only logged here and
    // reported when Start needs the folder.
    services::FileManager::sharedManager().createDirectoryAtPath(outputPath());
    formatRow = new QWidget(this);
    formatRow->setGeometry(0, 78, 554, 26);
    outputFormatLabel = new QLabel(formatRow);
    outputFormatLabel->setGeometry(20, 1, 110, 24);
    style::styleCaption(outputFormatLabel, style::kTitleColor);
    const auto makeDropDown = [this](int x, int width, MenuType type) {
        auto* button = new kestrel::widgets::ZorButton(formatRow);
        button->setGeometry(x, 0, width, 26);
        button->setBackGroundColor(QColor(22, 22, 22));
        button->setDisAblebackGroundColor(QColor(22, 22, 22));
        button->setCornerRadius(4);
        button->setBorderWidth(1);
        button->setBordColor(style::kBorderColor);
        button->setContentColor(style::kTitleColor);
        button->setDisableColor(QColor(204, 204, 204, 128));
        button->setMouseDownAction([this, type](kestrel::widgets::ZorButton* clicked) {
            if (!clicked->isEnabled()) return;
            QMenu* menu = type == kFormatMenu ? addOutputMenu() : addQualityMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(clicked->mapToGlobal(QPoint(0, clicked->height())));
        });
        return button;
    };
    outputFormatBtn = makeDropDown(130, 130, kFormatMenu);
    qualityLabel = new QLabel(formatRow);
    style::styleCaption(qualityLabel, style::kTitleColor);
    qualityBtn = makeDropDown(350, 182, kQualityMenu);

    if (isReverse_) {
        allowedOutputTypes_ = QStringList{services::localized(QStringLiteral("Original"))} + reverseOutputFormats(isAudioInput_);
        mainMenuIndex_ = 0;
        showMenuCaption(outputFormatBtn, allowedOutputTypes_.first());
        showMenuCaption(qualityBtn, qualityTitles().at(qualityMenuIndex_));
    } else {
        // No format row: the folder row moves up into its place, the progress row below it.
        formatRow->hide();
        outputTitleLabel->move(outputTitleLabel->x(), 78);
        outputPathBox->move(outputPathBox->x(), 78);
        selectOutputDirBtn->move(selectOutputDirBtn->x(), 78);
        outputOpenBtn->move(outputOpenBtn->x(), 78);
    }
    if (isReverse_) {
        outputTitleLabel->move(outputTitleLabel->x(), 44);
    }
    progressGroup->move(progressGroup->x(), isReverse_ ? 121 : 78 + 24 + 20);
}

void StartExportWindowController::layoutCaptionColumn() {
    ExportDialogBase::layoutCaptionColumn();
    if (!outputFormatLabel) return;
    const int right = std::max(captionRight(), 20 + style::textWidth(outputFormatLabel, outputFormatLabel->text()) + 10);
    if (right > captionRight()) {
        // The format caption is the widest: line the other fields up with it.
        for (QLabel* caption : {outputTitleLabel, progressTitlelabel}) caption->resize(right - 20, caption->height());
        outputPathBox->setGeometry(right, outputPathBox->y(), 450 - right, outputPathBox->height());
        outputPathTextFiled->resize(outputPathBox->width() - 8, outputPathTextFiled->height());
        progressView->setGeometry(right, progressView->y(), kContentRight - right, progressView->height());
        succeededLabel->setGeometry(right, succeededLabel->y(), kContentRight - right, succeededLabel->height());
    }
    outputFormatLabel->resize(right - 20, outputFormatLabel->height());

    // Each drop-down is as wide as its widest entry; the quality caption follows the format
    // button and the quality button ends the row. When a language leaves too little room, the
    // quality button takes what is left and cuts its title (the menu shows it whole).
    constexpr int kMenuMinWidth = 70, kCaptionGap = 16, kButtonGap = 8;
    const auto widest = [this](const QStringList& entries) {
        int width = kMenuMinWidth;
        for (const QString& entry : entries)
            width = std::max(width, style::textWidth(outputFormatBtn, menuCaption(entry)) + kButtonGap);
        return width;
    };
    const int formatWidth = widest(allowedOutputTypes_);
    outputFormatBtn->setGeometry(right, outputFormatBtn->y(), formatWidth, outputFormatBtn->height());
    const int qualityCaptionWidth = style::textWidth(qualityLabel, qualityLabel->text()) + 2;
    const int room = kContentRight - (right + formatWidth + kCaptionGap + qualityCaptionWidth + kButtonGap);
    const int qualityWidth = std::max(kMenuMinWidth, std::min(widest(qualityTitles()), room));
    qualityBtn->setGeometry(kContentRight - qualityWidth, qualityBtn->y(), qualityWidth, qualityBtn->height());
    qualityLabel->setGeometry(qualityBtn->x() - kButtonGap - qualityCaptionWidth, 1, qualityCaptionWidth, 24);
    if (isReverse_) {
        showMenuCaption(outputFormatBtn, allowedOutputTypes_.at(mainMenuIndex_));
        showMenuCaption(qualityBtn, qualityTitles().at(qualityMenuIndex_));
    }
}

QString StartExportWindowController::menuCaption(const QString& text) {
    return QStringLiteral("   ") + text + QStringLiteral("  \u25BE");
}

void StartExportWindowController::showMenuCaption(kestrel::widgets::ZorButton* button, const QString& text) {
    const int room = button->width() - style::textWidth(button, menuCaption(QString())) - 4;
    const QString shown = QFontMetricsF(button->font()).elidedText(text, Qt::ElideRight, room);
    button->setContentTitle(menuCaption(shown));
    button->setToolTip(shown == text ? QString() : text);
}

void StartExportWindowController::changeLanguage() {
    // Own texts first: the base lays the rows out from all captions.
    if (outputFormatLabel) {
        outputFormatLabel->setText(services::localized(QStringLiteral("outputFormatLabel.title")));
        qualityLabel->setText(services::localized(QStringLiteral("gif_miker_quality")));
        if (isReverse_) allowedOutputTypes_[0] = services::localized(QStringLiteral("Original"));
    }
    ExportDialogBase::changeLanguage();
}

QMenu* StartExportWindowController::buildMenu(MenuType type, const QStringList& rows, int chosen) {
    auto* menu = new QMenu(this);
    // At least the button's width; wider when its title had to be cut.
    int width = (type == kFormatMenu ? outputFormatBtn : qualityBtn)->width();
    QFont rowFont = font();
    rowFont.setPointSize(13);  // the rows' title size
    const QFontMetricsF rowMetrics(rowFont);
    for (const QString& text : rows) width = std::max(width, static_cast<int>(std::ceil(rowMetrics.horizontalAdvance(text))) + 20);
    for (int i = 0; i < rows.size(); ++i) {
        auto* row = new kestrel::widgets::MenuItemView(QRectF(0, 0, width, 30));
        row->setMdelegate(this);
        row->setType(type);
        row->titleLabel()->setText(rows[i]);
        paintRow(row, i == chosen);
        auto* action = new QWidgetAction(menu);
        action->setDefaultWidget(row);
        menu->addAction(action);
    }
    style::applyTextDirection(menu);
    return menu;
}

QMenu* StartExportWindowController::addOutputMenu() {
    QStringList rows;
    for (int i = 0; i < allowedOutputTypes_.size(); ++i)
        rows.append((i == 0 ? QString() : QStringLiteral("   ")) + allowedOutputTypes_[i]);
    return buildMenu(kFormatMenu, rows, mainMenuIndex_);
}

QMenu* StartExportWindowController::addQualityMenu() {
    QStringList rows;
    for (const QString& title : qualityTitles()) rows.append(QStringLiteral(" ") + title);
    return buildMenu(kQualityMenu, rows, qualityMenuIndex_);
}

void StartExportWindowController::menuClicked(kestrel::widgets::MenuItemView* view, qint64 index) {
    if (QMenu* menu = view->enclosingMenu()) menu->close();
    menuClicked(static_cast<int>(view->type()), static_cast<int>(index));
}

void StartExportWindowController::mouseEntered(kestrel::widgets::MenuItemView* view, qint64) { paintRow(view, true); }

void StartExportWindowController::mouseExited(kestrel::widgets::MenuItemView* view, qint64 index) {
    const int chosen = view->type() == kFormatMenu ? mainMenuIndex_ : qualityMenuIndex_;
    paintRow(view, index == chosen);
}

void StartExportWindowController::menuClicked(int menuType, int index) {
    if (menuType == kQualityMenu && index >= 0 && index < 3) {
        qualityMenuIndex_ = index;
        showMenuCaption(qualityBtn, qualityTitles().at(index));
    } else if (menuType == kFormatMenu && index >= 0 && index < allowedOutputTypes_.size()) {
        mainMenuIndex_ = index;
        showMenuCaption(outputFormatBtn, allowedOutputTypes_.at(index));
    } else {
        return;
    }
    resetFinishState();
}

void StartExportWindowController::setMenusEnabled(bool enabled) {
    if (!outputFormatBtn) return;
    outputFormatBtn->setEnabled(enabled);
    qualityBtn->setEnabled(enabled);
}

void StartExportWindowController::startExport() {
    if (exporting()) {
        const QString message =
            isExportGif_ ? QStringLiteral("gif_miker_CancelStopGifMessage") : QStringLiteral("CancelStopReverseMessage");
        if (requestStop(message) && isReverse_) setMenusEnabled(true);
        return;
    }
    if (!startExportCallbackBlock()) return;
    if (!services::FileManager::sharedManager().createDirectoryAtPath(outputPath())) {
        QMessageBox::warning(this, windowTitle(), services::localized(QStringLiteral("ExportFolderUnusableMessage")));
        return;
    }
    // A picture export is named as the pictures it writes, never as an animation.
    QString extension = isExportJpg_ ? QStringLiteral("jpg") : isExportGif_ ? QStringLiteral("gif") : QStringLiteral("mp4");
    QString base = services::HelpClass::createFilename();
    if (isReverse_) {
        const QFileInfo input(inputFileName());
        extension = mainMenuIndex_ == 0 ? input.suffix() : allowedOutputTypes_.at(mainMenuIndex_);
        base = input.completeBaseName() + QLatin1Char('_') + base;
        setMenusEnabled(false);
    }
    proposeOutputFileName(base, extension);
    callStartBlock();
}

void StartExportWindowController::jobEnded() {
    if (isReverse_) setMenusEnabled(true);
}

void StartExportWindowController::openfileAction() {
    if (isReverse_) {
        setMenusEnabled(true);
        resetFinishState();
    }
    ExportDialogBase::openfileAction();
}

}  // namespace exportkit
