#include "widgets/dialogs/dialog_buttons.h"

#include "widgets/dialogs/dark_look.h"
#include "services/language.h"
#include "widgets/zor_button.h"

namespace kestrel::widgets {

kestrel::widgets::ZorButton* makeDialogButton(QWidget* parent, int pointSize) {
    using services::Language;
    auto* button = new kestrel::widgets::ZorButton(parent);
    button->setNormalBackgroundImage(Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCommon_Normal.png")));
    button->setOnBackgroundImage(Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCommon_On.png")));
    button->setDownBackgroundImage(Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCommon_Down.png")));
    button->setDisAbleBackgroundImage(Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCommon_Disable.png")));
    if (button->normalBackgroundImage().isNull()) button->setBackGroundColor(kHoverTextColor);
    button->setCornerRadius(3);
    button->setBorderWidth(0);
    button->setBordered(false);
    button->setContentColor(kTextColor);
    button->setOnColor(kHoverTextColor);
    setPointSize(button, pointSize);
    return button;
}

}  // namespace kestrel::widgets
