#pragma once
// Links the shell opens in the desktop: the user guide installed with the program, and a new
// mail to the support address. Links are built with QUrl, never by pasting raw text together.
#include <QString>
#include <QUrl>

namespace app {

// "mailto:<address>?Subject=%20&body=%20": a new mail with an empty subject and body.
QUrl mailLink(const QString& address);

// The user guide's first page, in the Resources folder ("guide/index.html").
QUrl userGuideLink();

// Opens a link in the desktop (browser or mail program); false when it is no valid link.
bool openLink(const QUrl& url);
// Opens the user guide in the desktop's browser (Help, Homepage, the About box).
bool openUserGuide();

}  // namespace app
