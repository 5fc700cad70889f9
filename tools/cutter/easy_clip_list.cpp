#include "tools/cutter/easy_clip_list.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "services/help_class.h"
#include "services/language.h"
#include "tools/cutter/cutter_look.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::cutter {

using kestrel::widgets::ZorButton;

namespace {
constexpr int kRowHeight = 112;
}

EasyClipRow::EasyClipRow(const kestrel::model::CutterTimeItem& clip, int index, int count, QWidget* parent)
    : QWidget(parent), index_(index), selected_(clip.selected) {
    setFixedHeight(kRowHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 8, 10, 8);
    auto* cover = new QLabel(this);
    cover->setFixedSize(170, 96);
    cover->setScaledContents(true);
    cover->setStyleSheet(QStringLiteral("background: black;"));
    if (!clip.thumb.isNull()) cover->setPixmap(QPixmap::fromImage(clip.thumb));
    row->addWidget(cover);
    auto* texts = new QVBoxLayout;
    rangeLabel_ = dimLabel(this, 13, QStringLiteral("%1 - %2").arg(services::HelpClass::returnTimeToStr(clip.start),
                                                                   services::HelpClass::returnTimeToStr(clip.end)));
    lengthLabel_ = dimLabel(this, 13, services::localized(QStringLiteral("cutDurationLabelstringValue")) + QLatin1Char(' ') +
                                          services::HelpClass::returnTimeToStr(double(clip.end) - double(clip.start)));
    rangeLabel_->setLayoutDirection(Qt::LeftToRight);
    texts->addStretch(1);
    texts->addWidget(rangeLabel_);
    texts->addWidget(lengthLabel_);
    texts->addStretch(1);
    row->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    struct Spec {
        ZorButton** button;
        const char* stem;
        void (EasyClipRow::*signal)(int);
    };
    for (const Spec& spec : {Spec{&moveUpBtn_, "ZantImage/Cut/btnMoveUp", &EasyClipRow::moveUp},
                             Spec{&moveDownBtn_, "ZantImage/Cut/btnMoveDown", &EasyClipRow::moveDown},
                             Spec{&deleteBtn_, "ZantImage/Cut/btnClear", &EasyClipRow::remove},
                             Spec{&pastBtn_, "ZantImage/Cut/btnCopy", &EasyClipRow::paste}}) {
        ZorButton* button = pictureButton(QString::fromLatin1(spec.stem), QStringLiteral("@2x.png"), this);
        const auto signal = spec.signal;
        // Queued: the list is rebuilt by the answer, and the pressed button is one of its rows.
        button->setMouseDownAction([this, signal](ZorButton*) {
            QTimer::singleShot(0, this, [this, signal] { Q_EMIT(this->*signal)(index_); });
        });
        button->setVisible(selected_);
        *spec.button = button;
        buttons->addWidget(button);
    }
    moveUpBtn_->setEnabled(index > 0);
    moveDownBtn_->setEnabled(index < count - 1);
    moveUpBtn_->setToolTip(services::localized(QStringLiteral("UpBtnTitle")));
    moveDownBtn_->setToolTip(services::localized(QStringLiteral("DownBtnTitle")));
    deleteBtn_->setToolTip(services::localized(QStringLiteral("RemoveBtnTitle")));
    pastBtn_->setToolTip(services::localized(QStringLiteral("PasteClipTip")));
    row->addLayout(buttons);
}

void EasyClipRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT pressed(index_);
}

void EasyClipRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), selected_ ? QColor(9, 10, 14) : QColor(18, 20, 27));
}

EasyClipList::EasyClipList(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    content_ = new QWidget;
    content_->setAutoFillBackground(true);
    QPalette palette = content_->palette();
    palette.setColor(QPalette::Window, QColor(26, 30, 37));
    content_->setPalette(palette);
    column_ = new QVBoxLayout(content_);
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(2);
    column_->addStretch(1);
    scroll_->setWidget(content_);
    layout->addWidget(scroll_);
}

void EasyClipList::reload(const QList<kestrel::model::CutterTimeItem>& clips) {
    for (EasyClipRow* row : rows_) {
        row->hide();
        row->deleteLater();
    }
    rows_.clear();
    for (int i = 0; i < clips.size(); ++i) {
        auto* row = new EasyClipRow(clips.at(i), i, int(clips.size()), content_);
        connect(row, &EasyClipRow::pressed, this, &EasyClipList::rowPressed);
        connect(row, &EasyClipRow::moveUp, this, &EasyClipList::moveUp);
        connect(row, &EasyClipRow::moveDown, this, &EasyClipList::moveDown);
        connect(row, &EasyClipRow::remove, this, &EasyClipList::remove);
        connect(row, &EasyClipRow::paste, this, &EasyClipList::paste);
        column_->insertWidget(i, row);
        rows_.append(row);
    }
}

void EasyClipList::setRowsEnabled(bool enabled) { content_->setEnabled(enabled); }

void EasyClipList::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT pressedBeside();
}

}  // namespace kestrel::tools::cutter
