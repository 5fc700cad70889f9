#include "tools/shared/single_clip_frame.h"

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "platform/notification_center.h"
#include "services/output_name.h"
#include "tools/shared/clip_time_fields.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QAbstractSpinBox>
#include <QRegularExpression>
#include <QSignalBlocker>
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
// A picture button of the kit: the four state pictures of stem ("<stem>_Normal@2x.png" …).
widgets::ZorButton* pictureButton(QWidget* parent, const QString& stem, QSize size) {
    auto* b = new widgets::ZorButton(parent);
    b->setFixedSize(size);
    b->setImagePosition(widgets::ImagePosition::ImageOnly);
    b->setBordered(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setNormalImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_Normal@2x.png")));
    b->setOnImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_On@2x.png")));
    b->setDownImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_Down@2x.png")));
    b->setDisAbleImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_Disable@2x.png")));
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
        timer_->stop();
        preview_->pause();
        preview_->seek(range_.start_us);
        changeLanguage();
    });
}

SingleClipFrame::~SingleClipFrame() {
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    // The fields report a last edit when focus leaves them while the widgets go.
    startTime->disconnect(this);
    endTime->disconnect(this);
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
    fields->setHorizontalSpacing(6);
    startLabel = new QLabel(rangePanel_);
    endLabel = new QLabel(rangePanel_);
    startTime = new ClipTimeFields(rangePanel_);
    endTime = new ClipTimeFields(rangePanel_);
    resetStartBtn = pictureButton(rangePanel_, QStringLiteral("ZantImage/Cut/btnReset"), QSize(22, 22));
    resetEndBtn = pictureButton(rangePanel_, QStringLiteral("ZantImage/Cut/btnReset"), QSize(22, 22));
    fields->addWidget(startLabel, 0, 0);
    fields->addWidget(startTime, 0, 1);
    fields->addWidget(resetStartBtn, 0, 2);
    fields->addWidget(endLabel, 1, 0);
    fields->addWidget(endTime, 1, 1);
    fields->addWidget(resetEndBtn, 1, 2);
    fields->setColumnStretch(1, 1);
    rangeLayout->addLayout(fields);
    rangeLabel = new QLabel(rangePanel_);
    rangeLabel->setWordWrap(true);
    rangeLayout->addWidget(rangeLabel);
    auto* rangeButtons = new QHBoxLayout();
    setStartBtn = button(rangePanel_);
    setEndBtn = button(rangePanel_);
    for (QPushButton* b : {setStartBtn, setEndBtn}) rangeButtons->addWidget(b);
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
    volumeBtn = pictureButton(bottomBar_, QStringLiteral("ZantImage/Reverse/btnOpenVolume"), QSize(28, 28));
    volumeSlider = new QSlider(Qt::Horizontal, bottomBar_);
    volumeSlider->setRange(0, 100);
    volumeSlider->setValue(100);
    volumeSlider->setFixedWidth(90);
    bar->addWidget(playBtn);
    bar->addWidget(stopBtn);
    bar->addWidget(host, 1);
    bar->addWidget(timeLabel);
    bar->addWidget(volumeBtn);
    bar->addWidget(volumeSlider);
    right->addWidget(bottomBar_);
    root->addLayout(right, 1);

    timer_ = new QTimer(this);
    timer_->setInterval(200);
    connect(timer_, &QTimer::timeout, this, &SingleClipFrame::tick);
    connect(playBtn, &QPushButton::clicked, this, &SingleClipFrame::playAction);
    connect(stopBtn, &QPushButton::clicked, this, &SingleClipFrame::stopAction);
    connect(setStartBtn, &QPushButton::clicked, this, [this] { setStartAtPlayHead(); });
    connect(setEndBtn, &QPushButton::clicked, this, [this] { setEndAtPlayHead(); });
    resetStartBtn->setMouseDownAction([this](widgets::ZorButton*) {
        applyRange(withStart(range_, 0, totalUs()));
        preview_->seek(0);
        tick();
    });
    resetEndBtn->setMouseDownAction([this](widgets::ZorButton*) {
        applyRange(withEnd(range_, totalUs(), totalUs()));
        preview_->seek(0);
        tick();
    });
    for (ClipTimeFields* group : {startTime, endTime}) {
        const bool start = group == startTime;
        connect(group, &ClipTimeFields::edited, this, [this, start](qint64 t, bool byReturn) { timeChanged(start, t, byReturn); });
        connect(group, &ClipTimeFields::stepped, this, [this, start](qint64 t) { timeChanged(start, t, true); });
        // The steppers belong to the side whose field was pressed last.
        connect(group, &ClipTimeFields::fieldPressed, this, [this, start] { (start ? endTime : startTime)->setSteppersEnabled(false); });
    }
    volumeBtn->setMouseDownAction([this](widgets::ZorButton*) { toggleMute(); });
    connect(volumeSlider, &QSlider::valueChanged, this, [this](int v) {
        volume_ = v / 100.0;
        muted_ = v == 0;
        preview_->setVolume(volume_);
        showVolume();
    });
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
    volume_ = 1.0;
    muted_ = false;
    preview_->setVolume(volume_);
    showVolume();
    setRange(0, preview_->info().duration_us);
    mediaOpened();
    changeLanguage();
    return true;
}

int64_t SingleClipFrame::totalUs() const { return preview_->info().duration_us; }

void SingleClipFrame::setRange(int64_t start_us, int64_t end_us) {
    const int64_t total = totalUs();
    applyRange(withStart(withEnd(ClipRange{0, total}, end_us, total), start_us, total));
}

void SingleClipFrame::applyRange(ClipRange range) {
    range_ = range;
    const int64_t total = totalUs();
    if (total > 0) cutBar->setLowerValue(float(double(range_.start_us) / total), float(double(range_.end_us) / total));
    showRange();
}

void SingleClipFrame::timeChanged(bool start, int64_t time_us, bool show) {
    const int64_t total = totalUs();
    const ClipRange wanted = start ? ClipRange{time_us, range_.end_us} : ClipRange{range_.start_us, time_us};
    const ClipRange kept = start ? withStart(range_, time_us, total) : withEnd(range_, time_us, total);
    if (total <= 0 || kept != wanted) {
        showRange();  // not a range: the fields show the one in use
        return;
    }
    applyRange(kept);
    if (!show) return;
    preview_->seek(time_us);
    cutBar->setProgress(float(double(time_us) / total));
    timeLabel->setText(formatTime(time_us) + QStringLiteral(" / ") + formatTime(total));
}

void SingleClipFrame::setStartAtPlayHead() {
    const int64_t position = preview_->positionUs();
    applyRange(startAtPlayHead(range_, position, totalUs()));
    if (totalUs() > 0) cutBar->setProgress(float(double(position) / totalUs()));
}

void SingleClipFrame::setEndAtPlayHead() {
    const int64_t position = preview_->positionUs();
    applyRange(endAtPlayHead(range_, position, totalUs()));
    if (totalUs() > 0) cutBar->setProgress(float(double(position) / totalUs()));
}

void SingleClipFrame::toggleMute() {
    muted_ = !muted_;
    if (!muted_ && volume_ <= 0) volume_ = 1.0;
    preview_->setVolume(muted_ ? 0.0 : volume_);
    showVolume();
}

void SingleClipFrame::showVolume() {
    {
        QSignalBlocker quiet(volumeSlider);
        volumeSlider->setValue(muted_ ? 0 : int(std::lround(volume_ * 100)));
    }
    const QString stem = muted_ ? QStringLiteral("ZantImage/Reverse/btnCloseVolume") : QStringLiteral("ZantImage/Reverse/btnOpenVolume");
    volumeBtn->setNormalImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_Normal@2x.png")));
    volumeBtn->setOnImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_On@2x.png")));
    volumeBtn->setDownImage(::services::Language::pixmapWithfileName(stem + QStringLiteral("_Down@2x.png")));
    volumeBtn->update();
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
    const int64_t total = totalUs();
    const bool left = handleType == widgets::RDCutProgressView::kLeftHandle;
    // Only the dragged end moves; it stops where the range would become too short.
    const ClipRange moved = left ? withStart(range_, int64_t(double(startvalue) * total), total)
                                 : withEnd(range_, int64_t(double(stopvalue) * total), total);
    const bool held = left ? moved.start_us != int64_t(double(startvalue) * total) : moved.end_us != int64_t(double(stopvalue) * total);
    range_ = moved;
    if (held) cutBar->setLowerValue(float(double(range_.start_us) / total), float(double(range_.end_us) / total));
    showRange();
    const int64_t t = left ? range_.start_us : range_.end_us;
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
    startTime->setTimeUs(range_.start_us);
    endTime->setTimeUs(range_.end_us);
    rangeLabel->setText(localized(QStringLiteral("Duration:")) + QLatin1Char(' ') + formatTime(range_.end_us - range_.start_us));
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
    // The engine renders with fixed settings: nothing to copy, no encoder to choose.
    dialog_->setHiddenEncodingOptions(true);
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
    settings.start_us = range_.start_us;
    settings.end_us = range_.end_us;
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
    for (widgets::ZorButton* b : {resetStartBtn, resetEndBtn}) b->setToolTip(localized(QStringLiteral("ResetRangeBtnTitle")));
    volumeBtn->setToolTip(localized(QStringLiteral("Collage_Mute")));
    replaceFileBtn->setText(localized(QStringLiteral("AddFileBtnTitle")));
    exportBtn->setText(localized(QStringLiteral("Export")));
    playBtn->setText(localized(playing_ ? QStringLiteral("PauseBtnTitle") : QStringLiteral("PlayBtnTitle")));
    stopBtn->setText(localized(QStringLiteral("StopBtnTitle")));
    for (QPushButton* b : {setStartBtn, setEndBtn}) b->setToolTip(b->text());
    // Arabic texts read right to left; times and numbers stay left to right.
    widgets::applyTextDirection(this);
    QList<QWidget*> numbers = {startTime, endTime, timeLabel};
    for (ClipTimeFields* group : {startTime, endTime}) numbers << group->findChildren<QWidget*>();
    for (QAbstractSpinBox* box : findChildren<QAbstractSpinBox*>()) numbers << box << box->findChildren<QWidget*>();
    for (QWidget* number : numbers) number->setLayoutDirection(Qt::LeftToRight);
    showRange();
    tick();
}

}  // namespace kestrel::tools::shared
