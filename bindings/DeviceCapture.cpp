#include "bindings/DeviceCapture.h"

#include "bindings/BindingStore.h"
#include "bindings/Capture.h"
#include "platform/GameDevices.h"
#include "ui/CaptureBox.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QFontMetrics>
#include <QLabel>

namespace bindings {

namespace {

// The slot being captured, from the panel's tag; -1 when none.
int capturedSlot(const ui::Form1& form) {
    bool ok = false;
    const int slot = ui::tag(form.Picture3).toInt(&ok);
    return ok && form.slotLabel(slot) ? slot : -1;
}

} // namespace

DeviceCapture::DeviceCapture(ui::Form1& form, platform::GameDevices& devices,
                             const BindingStore& store, QObject* parent)
    : QObject(parent), m_form(form), m_devices(devices), m_store(store) {
    connect(&m_devices, &platform::GameDevices::polled, this, &DeviceCapture::poll);
    connect(&m_devices, &platform::GameDevices::listChanged, this,
            [this] { m_listChanged = true; });
}

void DeviceCapture::begin() {
    if (m_devices.running())
        return;
    reset();
    m_numbering = numberingFor(m_store.inputSystemFor(m_store.selectedSet));
    m_devices.start(m_numbering == Numbering::GameController
                        ? platform::GameDevices::Reading::GameController
                        : platform::GameDevices::Reading::Joystick);
}

void DeviceCapture::reset() {
    m_rest.clear();
    m_held.clear();
    m_shown.clear();
    m_travel.clear();
    m_slot = -1;
    m_listChanged = false;
}

void DeviceCapture::poll() {
    const int slot = capturedSlot(m_form);
    if (m_form.Text6->isHidden() || slot < 0) {
        m_devices.stop();
        reset();
        m_form.Label3->setToolTip(QString());
        return;
    }
    if (slot != m_slot) {
        m_travel.clear(); // each slot of the walk starts its own travel
        m_slot = slot;
    }
    const InputKind kind = slotKind(m_form, slot);
    const std::vector<platform::GameDevice>& devices = m_devices.devices();
    const std::vector<int> numbers = deviceNumbers(devices, m_numbering);
    std::optional<QString> unnamedText;
    for (std::size_t n = 0; n < devices.size(); ++n) {
        const platform::GameDevice& device = devices[n];
        const int number = numbers[n];
        if (!device.readable || number == 0)
            continue;
        const auto rest = m_rest.find(device.key);
        if (rest == m_rest.end()) {
            // First seen (at the start, or just plugged in): this is its rest.
            m_rest.insert(device.key, device.state);
            continue;
        }
        if (m_held.contains(device.key)) {
            if (!backAtRest(*rest, device.state, m_numbering))
                continue;
            m_held.remove(device.key);
        }
        const DeviceEvent event =
            kind == InputKind::WholeAxis
                ? wholeAxisEvent(number, *rest, device.state, m_numbering, m_travel[device.key])
                : deviceEvent(number, *rest, device.state, m_numbering, kind == InputKind::Pedal);
        settle(*rest, device.state);
        if (event.kind == DeviceEvent::Kind::Named) {
            m_held.insert(device.key);
            Q_EMIT captured(event.source);
            return;
        }
        if (event.kind == DeviceEvent::Kind::Unnamed && !unnamedText)
            unnamedText = QStringLiteral("Joystick %1 %2: no name in the emulator, press another")
                              .arg(number)
                              .arg(event.control);
    }
    if (unnamedText)
        showPrompt(*unnamedText, *unnamedText);
    else if (m_form.Label3->text() != m_shown || m_listChanged)
        showDevices();
    m_listChanged = false;
}

void DeviceCapture::showPrompt(const QString& text, const QString& tooltip) {
    m_form.Label3->setToolTip(tooltip);
    m_shown = QFontMetrics(m_form.Label3->font())
                  .elidedText(text, Qt::ElideRight, m_form.Label3->contentsRect().width());
    m_form.Label3->setText(m_shown);
}

// The capture's prompt names the connected devices by the numbers the
// emulator gives them, shortened to fit its line; its tooltip holds them
// all, after the prompt's whole text where the line shows less, and names
// the devices a game reading game controllers skips. A whole-axis input's
// prompt already asks for a stick, and keeps its room for that.
void DeviceCapture::showDevices() {
    const std::vector<platform::GameDevice>& devices = m_devices.devices();
    const QString base = m_store.capture.prompt.shown;
    QStringList tooltip;
    if (const QString whole = m_store.capture.prompt.whole; whole != base)
        tooltip.append(whole);
    if (devices.empty()) {
        showPrompt(base, tooltip.join(u'\n'));
        return;
    }
    const std::vector<int> numbers = deviceNumbers(devices, m_numbering);
    QStringList names;
    QStringList skipped;
    for (std::size_t n = 0; n < devices.size(); ++n) {
        if (numbers[n] > 0)
            names.append(QStringLiteral("%1 %2").arg(numbers[n]).arg(devices[n].name));
        else
            skipped.append(devices[n].name);
    }
    if (!names.isEmpty())
        tooltip.append(QLatin1String("Game devices: ") + names.join(QLatin1String(", ")));
    if (!skipped.isEmpty())
        tooltip.append(QLatin1String("Not game controllers, which the emulator skips under "
                                     "sdlgamepad: ") +
                       skipped.join(QLatin1String(", ")));
    if (names.isEmpty() || slotKind(m_form, capturedSlot(m_form)) == InputKind::WholeAxis)
        showPrompt(base, tooltip.join(u'\n'));
    else
        showPrompt(base + QLatin1String(" or joystick ") + names.join(QLatin1String(", ")),
                   tooltip.join(u'\n'));
}

} // namespace bindings
