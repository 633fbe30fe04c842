#include "bindings/Capture.h"

#include "bindings/BindingValue.h"
#include "bindings/KeyNames.h"
#include "bindings/SlotBinding.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/SlotState.h"
#include "ui/Tag.h"

#include <QPushButton>
#include <QRegularExpression>

namespace bindings {

namespace {

const QString kWalking = QStringLiteral("1");

// The value with `source` as its joystick source. A key written bare ("A",
// as the panel's own file has them) is written "KEY_A" once it has company,
// the way the emulator writes lists.
QString withDeviceSource(const QString& value, const QString& source) {
    const QString joined = withJoystick(value, source);
    const QStringList sources = splitSources(value);
    static const QRegularExpression prefixed(QStringLiteral("^KEY\\d*_"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (sources.size() != 1 || sourceKind(sources[0]) != SourceKind::Keyboard ||
        prefixed.match(sources[0]).hasMatch())
        return joined;
    return withJoystick(withKey(withoutKey(joined), shownKey(joined)), source);
}

} // namespace

void BeginCapture(ui::Form1& form, int slot) {
    if (slot < 0 || slot >= ui::Form1::kSlotCount)
        return;
    const ui::ClickableLabel* label = form.Label1[std::size_t(slot)];
    ui::setTag(form.Picture3, QString::number(slot));
    form.Text6->setGeometry(label->x(), label->y(), label->width(), label->height());
    form.Text6->show();
    form.Label3->setText(QLatin1String("Input") + ui::tag(label) +
                         QLatin1String(" Press Keys ..."));
    form.Text6->setFocus(Qt::OtherFocusReason);
}

void FinishCapture(ui::Form1& form, const std::optional<QString>& name) {
    // The tag holds the slot's number; anything else reads as slot 0.
    bool ok = false;
    int k = ui::tag(form.Picture3).toInt(&ok);
    if (!ok || k < 0 || k >= ui::Form1::kSlotCount)
        k = 0;
    // The captured key replaces the value's keys; its joystick sources stay.
    if (name)
        editSlotBinding(form, k, withKey(ui::slotValue(form.Label1[std::size_t(k)]), *name));
    form.Text6->setText(QString());
    form.Text6->hide();
    form.Label3->setText(QString());
    if (ui::tag(form.Command5) == kWalking && k <= 47) {
        BeginCapture(form, k + 1);
        return;
    }
    ui::setTag(form.Command5, QString());
    form.Command6->setFocus(Qt::OtherFocusReason);
}

void AllOverAgain(ui::Form1& form) {
    ui::setTag(form.Command5, kWalking);
    for (int i = 0; i < ui::Form1::kSlotCount; ++i)
        editSlotBinding(form, i, withoutKey(ui::slotValue(form.Label1[std::size_t(i)])));
    BeginCapture(form, 0);
}

void CaptureKey(ui::Form1& form, int qtKey, const QString& text, quint32 nativeScanCode) {
    if (form.Text6->isHidden())
        return;
    const KeyFacts facts = keyFactsFromQt(qtKey, text);
    if (facts.virtualKey) {
        if (const auto name = keyDownName(*facts.virtualKey)) {
            FinishCapture(form, name);
            return;
        }
    }
    if (facts.characterCode) {
        const KeyPressName press = keyPressName(*facts.characterCode);
        if (press.finishes) {
            FinishCapture(form, press.name);
            return;
        }
        if (const auto name = physicalKeyName(nativeScanCode)) {
            FinishCapture(form, name);
            return;
        }
    }
    // No name for the key or its character: keep waiting.
    form.Text6->setFocus(Qt::OtherFocusReason);
}

void CaptureMouse(ui::Form1& form, Qt::MouseButton button) {
    if (form.Text6->isHidden())
        return;
    if (const auto name = mouseButtonName(mouseButtonCode(button)))
        FinishCapture(form, name);
}

void CaptureDevice(ui::Form1& form, const QString& source) {
    bool ok = false;
    const int k = ui::tag(form.Picture3).toInt(&ok);
    if (form.Text6->isHidden() || !ok || k < 0 || k >= ui::Form1::kSlotCount)
        return;
    editSlotBinding(form, k, withDeviceSource(ui::slotValue(form.Label1[std::size_t(k)]), source));
    FinishCapture(form, std::nullopt);
}

void EndCapture(ui::Form1& form) {
    form.Text6->setText(QString());
    form.Text6->hide();
    form.Label3->setText(QString());
    ui::setTag(form.Command5, QString());
}

} // namespace bindings
