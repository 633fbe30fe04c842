#pragma once

#include <QHash>
#include <QString>

#include "ui/PadSetupView.h"
#include "ui/SettingsFace.h"
#include "ui/SetupView.h"
#include "ui/Twips.h"
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace ui {

class CaptureBox;
class CheckBox;
class ClickableLabel;
class GameList;
class Panel;
struct ControlSpec;

// What the window needs to build one binding slot: where it sits (twips,
// relative to the panel), the row caption it announces itself with, and its
// accessible description. Its caller knows what the slots stand for.
struct SlotLook {
    TwipsRect twips;
    QString caption;
    QString description;
};
using SlotLookSource = SlotLook (*)(int slot);

// The one window. It owns every control under its own name; the controls'
// texts, values, captions, colours and tags are the program's whole state.
// It knows nothing of games, files or the emulator: it builds the controls
// and reports their events.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlotCount = 49;
    // The game's page: a fixed pool of entries, relabelled per game. Entry i
    // is slot kPageFirstSlot + i wherever a slot is named by number (the
    // capture, the device capture, the slot menu).
    static constexpr int kPageEntryCount = 28;
    static constexpr int kPageHeadingCount = 8;
    static constexpr int kPageFirstSlot = kSlotCount;
    static constexpr int kAllSlotCount = kSlotCount + kPageEntryCount;
    static constexpr QSize kClientSize{623, 649};

    explicit Form1(QWidget* parent = nullptr);

    // Builds the binding panel's slots, its game page and what covers them
    // during the emulator's set-up. Start-up never shows the panel, so they
    // wait for this call; until then Label1, page() and setupView() hold
    // nulls. Calling it again does nothing.
    void buildPanel();
    bool panelBuilt() const { return Label1.built(); }

    // The binding panel's key slots.
    class SlotLabels {
    public:
        using Array = std::array<ClickableLabel*, kSlotCount>;
        ClickableLabel* operator[](std::size_t i) const { return m_labels[i]; }
        Array::const_iterator begin() const { return m_labels.begin(); }
        Array::const_iterator end() const { return m_labels.end(); }
        static constexpr std::size_t size() { return kSlotCount; }
        bool built() const { return m_labels[0] != nullptr; }

    private:
        friend class Form1;
        Array m_labels{};
    };

    // The game's page over the chart, built with the slots: the page, its
    // title, its scrolled rows, the entries (slot labels like Label1), their
    // row labels and the group headings; and the button that turns between
    // chart and page.
    struct GamePage {
        QWidget* Picture4 = nullptr;
        QLabel* Label6 = nullptr;
        QScrollArea* rows = nullptr;
        std::array<ClickableLabel*, kPageEntryCount> Label7{};
        std::array<QLabel*, kPageEntryCount> Label8{};
        std::array<QLabel*, kPageHeadingCount> Label9{};
        QPushButton* Command8 = nullptr;
        QPushButton* Command10 = nullptr; // sets up a game controller for the game
    };
    const GamePage& page() const { return m_page; }

    // What covers the chart and the page while the emulator's own set-up
    // runs (ui::SetupView), in front of them.
    const SetupView& setupView() const { return m_setup; }

    // The game controller set-up over the game's page (ui::PadSetupView),
    // built with the panel.
    const PadSetupView& padSetup() const { return m_pad; }

    // The emulator's settings over the help text (ui::SettingsFace), built
    // by the first buildSettingsFace and hidden; null before.
    SettingsFace* settingsFace() const { return m_face; }
    void buildSettingsFace(QList<SettingRowSpec> rows);

    // Slot `id`: a chart slot (below kSlotCount) or a page entry; null for
    // any other number.
    ClickableLabel* slotLabel(int id) const;

    // Controls, named as designed.
    Panel* Picture1 = nullptr;
    Panel* Picture2 = nullptr;
    Panel* Picture3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command9 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    CaptureBox* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    CheckBox* Check1 = nullptr;
    CheckBox* Check2 = nullptr;
    CheckBox* Check3 = nullptr;
    CheckBox* Check4 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Image4 = nullptr;
    ClickableLabel* Image5 = nullptr;
    GameList* List2 = nullptr;
    SlotLabels Label1;
    std::array<QLabel*, 3> Label2{};
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;

    // Where the slots' looks come from; set before anything asks for a slot.
    void setSlotLooks(SlotLookSource source) { m_slotLooks = source; }

    // The control named `name` ("Command1", "Label1(12)", ...), or null.
    QWidget* control(const QString& name) const;

    // Shows numbered picture `number` in `image`, drawn at the image's size.
    // Returns false, leaving the image as it was, when it cannot be loaded.
    bool showPicture(QLabel* image, int number);

    // Shows a drawn title card in `image`, at the image's size; its picture
    // number is then 0.
    void showTitleCard(QLabel* image, const QString& title, const QString& maker,
                       const QString& year);

    // The picture last shown in `image` through showPicture, or 0.
    int pictureNumber(const QLabel* image) const { return m_pictureNumbers.value(image); }

    static void setBackColor(QWidget* control, const QColor& colour);
    static QColor backColor(const QWidget* control);

    void minimize();

Q_SIGNALS:
    void command1Clicked();
    void command2Clicked();
    void command3Clicked();
    void command4Clicked();
    void command5Clicked();
    void command6Clicked();
    void command7Clicked();
    void image5Clicked();
    void slotDoubleClicked(int slot);
    void command8Clicked();
    void command9Clicked();
    // The game controller set-up's.
    void command10Clicked();
    void padPlayerToggled(bool second);
    void padNintendoToggled(bool nintendo);
    void padDeadZoneChosen(int index);
    void padPartChosen(int part);
    void padScopeChosen(int index);
    void padTakeOffClicked();
    void padApplyClicked();
    void padBackClicked();
    // The settings face's, once built.
    void settingEdited(const QString& name, const QString& value);
    void settingPutBack(const QString& name);
    void settingsScopeChosen(bool thisGame);
    void settingsSaveClicked();
    void settingsCloseClicked();
    // A box whose value goes on the command line changed: the ticks and the
    // resolution and frequency texts.
    void windowOptionsChanged();
    void slotMenuRequested(int slot, const QPoint& globalPos);
    void list2RowSelected(int row);
    void list2DoubleClicked(int row);
    void list2MenuRequested(int row, const QPoint& globalPos);
    void captureKeyPressed(int qtKey, const QString& text, quint32 nativeScanCode);
    void captureMousePressed(Qt::MouseButton button);
    void captureMouseMoved(const QPoint& at);
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* createControl(const ControlSpec& spec, QWidget* container);
    void buildControls();
    void buildSlots();
    void buildPage();
    void buildPadSetup();
    void applyLooks();
    void describeControls();
    void applyTabOrder();
    void showWindowPictures();
    void routeEvents();
    void keepFixedSize();

    QHash<QString, QWidget*> m_controls;
    SlotLookSource m_slotLooks = nullptr;
    GamePage m_page;
    SetupView m_setup;
    PadSetupView m_pad;
    QHash<const QLabel*, int> m_pictureNumbers;
    SettingsFace* m_face = nullptr;
};

} // namespace ui
