// At start the program removes the hidden partial outputs that a process killed mid-export
// left, as named by the record that process kept in the cache folder.
#include "session/jobs/engine_start.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

namespace kestrel::test {
namespace {

// The id of a process that has ended.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(EngineStart, RemovesThePartialOutputsAKilledProcessLeft) {
    QTemporaryDir outputs;
    ASSERT_TRUE(outputs.isValid());
    const QString records = session::outputsInProgressFolder();
    ASSERT_FALSE(records.isEmpty());

    const QString dead = QString::number(endedProcess());
    const QString partial = outputs.filePath(".kestrel-" + dead + "-0-movie.mp4.part");
    const QString users_own = outputs.filePath("movie.mp4");
    ASSERT_TRUE(writeFile(partial, QByteArray(4096, 'x')));
    ASSERT_TRUE(writeFile(users_own, "finished"));
    const QString record = records + "/" + dead + "-12345.outputs";
    ASSERT_TRUE(writeFile(record, (partial + "\n" + users_own + "\n").toUtf8()));

    session::startEngines();

    EXPECT_FALSE(QFile::exists(partial)) << "the killed export's partial file is still there";
    EXPECT_FALSE(QFile::exists(record));
    EXPECT_TRUE(QFile::exists(users_own)) << "a file the record names but no export writes was removed";
}

}  // namespace
}  // namespace kestrel::test
