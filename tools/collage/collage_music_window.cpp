#include "tools/collage/collage_music_window.h"

#include "services/language.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/tool_window.h"

#include <QBoxLayout>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace kestrel::tools::collage {

using services::localized;

CollageMusicWindow::CollageMusicWindow(const QString& path, int64_t duration_us, int64_t used_start_us,
                                       int64_t used_duration_us, Result result, QWidget* parent)
    : QWidget(parent, Qt::Window), result_(std::move(result)) {
    setObjectName(QStringLiteral("collageMusicWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    widgets::applyToolWindowLook(this);
    setWindowTitle(localized(QStringLiteral("Collage_TrimMusic")));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 16, 16, 16);
    auto* name = new QLabel(QFileInfo(path).fileName(), this);
    name->setToolTip(path);
    v->addWidget(name);
    const double length_s = std::max<int64_t>(0, duration_us) / 1e6;
    auto makeBox = [&](double value) {
        auto* box = new QDoubleSpinBox(this);
        box->setDecimals(2);
        box->setRange(0, length_s);
        box->setSingleStep(0.1);
        box->setValue(value);
        return box;
    };
    const int64_t used_end_us = used_duration_us > 0 ? used_start_us + used_duration_us : duration_us;
    startBox = makeBox(used_start_us / 1e6);
    endBox = makeBox(used_end_us / 1e6);
    connect(startBox, &QDoubleSpinBox::valueChanged, this, [this](double s) {
        if (endBox->value() < s + 0.1) endBox->setValue(std::min(endBox->maximum(), s + 0.1));
    });
    connect(endBox, &QDoubleSpinBox::valueChanged, this, [this](double e) {
        if (startBox->value() > e - 0.1) startBox->setValue(std::max(0.0, e - 0.1));
    });
    auto* grid = new QGridLayout();
    grid->addWidget(new QLabel(localized(QStringLiteral("Collage_TrimStart")), this), 0, 0);
    grid->addWidget(startBox, 0, 1);
    grid->addWidget(new QLabel(localized(QStringLiteral("Collage_TrimEnd")), this), 1, 0);
    grid->addWidget(endBox, 1, 1);
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
        if (result_) result_(start_us, std::max<int64_t>(0, end_us - start_us));
        close();
    });
    widgets::applyTextDirection(this);
}

}  // namespace kestrel::tools::collage
