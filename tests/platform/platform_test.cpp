#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <thread>

#include "platform/dispatch.h"
#include "platform/frame.h"
#include "platform/media_time.h"
#include "platform/notification_center.h"
#include "platform/user_defaults.h"

using namespace platform;

TEST(MediaTime, ConvertsAndComparesAcrossTimescales) {
    EXPECT_EQ(MediaTime::make(1, 30).microseconds(), 33333);
    EXPECT_EQ(MediaTime::make(2, 3).microseconds(), 666667);  // rounded, not truncated
    EXPECT_EQ(MediaTime::make(-1, 3).microseconds(), -333333);
    EXPECT_EQ(MediaTime::fromSeconds(1.5, 600).value, 900);
    EXPECT_EQ(MediaTime::make(300, 600), MediaTime::make(500000000, 1000000000));
    EXPECT_LT(MediaTime::make(1, 30), MediaTime::make(34, 1000));
    EXPECT_EQ(add(MediaTime::make(1, 2), MediaTime::make(1, 3)), MediaTime::make(5, 6));
    EXPECT_EQ(subtract(MediaTime::make(1, 1), MediaTime::make(1, 4)).seconds(), 0.75);
    EXPECT_FALSE(MediaTime::invalid().isValid());
    EXPECT_EQ(convertScale(MediaTime::make(7200LL * 1000000000LL, 1000000000), 600).value, 7200LL * 600);
}

TEST(Frame, BottomLeftFramesMapToQtGeometryAndBack) {
    struct Case { QRectF frame; qreal parentH; bool flipped; QRect qt; };
    const Case cases[] = {
        {{10, 20, 100, 30}, 200, false, {10, 150, 100, 30}},
        {{0, 0, 50, 50}, 50, false, {0, 0, 50, 50}},
        {{10, 20, 100, 30}, 200, true, {10, 20, 100, 30}},
        {{0.4, 0.4, 10.2, 10.2}, 100, false, {0, 89, 11, 11}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qtRectFromFrame(c.frame, c.parentH, c.flipped), c.qt) << c.frame.x() << "," << c.frame.y();
    }
    EXPECT_EQ(frameFromQtRect({10, 150, 100, 30}, 200), QRectF(10, 20, 100, 30));

    QObject view;
    EXPECT_FALSE(isFlipped(&view));
    setFlipped(&view, true);
    EXPECT_TRUE(isFlipped(&view));
    EXPECT_FALSE(isFlipped(nullptr));
    EXPECT_EQ(pointFromQt({3, 20}, 300), QPointF(3, 280));
}

TEST(NotificationCenter, DeliversByNameAndForgetsRemovedAndDestroyedObservers) {
    auto& center = NotificationCenter::defaultCenter();
    int closes = 0, langs = 0;
    auto* owner = new QObject;
    center.addObserver(kWillCloseNotification, [&](const Notification& n) {
        ++closes;
        EXPECT_EQ(n.userInfo.value("k").toInt(), 7);
    }, owner);
    const auto token = center.addObserver(kChangeLanguageNotification, [&](const Notification&) { ++langs; });
    center.post(kWillCloseNotification, nullptr, {{"k", 7}});
    center.post(kChangeLanguageNotification);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(langs, 1);
    delete owner;
    center.removeObserver(token);
    center.post(kWillCloseNotification, nullptr, {{"k", 7}});
    center.post(kChangeLanguageNotification);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(langs, 1);

    // An observer that removes a later one during a post: the later one is not called.
    int later = 0;
    ObserverToken second = 0;
    const auto first = center.addObserver("X", [&](const Notification&) { center.removeObserver(second); });
    second = center.addObserver("X", [&](const Notification&) { ++later; });
    center.post("X");
    EXPECT_EQ(later, 0);
    center.removeObserver(first);
}

TEST(UserDefaults, KeepsValuesUnderTheirExactKeysAcrossReloads) {
    auto& d = UserDefaults::standard();
    EXPECT_EQ(d.integerForKey("AppLanguage"), 0);  // absent
    EXPECT_FALSE(d.hasKey("AppLanguage"));
    d.setInteger("AppLanguage", 5);
    d.setString("kOutputDir", "/tmp/out dir/ü");
    d.setString("Access:/home/user/a b.mp4", "/home/user/a b.mp4");
    d.setBool("flag", true);
    d.setDouble("ratio", 1.25);
    d.synchronize();
    d.reset();
    EXPECT_EQ(d.integerForKey("AppLanguage"), 5);
    EXPECT_EQ(d.stringForKey("kOutputDir"), "/tmp/out dir/ü");
    EXPECT_EQ(d.stringForKey("Access:/home/user/a b.mp4"), "/home/user/a b.mp4");
    EXPECT_TRUE(d.boolForKey("flag"));
    EXPECT_DOUBLE_EQ(d.doubleForKey("ratio"), 1.25);
    EXPECT_TRUE(d.allKeys().contains("Access:/home/user/a b.mp4"));
    d.removeObjectForKey("AppLanguage");
    EXPECT_FALSE(d.hasKey("AppLanguage"));
    d.setString("notANumber", "abc");
    EXPECT_EQ(d.integerForKey("notANumber"), 0);
}

TEST(Dispatch, GlobalWorkPostsBackToTheMainThread) {
    std::atomic<bool> ranOnWorker{false};
    bool ranOnMain = false;
    dispatchGlobalAsync([&] {
        ranOnWorker = !isMainThread();
        dispatchMainAsync([&] { ranOnMain = isMainThread(); });
    });
    QElapsedTimer t;
    t.start();
    while (!ranOnMain && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(ranOnWorker);
    EXPECT_TRUE(ranOnMain);

    int order = 0, syncSeen = -1;
    std::thread worker([&] { dispatchMainSync([&] { syncSeen = order; }); });
    while (syncSeen < 0 && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    worker.join();
    EXPECT_EQ(syncSeen, 0);

    OnceFlag flag;
    int calls = 0;
    for (int i = 0; i < 3; ++i) dispatchOnce(flag, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
}
