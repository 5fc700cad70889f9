#include "editor/watermark/panel_controls.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "services/language.h"

namespace editor::panel {

namespace {

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

QString stateName(QString normal, const QString& state) { return normal.replace("Normal", state); }

void styleField(widgets::RDTextField* field, widgets::RDTextFieldDelegate* mouseDelegate) {
    field->setAlignment(Qt::AlignCenter);
    field->setFrame(false);
    field->setPointColor(kTextColour);
    field->setStyleSheet(QStringLiteral("color: rgb(170,177,185); background: transparent; font-size: 13px;"));
    field->setMouseDelegate(mouseDelegate);
    field->setEnabled(true);
}

}  // namespace

QLabel* makeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: rgb(170,177,185); font-size: 13px;"));
    return label;
}

widgets::ZorButton* makeTextButton(QWidget* parent, const QString& backgroundBase, widgets::ZorButton::Block block) {
    auto* button = new widgets::ZorButton(parent);
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

widgets::ZorButton* makePictureButton(QWidget* parent, const QString& normalPicture, widgets::ZorButton::Block block) {
    auto* button = new widgets::ZorButton(parent);
    button->setNormalImage(picture(normalPicture));
    button->setOnImage(picture(stateName(normalPicture, "On")));
    button->setDownImage(picture(stateName(normalPicture, "Down")));
    button->setDisAbleImage(picture(stateName(normalPicture, "Disable")));
    button->setImagePosition(widgets::ImagePosition::ImageOnly);
    button->setBordered(false);
    button->setMouseDownAction(std::move(block));
    button->setFixedSize(24, 24);
    return button;
}

widgets::ZorButton* makeCheckBox(QWidget* parent, widgets::ZorButton::Block block) {
    auto* box = new widgets::ZorButton(parent);
    box->setNormalImage(picture("ZantImage/Join/chk_NoChecked_Normal@2x.png"));
    box->setOnImage(picture("ZantImage/Join/chk_NoChecked_On@2x.png"));
    box->setDownImage(picture("ZantImage/Join/chk_NoChecked_Down@2x.png"));
    box->setDisAbleImage(picture("ZantImage/Join/chk_NoChecked_Disable@2x.png"));
    box->setSelectedImage(picture("ZantImage/Join/chk_Checked_Normal@2x.png"));
    box->setImagePosition(widgets::ImagePosition::ImageLeading);
    box->setContentColor(kTextColour);
    box->setBordered(false);
    box->setMouseDownAction(std::move(block));
    box->setMinimumHeight(22);
    return box;
}

void setCheckBoxTitle(widgets::ZorButton* box, const QString& title) { box->setContentTitle(QStringLiteral("  ") + title); }

widgets::ZorButton* makeStepperButton(QWidget* parent, bool up, widgets::ZorButton::Block block) {
    const QString base = up ? "ZantImage/Reverse/btnSpinUp" : "ZantImage/Reverse/btnSpinDown";
    auto* button = new widgets::ZorButton(parent);
    button->setNormalBackgroundImage(picture(base + "_Normal@2x.png"));
    button->setOnBackgroundImage(picture(base + "_On@2x.png"));
    button->setDownBackgroundImage(picture(base + "_Down@2x.png"));
    button->setDisAbleBackgroundImage(picture(base + "_Disable@2x.png"));
    button->setBordered(false);
    button->setFixedSize(19, 13);
    button->setEnabled(false);
    button->setMouseDownAction(std::move(block));
    return button;
}

void setPlayPictures(widgets::ZorButton* button, bool pause) {
    const QString base = pause ? "ZantImage/GifMaker/btnPause_" : "ZantImage/GifMaker/btnPlay_";
    button->setNormalImage(picture(base + "Normal@2x.png"));
    button->setOnImage(picture(base + "On@2x.png"));
    button->setDownImage(picture(base + "Down@2x.png"));
    button->setDisAbleImage(picture(base + "Disable@2x.png"));
    button->update();
}

bool TimeGroup::contains(const widgets::RDTextField* field) const {
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
    auto* rows = new QVBoxLayout(host);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    rows->addStretch();
    scroll->setWidget(host);
    column->addWidget(scroll);
    return rows;
}

QStringList runOpenPanel(QWidget* window, const QString& message, const QStringList& extensions) {
    QStringList patterns;
    for (const QString& extension : extensions) patterns << "*." + extension;
    QFileDialog dialog(window, message, QString(), QString("(%1);;(*)").arg(patterns.join(' ')));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setLabelText(QFileDialog::Accept, services::localized("OpenPanelOpenTitle"));
    dialog.setLabelText(QFileDialog::Reject, services::localized("OpenPanelCancelTitle"));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

TimeGroup makeTimeGroup(QWidget* parent, widgets::RDTextFieldDelegate* mouseDelegate) {
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
        row->addWidget(group.fields[i]);
        if (i < 3) row->addWidget(makeLabel(group.box, i < 2 ? ":" : "."));
    }
    return group;
}

widgets::RDTextField* makeValueField(QWidget* parent, widgets::RDTextFieldDelegate* mouseDelegate) {
    auto* field = new widgets::RDTextField(parent);
    styleField(field, mouseDelegate);
    field->setText("0");
    return field;
}

}  // namespace editor::panel
