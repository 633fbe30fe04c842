#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <optional>

namespace ui {
class Form1;
}

namespace catalogue {

// A path box's text as the path is used: a leading "~/" (or a lone "~")
// stands for the home folder. The box keeps the text as typed.
QString usedPath(const QString& text, const QString& home = QDir::homePath());

// The emulator folder (Text4) and the ROM folder (Text5) as used.
QString emulatorFolder(const ui::Form1& form);
QString romFolder(const ui::Form1& form);

// When `text` names the emulator's program file ("/opt/sm/supermodel", with
// a separator after it or not), its folder as typed ("/opt/sm/"); else
// nothing.
std::optional<QString> programFileFolder(const QString& text,
                                         const QString& home = QDir::homePath());

// A line saying that the path in box `name` ("Rom Path") is not a folder and
// what is there instead; empty when it is a folder.
QString notAFolder(const QString& name, const QString& text,
                   const QString& home = QDir::homePath());

// Those lines for the Emu Path and the Rom Path, in that order.
QStringList pathProblems(const ui::Form1& form);

} // namespace catalogue
