// Look-review shots of the buttons, views and small controls of the first half of the kit.
#include <QFont>

#include "tests/widgets/gallery.h"
#include "widgets/zor_button.h"

using namespace widgets;

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
});

}  // namespace
