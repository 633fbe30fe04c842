#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace emulator {

// Initial window state asked of a started process.
enum class WindowState {
    Normal = 1,    // normal with focus: the emulator's input set-up, followed (printed)
    Minimized = 2, // minimized with focus: a game
};

// Starts an outside program without waiting for it and without a shell, and
// tells, later, how each one it started ended.
class Launcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // `program` and every element of `arguments` reach the process as one
    // argument each, whatever characters they hold; it runs in
    // `workingFolder`. Returns whether the process started. A run started
    // Normal is one the user answers: its output is told as it comes.
    virtual bool start(const QString& program, const QStringList& arguments, WindowState state,
                       const QString& workingFolder) = 0;

    // True while a process started here has not ended yet: several may run
    // at once (linked cabinets).
    virtual bool running() const = 0;

    // The number of the last run started here, which finished() tells at
    // its end: each start that succeeds takes the next one.
    virtual int lastRun() const = 0;

Q_SIGNALS:
    // A process started here has ended: its exit status (-1 when it did not
    // exit by itself, a crash say), the last "Error:" lines it printed, and
    // whether its output could be kept at all (when not, there are no lines
    // to tell), and which run it was (lastRun() after its start). Never
    // emitted for a process still running when the front-end ends;
    // running() is already false when the last one running has ended.
    void finished(int status, const QStringList& errorLines, bool outputKept, int run);

    // More of what a run started Normal prints, as it prints it, the
    // unfinished last line included, before finished() tells its end: text
    // to show (shownOutput).
    void printed(const QString& text);
};

} // namespace emulator
