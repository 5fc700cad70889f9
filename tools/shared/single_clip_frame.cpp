#include "tools/shared/single_clip_frame.h"

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "platform/notification_center.h"
#include "services/output_name.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractSpinBox>
#include <QRegularExpression>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrel::tools::shared {

using ::services::localized;

QString formatTime(int64_t us) {
    us = std::max<int64_t>(0, us);
    int64_t s = us / 1000000;
    return QString::asprintf("%02d:%02d:%02d.%03d", int(s / 3600), int(s / 60 % 60), int(s % 60), int(us / 1000 % 1000));
}

int64_t parseTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*(?:(?:(\\d+):)?(\\d+):)?(\\d+)(?:\\.(\\d{1,3}))?\\s*$"));
    QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return -1;
    int64_t h = m.captured(1).toLongLong(), min = m.captured(2).toLongLong(), sec = m.captured(3).toLongLong();
    QString ms = m.captured(4);
    while (!ms.isEmpty() && ms.size() < 3) ms += QLatin1Char('0');
    if (!m.captured(2).isEmpty() && (min >= 60 || sec >= 60)) return -1;
    return ((h * 3600 + min * 60 + sec) * 1000 + ms.toLongLong()) * 1000;
}

namespace {
// Keeps the cut bar (laid out by frames) the size of its host.
class CutBarHost : public QWidget {
public:
    explicit CutBarHost(QWidget* parent) : QWidget(parent) { setMinimumHeight(44); }
    widgets::RDCutProgressView* bar = nullptr;

protected:
    void resizeEvent(QResizeEvent*) override {
        if (bar) bar->setFrame(QRectF(0, 0, width(), height()));
    }
};

QLabel* caption(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setStyleSheet(QStringLiteral("color: rgb(170,177,185); font-weight: bold;"));
    label->setWordWrap(true);
    return label;
}
QPushButton* button(QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setMinimumHeight(26);
    return b;
}
}  // namespace

SingleClipFrame::SingleClipFrame(QString titleKey, QString panelKey, QWidget* parent)
    : widgets::ToolWindow(parent), titleKey_(std::move(titleKey)), panelKey_(std::move(panelKey)),
      preview_(std::make_unique<session::SingleClipPreview>()) {
    buildViews();
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
    connect(preview_.get(), &session::SingleClipPreview::playFinished, this, [this] {
        playing_ = false;
        preview_->pause();
        preview_->seek(startUs_);
        changeLanguage();
    });
}

SingleClipFrame::~SingleClipFrame() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    // The fields report a last edit when focus leaves them while the widgets go.
    startField->disconnect(this);
    endField->disconnect(this);
    cutBar->setDelegate(nullptr);
    if (job_ && job_->running()) job_->stop();
    // The engine's drawing thread presents into the view: end it before the view goes.
    preview_.reset();
    delete playerArea_->findChild<QWidget*>(QStringLiteral("enginePreview"));
}

void SingleClipFrame::buildViews() {
    resize(1100, 680);
    setStyleSheet(QStringLiteral(
        "QPushButton { background: rgb(32,35,43); color: rgb(170,177,185); border: 1px solid rgb(49,60,72);"
        " border-radius: 4px; padding: 3px 8px; }"
        "QPushButton:hover { border-color: rgb(96,222,208); }"
        "QPushButton:checked { color: rgb(96,222,208); border-color: rgb(96,222,208); }"
        "QPushButton:disabled { color: rgb(90,95,105); }"
        "QPushButton#exportBtn { background: rgb(40,150,140); color: white; }"
        "QLabel { color: rgb(170,177,185); }"
        "QSpinBox { background: rgb(23,26,32); color: rgb(170,177,185); border: 1px solid rgb(49,60,72); padding: 2px; }"));
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(12);

    auto* left = new QWidget(this);
    left->setFixedWidth(300);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    titleLabel_ = caption(left);
    titleLabel_->setStyleSheet(QStringLiteral("color: rgb(170,177,185); font-size: 16px;"));
    leftLayout->addWidget(titleLabel_);
    rangeCaption_ = caption(left);
    leftLayout->addWidget(rangeCaption_);
    rangePanel_ = new QWidget(left);
    rangePanel_->setStyleSheet(QStringLiteral("background: rgb(32,35,43); border-radius: 5px;"));
    auto* rangeLayout = new QVBoxLayout(rangePanel_);
    auto* fields = new QGridLayout();
    startLabel = new QLabel(rangePanel_);
    endLabel = new QLabel(rangePanel_);
    startField = new QLineEdit(rangePanel_);
    endField = new QLineEdit(rangePanel_);
    for (QLineEdit* f : {startField, endField}) {
        f->setStyleSheet(QStringLiteral("background: rgb(23,26,32); color: rgb(170,177,185); border: 1px solid rgb(49,60,72);"));
        f->setAlignment(Qt::AlignLeft);
        f->setLayoutDirection(Qt::LeftToRight);
    }
    fields->addWidget(startLabel, 0, 0);
    fields->addWidget(startField, 0, 1);
    fields->addWidget(endLabel, 1, 0);
    fields->addWidget(endField, 1, 1);
    rangeLayout->addLayout(fields);
    rangeLabel = new QLabel(rangePanel_);
    rangeLabel->setWordWrap(true);
    rangeLayout->addWidget(rangeLabel);
    auto* rangeButtons = new QHBoxLayout();
    setStartBtn = button(rangePanel_);
    setEndBtn = button(rangePanel_);
    resetBtn = button(rangePanel_);
    for (QPushButton* b : {setStartBtn, setEndBtn, resetBtn}) rangeButtons->addWidget(b);
    rangeLayout->addLayout(rangeButtons);
    leftLayout->addWidget(rangePanel_);
    panelCaption_ = caption(left);
    leftLayout->addWidget(panelCaption_);
    auto* panel = new QWidget(left);
    panel->setStyleSheet(QStringLiteral("background: rgb(32,35,43); border-radius: 5px;"));
    toolPanel_ = new QVBoxLayout(panel);
    leftLayout->addWidget(panel);
    leftLayout->addStretch(1);
    replaceFileBtn = button(left);
    exportBtn = button(left);
    exportBtn->setMinimumHeight(34);
    exportBtn->setObjectName(QStringLiteral("exportBtn"));
    leftLayout->addWidget(replaceFileBtn);
    leftLayout->addWidget(exportBtn);
    root->addWidget(left);

    auto* right = new QVBoxLayout();
    playerArea_ = new QWidget(this);
    playerArea_->setMinimumSize(640, 400);
    playerArea_->setStyleSheet(QStringLiteral("background: black;"));
    new QVBoxLayout(playerArea_);
    playerArea_->layout()->setContentsMargins(0, 0, 0, 0);
    right->addWidget(playerArea_, 1);
    noteLabel = new QLabel(this);
    noteLabel->setWordWrap(true);
    noteLabel->setStyleSheet(QStringLiteral("color: rgb(240,190,90);"));
    noteLabel->hide();
    right->addWidget(noteLabel);
    bottomBar_ = new QWidget(this);
    auto* bar = new QHBoxLayout(bottomBar_);
    bar->setContentsMargins(0, 0, 0, 0);
    playBtn = button(bottomBar_);
    stopBtn = button(bottomBar_);
    auto* host = new CutBarHost(bottomBar_);
    cutBar = new widgets::RDCutProgressView(QRectF(0, 0, 400, 44), host);
    cutBar->setTickMark(true);
    cutBar->setDelegate(this);
    host->bar = cutBar;
    timeLabel = new QLabel(bottomBar_);
    volumeSlider = new QSlider(Qt::Horizontal, bottomBar_);
    volumeSlider->setRange(0, 100);
    volumeSlider->setValue(100);
    volumeSlider->setFixedWidth(90);
    bar->addWidget(playBtn);
    bar->addWidget(stopBtn);
    bar->addWidget(host, 1);
    bar->addWidget(timeLabel);
    bar->addWidget(volumeSlider);
    right->addWidget(bottomBar_);
    root->addLayout(right, 1);

    timer_ = new QTimer(this);
    timer_->setInterval(200);
    connect(timer_, &QTimer::timeout, this, &SingleClipFrame::tick);
    connect(playBtn, &QPushButton::clicked, this, &SingleClipFrame::playAction);
    connect(stopBtn, &QPushButton::clicked, this, &SingleClipFrame::stopAction);
    connect(setStartBtn, &QPushButton::clicked, this, [this] { setRange(preview_->positionUs(), endUs_); });
    connect(setEndBtn, &QPushButton::clicked, this, [this] { setRange(startUs_, preview_->positionUs()); });
    connect(resetBtn, &QPushButton::clicked, this, [this] { setRange(0, preview_->info().duration_us); });
    connect(startField, &QLineEdit::editingFinished, this, [this] { typedTime(startField, true); });
    connect(endField, &QLineEdit::editingFinished, this, [this] { typedTime(endField, false); });
    connect(volumeSlider, &QSlider::valueChanged, this, [this](int v) { preview_->setVolume(v / 100.0); });
    connect(replaceFileBtn, &QPushButton::clicked, this, [this] {
        if (playing_) playAction();
        widgets::OpenPanelRequest request;
        request.message = localized(QStringLiteral("Main_Sel_File_Hit"));
        request.cancelTitle = localized(QStringLiteral("OpenPanelCancelTitle"));
        request.prompt = localized(QStringLiteral("OpenPanelOpenTitle"));
        request.allowedFileTypes = widgets::openPanelFileTypes(acceptsPictures(), false);
        QStringList chosen = widgets::runOpenPanel(request);
        if (!chosen.isEmpty()) openFile(chosen.first());
    });
    connect(exportBtn, &QPushButton::clicked, this, &SingleClipFrame::openExportDialog);
    exportBtn->setEnabled(false);
    changeLanguage();
}

bool SingleClipFrame::isPicture(const QString& path) const {
    return acceptsPictures() && widgets::hasAllowedExtension(path, widgets::pictureFileTypes());
}

void SingleClipFrame::windowDidLoad() {
    if (!videoPath_.isEmpty()) openFile(videoPath_);
    changeLanguage();
}

bool SingleClipFrame::openFile(const QString& path) {
    QWidget* old = qobject_cast<QWidget*>(preview_->view());
    bool picture = isPicture(path);
    if (!preview_->open(path, picture, std::max(640, playerArea_->width()), std::max(360, playerArea_->height()))) {
        showNote(localized(QStringLiteral("SingleClipOpenFailed")));
        exportBtn->setEnabled(preview_->isOpen());
        return false;
    }
    if (old && old != qobject_cast<QWidget*>(preview_->view())) delete old;
    showNote(QString());
    videoPath_ = path;
    QWidget* view = qobject_cast<QWidget*>(preview_->view());
    view->setObjectName(QStringLiteral("enginePreview"));
    playerArea_->layout()->addWidget(view);
    playing_ = false;
    rangePanel_->setVisible(!picture);
    rangeCaption_->setVisible(!picture);
    bottomBar_->setVisible(!picture);
    exportBtn->setEnabled(true);
    volumeSlider->setValue(100);
    setRange(0, preview_->info().duration_us);
    mediaOpened();
    changeLanguage();
    return true;
}

void SingleClipFrame::setRange(int64_t start_us, int64_t end_us) {
    int64_t total = preview_->info().duration_us;
    end_us = std::clamp<int64_t>(end_us, 0, total);
    start_us = std::clamp<int64_t>(start_us, 0, end_us);
    startUs_ = start_us;
    endUs_ = end_us;
    if (total > 0) cutBar->setLowerValue(float(double(start_us) / total), float(double(end_us) / total));
    showRange();
}

void SingleClipFrame::typedTime(QLineEdit* field, bool start) {
    int64_t t = parseTime(field->text());
    int64_t total = preview_->info().duration_us;
    bool valid = t >= 0 && (start ? t <= endUs_ : (t >= startUs_ && t <= total));
    if (valid) {
        if (start) setRange(t, endUs_);
        else setRange(startUs_, t);
        preview_->seek(t);
    }
    showRange();
}

void SingleClipFrame::actionMouseDownForCutProgressViewBlock(widgets::RDCutProgressView*, float) {
    dragging_ = true;
    preview_->pause();
}

void SingleClipFrame::actionSeekToTimeForCutProgressViewBlock(widgets::RDCutProgressView*, float progress) {
    int64_t t = int64_t(double(progress) * preview_->info().duration_us);
    preview_->seek(t);
    timeLabel->setText(formatTime(t) + QStringLiteral(" / ") + formatTime(preview_->info().duration_us));
}

void SingleClipFrame::actionMouseMovedForCutProgressViewBlock(widgets::RDCutProgressView*, float startvalue,
                                                              float stopvalue, int64_t handleType) {
    const int64_t total = preview_->info().duration_us;
    setRange(int64_t(double(startvalue) * total), int64_t(double(stopvalue) * total));
    int64_t t = handleType == widgets::RDCutProgressView::kLeftHandle ? startUs_ : endUs_;
    preview_->seek(t);
    timeLabel->setText(formatTime(t) + QStringLiteral(" / ") + formatTime(total));
}

void SingleClipFrame::actionMouseUpForCutProgressViewBlock(widgets::RDCutProgressView*, float progress) {
    if (playing_) {
        preview_->seek(int64_t(double(progress) * preview_->info().duration_us));
        preview_->play();
    }
    dragging_ = false;
}

void SingleClipFrame::showRange() {
    startField->setText(formatTime(startUs_));
    endField->setText(formatTime(endUs_));
    rangeLabel->setText(localized(QStringLiteral("Duration:")) + QLatin1Char(' ') + formatTime(endUs_ - startUs_));
}

void SingleClipFrame::playAction() {
    if (!preview_->isOpen()) return;
    if (playing_) {
        preview_->pause();
        timer_->stop();
    } else {
        preview_->play();
        timer_->start();
    }
    playing_ = !playing_;
    changeLanguage();
}

void SingleClipFrame::stopAction() {
    preview_->pause();
    timer_->stop();
    playing_ = false;
    preview_->seek(0);
    cutBar->setProgress(0);
    changeLanguage();
}

void SingleClipFrame::tick() {
    if (dragging_) return;
    int64_t t = preview_->positionUs(), total = preview_->info().duration_us;
    if (total > 0) cutBar->setProgress(float(double(t) / total));
    timeLabel->setText(formatTime(t) + QStringLiteral(" / ") + formatTime(total));
}

void SingleClipFrame::showNote(const QString& text) {
    noteLabel->setText(text);
    noteLabel->setVisible(!text.isEmpty());
}

void SingleClipFrame::openExportDialog() {
    if (!preview_->isOpen()) return;
    if (playing_) playAction();
    session_.reset();
    if (dialog_) dialog_->deleteLater();
    dialog_ = new exportkit::ExportWindowController(this);
    // A picture keeps its kind (bmp and gif become png); a video becomes MP4.
    QString ext = QFileInfo(videoPath_).suffix().toLower();
    if (!preview_->info().picture) ext = QStringLiteral("mp4");
    else if (ext == QLatin1String("bmp") || ext == QLatin1String("gif")) ext = QStringLiteral("png");
    dialog_->setInputFileName(QStringLiteral("clip.") + ext);
    dialog_->setHiddenMergeAllIntoOne(true);
    dialog_->setStartExportCallbackBlock([this](const QString& path) { startExport(path); });
    session_ = std::make_unique<exportkit::ExportSession>(dialog_);
    dialog_->runModal(this);
}

void SingleClipFrame::startExport(const QString& path) {
    if (job_ && job_->running()) {
        job_->stop();
        return;
    }
    session::SingleClipExport settings;
    settings.input = videoPath_;
    const QFileInfo proposed(path);
    if (!QDir().mkpath(proposed.path())) {
        if (session_) session_->finishFailed(-6);
        return;
    }
    settings.output = ::services::uniqueOutputPath(proposed.path(), proposed.completeBaseName(), proposed.suffix());
    settings.start_us = startUs_;
    settings.end_us = endUs_;
    settings.source_width = preview_->info().width;
    settings.source_height = preview_->info().height;
    settings.picture = preview_->info().picture;
    if (!fillExport(settings)) {
        if (session_) session_->finishFailed(noteLabel->text());
        return;
    }
    auto* job = new session::SingleClipExportJob(settings, this);
    job_ = job;
    if (session_) session_->begin();
    connect(job, &session::Job::progressChanged, this, [this](double f) {
        if (session_) session_->setProgress(f);
    });
    connect(job, &session::Job::finished, this, [this, job](const session::JobResult& result) {
        if (session_) {
            if (result.done()) session_->finishSucceeded(result.outputs.value(0));
            else if (result.stopped()) session_->finishStopped();
            else if (!result.message.isEmpty()) session_->finishFailed(result.message);
            else session_->finishFailed(result.code);
        }
        Q_EMIT exportEnded(result);
        job->deleteLater();
    });
    job->start();
}

void SingleClipFrame::closeEvent(QCloseEvent* event) {
    timer_->stop();
    if (job_ && job_->running()) job_->stop();
    preview_->pause();
    widgets::ToolWindow::closeEvent(event);
}

void SingleClipFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) changeLanguage();
    widgets::ToolWindow::changeEvent(event);
}

void SingleClipFrame::changeLanguage() {
    // The header names this tool, as the editor's does for the tile that opened it.
    const QString title = localized(titleKey_) + QLatin1Char(' ') + localized(QStringLiteral("Title")) + QLatin1Char(' ') +
                          ::services::Language::getCurrentVersion();
    titleLabel_->setText(title);
    setWindowTitle(localized(titleKey_));
    rangeCaption_->setText(localized(QStringLiteral("TimeRange")));
    startLabel->setText(localized(QStringLiteral("Start:")));
    endLabel->setText(localized(QStringLiteral("End:")));
    panelCaption_->setText(localized(panelKey_));
    setStartBtn->setText(localized(QStringLiteral("SetStartBtnTitle")));
    setEndBtn->setText(localized(QStringLiteral("SetEndBtnTitle")));
    resetBtn->setText(localized(QStringLiteral("ResetRangeBtnTitle")));
    replaceFileBtn->setText(localized(QStringLiteral("AddFileBtnTitle")));
    exportBtn->setText(localized(QStringLiteral("Export")));
    playBtn->setText(localized(playing_ ? QStringLiteral("PauseBtnTitle") : QStringLiteral("PlayBtnTitle")));
    stopBtn->setText(localized(QStringLiteral("StopBtnTitle")));
    for (QPushButton* b : {setStartBtn, setEndBtn, resetBtn}) b->setToolTip(b->text());
    // Arabic texts read right to left; times and numbers stay left to right.
    widgets::applyTextDirection(this);
    QList<QWidget*> numbers = {startField, endField, timeLabel};
    for (QAbstractSpinBox* box : findChildren<QAbstractSpinBox*>()) numbers << box << box->findChildren<QWidget*>();
    for (QWidget* number : numbers) number->setLayoutDirection(Qt::LeftToRight);
    showRange();
    tick();
}

}  // namespace kestrel::tools::shared
