#include "ui/Notice.h"

#include <QAccessible>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace ui {

namespace {

constexpr int kShownMs = 4000;
const QString kNoticeName = QStringLiteral("notice");

QLabel* noticeOf(const QWidget& window) {
    return window.findChild<QLabel*>(kNoticeName, Qt::FindDirectChildrenOnly);
}

QLabel* makeNotice(QWidget& window) {
    auto* label = new QLabel(&window);
    label->setObjectName(kNoticeName);
    // Looks like a tooltip: a passing remark, not a control.
    label->setForegroundRole(QPalette::ToolTipText);
    label->setBackgroundRole(QPalette::ToolTipBase);
    label->setAutoFillBackground(true);
    label->setFrameShape(QFrame::Box);
    label->setMargin(6);
    label->setAlignment(Qt::AlignCenter);
    label->setFocusPolicy(Qt::NoFocus);
    auto* timer = new QTimer(label);
    timer->setSingleShot(true);
    timer->setInterval(kShownMs);
    QObject::connect(timer, &QTimer::timeout, label, &QWidget::hide);
    return label;
}

} // namespace

void showNotice(QWidget& window, const QString& text) {
    QLabel* label = noticeOf(window);
    if (!label)
        label = makeNotice(window);
    label->setText(text);
    label->setAccessibleName(text);
    label->adjustSize();
    // Low in the window, clear of the path boxes along its bottom edge.
    label->move((window.width() - label->width()) / 2, window.height() * 9 / 10 - label->height());
    label->raise();
    label->show();
    label->findChild<QTimer*>()->start();
    // Read out by screen readers, which would not notice it otherwise.
    QAccessibleEvent event(label, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

QString noticeShown(const QWidget& window) {
    const QLabel* label = noticeOf(window);
    return label && label->isVisible() ? label->text() : QString();
}

} // namespace ui
