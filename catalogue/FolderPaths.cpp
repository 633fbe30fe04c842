#include "catalogue/FolderPaths.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "ui/Form1.h"

#include <QLineEdit>

namespace catalogue {

namespace {

// The path without the separators that end it, so that a file is asked
// about as a file; a root stays whole.
QString withoutTrailingSeparators(QString path) {
    while (path.size() > 1 && path.endsWith(platform::kSeparator))
        path.chop(1);
    return path;
}

} // namespace

QString usedPath(const QString& text, const QString& home) {
    if (text == u'~')
        return home;
    if (text.startsWith(u'~') && text.size() > 1 && text[1] == platform::kSeparator)
        return platform::withTrailingSeparator(home) + text.sliced(2);
    return text;
}

QString emulatorFolder(const ui::Form1& form) {
    return usedPath(form.Text4->text());
}

QString romFolder(const ui::Form1& form) {
    return usedPath(form.Text5->text());
}

std::optional<QString> programFileFolder(const QString& text, const QString& home) {
    const QString typed = withoutTrailingSeparators(text);
    const QString program = QLatin1String(platform::kEmulatorProgram);
    if (!typed.endsWith(program))
        return std::nullopt;
    const QString folder = typed.first(typed.size() - program.size());
    if (!folder.isEmpty() && !folder.endsWith(platform::kSeparator))
        return std::nullopt; // "mysupermodel"
    if (!platform::isFile(usedPath(typed, home)))
        return std::nullopt;
    return folder.isEmpty() ? QStringLiteral(".") + platform::kSeparator : folder;
}

QString notAFolder(const QString& name, const QString& text, const QString& home) {
    if (text.isEmpty())
        return name + QStringLiteral(" is empty");
    const QString path = usedPath(text, home);
    const platform::Place place = platform::placeAt(withoutTrailingSeparators(path));
    if (place == platform::Place::Folder)
        return {};
    if (place == platform::Place::Nothing)
        return name + QStringLiteral(" is not a folder: there is nothing at ") + path;
    return name + QStringLiteral(" is not a folder: ") + withoutTrailingSeparators(path) +
           QStringLiteral(" is ") + platform::placeName(place);
}

QStringList pathProblems(const ui::Form1& form) {
    QStringList lines;
    for (const auto& [name, box] :
         {std::pair{"Emu Path", form.Text4}, std::pair{"Rom Path", form.Text5}}) {
        if (const QString line = notAFolder(QLatin1String(name), box->text()); !line.isEmpty())
            lines.append(line);
    }
    return lines;
}

} // namespace catalogue
