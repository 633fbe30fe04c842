#include "app/Frontend.h"

#include "app/Lifecycle.h"
#include "bindings/BindingChart.h"
#include "bindings/Capture.h"
#include "bindings/GamePage.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotMenu.h"
#include "catalogue/RomScan.h"
#include "catalogue/SelectionView.h"

#include "emulator/BindingPanel.h"
#include "emulator/GameControls.h"
#include "emulator/Launch.h"
#include "emulator/Launcher.h"
#include "emulator/VersionMenu.h"
#include "ui/Form1.h"
#include "ui/Panel.h"
#include <QTimer>

namespace app {

Frontend::Frontend(ui::Form1& form, ui::Dialogs& dialogs, emulator::Launcher& launcher,
                   QString programFileFolder, std::function<void()> endProcess)
    : m_form(form), m_dialogs(dialogs), m_launcher(launcher),
      m_programFileFolder(std::move(programFileFolder)), m_endProcess(std::move(endProcess)) {
    m_form.setSlotLooks(&bindings::slotLook);
    route();
    m_form.Picture3->setBackgroundSource(&bindings::bindingChart);
}

void Frontend::start() {
    startUp(m_form, m_programFileFolder);
    // Once the window is up: start-up shows the built-in games at once, and
    // the rest of the emulator's join a moment later.
    QTimer::singleShot(0, this, [this] { completeStartUp(m_form); });
}

void Frontend::shutdown() {
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    shutDown(m_form);
    m_endProcess();
}

void Frontend::route() {
    using ui::Form1;
    Form1& f = m_form;
    ui::Dialogs& d = m_dialogs;
    emulator::Launcher& l = m_launcher;

    // clang-format off
    // event                                   handler
    connect(&f, &Form1::closeRequested,        this, [this] { shutdown(); });
    connect(&f, &Form1::command1Clicked,       this, [&f, &l, &d] { emulator::Launch(f, l, d); });
    connect(&f, &Form1::command2Clicked,       this, [&f] { catalogue::newScan(f); });
    connect(&f, &Form1::command3Clicked,       this, [&f, &d] { emulator::OpenPanel(f, d); });
    connect(&f, &Form1::command4Clicked,       this, [&f] { emulator::RestorePanel(f); });
    connect(&f, &Form1::command5Clicked,       this, [&f] { bindings::AllOverAgain(f); });
    connect(&f, &Form1::command6Clicked,       this, [&f, &d] { emulator::Save(f, d); });
    connect(&f, &Form1::command7Clicked,       this, [&f, &d, &l] { emulator::StartInputConfiguration(f, d, l); });
    connect(&f, &Form1::image5Clicked,         this, [&f, &d] { emulator::ClosePanel(f, d); });
    connect(&f, &Form1::slotDoubleClicked,     this, [&f](int slot) { bindings::BeginCapture(f, slot); });
    connect(&f, &Form1::slotMenuRequested,     this, [&f](int slot, const QPoint& at) { bindings::ShowSlotMenu(f, slot, at); });
    connect(&f, &Form1::command8Clicked,       this, [&f] { emulator::TurnPage(f); });
    connect(&f, &Form1::list2RowSelected,      this, [&f] { catalogue::selectionView(f); });
    connect(&f, &Form1::list2RowSelected,      this, [&f] { if (bindings::pageShown(f)) emulator::ShowSelectedGame(f); });
    connect(&f, &Form1::list2DoubleClicked,    this, [&f, &l, &d] { emulator::LaunchFromList(f, l, d); });
    connect(&f, &Form1::list2MenuRequested,    this, [&f, &l, &d](int, const QPoint& at) { emulator::ShowVersionMenu(f, l, d, at); });
    connect(&f, &Form1::captureKeyPressed,     this, [&f](int key, const QString& text, quint32 scanCode) { bindings::CaptureKey(f, key, text, scanCode); });
    connect(&f, &Form1::captureMousePressed,   this, [&f](Qt::MouseButton button) { bindings::CaptureMouse(f, button); });
    connect(&f, &Form1::captureMouseMoved,     this, [&f](const QPoint& at) { bindings::CaptureMouseMove(f, at); });
    connect(&m_deviceCapture, &bindings::DeviceCapture::captured, this, [&f](const QString& source) { bindings::CaptureDevice(f, source); });
    connect(&l, &emulator::Launcher::printed,  this, [&f](const QString& text) { emulator::InputSetupPrinted(f, text); });
    connect(&l, &emulator::Launcher::finished, this, [&f, &d](int status, const QStringList& lines, bool kept) { emulator::RunFinished(f, d, status, lines, kept); });
    // clang-format on
}

} // namespace app
