#include "app/Frontend.h"

#include "app/Lifecycle.h"
#include "app/PathCheck.h"
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
#include "emulator/LinkedPlay.h"
#include "emulator/PadSetupPanel.h"
#include "emulator/SettingsFace.h"
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
    StartUp(m_form, m_catalogue, m_programFileFolder);
    // Once the window is up: start-up shows the built-in games at once, and
    // the rest of the emulator's join a moment later.
    QTimer::singleShot(0, this, [this] { CompleteStartUp(m_form, m_catalogue); });
}

void Frontend::shutdown() {
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    ShutDown(m_form);
    m_endProcess();
}

void Frontend::route() {
    using ui::Form1;
    Form1& f = m_form;
    ui::Dialogs& d = m_dialogs;
    emulator::Launcher& l = m_launcher;
    bindings::BindingStore& s = m_bindingStore;
    catalogue::GameCatalogue& g = m_catalogue;
    emulator::SettingsSession& m = m_settings;
    bindings::PadSetup& p = m_padSetup;
    platform::GameDevices& v = m_padDevices;
    emulator::LinkedGroup& k = m_linked;

    // clang-format off
    // event                                   handler
    connect(&f, &Form1::closeRequested,        this, [this] { shutdown(); });
    connect(&f, &Form1::command1Clicked,       this, [&f, &g, &l, &d] { emulator::Launch(f, g, l, d); });
    connect(&f, &Form1::command2Clicked,       this, [&f, &g] { CheckTxt(f); catalogue::NewScan(f, g); });
    connect(&f, &Form1::command3Clicked,       this, [&f, &s, &g, &d, &m] { CheckTxt(f); if (emulator::CloseSettings(f, m, d)) { emulator::OpenPanel(f, s, g, d); emulator::FollowSelectedSet(f, s, g); } });
    connect(&f, &Form1::command9Clicked,       this, [&f, &m, &s, &g, &d] { CheckTxt(f); emulator::OpenSettings(f, m, s, g, d, false); });
    connect(&f, &Form1::settingEdited,         this, [&f, &m, &g](const QString& name, const QString& value) { emulator::EditSetting(f, m, g, name, value); });
    connect(&f, &Form1::settingPutBack,        this, [&f, &m, &g](const QString& name) { emulator::PutBackSetting(f, m, g, name); });
    connect(&f, &Form1::settingsScopeChosen,   this, [&f, &m, &g](bool thisGame) { emulator::ChooseSettingsScope(f, m, g, thisGame); });
    connect(&f, &Form1::settingsSaveClicked,   this, [&f, &m, &d] { emulator::SaveSettings(f, m, d); });
    connect(&f, &Form1::settingsCloseClicked,  this, [&f, &m, &d] { emulator::CloseSettings(f, m, d); });
    connect(&f, &Form1::windowOptionsChanged,  this, [&f, &m, &g] { emulator::SettingsFollowWindow(f, m, g); });
    connect(&f, &Form1::command4Clicked,       this, [&f, &s] { emulator::RestorePanel(f, s); });
    connect(&f, &Form1::command5Clicked,       this, [&f, &s] { bindings::AllOverAgain(f, s); });
    connect(&f, &Form1::command6Clicked,       this, [&f, &s, &d] { emulator::Save(f, s, d); });
    connect(&f, &Form1::command7Clicked,       this, [&f, &s, &g, &d, &l] { emulator::StartInputConfiguration(f, s, g, d, l); });
    connect(&f, &Form1::image5Clicked,         this, [&f, &s, &d] { emulator::ClosePanel(f, s, d); });
    connect(&f, &Form1::slotDoubleClicked,     this, [&f, &s](int slot) { bindings::BeginCapture(f, s, slot); });
    connect(&f, &Form1::slotMenuRequested,     this, [&f, &s](int slot, const QPoint& at) { bindings::ShowSlotMenu(f, s, slot, at); });
    connect(&f, &Form1::command8Clicked,       this, [&f, &s, &g] { emulator::TurnPage(f, s, g); });
    connect(&f, &Form1::command10Clicked,      this, [&f, &p, &g, &v] { emulator::OpenPadSetup(f, p, g, v); });
    connect(&f, &Form1::padBackClicked,        this, [&f, &p, &v] { emulator::ClosePadSetup(f, p, v); });
    connect(&f, &Form1::padPlayerToggled,      this, [&f, &p](bool second) { emulator::ShowPadPlayer(f, p, second); });
    connect(&f, &Form1::padNintendoToggled,    this, [&f, &p](bool nintendo) { emulator::SetPadNintendo(f, p, nintendo); });
    connect(&f, &Form1::padDeadZoneChosen,     this, [&f, &p](int index) { emulator::ChoosePadDeadZone(f, p, index); });
    connect(&f, &Form1::padScopeChosen,        this, [&f, &p](int index) { emulator::ChoosePadScope(f, p, index); });
    connect(&f, &Form1::padPartChosen,         this, [&f, &p, &v](int part) { emulator::ChoosePadPart(f, p, v, part); });
    connect(&f, &Form1::padTakeOffClicked,     this, [&f, &p] { emulator::TakePartOffPad(f, p); });
    connect(&f, &Form1::padApplyClicked,       this, [&f, &p, &s, &d] { emulator::ApplyPadSetup(f, p, s, d); });
    connect(&v, &platform::GameDevices::polled, this, [&f, &p, &v] { emulator::PadDevicesPolled(f, p, v); });
    connect(&f, &Form1::list2RowSelected,      this, [&f, &g] { CheckTxt(f); catalogue::SelectionView(f, g); });
    connect(&f, &Form1::list2RowSelected,      this, [&f, &s, &g] { if (bindings::pageShown(f)) emulator::ShowSelectedGame(f, s, g); });
    connect(&f, &Form1::list2RowSelected,      this, [&f, &m, &g] { emulator::SettingsFollowRow(f, m, g); });
    connect(&f, &Form1::list2RowSelected,      this, [&f, &s, &g] { emulator::FollowSelectedSet(f, s, g); });
    connect(&f, &Form1::list2RowSelected,      this, [&f, &p, &g] { emulator::PadSetupFollowRow(f, p, g); });
    connect(&f, &Form1::list2DoubleClicked,    this, [&f, &g, &l, &d] { emulator::LaunchFromList(f, g, l, d); });
    connect(&f, &Form1::list2MenuRequested,    this, [&f, &g, &l, &d, &m, &s, &k](int, const QPoint& at) { CheckTxt(f); emulator::ShowVersionMenu(f, g, l, d, at, [&f, &m, &s, &g, &d] { emulator::OpenSettings(f, m, s, g, d, true); }, [&f, &g, &l, &d, &k](const QString& archive, const QString& set, int cabinets) { emulator::LinkedPlay(f, g, l, d, k, archive, set, cabinets); }); });
    connect(&f, &Form1::captureKeyPressed,     this, [&f, &s](int key, const QString& text, quint32 scanCode) { bindings::CaptureKey(f, s, key, text, scanCode); });
    connect(&f, &Form1::captureMousePressed,   this, [&f, &s](Qt::MouseButton button) { bindings::CaptureMouse(f, s, button); });
    connect(&f, &Form1::captureMouseMoved,     this, [&f, &s](const QPoint& at) { bindings::CaptureMouseMove(f, s, at); });
    connect(&m_deviceCapture, &bindings::DeviceCapture::captured, this, [&f, &s](const QString& source) { bindings::CaptureDevice(f, s, source); });
    s.capture.begun = [this] { m_deviceCapture.begin(); };
    connect(&l, &emulator::Launcher::printed,  this, [&f](const QString& text) { emulator::InputSetupPrinted(f, text); });
    connect(&l, &emulator::Launcher::finished, this, [&f, &s, &g, &d] { emulator::InputSetupFinished(f, s, g, d); });
    connect(&l, &emulator::Launcher::finished, this, [&f, &d, &k](int status, const QStringList& lines, bool kept, int run) { emulator::RunEnded(f, d, k, status, lines, kept, run); });
    // clang-format on
}

} // namespace app
