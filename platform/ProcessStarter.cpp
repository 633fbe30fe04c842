#include "platform/ProcessStarter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// Below this much free room, a folder is taken as full: the run's messages
// would be lost there.
constexpr qint64 kOutputRoom = 64 * 1024;

#ifdef Q_OS_WIN
const QString kFallbackTemporaryFolder = QDir::tempPath();
#else
const QString kFallbackTemporaryFolder = QStringLiteral("/tmp");
#endif

bool hasRoom(const QFile& file) {
#ifdef Q_OS_WIN
    (void)file;
    return true;
#else
    struct statvfs facts {};
    if (::fstatvfs(file.handle(), &facts) != 0)
        return false;
    return qint64(facts.f_bavail) * qint64(facts.f_frsize) >= kOutputRoom;
#endif
}

// An open, empty file for a run's output, or null when no temporary folder
// can take it. Never anywhere but in a temporary folder.
std::unique_ptr<QTemporaryFile> outputFile() {
    const QString folder = outputFolder(qEnvironmentVariable("TMPDIR"), kFallbackTemporaryFolder);
    if (folder.isEmpty())
        return nullptr;
    auto file =
        std::make_unique<QTemporaryFile>(folder + QStringLiteral("/kestrun-emulator-XXXXXX.log"));
    if (!file->open() || !hasRoom(*file))
        return nullptr;
    return file;
}

// The QProcesses of runs still going when their starter goes: never deleted,
// and kept reachable for the rest of the process rather than leaked.
std::vector<QProcess*>& givenUp() {
    static auto* const processes = new std::vector<QProcess*>;
    return *processes;
}

} // namespace

QString outputFolder(const QString& tmpdir, const QString& fallback) {
    for (const QString& folder : {tmpdir, fallback}) {
        if (!folder.isEmpty() && QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
    }
    return {};
}

bool isExecutableFile(const QString& program) {
    const QFileInfo info(program);
    if (!info.isFile())
        return false;
#ifdef Q_OS_WIN
    return info.isExecutable();
#else
    return ::access(QFile::encodeName(program).constData(), X_OK) == 0;
#endif
}

struct ProcessStarter::Run {
    ~Run() {
        // Deleting a running QProcess kills it: only an ended one goes.
        if (!process)
            return;
        process->disconnect();
        if (process->state() == QProcess::NotRunning)
            delete process;
        else
            givenUp().push_back(process);
    }
    QProcess* process = new QProcess;
    std::unique_ptr<QTemporaryFile> output; // null: discarded
    bool followed = false;
    qint64 told = 0; // how much of its output printed() has covered
    int number = 0;
};

ProcessStarter::ProcessStarter(QObject* parent) : QObject(parent), m_follow(new QTimer(this)) {
    m_follow->setInterval(kFollowMilliseconds);
    connect(m_follow, &QTimer::timeout, this, &ProcessStarter::readFollowed);
}

// Whatever still runs is left running.
ProcessStarter::~ProcessStarter() = default;

bool ProcessStarter::start(const Request& request) {
    // A start that fails in QProcess leaks a descriptor each time (Qt 6.4),
    // so the usual reasons for it are caught here first.
    if (!isExecutableFile(request.program))
        return false;
    auto run = std::make_unique<Run>();
    run->output = outputFile();
    QProcess& process = *run->process;
    process.setProgram(request.program);
    process.setArguments(request.arguments);
    process.setWorkingDirectory(request.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    // Both streams into one file, as "2>&1" would; without a file, nowhere.
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(run->output ? run->output->fileName() : QProcess::nullDevice());
#ifdef Q_OS_WIN
    const bool minimized = request.minimized;
    process.setCreateProcessArgumentsModifier([minimized](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    });
#else
    // Its own session: the hang-up of the terminal the front-end was started
    // from, or Ctrl+C there, does not reach it.
    process.setChildProcessModifier([] { ::setsid(); });
#endif
    process.start();
    if (!process.waitForStarted(-1))
        return false; // the run, its process and its file go here
#ifndef Q_OS_WIN
    // The file is open on both sides; without its name nothing is left behind
    // however either process ends.
    if (run->output)
        QFile::remove(run->output->fileName());
#endif
    Run* const watched = run.get();
    watched->number = m_nextRun++;
    connect(&process, &QProcess::finished, this,
            [this, watched](int exitCode, QProcess::ExitStatus exitStatus) {
                ended(watched, exitStatus == QProcess::NormalExit ? exitCode : -1);
            });
    // An ordinary file gives no signal as it grows: look at it while it runs.
    watched->followed = request.followed && run->output;
    if (watched->followed)
        m_follow->start();
    m_runs.push_back(std::move(run));
    return true;
}

void ProcessStarter::readFollowed() {
    for (const auto& run : m_runs) {
        if (run->followed)
            readMore(*run);
    }
}

void ProcessStarter::readMore(Run& run) {
    const qint64 size = run.output->size();
    if (size <= run.told)
        return;
    const qint64 from = std::max(run.told, size - kFollowedBytes);
    if (!run.output->seek(from))
        return;
    const QByteArray bytes = run.output->read(size - from);
    run.told = from + bytes.size();
    if (!bytes.isEmpty())
        Q_EMIT printed(bytes);
}

void ProcessStarter::ended(Run* run, int status) {
    const auto owned =
        std::find_if(m_runs.begin(), m_runs.end(), [run](const auto& r) { return r.get() == run; });
    if (owned == m_runs.end())
        return;
    std::unique_ptr<Run> done = std::move(*owned);
    m_runs.erase(owned);
    if (std::none_of(m_runs.begin(), m_runs.end(), [](const auto& r) { return r->followed; }))
        m_follow->stop();
    if (done->followed)
        readMore(*done); // what it wrote since the last look
    // Deleted later: this runs inside one of its signals.
    done->process->disconnect();
    done->process->deleteLater();
    done->process = nullptr;
    Q_EMIT finished(status, done->output.get(), done->number);
}

} // namespace platform
