// Test entry: every test program gets its own home, config, data and cache folders (so
// settings and working folders never touch the developer's), and a QApplication on the
// offscreen platform unless a display was asked for explicitly.
#include "tests/support/build_tree_resources.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir sandbox(QDir::tempPath() + "/kestrel-home-XXXXXX");
    const QByteArray root = sandbox.path().toUtf8();
    for (const char* sub : {"config", "data", "cache", "runtime", "videos", "tmp"})
        QDir().mkpath(sandbox.path() + "/" + sub);
    QFile::setPermissions(sandbox.path() + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    setenv("XDG_VIDEOS_DIR", (root + "/videos").constData(), 1);
    setenv("TMPDIR", (root + "/tmp").constData(), 1);
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    kestrel::test::useBuildTreeResources();

    QApplication app(argc, argv);
    QApplication::setOrganizationName("KestrelTest");
    QApplication::setApplicationName("KestrelTest");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
