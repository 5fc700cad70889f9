#pragma once
// A Resources folder whose strings tables carry a given support address, or none, whatever the
// build was configured with: the build's folder with every table copied and the address line
// put in or left out, the rest linked. $KESTREL_RESOURCES points at it while the object lives.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace kestrel::test {

class SupportAddressResources {
public:
    // An empty address gives tables without "email_address".
    explicit SupportAddressResources(const QString& address);
    ~SupportAddressResources();
    SupportAddressResources(const SupportAddressResources&) = delete;
    SupportAddressResources& operator=(const SupportAddressResources&) = delete;

    bool ok() const { return ok_; }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_ = false;
    bool ok_ = false;
};

}  // namespace kestrel::test
