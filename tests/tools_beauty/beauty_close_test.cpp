// A face beauty window closed while its face model is still being read goes at once: it does
// not wait for the read (it once joined the reading thread, and the interface stood still for
// the rest of the read, about 0.4 s). Here the model file is a pipe that delivers nothing until
// the test feeds it, so a window that waited for the read would still be there when the pipe is
// fed; the feeding waits for the window to go, and only a hang guard feeds it before that.
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tools/beauty/beauty_window_controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kestrel::test;
using beauty::BeautyWindowController;

namespace {

// A resources folder like the installed one, its entries linked, with a pipe as the face model.
QString resourcesWithModelPipe(const TempDir& dir, std::string* pipe) {
    const QString real = services::Language::resourcesPath();
    const QString mirror = QString::fromStdString(dir.file("resources"));
    const QString bundle = mirror + "/Settings.bundle";
    QDir().mkpath(bundle);
    for (const QString& entry : QDir(real).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "Settings.bundle") QFile::link(real + "/" + entry, mirror + "/" + entry);
    const QDir source(real + "/Settings.bundle");
    for (const QString& entry : source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "face_small.dat") QFile::link(source.filePath(entry), bundle + "/" + entry);
    *pipe = (bundle + "/face_small.dat").toStdString();
    EXPECT_EQ(mkfifo(pipe->c_str(), 0600), 0);
    return mirror;
}

struct ResourcesOverride {
    explicit ResourcesOverride(const QString& path) { qputenv("KESTREL_RESOURCES", path.toLocal8Bit()); }
    ~ResourcesOverride() { qunsetenv("KESTREL_RESOURCES"); }
};

TEST(BeautyClose, DoesNotWaitForTheFaceModel) {
    TempDir dir;
    const std::string picture = dir.file("face.png");
    makePicture(picture, 320, 240);
    std::string pipe;
    const ResourcesOverride resources(resourcesWithModelPipe(dir, &pipe));

    std::mutex lock;
    std::condition_variable changed;
    bool windowGone = false;
    std::atomic<bool> fedBeforeTheWindowWent{false};
    std::thread feeder([&] {
        {
            std::unique_lock held(lock);
            changed.wait_for(held, std::chrono::seconds(60), [&] { return windowGone; });
            fedBeforeTheWindowWent = !windowGone;
        }
        // Opening the pipe lets the read go on; what it reads is no model.
        const int fd = ::open(pipe.c_str(), O_WRONLY);
        if (fd >= 0) {
            const char junk[] = "not a face model";
            [[maybe_unused]] const ssize_t n = ::write(fd, junk, sizeof junk);
            ::close(fd);
        }
    });

    auto* w = new BeautyWindowController;
    w->setVideoPath(QString::fromStdString(picture));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_FALSE(w->faceModelSettled());
    EXPECT_TRUE(closeWindow(w));
    delete w;
    {
        std::lock_guard held(lock);
        windowGone = true;
    }
    changed.notify_all();
    feeder.join();
    EXPECT_FALSE(fedBeforeTheWindowWent) << "the window waited for its face model to be read";
    // The read ends without a model; the answer for the gone window is dropped.
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(60000));
    QCoreApplication::processEvents();
}

}  // namespace
