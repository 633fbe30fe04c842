#pragma once

#include <QString>
#include <QStringList>

namespace emulator {

// Initial window state asked of a started process.
enum class WindowState {
    Normal = 1,    // normal with focus: the emulator's input set-up
    Minimized = 2, // minimized with focus: a game
};

// Starts an outside program without waiting for it and without a shell.
class Launcher {
public:
    virtual ~Launcher() = default;
    // `program` and every element of `arguments` reach the process as one
    // argument each, whatever characters they hold. Returns whether the
    // process started.
    virtual bool start(const QString& program, const QStringList& arguments, WindowState state) = 0;
};

} // namespace emulator
