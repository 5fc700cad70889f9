#include "services/support_address.h"

#include "services/language.h"

namespace services {

QString supportMailAddress() {
    const QString key = QStringLiteral("email_address");
    const QString text = Language::localizedStringForKey(key).trimmed();
    return text == key ? QString() : text;  // an absent key reads as itself
}

}  // namespace services
