#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace ui {

namespace {

QString titleOrAppName(const QString& title) {
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

} // namespace

void MessageBoxDialogs::tell(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, titleOrAppName(title), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxDialogs::ask(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, titleOrAppName(title), text,
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace ui
