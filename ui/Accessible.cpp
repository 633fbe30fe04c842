#include "ui/Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QMetaObject>

namespace ui {

namespace {

constexpr char kCaption[] = "kestrunAccessibleCaption";
constexpr char kWhenEmpty[] = "kestrunAccessibleWhenEmpty";
constexpr char kButton[] = "kestrunAccessibleButton";

// A label whose name is built from its caption and its current text, or a
// picture label that can be pressed.
class LabelInterface final : public QAccessibleWidget {
public:
    LabelInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        const QVariant caption = widget()->property(kCaption);
        if (!caption.isValid())
            return QAccessibleWidget::text(t);
        const auto* label = qobject_cast<const QLabel*>(widget());
        QString value = label ? label->text() : QString();
        if (value.isEmpty())
            value = widget()->property(kWhenEmpty).toString();
        return caption.toString() + QLatin1String(": ") + value;
    }

    QStringList actionNames() const override {
        if (role() == QAccessible::Button)
            return {pressAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (role() == QAccessible::Button && action == pressAction() && widget()->isEnabled())
            QMetaObject::invokeMethod(widget(), "clicked");
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* labelInterface(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->property(kButton).toBool())
        return new LabelInterface(widget, QAccessible::Button);
    if (widget->property(kCaption).isValid())
        return new LabelInterface(widget, QAccessible::StaticText);
    return nullptr;
}

} // namespace

// The game controller's picture and its parts (PadPicture.cpp).
QAccessibleInterface* padPictureInterface(const QString& className, QObject* object);

void setCaptionedName(QWidget* control, const QString& caption, const QString& whenEmpty) {
    control->setProperty(kCaption, caption);
    control->setProperty(kWhenEmpty, whenEmpty);
}

void setActsAsButton(QWidget* control) {
    control->setProperty(kButton, true);
}

void installAccessibleNames() {
    static const bool installed = [] {
        QAccessible::installFactory(labelInterface);
        QAccessible::installFactory(padPictureInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ui
