#include "bindings/SlotMenu.h"

#include "bindings/BindingValue.h"
#include "bindings/Capture.h"
#include "bindings/SlotBinding.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QMenu>

namespace bindings {

namespace {

// Stores the slot's new value and marks the panel as holding unsaved edits.
void edit(ui::Form1& form, BindingStore& store, int slot, const QString& value) {
    editSlot(form, store, slot, value);
    ui::setTag(form.Picture3, QString::number(slot));
}

} // namespace

QMenu* ShowSlotMenu(ui::Form1& form, BindingStore& store, int slot, const QPoint& globalPos) {
    if (!form.slotLabel(slot))
        return nullptr;
    EndCapture(form, store);
    const QString value = slotValue(form, store, slot);
    auto* menu = new QMenu(&form);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("&Bind a key or a device control"), &form,
                    [&form, &store, slot] { BeginCapture(form, store, slot); });
    QAction* key =
        menu->addAction(QStringLiteral("Remove the &key"), &form, [&form, &store, slot, value] {
            edit(form, store, slot, withoutKey(value));
        });
    key->setEnabled(hasKey(value));
    QAction* joystick = menu->addAction(
        QStringLiteral("Remove the &joystick"), &form,
        [&form, &store, slot, value] { edit(form, store, slot, withoutJoystick(value)); });
    joystick->setEnabled(hasJoystick(value));
    menu->popup(globalPos);
    return menu;
}

} // namespace bindings
