#include "app/links.h"

#include "services/language.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrlQuery>

namespace app {

QUrl mailLink(const QString& address) {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("Subject"), QStringLiteral(" "));
    query.addQueryItem(QStringLiteral("body"), QStringLiteral(" "));
    url.setQuery(query);
    return url;
}

bool openLink(const QUrl& url) {
    if (!url.isValid()) {
        qWarning() << "not a link:" << url.toString();
        return false;
    }
    return QDesktopServices::openUrl(url);
}

QUrl userGuideLink() { return QUrl::fromLocalFile(services::Language::resourcesPath() + "/guide/index.html"); }

bool openUserGuide() { return openLink(userGuideLink()); }

}  // namespace app
