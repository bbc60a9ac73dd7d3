// The live view of a run's output: the follower of a file another program
// writes, fed by a script taken from the input. Each step is one byte naming
// what happens to the file, one byte giving a length, then that many bytes:
//
//   0-3  the bytes are appended, then the follower reads
//   4    the bytes are appended, nothing read yet
//   5    the file is emptied in place, the follower reads, the bytes are appended
//   6    the file is replaced by a new one holding the bytes
//   7    the file is deleted; a later append creates it again
//
// Whatever the steps, the text delivered since the last restart is the text
// of the file as it ends, read in one piece: line ends "\n", a final "\r"
// held back until its line end is known. (A file that ends deleted is not
// compared: the view keeps what it showed last.)

#include "fuzzinput.h"
#include "orvaneoutputfollower.h"

#include <QCoreApplication>
#include <QTextCodec>
#include <QTextDecoder>

#include <cstdlib>
#include <memory>

namespace {

QString wholeText(const QByteArray& bytes)
{
    const std::unique_ptr<QTextDecoder> decoder(QTextCodec::codecForName("UTF-8")->makeDecoder());
    QString text = decoder->toUnicode(bytes);
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void append(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    OrvaneFuzz::quietQt();
    // The follower's watcher and timer belong to an application's thread.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = OrvaneFuzz::path(QStringLiteral("complex.out"));
    QFile::remove(path);
    QByteArray held; // what the file holds
    QString shown;   // what the follower delivered since its last restart

    OrvaneOutputFollower follower;
    QObject::connect(&follower, &OrvaneOutputFollower::textAppended, [&](const QString& text) { shown += text; });
    QObject::connect(&follower, &OrvaneOutputFollower::restarted, [&] { shown.clear(); });
    follower.follow(path);

    size_t at = 0;
    while (at < size) {
        const int step = data[at++] % 8;
        const size_t length = at < size ? data[at++] : 0;
        const QByteArray bytes = OrvaneFuzz::bytesOf(data + at, std::min(length, size - at));
        at += static_cast<size_t>(bytes.size());
        switch (step) {
        case 5: {
            QFile file(path);
            if (file.exists() && !file.resize(0))
                std::abort();
            held.clear();
            follower.readNow();
            append(path, bytes);
            held += bytes;
            break;
        }
        case 6: {
            const QString fresh = path + QStringLiteral(".new");
            QFile::remove(fresh);
            append(fresh, bytes);
            QFile::remove(path);
            if (!QFile::rename(fresh, path))
                std::abort();
            held = bytes;
            break;
        }
        case 7:
            QFile::remove(path);
            held.clear();
            break;
        default:
            append(path, bytes);
            held += bytes;
            if (step < 4)
                follower.readNow();
        }
    }
    follower.readNow();
    // A file deleted for good leaves the view with what it last showed.
    if (QFile::exists(path) && shown != wholeText(held))
        std::abort();
    follower.stop();
    return 0;
}
