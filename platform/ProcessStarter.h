#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QIODevice;
class QTimer;

namespace platform {

// Starts programs in the folder it is given, with the program and each
// argument passed as they are, never through a shell, and watches them from
// the event loop. A program's output goes to an unnamed file in the
// temporary folder (never to a pipe, which would break under it when the
// front-end ends), read back when it ends, and as it grows for a run that
// asks to be followed; with no temporary folder able to take it, the output
// is discarded. Each runs in a session of its own and is never killed from
// here: closing the front-end, or the terminal that started it, leaves it
// running.
class ProcessStarter final : public QObject {
    Q_OBJECT
public:
    struct Request {
        QString program; // a path to the program file, not a name to look up
        QStringList arguments;
        QString workingFolder;
        bool minimized = false; // honoured where windows have such a state
        // Its output is read as it grows, a few times a second, while it
        // runs: see printed().
        bool followed = false;
    };

    explicit ProcessStarter(QObject* parent = nullptr);
    ~ProcessStarter() override;

    // Whether the process started. A program that is not an executable file
    // is refused before anything is made.
    bool start(const Request& request);

    // True while a process started here has not ended yet.
    bool running() const { return !m_runs.empty(); }

    // The number of the last process started here: each start that succeeds
    // takes the next one, from 0.
    int lastRun() const { return m_nextRun - 1; }

Q_SIGNALS:
    // A process started here has ended: its exit status (-1 when it did not
    // exit by itself, a crash say) and its output, open for reading and valid
    // only during the emission; null when its output was discarded; and its
    // number (lastRun() after its start). Never emitted for a process still
    // running when the starter goes.
    void finished(int status, QIODevice* output, int run);

    // More output of a followed run, in the order it was written, the
    // unfinished last line included; the rest comes before finished(). When
    // more than kFollowedBytes came at once, only its end is told.
    void printed(const QByteArray& bytes);

private:
    struct Run;
    void ended(Run* run, int status);
    void readFollowed();
    void readMore(Run& run);

    std::vector<std::unique_ptr<Run>> m_runs;
    QTimer* m_follow; // runs only while a followed run does
    int m_nextRun = 0;
};

// The most bytes one printed() tells.
constexpr qint64 kFollowedBytes = 64 * 1024;
// How often a followed run's output is looked at.
constexpr int kFollowMilliseconds = 100;

// The folder a run's output is kept in: `tmpdir` (the TMPDIR setting) when it
// names an existing folder by an absolute path, else `fallback` when that is
// a folder, else none (empty).
QString outputFolder(const QString& tmpdir, const QString& fallback);

// Whether `program` is a regular file (after links) that this user may run.
bool isExecutableFile(const QString& program);

} // namespace platform
