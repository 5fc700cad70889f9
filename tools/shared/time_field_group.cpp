#include "tools/shared/time_field_group.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "tools/shared/kit_controls.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::shared {
namespace {

constexpr int kLimits[4] = {59, 59, 59, 999};
constexpr int64_t kUnitUs[4] = {3600000000LL, 60000000LL, 1000000LL, 1000LL};

}  // namespace

QString timeFieldText(int index, int value) { return QString::asprintf(index == 3 ? "%03d" : "%02d", value); }

TimeFieldGroup::TimeFieldGroup(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("timeFieldGroup"));
    // Times read left to right in every language.
    setLayoutDirection(Qt::LeftToRight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 1, 2, 1);
    row->setSpacing(0);
    const char* separators[3] = {":", ":", "."};
    for (int i = 0; i < 4; ++i) {
        auto* field = new widgets::RDTextField(this);
        field->setProperty("tag", i + 1);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(i == 3 ? 32 : 24);
        field->setMaxLength(i == 3 ? 3 : 2);
        field->setValidator(new QRegularExpressionValidator(
            QRegularExpression(i == 3 ? QStringLiteral("\\d{0,3}") : QStringLiteral("\\d{0,2}")), field));
        field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: rgb(170,177,185); }"
                                            "QLineEdit:disabled { color: rgba(170,177,185,110); }"));
        field->setPointColor(kToolText);
        keepLeftToRight(field);
        field->setMouseDelegate(this);
        field->setText(timeFieldText(i, 0));
        shownText_[size_t(i)] = field->text();
        connect(field, &QLineEdit::editingFinished, this, [this, i] { committed(i); });
        fields[size_t(i)] = field;
        row->addWidget(field);
        if (i < 3) {
            QLabel* separator = toolLabel(this, 13, kToolText);
            separator->setText(QString::fromLatin1(separators[i]));
            row->addWidget(separator);
        }
    }
    row->addStretch(1);
    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    spin->setContentsMargins(0, 0, 0, 0);
    upBtn = pictureButton(this, QStringLiteral("ZantImage/Reverse/btnSpinUp"), QStringLiteral("@2x.png"), QStringLiteral("spinUp"));
    downBtn = pictureButton(this, QStringLiteral("ZantImage/Reverse/btnSpinDown"), QStringLiteral("@2x.png"), QStringLiteral("spinDown"));
    upBtn->setTag(10);
    upBtn->setMouseDownAction([this](widgets::ZorButton*) { step(+1); });
    downBtn->setMouseDownAction([this](widgets::ZorButton*) { step(-1); });
    spin->addWidget(upBtn);
    spin->addWidget(downBtn);
    row->addLayout(spin);
    setFixedHeight(30);
    setMaximumWidth(190);
}

void TimeFieldGroup::paintEvent(QPaintEvent*) {
    // The well the four fields sit in, with its frame line.
    QPainter painter(this);
    painter.fillRect(rect(), kToolWell);
    painter.setPen(kToolFrameLine);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TimeFieldGroup::~TimeFieldGroup() {
    for (widgets::RDTextField* field : fields) field->setMouseDelegate(nullptr);
}

void TimeFieldGroup::setTimeUs(int64_t time_us) {
    const int64_t ms = std::max<int64_t>(0, time_us) / 1000;
    const int64_t parts[4] = {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    for (int i = 0; i < 4; ++i) {
        fields[size_t(i)]->setText(timeFieldText(i, int(parts[i])));
        shownText_[size_t(i)] = fields[size_t(i)]->text();
    }
}

int64_t TimeFieldGroup::timeUs() const {
    int64_t total = 0;
    for (int i = 0; i < 4; ++i) total += int64_t(fields[size_t(i)]->text().toInt()) * kUnitUs[i];
    return total;
}

void TimeFieldGroup::setEditable(bool editable) {
    editable_ = editable;
    for (widgets::RDTextField* field : fields) field->setEnabled(editable);
}

void TimeFieldGroup::setSteppersEnabled(bool enabled) {
    upBtn->setEnabled(enabled);
    downBtn->setEnabled(enabled);
}

void TimeFieldGroup::pressField(int index) {
    edited_ = std::clamp(index, 0, 3);
    Q_EMIT pressed();
}

void TimeFieldGroup::endEditing() {
    for (widgets::RDTextField* field : fields)
        if (field->hasFocus()) field->clearFocus();
}

void TimeFieldGroup::actionMouseDownForTextFieldBlock(widgets::RDTextField* field) {
    const auto it = std::find(fields.begin(), fields.end(), field);
    if (it != fields.end()) pressField(int(it - fields.begin()));
}

void TimeFieldGroup::committed(int index) {
    widgets::RDTextField* field = fields[size_t(index)];
    // An emptied field is no zero: it gets back what it showed before it was edited.
    if (field->text().isEmpty()) {
        const QString& earlier = shownText_[size_t(index)];
        field->setText(earlier.isEmpty() ? timeFieldText(index, 0) : earlier);
    }
    shownText_[size_t(index)] = field->text();
    Q_EMIT edited();
}

void TimeFieldGroup::step(int delta) {
    widgets::RDTextField* field = editedField();
    const int value = std::clamp(field->text().toInt() + delta, 0, kLimits[edited_]);
    field->setText(timeFieldText(edited_, value));
    shownText_[size_t(edited_)] = field->text();
    Q_EMIT edited();
}

}  // namespace kestrel::tools::shared
