#include "app/app_icon.h"

#include "services/language.h"

namespace app {

QPixmap applicationIcon() { return services::Language::pixmapWithfileName(QStringLiteral("AppIcon@2x.png")); }

QIcon applicationWindowIcon() { return QIcon(applicationIcon()); }

}  // namespace app
