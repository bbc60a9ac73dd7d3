// Following a file that another program writes: only the added bytes are
// read (counted, never timed), and a file that shrinks or is replaced is read
// again from its start.

#include "../support/guitestsupport.h"

#include "orvaneoutputfollower.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <sys/stat.h>

namespace {

class FollowerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&follower, &OrvaneOutputFollower::textAppended, [this](const QString& text) {
            shown += text;
            ++deliveries;
        });
        QObject::connect(&follower, &OrvaneOutputFollower::restarted, [this] {
            shown.clear();
            ++restarts;
        });
    }

    void append(const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    qint64 size() const { return QFileInfo(path).size(); }

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("complex.out"));
    OrvaneOutputFollower follower;
    QString shown;
    int deliveries = 0;
    int restarts = 0;
};

} // namespace

TEST_F(FollowerFixture, AGrowingFileIsReadOnceWhateverTheNumberOfSteps)
{
    append(" MOPAC output starts\n");
    follower.follow(path);
    QByteArray written = " MOPAC output starts\n";
    // Line ends of both kinds, a "\r\n" and a two-byte character each cut
    // between two steps.
    const QByteArray steps[] = {"  1  Eu    0.000000   1.000000\r", "\n  2  O     2.400000", "   0.000000\n",
                                "  Temp 298.15 K, \xC3", "\x85ngstr\xC3\xB6m\n"};
    for (int round = 0; round < 40; ++round) {
        for (const QByteArray& step : steps) {
            append(step);
            written += step;
            follower.readNow();
        }
        // Some rounds are left to the file-system notifications.
        append("  CYCLE done\n");
        written += "  CYCLE done\n";
        if (round % 10 == 0)
            ASSERT_TRUE(waitUntil([&] { return follower.bytesRead() == size(); }, 10000)) << round;
        else
            follower.readNow();
    }
    follower.readNow();
    EXPECT_EQ(shown, QString::fromUtf8(written).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_EQ(follower.bytesRead(), size()) << "each byte read once, not the whole file at each step";
    EXPECT_EQ(restarts, 0);
}

TEST(OutputFollower, TheTextShownIsTheSameWhereverTheReadsCutTheFile)
{
    // Valid characters and the broken bytes a title typed in another encoding
    // leaves: each file cut in two at every byte shows what one read shows.
    const QByteArray files[] = {
        "Eu\xE2\x82\xAC \xF0\x9F\x98\x80 \xC3\x85ngstr\xC3\xB6m\n",  // 3-, 4- and 2-byte characters
        "\xE2\x82\xFE\xFE\xFE\xF8 MOPAC\n",                               // a cut character, then no UTF-8
        "title \xC9 crit en Latin-1 \xF6\x99 \xE0\x80 \xED\xA0\x80 \xF4\x90\n", // no UTF-8 prefixes
        "\xCE" "AL HEAT\xE2\x82\n",                                          // a cut character ended by a line end
    };
    for (const QByteArray& whole : files) {
        for (int cut = 1; cut < whole.size(); ++cut) {
            QTemporaryDir folder;
            const QString path = folder.filePath(QStringLiteral("complex.out"));
            OrvaneOutputFollower follower;
            QString shown;
            QObject::connect(&follower, &OrvaneOutputFollower::textAppended, [&](const QString& text) { shown += text; });
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            ASSERT_EQ(file.write(whole.left(cut)), cut);
            follower.follow(path);
            follower.readNow();
            ASSERT_EQ(file.write(whole.mid(cut)), whole.size() - cut);
            follower.readNow();
            EXPECT_EQ(shown, QString::fromUtf8(whole)) << whole.toHex(' ').constData() << " cut at " << cut;
        }
    }
}

TEST_F(FollowerFixture, AFileThatShrinksOrIsReplacedIsReadAgainFromItsStart)
{
    const QByteArray first = "first run: a long output of an earlier calculation\n";
    const QByteArray second = "second run, shorter\n";
    const QByteArray longer = "second run: a new output longer than the first one was\nwith two lines\n";
    const struct
    {
        const char* name;
        std::function<void(const QString&)> change;
        QByteArray expected;
    } cases[] = {
        {"truncated and rewritten in place",
         [&](const QString& name) {
             QFile file(name);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write(second);
         },
         second},
        {"replaced by a longer file under the same name",
         [&](const QString& name) {
             QSaveFile file(name);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(longer);
             ASSERT_TRUE(file.commit());
         },
         longer},
        {"removed, then written anew",
         [&](const QString& name) {
             ASSERT_TRUE(QFile::remove(name));
             QFile file(name);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(longer);
         },
         longer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        append(first);
        restarts = 0;
        shown.clear();
        follower.follow(path);
        follower.readNow();
        ASSERT_EQ(shown, QString::fromUtf8(first));
        c.change(path);
        follower.readNow();
        EXPECT_EQ(restarts, 1);
        EXPECT_EQ(shown, QString::fromUtf8(c.expected));
        // Growing on from there appends again.
        append("tail\n");
        follower.readNow();
        EXPECT_EQ(shown, QString::fromUtf8(c.expected + "tail\n"));
    }
}

TEST_F(FollowerFixture, AFileThatAppearsLaterIsFollowedAndAStoppedFollowerReadsNothing)
{
    follower.follow(path);
    follower.readNow();
    EXPECT_TRUE(shown.isEmpty());
    append(" == MOPAC DONE ==\n");
    ASSERT_TRUE(waitUntil([&] { return shown == QStringLiteral(" == MOPAC DONE ==\n"); }, 10000));

    follower.stop();
    append("after the end\n");
    follower.readNow();
    QTest::qWait(2 * OrvaneOutputFollower::readDelayMs);
    EXPECT_EQ(shown, QStringLiteral(" == MOPAC DONE ==\n"));
    EXPECT_FALSE(follower.isFollowing());
}

TEST_F(FollowerFixture, ALargeBacklogArrivesInSlices)
{
    const QByteArray line(99, 'x');
    QByteArray block;
    for (int i = 0; i < 10000; ++i)
        block += line + '\n';
    // About 2.5 slices.
    const qint64 total = OrvaneOutputFollower::sliceBytes * 5 / 2;
    while (size() < total)
        append(block);
    follower.follow(path);
    ASSERT_TRUE(waitUntil([&] { return follower.bytesRead() == size(); }, 20000));
    EXPECT_EQ(deliveries, 3);
    EXPECT_EQ(shown.size(), size());
}

TEST(OutputFollower, AFifoOfTheOutputsNameIsNotOpened)
{
    // Opening it would wait for a writer and freeze the window: the follower
    // runs on a thread of its own here, and a wait ends the test program.
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("complex.out"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    qint64 bytesRead = -1;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        OrvaneOutputFollower follower;
        follower.follow(fifo);
        follower.readNow();
        bytesRead = follower.bytesRead();
    }));
    thread->start();
    if (!thread->wait(20000)) {
        std::fprintf(stderr, "The follower blocked on a FIFO.\n");
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    EXPECT_EQ(bytesRead, 0);
}
