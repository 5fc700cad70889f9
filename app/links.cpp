#include "app/links.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrlQuery>

namespace app {

QUrl webLink(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")) ||
        url.host().isEmpty())
        return QUrl();
    return url;
}

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

bool openUrlText(const QString& text) { return openLink(webLink(text)); }

}  // namespace app
