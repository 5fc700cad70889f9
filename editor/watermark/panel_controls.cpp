#include "editor/watermark/panel_controls.h"

#include <QMessageBox>

#include "widgets/dialogs/open_panel.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "services/language.h"

namespace kestrel::editor::panel {

using look::kControlText;
using look::picture;

namespace {

QString stateName(QString normal, const QString& state) { return normal.replace("Normal", state); }

void styleField(kestrel::widgets::RDTextField* field, kestrel::widgets::RDTextFieldDelegate* mouseDelegate) {
    field->setAlignment(Qt::AlignCenter);
    field->setFrame(false);
    field->setPointColor(kControlText);
    field->setStyleSheet(QStringLiteral("color: rgb(170,177,185); background: transparent; font-size: 13px;"));
    field->setMouseDelegate(mouseDelegate);
    field->setEnabled(true);
}

}  // namespace

QLabel* makeLabel(QWidget* parent, const QString& text) {
    QLabel* label = look::makeLabel(parent, 13);
    label->setText(text);
    return label;
}

kestrel::widgets::ZorButton* makeTextButton(QWidget* parent, const QString& backgroundBase, kestrel::widgets::ZorButton::Block block) {
    auto* button = new kestrel::widgets::ZorButton(parent);
    button->setNormalBackgroundImage(picture(backgroundBase + "_Normal@2x.png"));
    button->setOnBackgroundImage(picture(backgroundBase + "_On@2x.png"));
    button->setDownBackgroundImage(picture(backgroundBase + "_Down@2x.png"));
    button->setDisAbleBackgroundImage(picture(backgroundBase + "_Disable@2x.png"));
    button->setContentColor(QColor(204, 204, 204, 153));
    button->setBordered(false);
    button->setMouseDownAction(std::move(block));
    button->setMinimumSize(90, 26);
    return button;
}

kestrel::widgets::ZorButton* makePictureButton(QWidget* parent, const QString& normalPicture, kestrel::widgets::ZorButton::Block block) {
    auto* button = new kestrel::widgets::ZorButton(parent);
    button->setNormalImage(picture(normalPicture));
    button->setOnImage(picture(stateName(normalPicture, "On")));
    button->setDownImage(picture(stateName(normalPicture, "Down")));
    button->setDisAbleImage(picture(stateName(normalPicture, "Disable")));
    button->setImagePosition(kestrel::widgets::ImagePosition::ImageOnly);
    button->setBordered(false);
    button->setMouseDownAction(std::move(block));
    button->setFixedSize(24, 24);
    return button;
}

kestrel::widgets::ZorButton* makeCheckBox(QWidget* parent, kestrel::widgets::ZorButton::Block block) {
    kestrel::widgets::ZorButton* box = look::makeCheckButton(parent, QStringLiteral("Join"));
    box->setMouseDownAction(std::move(block));
    box->setMinimumHeight(22);
    return box;
}

void setCheckBoxTitle(kestrel::widgets::ZorButton* box, const QString& title) { box->setContentTitle(QStringLiteral("  ") + title); }

kestrel::widgets::ZorButton* makeStepperButton(QWidget* parent, bool up, kestrel::widgets::ZorButton::Block block) {
    auto* button = new kestrel::widgets::ZorButton(parent);
    look::styleSpinButton(button, up, std::move(block));
    button->setFixedSize(19, 13);
    return button;
}

bool TimeGroup::contains(const kestrel::widgets::RDTextField* field) const {
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

void TimeGroup::setTexts(const QStringList& texts) {
    for (int i = 0; i < 4 && i < texts.size(); ++i) fields[static_cast<size_t>(i)]->setText(texts[i]);
}

void TimeGroup::setEnabled(bool enabled) {
    for (auto* field : fields) field->setEnabled(enabled);
}

QVBoxLayout* makeListArea(QWidget* parent, int height, QBoxLayout* column) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFixedHeight(height);
    scroll->setStyleSheet(QStringLiteral("QScrollArea { background: rgb(26,30,37); border: 1px solid rgb(49,60,72); }"));
    auto* host = new QWidget(scroll);
    // The rows sit on the list's dark ground, not on the style's light base colour.
    QPalette ground = host->palette();
    ground.setColor(QPalette::Window, QColor(26, 30, 37));
    host->setPalette(ground);
    host->setAutoFillBackground(true);
    auto* rows = new QVBoxLayout(host);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    rows->addStretch();
    scroll->setWidget(host);
    column->addWidget(scroll);
    return rows;
}

QStringList runOpenPanel(QWidget*, const QString& message, const QStringList& extensions) {
    // The shell's panel: named filters in the user's language, the standard start folder.
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    if (!message.isEmpty()) request.message = message;
    request.allowedFileTypes = extensions;
    request.allowsMultipleSelection = true;
    return kestrel::widgets::runOpenPanel(request);
}

void showAlert(QWidget* panel, const AlertPresenter& presenter, const QString& message) {
    if (presenter) {
        presenter(message);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, services::localized(QStringLiteral("Title")), message,
                                QMessageBox::NoButton, panel ? panel->window() : nullptr);
    box->addButton(services::localized(QStringLiteral("OKBtnTitle")), QMessageBox::AcceptRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

TimeGroup makeTimeGroup(QWidget* parent, kestrel::widgets::RDTextFieldDelegate* mouseDelegate) {
    TimeGroup group;
    group.box = new QWidget(parent);
    group.box->setObjectName("timeGroup");
    group.box->setStyleSheet(QStringLiteral("#timeGroup { border: 1px solid rgb(49,60,72); }"));
    auto* row = new QHBoxLayout(group.box);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(0);
    for (size_t i = 0; i < 4; ++i) {
        group.fields[i] = makeValueField(group.box, mouseDelegate);
        group.fields[i]->setFixedWidth(i == 3 ? 30 : 24);
        group.fields[i]->setText(i == 3 ? QStringLiteral("000") : QStringLiteral("00"));
        row->addWidget(group.fields[i]);
        if (i < 3) row->addWidget(makeLabel(group.box, i < 2 ? ":" : "."));
    }
    return group;
}

kestrel::widgets::RDTextField* makeValueField(QWidget* parent, kestrel::widgets::RDTextFieldDelegate* mouseDelegate) {
    auto* field = new kestrel::widgets::RDTextField(parent);
    styleField(field, mouseDelegate);
    field->setText("0");
    return field;
}

}  // namespace kestrel::editor::panel
