#include "bindings/SlotMenu.h"

#include "bindings/BindingValue.h"
#include "bindings/Capture.h"
#include "bindings/SlotBinding.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/SlotState.h"
#include "ui/Tag.h"

#include <QMenu>

namespace bindings {

namespace {

// Stores the slot's new value and marks the panel as holding unsaved edits.
void edit(ui::Form1& form, int slot, const QString& value) {
    editSlotBinding(form, slot, value);
    ui::setTag(form.Picture3, QString::number(slot));
}

} // namespace

QMenu* ShowSlotMenu(ui::Form1& form, int slot, const QPoint& globalPos) {
    ui::ClickableLabel* label = form.slotLabel(slot);
    if (!label)
        return nullptr;
    EndCapture(form);
    const QString value = ui::slotValue(label);
    auto* menu = new QMenu(&form);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("&Bind a key or a device control"), &form,
                    [&form, slot] { BeginCapture(form, slot); });
    QAction* key = menu->addAction(QStringLiteral("Remove the &key"), &form,
                                   [&form, slot, value] { edit(form, slot, withoutKey(value)); });
    key->setEnabled(hasKey(value));
    QAction* joystick =
        menu->addAction(QStringLiteral("Remove the &joystick"), &form,
                        [&form, slot, value] { edit(form, slot, withoutJoystick(value)); });
    joystick->setEnabled(hasJoystick(value));
    menu->popup(globalPos);
    return menu;
}

} // namespace bindings
