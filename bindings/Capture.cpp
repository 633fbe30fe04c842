#include "bindings/Capture.h"

#include "bindings/BindingValue.h"
#include "bindings/BuiltInValues.h"
#include "bindings/GameInputs.h"
#include "bindings/GamePage.h"
#include "bindings/KeyNames.h"
#include "bindings/SlotBinding.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>

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

// The slot being captured, from the panel's tag; -1 when none.
int capturedSlot(const ui::Form1& form) {
    bool ok = false;
    const int slot = ui::tag(form.Picture3).toInt(&ok);
    return ok && form.slotLabel(slot) ? slot : -1;
}

// A whole-axis input's capture box is taller than its slot, so that the
// mouse can be moved across it up and down too.
constexpr int kAxisBoxHeight = 40;
// The share of the box the mouse must cross.
constexpr double kAcross = 0.6;

// The prompt, kept also apart from the devices the device capture adds to
// it. A shortened one has its whole text in its tooltip and its description.
void setPrompt(ui::Form1& form, BindingStore& store, const CapturePrompt& prompt) {
    store.capture.prompt = prompt;
    form.Label3->setText(prompt.shown);
    const QString more = prompt.whole != prompt.shown ? prompt.whole : QString();
    form.Label3->setToolTip(more);
    form.Label3->setAccessibleDescription(more);
}

void setPrompt(ui::Form1& form, BindingStore& store, const QString& text) {
    setPrompt(form, store, {text, text});
}

// The slot after `slot` in the walk, or -1 at the end of its page.
int nextInWalk(const ui::Form1& form, int slot) {
    if (slot < ui::Form1::kSlotCount)
        return slot + 1 < ui::Form1::kSlotCount ? slot + 1 : -1;
    return slot + 1 < ui::Form1::kPageFirstSlot + pageEntries(form) ? slot + 1 : -1;
}

} // namespace

CapturePrompt wholeAxisPrompt(AxisPrompt which, const QString& input) {
    const QString how =
        QStringLiteral(": move a stick from one end to the other, or the mouse across the red box");
    switch (which) {
    case AxisPrompt::Waiting:
        return {QLatin1String("Input") + input +
                    QLatin1String(": a stick end to end, or the mouse"),
                QLatin1String("Input") + input + how};
    case AxisPrompt::KeyRefused:
        return {QLatin1String("A key cannot drive ") + input + QLatin1String(": a stick or mouse"),
                QLatin1String("A key cannot drive ") + input + how};
    case AxisPrompt::ButtonRefused:
        break;
    }
    return {QLatin1String("A mouse button cannot drive ") + input,
            QLatin1String("A mouse button cannot drive ") + input + how};
}

InputKind slotKind(const ui::Form1& form, int slot) {
    const ui::ClickableLabel* label = form.slotLabel(slot);
    return label ? inputKind(currentInputName(ui::tag(label).toStdString())) : InputKind::Switch;
}

void BeginCapture(ui::Form1& form, BindingStore& store, int slot) {
    ui::ClickableLabel* label = form.slotLabel(slot);
    if (!label)
        return;
    ui::setTag(form.Picture3, QString::number(slot));
    if (slot >= ui::Form1::kPageFirstSlot)
        form.page().rows->ensureWidgetVisible(label, 0, 4);
    QRect box(label->mapTo(form.Picture3, QPoint(0, 0)), label->size());
    const bool wholeAxis = slotKind(form, slot) == InputKind::WholeAxis;
    if (wholeAxis) {
        box.setTop(box.center().y() - kAxisBoxHeight / 2);
        box.setHeight(kAxisBoxHeight);
    }
    form.Text6->setGeometry(box);
    store.capture.moveStart.reset();
    form.Text6->show();
    form.Text6->raise();
    if (wholeAxis)
        setPrompt(form, store, wholeAxisPrompt(AxisPrompt::Waiting, ui::tag(label)));
    else
        setPrompt(form, store,
                  QLatin1String("Input") + ui::tag(label) + QLatin1String(" Press Keys ..."));
    form.Text6->setFocus(Qt::OtherFocusReason);
    if (store.capture.begun)
        store.capture.begun();
}

void FinishCapture(ui::Form1& form, BindingStore& store, const std::optional<QString>& name) {
    // The tag holds the slot's number; anything else reads as slot 0.
    int k = capturedSlot(form);
    if (k < 0)
        k = 0;
    // The captured key replaces the value's keys; its joystick sources stay.
    if (name)
        editSlot(form, store, k, withKey(slotValue(form, store, k), *name));
    form.Text6->setText(QString());
    form.Text6->hide();
    setPrompt(form, store, QString());
    const int next = nextInWalk(form, k);
    if (ui::tag(form.Command5) == kWalking && next >= 0) {
        BeginCapture(form, store, next);
        return;
    }
    ui::setTag(form.Command5, QString());
    // On the page the next entry is at hand, 17 Tabs closer than Save; the
    // chart goes on to Save.
    if (k >= ui::Form1::kPageFirstSlot && next >= 0) {
        ui::ClickableLabel* entry = form.slotLabel(next);
        form.page().rows->ensureWidgetVisible(entry, 0, 4);
        entry->setFocus(Qt::OtherFocusReason);
        return;
    }
    form.Command6->setFocus(Qt::OtherFocusReason);
}

void AllOverAgain(ui::Form1& form, BindingStore& store) {
    ui::setTag(form.Command5, kWalking);
    // The page shown walks its own entries only.
    const bool page = pageShown(form);
    const int first = page ? ui::Form1::kPageFirstSlot : 0;
    const int end = page ? first + pageEntries(form) : ui::Form1::kSlotCount;
    if (first == end) {
        ui::setTag(form.Command5, QString());
        return;
    }
    for (int i = first; i < end; ++i)
        store.edit(slotInput(form, i), withoutKey(slotValue(form, store, i)));
    renderSlots(form, store);
    BeginCapture(form, store, first);
}

void CaptureKey(ui::Form1& form, BindingStore& store, int qtKey, const QString& text,
                quint32 nativeScanCode) {
    if (form.Text6->isHidden())
        return;
    const int slot = capturedSlot(form);
    if (slot >= 0 && slotKind(form, slot) == InputKind::WholeAxis) {
        // The emulator takes no key there: Esc skips, any other key is refused.
        if (qtKey == Qt::Key_Escape)
            FinishCapture(form, store, std::nullopt);
        else
            setPrompt(form, store,
                      wholeAxisPrompt(AxisPrompt::KeyRefused, ui::tag(form.slotLabel(slot))));
        return;
    }
    const KeyFacts facts = keyFactsFromQt(qtKey, text);
    if (facts.virtualKey) {
        if (const auto name = keyDownName(*facts.virtualKey)) {
            FinishCapture(form, store, name);
            return;
        }
    }
    if (facts.characterCode) {
        const KeyPressName press = keyPressName(*facts.characterCode);
        if (press.finishes) {
            FinishCapture(form, store, press.name);
            return;
        }
        if (const auto name = physicalKeyName(nativeScanCode)) {
            FinishCapture(form, store, name);
            return;
        }
    }
    // No name for the key or its character: keep waiting.
    form.Text6->setFocus(Qt::OtherFocusReason);
}

void CaptureMouse(ui::Form1& form, BindingStore& store, Qt::MouseButton button) {
    if (form.Text6->isHidden())
        return;
    const int slot = capturedSlot(form);
    if (slot >= 0 && slotKind(form, slot) == InputKind::WholeAxis) {
        setPrompt(form, store,
                  wholeAxisPrompt(AxisPrompt::ButtonRefused, ui::tag(form.slotLabel(slot))));
        return;
    }
    if (const auto name = mouseButtonName(mouseButtonCode(button)))
        FinishCapture(form, store, name);
}

void CaptureMouseMove(ui::Form1& form, BindingStore& store, const QPoint& at) {
    const int slot = capturedSlot(form);
    if (form.Text6->isHidden() || slot < 0 || slotKind(form, slot) != InputKind::WholeAxis)
        return;
    if (!store.capture.moveStart) {
        store.capture.moveStart = at;
        return;
    }
    const QPoint moved = at - *store.capture.moveStart;
    QString axis;
    if (std::abs(moved.x()) >= kAcross * form.Text6->width())
        axis = QStringLiteral("MOUSE_XAXIS");
    else if (std::abs(moved.y()) >= kAcross * form.Text6->height())
        axis = QStringLiteral("MOUSE_YAXIS");
    else
        return;
    // The mouse axis takes the place of the value's mouse and keys.
    const QString rest = withoutKey(slotValue(form, store, slot));
    editSlot(form, store, slot, withoutNone(rest.isEmpty() ? axis : axis + u',' + rest));
    FinishCapture(form, store, std::nullopt);
}

void CaptureDevice(ui::Form1& form, BindingStore& store, const QString& source) {
    const int k = capturedSlot(form);
    if (form.Text6->isHidden() || k < 0 || !accepts(slotKind(form, k), source))
        return;
    editSlot(form, store, k, withDeviceSource(slotValue(form, store, k), source));
    FinishCapture(form, store, std::nullopt);
}

void EndCapture(ui::Form1& form, BindingStore& store) {
    form.Text6->setText(QString());
    form.Text6->hide();
    setPrompt(form, store, QString());
    ui::setTag(form.Command5, QString());
}

} // namespace bindings
