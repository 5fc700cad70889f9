#pragma once
// The support mail address is the builder's choice (-DKESTREL_SUPPORT_EMAIL): the build adds it
// to every strings table as "email_address", and a build without one has no such key. Windows
// offer their support-mail items only when there is an address.
#include <QString>

namespace services {

// The configured support address; empty when the build has none.
QString supportMailAddress();

}  // namespace services
