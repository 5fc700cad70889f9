#include "app/startup_check.h"

#include "app/home_tiles.h"
#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "app/links.h"
#include "services/language.h"
#include "widgets/zor_button.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace app {

namespace {

// What keeps the home screen from being whole; empty when nothing does.
QString whatIsMissing(const HomeWindowController& window) {
    using services::Language;
    const QString resources = Language::resourcesPath();
    if (!QFileInfo(Language::resourceBundlePath()).isDir())
        return QStringLiteral("no resources in %1").arg(resources);
    const QString titleKey = QStringLiteral("Ixy-de-Rz5.title");
    if (services::localized(titleKey) == titleKey)
        return QStringLiteral("no strings table in %1").arg(resources);
    if (!window.isVisible() || window.windowTitle() != services::localized(titleKey))
        return QStringLiteral("the home window is not shown");
    const HomeViewController* home = window.contentViewController();
    for (int tag = 1; tag <= kHomeTileCount; ++tag) {
        const kestrel::widgets::ZorButton* tile = home ? home->tileWithTag(tag) : nullptr;
        if (!tile || tile->normalImage().isNull())
            return QStringLiteral("no picture for the tile \"%1\" in %2").arg(subFunImageName(tag - 1), resources);
    }
    const QString guide = userGuideLink().toLocalFile();
    if (!QFileInfo(guide).isFile()) return QStringLiteral("no user guide at %1").arg(guide);
    return QString();
}

}  // namespace

void scheduleStartupCheck(const MainInterface& ui) {
    if (qEnvironmentVariable("KESTREL_STARTUP_CHECK") != QLatin1String("1") || !ui.homeWindow) return;
    const HomeWindowController* window = ui.homeWindow.get();
    QTimer::singleShot(0, window, [window] {
        const QString missing = whatIsMissing(*window);
        if (!missing.isEmpty()) std::fprintf(stderr, "kestrel: startup check failed: %s\n", qUtf8Printable(missing));
        QCoreApplication::exit(missing.isEmpty() ? 0 : 1);
    });
}

}  // namespace app
