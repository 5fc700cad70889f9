#include "tools/shared/clip_time_fields.h"

#include "services/language.h"
#include "widgets/zor_button.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrel::tools::shared {

namespace {

constexpr int kLimits[4] = {99, 59, 59, 999};
constexpr int kWidths[4] = {24, 24, 24, 32};

int fieldNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? value : 0;
}

widgets::ZorButton* stepper(QWidget* parent, bool up) {
    auto* b = new widgets::ZorButton(parent);
    const QString stem = up ? QStringLiteral("ZantImage/Reverse/btnSpinUp_") : QStringLiteral("ZantImage/Reverse/btnSpinDown_");
    b->setNormalBackgroundImage(services::Language::pixmapWithfileName(stem + QStringLiteral("Normal@2x.png")));
    b->setOnBackgroundImage(services::Language::pixmapWithfileName(stem + QStringLiteral("On@2x.png")));
    b->setDownBackgroundImage(services::Language::pixmapWithfileName(stem + QStringLiteral("Down@2x.png")));
    b->setDisAbleBackgroundImage(services::Language::pixmapWithfileName(stem + QStringLiteral("Disable@2x.png")));
    b->setBordered(false);
    b->setFixedSize(18, 12);
    b->setFocusPolicy(Qt::NoFocus);
    b->setEnabled(false);
    return b;
}

}  // namespace

std::array<QString, 4> timeFieldTexts(int64_t us) {
    us = std::max<int64_t>(0, us);
    const int64_t s = us / 1000000;
    return {QString::asprintf("%02i", int(std::min<int64_t>(s / 3600, 99))), QString::asprintf("%02i", int(s / 60 % 60)),
            QString::asprintf("%02i", int(s % 60)), QString::asprintf("%03i", int(us / 1000 % 1000))};
}

int64_t timeOfFieldTexts(const std::array<QString, 4>& texts) {
    const int64_t ms = ((int64_t(fieldNumber(texts[0])) * 60 + fieldNumber(texts[1])) * 60 + fieldNumber(texts[2])) * 1000 +
                       fieldNumber(texts[3]);
    return ms * 1000;
}

ClipTimeFields::ClipTimeFields(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("clipTimeFields"));
    setLayoutDirection(Qt::LeftToRight);  // a time reads left to right in every language
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("timeBox"));
    box->setAttribute(Qt::WA_StyledBackground);
    box->setStyleSheet(QStringLiteral("#timeBox { background: rgb(23,26,32); border: 1px solid rgb(49,60,72); border-radius: 3px; }"));
    auto* inBox = new QHBoxLayout(box);
    inBox->setContentsMargins(4, 2, 4, 2);
    inBox->setSpacing(0);
    const char* separators[4] = {":", ":", ".", ""};
    for (size_t i = 0; i < 4; ++i) {
        auto* f = new widgets::RDTextField(box);
        f->setEnabled(true);
        f->setFrame(false);
        f->setAlignment(Qt::AlignCenter);
        f->setFixedWidth(kWidths[i]);
        f->setMaxLength(i == 3 ? 3 : 2);
        // Digits only; an emptied field reads as 0 and is committed like any other.
        f->setValidator(new QRegularExpressionValidator(QRegularExpression(i == 3 ? QStringLiteral("\\d{0,3}") : QStringLiteral("\\d{0,2}")), f));
        f->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(23,26,32); color: rgb(170,177,185); border: none; }"));
        f->setPointColor(QColor(170, 177, 185));
        f->setMouseDelegate(this);
        // Return commits; leaving a field commits only when the focus leaves the group, so
        // hours, minutes and seconds can be typed one after another (Tab) as one time.
        connect(f, &QLineEdit::returnPressed, this, [this] { commit(true); });
        connect(f, &QLineEdit::editingFinished, this, [this] {
            const QWidget* next = QApplication::focusWidget();
            if (!next || !isAncestorOf(next)) commit(false);
        });
        fields[i] = f;
        inBox->addWidget(f);
        if (*separators[i]) {
            auto* sep = new QLabel(QString::fromLatin1(separators[i]), box);
            sep->setStyleSheet(QStringLiteral("color: rgb(170,177,185); background: transparent;"));
            inBox->addWidget(sep);
        }
    }
    row->addWidget(box);
    auto* arrows = new QVBoxLayout();
    arrows->setSpacing(0);
    arrows->setContentsMargins(0, 0, 0, 0);
    upBtn = stepper(this, true);
    downBtn = stepper(this, false);
    upBtn->setMouseDownAction([this](widgets::ZorButton*) { step(1); });
    downBtn->setMouseDownAction([this](widgets::ZorButton*) { step(-1); });
    arrows->addWidget(upBtn);
    arrows->addWidget(downBtn);
    row->addLayout(arrows);
    row->addStretch(1);
    setTimeUs(0);
}

ClipTimeFields::~ClipTimeFields() {
    // A field losing the focus while the window goes reports nothing any more.
    for (widgets::RDTextField* f : fields) f->disconnect(this);
}

void ClipTimeFields::setTimeUs(int64_t us) {
    time_us_ = std::max<int64_t>(0, us);
    const std::array<QString, 4> texts = timeFieldTexts(time_us_);
    for (size_t i = 0; i < 4; ++i)
        if (fields[i]->text() != texts[i]) fields[i]->setText(texts[i]);
}

int64_t ClipTimeFields::shownUs() const {
    return timeOfFieldTexts({fields[0]->text(), fields[1]->text(), fields[2]->text(), fields[3]->text()});
}

void ClipTimeFields::setSteppersEnabled(bool enabled) {
    upBtn->setEnabled(enabled);
    downBtn->setEnabled(enabled);
}

void ClipTimeFields::actionMouseDownForTextFieldBlock(widgets::RDTextField* field) {
    editing_ = field;
    setSteppersEnabled(true);
    Q_EMIT fieldPressed();
}

void ClipTimeFields::commit(bool byReturn) {
    const int64_t typed = shownUs();
    if (typed == time_us_) {
        setTimeUs(time_us_);  // "5" reads as 05: show it so
        return;
    }
    Q_EMIT edited(typed, byReturn);
}

void ClipTimeFields::step(int delta) {
    widgets::RDTextField* field = editing_ ? editing_ : fields[2];
    const size_t i = size_t(std::find(fields.begin(), fields.end(), field) - fields.begin());
    if (i >= 4) return;
    const int value = std::clamp(fieldNumber(field->text()) + delta, 0, kLimits[i]);
    field->setText(QString::asprintf(i == 3 ? "%03i" : "%02i", value));
    const int64_t stepped_us = shownUs();
    if (stepped_us != time_us_) Q_EMIT stepped(stepped_us);
}

}  // namespace kestrel::tools::shared
