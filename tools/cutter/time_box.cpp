#include "tools/cutter/time_box.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QVBoxLayout>

#include "services/language.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::cutter {

namespace {

const char* kFieldStyle = "QLineEdit { background: transparent; border: none; color: rgba(204,204,204,200); }"
                          "QLineEdit:disabled { color: rgba(204,204,204,90); }";

QString fieldText(int value, int digits) { return QString::asprintf(digits == 3 ? "%03i" : "%02i", value); }

kestrel::widgets::ZorButton* stepper(const QString& stem, QWidget* parent) {
    auto* button = new kestrel::widgets::ZorButton(parent);
    const auto picture = [&](const char* state) {
        return services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/%1_%2@2x.png").arg(stem, state));
    };
    button->setNormalImage(picture("Normal"));
    button->setOnImage(picture("On"));
    button->setDownImage(picture("Down"));
    button->setDisAbleImage(picture("Disable"));
    button->setFixedSize(18, 11);
    return button;
}

}  // namespace

TimeBox::TimeBox(int fractionDigits, QWidget* parent) : QWidget(parent), fractionDigits_(fractionDigits) {
    setObjectName(QStringLiteral("timeBox"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#timeBox { border: 1px solid rgb(49,60,72); border-radius: 3px; }"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 4, 2);
    row->setSpacing(1);
    const int maxima[4] = {99, 99, 99, fractionDigits == 3 ? 999 : 99};
    for (int i = 0; i < 4; ++i) {
        auto* field = new kestrel::widgets::RDTextField(this);
        field->setEnabled(true);  // the kit's fields start disabled; the box's own state rules
        field->setStyleSheet(QString::fromLatin1(kFieldStyle));
        field->setValidator(new QIntValidator(0, maxima[i], field));
        field->setAlignment(Qt::AlignCenter);
        field->setText(fieldText(0, i == 3 ? fractionDigits : 2));
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(i == 3 && fractionDigits == 3 ? "0000" : "000") + 4);
        field->setPointColor(QColor(204, 204, 204));
        field->setMouseDelegate(this);
        field->installEventFilter(this);
        field->setLayoutDirection(Qt::LeftToRight);
        connect(field, &QLineEdit::textEdited, this, [this] { Q_EMIT typing(); });
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            if (field->isModified()) {
                field->setModified(false);
                Q_EMIT edited();
            }
        });
        fields_[i] = field;
        row->addWidget(field);
        if (i < 3) {
            auto* separator = new QLabel(i == 2 ? QStringLiteral(".") : QStringLiteral(":"), this);
            separator->setStyleSheet(QStringLiteral("color: rgba(204,204,204,153);"));
            row->addWidget(separator);
        }
    }
    auto* steppers = new QVBoxLayout;
    steppers->setSpacing(0);
    up_ = stepper(QStringLiteral("btnSpinUp"), this);
    down_ = stepper(QStringLiteral("btnSpinDown"), this);
    up_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { step(+1); });
    down_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { step(-1); });
    steppers->addWidget(up_);
    steppers->addWidget(down_);
    row->addSpacing(4);
    row->addLayout(steppers);
    // Times read left to right in every language.
    setLayoutDirection(Qt::LeftToRight);
}

TimeBox::~TimeBox() {
    // A field losing the focus while the box goes ends its editing: nothing may hear it then.
    for (kestrel::widgets::RDTextField* field : fields_) {
        field->setMouseDelegate(nullptr);
        disconnect(field, nullptr, this, nullptr);
    }
}

void TimeBox::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    for (int i = 0; i < 4; ++i)
        if (field == fields_[i]) editing_ = i, clicked_ = true;
    // The press is the box's: the field still takes the keyboard and selects its digits.
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
}

bool TimeBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 4; ++i)
            if (watched == fields_[i]) editing_ = i, clicked_ = true;
    }
    return QWidget::eventFilter(watched, event);
}

kestrel::widgets::RDTextField* TimeBox::editingField() const { return clicked_ ? fields_[editing_] : nullptr; }

TimeFields TimeBox::fields() const {
    return {fields_[0]->text().toInt(), fields_[1]->text().toInt(), fields_[2]->text().toInt(), fields_[3]->text().toInt()};
}

int64_t TimeBox::timeUs() const { return fieldsToUs(fields(), fractionDigits_); }

void TimeBox::setField(int index, int value) {
    fields_[index]->setText(fieldText(value, index == 3 ? fractionDigits_ : 2));
}

void TimeBox::setTimeUs(int64_t us) {
    const TimeFields f = splitTime(double(us) / 1000000.0, fractionDigits_);
    const int values[4] = {f.hours, f.minutes, f.seconds, f.fraction};
    for (int i = 0; i < 4; ++i) setField(i, values[i]);
}

void TimeBox::step(int delta) {
    const int limit = editing_ == 3 ? (fractionDigits_ == 3 ? 999 : 99) : 99;
    const int before = fields_[editing_]->text().toInt();
    const int after = std::clamp(before + delta, 0, limit);
    if (after == before) return;
    setField(editing_, after);
    Q_EMIT stepped(editing_, after - before);
}

void TimeBox::takeBackStep(int field, int delta) {
    if (field < 0 || field > 3) return;
    setField(field, fields_[field]->text().toInt() - delta);
}

}  // namespace kestrel::tools::cutter
