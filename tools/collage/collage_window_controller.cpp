#include "tools/collage/collage_window_controller.h"

#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "session/export/collage/collage_export_job.h"
#include "session/preview/collage_preview.h"
#include "tools/collage/collage_aspects.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/stretching_slider.h"
#include "widgets/dialogs/dark_look.h"

#include <QBoxLayout>
#include <QDir>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace kestrel::tools::collage {

namespace {

using services::localized;

// The width reset goes to the middle of the slider, not to the width the window starts with.
constexpr float kResetBorderWidth = 10.0f;

const char* kStyle = R"(
QWidget#collageLeftPanel { background: rgb(28, 32, 39); }
QLabel { color: rgb(205, 214, 221); font-size: 13px; }
QLabel[caption="true"] { color: rgb(170, 177, 185); font-weight: bold; }
QPushButton { color: rgb(205, 214, 221); background: rgb(34, 39, 48); border: 1px solid rgb(58, 65, 77);
              border-radius: 6px; padding: 4px 8px; font-size: 13px; }
QPushButton:hover { background: rgb(44, 50, 61); color: rgb(96, 222, 208); }
QPushButton:pressed { background: rgb(28, 32, 39); }
QPushButton:disabled { color: rgb(90, 97, 107); border-color: rgb(44, 50, 61); }
QPushButton#collageExport { background: rgb(33, 176, 235); color: white; border: none; font-weight: bold; }
QPushButton#collageExport:disabled { background: rgb(44, 50, 61); color: rgb(90, 97, 107); }
QComboBox { color: rgb(205, 214, 221); background: rgb(34, 39, 48); border: 1px solid rgb(58, 65, 77);
            border-radius: 6px; padding: 3px 6px; font-size: 13px; }
QComboBox:disabled { color: rgb(90, 97, 107); }
QComboBox QAbstractItemView { color: rgb(205, 214, 221); background: rgb(34, 39, 48);
                              selection-background-color: rgb(63, 179, 167); }
QRadioButton { color: rgb(205, 214, 221); font-size: 13px; }
QListWidget { background: rgb(26, 30, 37); border: 1px solid rgb(58, 65, 77); border-radius: 3px; }
QListWidget::item:selected { background: rgb(44, 50, 61); border: 1px solid rgb(96, 222, 208); }
QSlider::groove:horizontal { height: 4px; background: rgb(58, 65, 77); border-radius: 2px; }
QSlider::sub-page:horizontal { background: rgb(96, 222, 208); border-radius: 2px; }
QSlider::handle:horizontal { width: 12px; margin: -5px 0; border-radius: 6px; background: rgb(205, 214, 221); }
QSlider::sub-page:horizontal:disabled { background: rgb(58, 65, 77); }
)";

QLabel* caption(QWidget* parent, QList<QLabel*>* captions, const char* key) {
    auto* label = new QLabel(parent);
    label->setMaximumWidth(130);
    label->setProperty("caption", true);
    label->setProperty("key", QString::fromLatin1(key));
    label->setWordWrap(true);
    captions->append(label);
    return label;
}

QPushButton* button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

CollageWindowController::CollageWindowController(QWidget* parent) : widgets::ToolWindow(parent) {
    resize(1370, 770);
    setMinimumSize(1100, 640);
    setLayoutDirection(Qt::LeftToRight);  // Arabic reads right to left inside the controls only
    colorChooser_ = [this](const QColor& current) { return QColorDialog::getColor(current, this); };
    alert_ = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, localized(QStringLiteral("Collage_Title")), text);
    };
    buildViews();
    changeLanguage();
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLanguage(); }, this);
}

CollageWindowController::~CollageWindowController() {
    // A running export stops; its job removes the unfinished file by itself.
    platform::NotificationCenter::defaultCenter().removeObserversOf(this);
    positionSlider->setDelegate(nullptr);
    if (job_ && job_->running()) job_->stop();
    preview_.reset();
}

void CollageWindowController::buildViews() {
    setStyleSheet(QString::fromLatin1(kStyle));
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(buildLeftPanel());
    root->addWidget(buildCentre(), 1);

    playTimer_ = new QTimer(this);
    playTimer_->setInterval(200);
    connect(playTimer_, &QTimer::timeout, this, [this] { tick(); });
    rebuildTimer_ = new QTimer(this);
    rebuildTimer_->setSingleShot(true);
    rebuildTimer_->setInterval(60);
    connect(rebuildTimer_, &QTimer::timeout, this, [this] { rebuildPreview(); });
}

QWidget* CollageWindowController::buildLeftPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("collageLeftPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setFixedWidth(370);
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(14, 14, 14, 14);
    v->setSpacing(8);

    v->addWidget(caption(panel, &captions_, "Collage_Layout"));
    layoutList = new QListWidget(panel);
    layoutList->setObjectName(QStringLiteral("collageLayouts"));
    layoutList->setViewMode(QListView::IconMode);
    layoutList->setMovement(QListView::Static);
    layoutList->setResizeMode(QListView::Adjust);
    layoutList->setSpacing(4);
    layoutList->setMinimumHeight(200);
    connect(layoutList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!updatingControls_ && row >= 0) chooseLayout(row);
    });
    v->addWidget(layoutList, 1);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1);
    int row = 0;
    grid->addWidget(caption(panel, &captions_, "Collage_Aspect"), row, 0);
    aspectBox = new QComboBox(panel);
    aspectBox->setObjectName(QStringLiteral("collageAspect"));
    for (int i = 0; i < kAspectCount; ++i) aspectBox->addItem(aspectText(i));
    connect(aspectBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!updatingControls_) chooseAspect(i);
    });
    grid->addWidget(aspectBox, row++, 1, 1, 3);

    grid->addWidget(caption(panel, &captions_, "Collage_BorderWidth"), row, 0);
    borderWidthSlider = new QSlider(Qt::Horizontal, panel);
    borderWidthSlider->setRange(0, 20);
    borderWidthSlider->setValue(4);
    connect(borderWidthSlider, &QSlider::valueChanged, this, [this](int value) {
        if (!updatingControls_) setBorderWidth(float(value));
    });
    borderWidthText = new QLabel(QStringLiteral("2"), panel);
    borderWidthText->setMinimumWidth(22);
    borderWidthText->setAlignment(Qt::AlignCenter);
    resetBorderWidthBtn = button(panel, "collageResetBorderWidth");
    connect(resetBorderWidthBtn, &QPushButton::clicked, this, [this] { setBorderWidth(kResetBorderWidth); });
    grid->addWidget(borderWidthSlider, row, 1);
    grid->addWidget(borderWidthText, row, 2);
    grid->addWidget(resetBorderWidthBtn, row++, 3);

    grid->addWidget(caption(panel, &captions_, "Collage_BorderColor"), row, 0);
    borderColorBtn = button(panel, "collageBorderColor");
    borderColorBtn->setMinimumHeight(24);
    connect(borderColorBtn, &QPushButton::clicked, this, [this] {
        const QColor chosen = colorChooser_ ? colorChooser_(borderColor_) : QColor();
        if (chosen.isValid()) setBorderColor(chosen);
    });
    resetBorderColorBtn = button(panel, "collageResetBorderColor");
    connect(resetBorderColorBtn, &QPushButton::clicked, this, [this] { setBorderColor(Qt::white); });
    grid->addWidget(borderColorBtn, row, 1, 1, 2);
    grid->addWidget(resetBorderColorBtn, row++, 3);

    grid->addWidget(caption(panel, &captions_, "Collage_Order"), row, 0);
    simultaneousBtn = new QRadioButton(panel);
    sequentialBtn = new QRadioButton(panel);
    simultaneousBtn->setChecked(true);
    connect(sequentialBtn, &QRadioButton::toggled, this, [this](bool on) {
        if (sequential_ == on) return;
        sequential_ = on;
        stopPlay();
        rebuildPreview();
    });
    grid->addWidget(simultaneousBtn, row++, 1, 1, 3);
    grid->addWidget(sequentialBtn, row++, 1, 1, 3);

    grid->addWidget(caption(panel, &captions_, "Collage_Filter"), row, 0);
    filterBox = new QComboBox(panel);
    filterBox->setObjectName(QStringLiteral("collageFilter"));
    connect(filterBox, &QComboBox::activated, this, [this](int i) { filterChosen(i); });
    grid->addWidget(filterBox, row++, 1, 1, 3);

    grid->addWidget(caption(panel, &captions_, "Collage_Music"), row, 0);
    musicBox = new QComboBox(panel);
    musicBox->setObjectName(QStringLiteral("collageMusic"));
    connect(musicBox, &QComboBox::activated, this, [this](int i) { musicChosen(i); });
    cutMusicBtn = button(panel, "collageTrimMusic");
    connect(cutMusicBtn, &QPushButton::clicked, this, [this] { openMusicTrimWindow(); });
    grid->addWidget(musicBox, row++, 1, 1, 3);
    grid->addWidget(cutMusicBtn, row++, 1, 1, 3);
    v->addLayout(grid);
    return panel;
}

QWidget* CollageWindowController::buildCentre() {
    auto* centre = new QWidget(this);
    auto* v = new QVBoxLayout(centre);
    v->setContentsMargins(14, 14, 14, 14);
    v->setSpacing(10);

    auto* tools = new QHBoxLayout();
    tools->setSpacing(8);
    rotateBtn = button(centre, "collageRotate");
    mirrorHorizontalBtn = button(centre, "collageMirrorH");
    mirrorVerticalBtn = button(centre, "collageMirrorV");
    trimBtn = button(centre, "collageTrim");
    replaceBtn = button(centre, "collageReplace");
    deleteBtn = button(centre, "collageDelete");
    for (QPushButton* b : {rotateBtn, mirrorHorizontalBtn, mirrorVerticalBtn, trimBtn, replaceBtn, deleteBtn})
        tools->addWidget(b);
    tools->addStretch(1);
    connect(rotateBtn, &QPushButton::clicked, this, [this] { rotateCell(); });
    connect(mirrorHorizontalBtn, &QPushButton::clicked, this, [this] { mirrorCell(true); });
    connect(mirrorVerticalBtn, &QPushButton::clicked, this, [this] { mirrorCell(false); });
    connect(trimBtn, &QPushButton::clicked, this, [this] { openTrimWindow(); });
    connect(replaceBtn, &QPushButton::clicked, this, [this] { openPanelForCell(selected_); });
    connect(deleteBtn, &QPushButton::clicked, this, [this] { deleteCell(); });
    v->addLayout(tools);

    playerArea_ = new QWidget(centre);
    playerArea_->setObjectName(QStringLiteral("collagePlayerArea"));
    widgets::setBackgroundColor(playerArea_, QColor(17, 17, 17));
    playerFrame_ = new QWidget(playerArea_);
    playerFrame_->setObjectName(QStringLiteral("collagePlayerFrame"));
    widgets::setBackgroundColor(playerFrame_, QColor(0, 0, 0));
    v->addWidget(playerArea_, 1);

    auto* transport = new QHBoxLayout();
    transport->setSpacing(8);
    previousCellBtn = button(centre, "collagePrevious");
    playBtn = button(centre, "collagePlay");
    stopBtn = button(centre, "collageStop");
    nextCellBtn = button(centre, "collageNext");
    previousCellBtn->setText(QStringLiteral("\u25C0"));
    nextCellBtn->setText(QStringLiteral("\u25B6\u25B6"));
    stopBtn->setText(QStringLiteral("\u25A0"));
    connect(previousCellBtn, &QPushButton::clicked, this, [this] { stepCell(-1); });
    connect(nextCellBtn, &QPushButton::clicked, this, [this] { stepCell(1); });
    connect(playBtn, &QPushButton::clicked, this, [this] { togglePlay(); });
    connect(stopBtn, &QPushButton::clicked, this, [this] { stopPlay(); });
    positionSlider = new StretchingSlider(QRectF(0, 0, 300, 20), centre);
    positionSlider->setObjectName(QStringLiteral("collagePosition"));
    positionSlider->setFixedHeight(20);
    positionSlider->setMinimumWidth(120);
    positionSlider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    positionSlider->setTickrefresh(true);
    positionSlider->setDelegate(this);
    timeLabel = new QLabel(centre);
    timeLabel->setObjectName(QStringLiteral("collageTime"));
    timeLabel->setMinimumWidth(150);
    volumeBtn = button(centre, "collageVolume");
    volumeBtn->setText(QStringLiteral("\U0001F50A"));
    connect(volumeBtn, &QPushButton::clicked, this, [this] {
        muted_ = !muted_;
        setVolume(volume_);
    });
    volumeSlider = new QSlider(Qt::Horizontal, centre);
    volumeSlider->setRange(0, 100);
    volumeSlider->setValue(100);
    volumeSlider->setFixedWidth(90);
    connect(volumeSlider, &QSlider::valueChanged, this, [this](int v) {
        muted_ = false;
        setVolume(v / 100.0f);
    });
    zoomBtn = button(centre, "collageZoom");
    zoomBtn->setText(QStringLiteral("\u26F6"));
    connect(zoomBtn, &QPushButton::clicked, this, [this] { toggleFullScreen(); });
    exportBtn = button(centre, "collageExport");
    exportBtn->setMinimumWidth(110);
    connect(exportBtn, &QPushButton::clicked, this, [this] { exportAction(); });
    for (QWidget* w : std::initializer_list<QWidget*>{previousCellBtn, playBtn, stopBtn, nextCellBtn})
        transport->addWidget(w);
    transport->addWidget(positionSlider, 1);
    transport->addWidget(timeLabel);
    transport->addWidget(volumeBtn);
    transport->addWidget(volumeSlider);
    transport->addWidget(zoomBtn);
    transport->addSpacing(12);
    transport->addWidget(exportBtn);
    v->addLayout(transport);
    return centre;
}

void CollageWindowController::windowDidLoad() {
    layouts_ = readLayouts(splitTypeFilePath());
    // A damaged layout file would give cells outside the frame or none: none are offered.
    if (const int damaged = firstDamagedLayout(layouts_)) {
        layouts_.clear();
        if (alert_)
            alert_(this, localized(QStringLiteral("Collage_LayoutsDamaged")).arg(QDir::toNativeSeparators(splitTypeFilePath())).arg(damaged));
    }
    fillLayoutList();
    makeCells();
    recreatePreview();
    fillFilterBox();
    fillMusicBox();
    setBorderColor(borderColor_);
    updateEnabling();
}

void CollageWindowController::changeLanguage() {
    setWindowTitle(localized(QStringLiteral("Collage_Title")));
    for (QLabel* label : captions_) {
        label->setText(localized(label->property("key").toString()));
        // A caption keeps its text on one line unless it is longer than the column allows.
        label->setMinimumWidth(std::min(label->maximumWidth(), label->fontMetrics().horizontalAdvance(label->text()) + 2));
    }
    const std::pair<QPushButton*, const char*> titles[] = {
        {rotateBtn, "Collage_Rotate"},       {mirrorHorizontalBtn, "Collage_MirrorH"},
        {mirrorVerticalBtn, "Collage_MirrorV"}, {trimBtn, "Collage_Trim"},
        {replaceBtn, "Collage_Replace"},     {deleteBtn, "Collage_Delete"},
        {resetBorderWidthBtn, "Collage_Reset"}, {resetBorderColorBtn, "Collage_Reset"},
        {cutMusicBtn, "Collage_TrimMusic"},  {exportBtn, "Export"}};
    for (const auto& [b, key] : titles) b->setText(localized(QString::fromLatin1(key)));
    previousCellBtn->setToolTip(localized(QStringLiteral("Collage_PreviousCell")));
    nextCellBtn->setToolTip(localized(QStringLiteral("Collage_NextCell")));
    stopBtn->setToolTip(localized(QStringLiteral("Stop")));
    volumeBtn->setToolTip(localized(QStringLiteral("Collage_Mute")));
    zoomBtn->setToolTip(localized(QStringLiteral("Collage_FullScreen")));
    simultaneousBtn->setText(localized(QStringLiteral("Collage_Simultaneous")));
    sequentialBtn->setText(localized(QStringLiteral("Collage_Sequential")));
    for (int i = 0; i < kAspectCount; ++i) aspectBox->setItemText(i, localized(aspectText(i)));
    setPlaying(preview_ && preview_->playing());
    if (filterBox->count() > 0) fillFilterBox();
    if (musicBox->count() > 0) fillMusicBox();
    widgets::applyTextDirection(this);
}

void CollageWindowController::resizeEvent(QResizeEvent* event) {
    widgets::ToolWindow::resizeEvent(event);
    placeCells();
}

void CollageWindowController::closeEvent(QCloseEvent* event) {
    if (preview_) preview_->pause();
    playTimer_->stop();
    if (subWindow_) subWindow_->close();
    widgets::ToolWindow::closeEvent(event);
}

bool CollageWindowController::exporting() const { return dialog_ && dialog_->exporting(); }

void CollageWindowController::toggleFullScreen() {
    if (isFullScreen()) {
        showNormal();
        return;
    }
    // The home screen shows the collage at a fixed size: full screen lifts the limits, and
    // leaving it puts them back (changeEvent).
    normalMinimum_ = minimumSize();
    normalMaximum_ = maximumSize();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showFullScreen();
}

void CollageWindowController::changeEvent(QEvent* event) {
    widgets::ToolWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || isFullScreen() || !normalMaximum_.isValid()) return;
    setMinimumSize(normalMinimum_);
    setMaximumSize(normalMaximum_);
    normalMinimum_ = normalMaximum_ = QSize();
}

}  // namespace kestrel::tools::collage
