#pragma once
// Links the shell opens in the desktop: the support and home pages, and a new mail to the
// support address. Links are built with QUrl, never by pasting raw text together.
#include <QString>
#include <QUrl>

namespace app {

// A web address from a strings-table text; invalid when the text is not an http(s) address.
QUrl webLink(const QString& text);
// "mailto:<address>?Subject=%20&body=%20": a new mail with an empty subject and body.
QUrl mailLink(const QString& address);

// Opens a web address text in the desktop's browser; false when it is no valid address.
bool openUrlText(const QString& text);
bool openLink(const QUrl& url);

}  // namespace app
