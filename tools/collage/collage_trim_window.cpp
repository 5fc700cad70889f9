#include "tools/collage/collage_trim_window.h"

#include "editor/rd_ui_cliper.h"
#include "services/language.h"
#include "session/media/media_thumbnails.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/tool_window.h"

#include <QBoxLayout>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTransform>

namespace kestrel::tools::collage {

namespace {

using services::localized;
constexpr int kPictureSide = 420;

// The picture as the cell shows it: turned clockwise, then mirrored.
QImage seenPicture(const session::CollageCell& cell) {
    QImage image = cell.isVideo ? session::firstVideoFrame(cell.path, 900) : QImage(cell.path);
    if (image.isNull()) return image;
    if (cell.angle) image = image.transformed(QTransform().rotate(cell.angle));
    return image.mirrored(cell.mirrorHorizontal, cell.mirrorVertical);
}

}  // namespace

CollageTrimWindow::CollageTrimWindow(const session::CollageCell& cell, const session::CellEdges& crop, Result result,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), result_(std::move(result)) {
    setObjectName(QStringLiteral("collageTrimWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    widgets::applyToolWindowLook(this);
    setWindowTitle(localized(QStringLiteral("Collage_Trim")));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 16, 16, 16);
    v->setSpacing(10);
    picture_ = new QLabel(this);
    picture_->setAlignment(Qt::AlignCenter);
    v->addWidget(picture_, 0, Qt::AlignHCenter);
    buildPicture(cell, crop);

    auto* grid = new QGridLayout();
    const double length_s = cell.mediaDuration_us / 1e6;
    auto makeBox = [&](double value) {
        auto* box = new QDoubleSpinBox(this);
        box->setDecimals(2);
        box->setRange(0, length_s);
        box->setSingleStep(0.1);
        box->setValue(value);
        box->setEnabled(cell.isVideo);
        return box;
    };
    startBox = makeBox(cell.trimStart_us / 1e6);
    endBox = makeBox((cell.trimStart_us + cell.trimDuration_us) / 1e6);
    connect(startBox, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (endBox->value() < v + 0.1) endBox->setValue(std::min(endBox->maximum(), v + 0.1));
    });
    connect(endBox, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (startBox->value() > v - 0.1) startBox->setValue(std::max(0.0, v - 0.1));
    });
    volumeSlider = new QSlider(Qt::Horizontal, this);
    volumeSlider->setRange(0, 200);
    volumeSlider->setValue(int(std::lround(cell.volume * 100)));
    volumeSlider->setEnabled(cell.isVideo);
    auto* volumeText = new QLabel(QStringLiteral("%1%").arg(volumeSlider->value()), this);
    connect(volumeSlider, &QSlider::valueChanged, volumeText, [volumeText](int v) { volumeText->setText(QStringLiteral("%1%").arg(v)); });
    int row = 0;
    grid->addWidget(new QLabel(localized(QStringLiteral("Collage_TrimStart")), this), row, 0);
    grid->addWidget(startBox, row++, 1, 1, 2);
    grid->addWidget(new QLabel(localized(QStringLiteral("Collage_TrimEnd")), this), row, 0);
    grid->addWidget(endBox, row++, 1, 1, 2);
    grid->addWidget(new QLabel(localized(QStringLiteral("Collage_Volume")), this), row, 0);
    grid->addWidget(volumeSlider, row, 1);
    grid->addWidget(volumeText, row++, 2);
    v->addLayout(grid);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cancelBtn = new QPushButton(localized(QStringLiteral("Cancel")), this);
    okBtn = new QPushButton(localized(QStringLiteral("OK")), this);
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);
    v->addLayout(buttons);
    connect(cancelBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(okBtn, &QPushButton::clicked, this, [this] {
        const int64_t start_us = int64_t(std::llround(startBox->value() * 1e6));
        const int64_t end_us = int64_t(std::llround(endBox->value() * 1e6));
        if (result_) result_(start_us, end_us - start_us, currentCrop(), volumeSlider->value() / 100.0f);
        close();
    });
    widgets::applyTextDirection(this);
}

void CollageTrimWindow::buildPicture(const session::CollageCell& cell, const session::CellEdges& crop) {
    const QImage image = seenPicture(cell);
    QSize size = image.isNull() ? QSize(kPictureSide, kPictureSide * 9 / 16)
                                : image.size().scaled(kPictureSide, kPictureSide, Qt::KeepAspectRatio);
    picture_->setFixedSize(size);
    if (!image.isNull()) picture_->setPixmap(QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    cliper_ = new editor::RDUICliper(QRectF(0, 0, size.width(), size.height()), picture_);
    cliper_->setVideoSize(QSizeF(size));
    // The overlay counts from its bottom-left corner.
    const double w = size.width(), h = size.height();
    cliper_->setClipRect(QRectF(crop.left * w, (1 - crop.bottom) * h, (crop.right - crop.left) * w,
                                (crop.bottom - crop.top) * h));
}

session::CellEdges CollageTrimWindow::currentCrop() const {
    const QRectF p = cliper_->getPercentClipRect();
    auto c = [](double v) { return std::clamp(v, 0.0, 1.0); };
    return session::CellEdges{c(p.x()), c(1 - p.y() - p.height()), c(p.x() + p.width()), c(1 - p.y())};
}

}  // namespace kestrel::tools::collage
