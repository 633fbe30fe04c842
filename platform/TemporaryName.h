#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The names of the files the front-end keeps beside a file NAME while it
// replaces it: hidden, with a prefix of our own and the random part last
// (".kestrun-tmp-NAME-XXXXXX"), so that no copy a user makes by hand
// ("NAME.backup", "NAME.old") ever looks like one.

// A fresh name for a file or folder beside `name`; not taken yet at the time
// of asking, most likely.
QByteArray temporaryName(const QByteArray& name);

// True when `candidate` is a name temporaryName can give for some name.
bool isTemporaryName(const QString& candidate);

// True when `candidate` is a name temporaryName(`name`) can give.
bool isTemporaryNameOf(const QString& candidate, const QString& name);

} // namespace platform
