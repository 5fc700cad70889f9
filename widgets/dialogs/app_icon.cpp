#include "widgets/dialogs/app_icon.h"

#include "services/language.h"

namespace kestrel::widgets {

QPixmap applicationIcon() { return services::Language::pixmapWithfileName(QStringLiteral("AppIcon@2x.png")); }

QIcon applicationWindowIcon() { return QIcon(applicationIcon()); }

}  // namespace kestrel::widgets
