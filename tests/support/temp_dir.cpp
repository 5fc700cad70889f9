#include "tests/support/temp_dir.h"

#include <QDir>
#include <QTemporaryDir>
#include <stdexcept>

namespace kestrel::test {

TempDir::TempDir() {
    QTemporaryDir dir(QDir::tempPath() + "/kestrel-test-XXXXXX");
    if (!dir.isValid()) throw std::runtime_error("cannot create a temporary folder");
    dir.setAutoRemove(false);
    path_ = dir.path().toStdString();
}

TempDir::~TempDir() { QDir(QString::fromStdString(path_)).removeRecursively(); }

}  // namespace kestrel::test
