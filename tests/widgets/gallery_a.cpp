// Look-review shots of the buttons, views and small controls of the first half of the kit.
#include <QFont>

#include <QLabel>

#include "tests/widgets/gallery.h"
#include "widgets/image_view.h"
#include "widgets/material_collection_item.h"
#include "widgets/menu_item_view.h"
#include "widgets/merge_button.h"
#include "widgets/rd_button.h"
#include "widgets/rd_custom_button.h"
#include "widgets/rd_radio_button.h"
#include "widgets/rd_switch_button.h"
#include "widgets/text_label.h"
#include "widgets/xj_button.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"
#include "widgets/zor_view.h"

using namespace kestrel::widgets;

namespace {

const QColor kText(205, 214, 221);
const QColor kHover(96, 222, 208);
const QColor kTitleBar(33, 176, 235);

ZorButton* titledZorButton(const QString& title) {
    auto* button = new ZorButton;
    button->resize(120, 32);
    button->setContentTitle(title);
    button->setContentColor(kText);
    button->setOnColor(kHover);
    button->setDownColor(kTitleBar);
    button->setSelectColor(kTitleBar);
    button->setCornerRadius(4);
    button->setBordColor(kText);
    button->setBorderWidth(1);
    button->setBackGroundColor(QColor(33, 38, 46));
    button->setDisAblebackGroundColor(QColor(28, 31, 38));
    return button;
}

QWidget* zorButtonInState(int state) {
    ZorButton* button = titledZorButton("Export");
    button->setNormalImage(gallery::picture("ZantImage/SubFun/btnDeleteWaterMark_Normal", {16, 16}));
    button->setOnImage(gallery::picture("ZantImage/SubFun/btnDeleteWaterMark_On", {16, 16}));
    button->setDownImage(gallery::picture("ZantImage/SubFun/btnDeleteWaterMark_Down", {16, 16}));
    switch (state) {
    case 1: button->setIsUp(true); break;
    case 2: button->setIsUp(true); button->setIsDown(true); break;
    case 3: button->setSelected(true); break;
    case 4: button->setEnabled(false); break;
    default: break;
    }
    return gallery::host(button, {140, 52});
}

QWidget* rdButton(int state) {
    auto* button = new RDButton(QRectF(0, 0, 86, 26));
    button->setTitle("Cancel");
    if (state == 1) button->setBackImage(button->heightBackImage());
    if (state == 2) button->actioniconBtn();
    return gallery::host(button, {106, 46});
}

QWidget* customButton(bool selected) {
    auto* button = new RDCustomButton(QRectF(0, 0, 90, 30));
    button->setTitle("Video");
    button->setNormalBackImage(gallery::picture("ZantImage/Main/btnHomepage_Normal"));
    button->setSelectedBackImage(gallery::picture("ZantImage/Main/btnHomepage_On"));
    button->setSelectedTitleColor(kHover);
    button->setNormalTitleColor(kText);
    button->setCellTextPosition(4);
    button->setSelected(selected);
    return gallery::host(button, {110, 50});
}

QWidget* radioButton(bool selected, bool enabled) {
    auto* radio = new RDRadioButton(QRectF(0, 0, 120, 30));
    radio->setTitle("Picture");
    radio->normalColor = kText;
    radio->selectedColor = kHover;
    radio->disabledColor = QColor(90, 96, 104);
    radio->setSelected(selected);
    radio->setEnabled(enabled);
    return gallery::host(radio, {140, 50});
}

QWidget* xjButton(quint64 state) {
    auto* button = new XJButton;
    button->resize(100, 30);
    button->setText("Keep sound");
    button->setHasBorder(true);
    button->cornerRadius[0] = button->cornerRadius[1] = button->cornerRadius[2] = button->cornerRadius[3] = 6;
    button->setButtonState(state);
    return gallery::host(button, {120, 50});
}

QWidget* graphicButton(quint64 state, bool enabled) {
    auto* button = new XJGraphicButton;
    button->resize(140, 30);
    button->titleColor[0] = kText;
    button->titleColor[1] = kHover;
    button->titleColor[3] = kTitleBar;
    button->backgroundColor[0] = QColor(34, 39, 48);
    button->backgroundColor[1] = QColor(44, 50, 61);
    button->backgroundColor[2] = QColor(28, 32, 39);
    button->cornerRadius[0] = 6;
    button->borderWidth[0] = 1.5;
    button->borderColor[0] = QColor(58, 65, 77);
    button->borderColor[3] = kTitleBar;
    button->setTitleString("Export");
    button->setNormalImage(gallery::picture("ZantImage/SubFun/btnDeleteWaterMark_Normal", {16, 16}));
    button->setButtonState(state);
    button->setViewEnable(enabled);
    return gallery::host(button, {160, 50});
}

gallery::Registrar shots({
    {"ZorButton_Normal", [] { return zorButtonInState(0); }},
    {"ZorButton_On", [] { return zorButtonInState(1); }},
    {"ZorButton_Down", [] { return zorButtonInState(2); }},
    {"ZorButton_Selected", [] { return zorButtonInState(3); }},
    {"ZorButton_Disable", [] { return zorButtonInState(4); }},
    {"ZorButton_Underlined", [] {
         ZorButton* button = titledZorButton("Open folder");
         button->setCornerRadius(0);
         button->setBackGroundColor(QColor());
         button->setUnderLine(true);
         return gallery::host(button, {140, 52});
     }},
    {"RDButton_Normal", [] { return rdButton(0); }},
    {"RDButton_Down", [] { return rdButton(1); }},
    {"RDButton_Selected", [] { return rdButton(2); }},
    {"RDCustomButton_Normal", [] { return customButton(false); }},
    {"RDCustomButton_Selected", [] { return customButton(true); }},
    {"RDRadioButton_Normal", [] { return radioButton(false, true); }},
    {"RDRadioButton_Selected", [] { return radioButton(true, true); }},
    {"RDRadioButton_Disable", [] { return radioButton(true, false); }},
    {"RDSwitchButton_Selected", [] {
         auto* toggle = new RDSwitchButton(QRectF(0, 0, 120, 24));
         toggle->title = "Merge clips";
         toggle->selectedColor = kHover;
         toggle->selectedImage = gallery::picture("Resources/MergeKnob", {24, 24});
         toggle->setSelected(true);
         return gallery::host(toggle, {140, 44});
     }},
    {"MergeButton_Off", [] { return gallery::host(new MergeButton(QRectF(0, 0, 48, 24)), {68, 44}); }},
    {"MergeButton_On", [] {
         auto* merge = new MergeButton(QRectF(0, 0, 48, 24));
         merge->setselected(true);
         return gallery::host(merge, {68, 44});
     }},
    {"XJButton_Normal", [] { return xjButton(0); }},
    {"XJButton_Hover", [] { return xjButton(1); }},
    {"XJButton_Highlight", [] { return xjButton(2); }},
    {"XJButton_Selected", [] { return xjButton(3); }},
    {"XJGraphicButton_Normal", [] { return graphicButton(0, true); }},
    {"XJGraphicButton_Hover", [] { return graphicButton(1, true); }},
    {"XJGraphicButton_Selected", [] { return graphicButton(3, true); }},
    {"XJGraphicButton_Disable", [] { return graphicButton(0, false); }},
    {"ZorImageView_Selected", [] {
         auto* view = new ZorImageView;
         view->resize(60, 40);
         view->setBackGroundColor(QColor(34, 39, 48));
         view->setCornerRadius(6);
         view->setBorderWidth(1.5f);
         view->setBordColor(kHover);
         view->setSelectedImage(gallery::picture("Resources/edit_trimknob_normal", {15, 24}));
         view->setIsSelected(true);
         return gallery::host(view, {80, 60});
     }},
    {"ZorView_Panel", [] {
         auto* panel = new ZorView;
         panel->resize(120, 50);
         panel->setBackGroundColor(QColor(34, 39, 48));
         panel->setCornerRadius(6);
         panel->setBorderWidth(1.5f);
         panel->setBordColor(QColor(58, 65, 77));
         return gallery::host(panel, {140, 70});
     }},
    {"MenuItemView_Row", [] {
         auto* row = new MenuItemView(QRectF(0, 0, 160, 30));
         row->titleLabel()->setText("Fade transition");
         return gallery::host(row, {180, 50});
     }},
    {"MaterialCollectionItem_Deletable", [] {
         auto* item = new MaterialCollectionItem;
         item->resize(80, 80);
         item->coverView()->setImage(gallery::picture("ZantImage/Main/btnCommon_Normal@2x", {70, 55}));
         item->setIsShowDeleted(true);
         return gallery::host(item, {100, 100});
     }},
});

}  // namespace
