#include "ui/Form1.h"

#include "ui/Accessible.h"
#include "ui/CaptureBox.h"
#include "ui/CheckBox.h"
#include "ui/ClickableLabel.h"
#include "ui/ControlTable.h"
#include "ui/EditBox.h"
#include "ui/GameList.h"
#include "ui/HelpText.h"
#include "ui/PadPicture.h"
#include "ui/PageLayout.h"
#include "ui/Panel.h"
#include "ui/Pictures.h"
#include "ui/SingleLine.h"
#include "ui/Tag.h"
#include "ui/TextFit.h"
#include "ui/TitleCard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextDocument>
#include <algorithm>

namespace ui {

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString slotName(int i) {
    return QStringLiteral("Label1(%1)").arg(i);
}

// Few font sizes, since every family and size the window uses is matched and
// loaded on its own: one fixed-pitch size for the help text and the small
// boxes, one proportional size for the paths, the list and the counters.
constexpr int kFixedPixels = 10;
constexpr int kTextPixels = 15;

// Every character of a fixed-pitch font advances the same; some fonts do not
// carry the flag that says so, so measure.
bool columnsLineUp(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(QStringLiteral("iiii")) ==
           metrics.horizontalAdvance(QStringLiteral("WWWW"));
}

// The platform's fixed-pitch font at `pixelSize`; where the platform names
// none that really is fixed-pitch, whatever the font system offers for
// monospace.
QFont fixedFont(int pixelSize) {
    static const QFont base = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPixelSize(kFixedPixels);
        if (!columnsLineUp(f)) {
            f = QFont(QStringLiteral("monospace"));
            f.setStyleHint(QFont::Monospace);
            f.setFixedPitch(true);
        }
        return f;
    }();
    QFont font = base;
    font.setPixelSize(pixelSize);
    return font;
}

QFont proportionalFont(int pixelSize) {
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    return font;
}

// The longest line of a text: with fixed pitch, also the widest.
QString longestLine(const QString& text) {
    QString longest;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.size() > longest.size())
            longest = line;
    }
    return longest;
}

void setColours(QWidget* control, const QColor& background, const QColor& foreground) {
    QPalette p = control->palette();
    if (background.isValid()) {
        p.setColor(QPalette::Window, background);
        control->setAutoFillBackground(true);
    }
    if (foreground.isValid())
        p.setColor(QPalette::WindowText, foreground);
    control->setPalette(p);
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("Form1"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    installAccessibleNames();
    buildControls();
    applyLooks();
    describeControls();
    applyTabOrder();
    showWindowPictures();
    routeEvents();
    keepFixedSize();
    // The game list is first in the keyboard order: it has the focus when
    // the window first shows.
    List2->setFocus(Qt::OtherFocusReason);

    // Tags used as state, with their values at start.
    setTag(this, QString());
    setTag(Image1, QStringLiteral("\""));
    setTag(Command1, QString());
    setTag(Picture3, QStringLiteral("b"));
    setTag(Command5, QString());
}

QWidget* Form1::createControl(const ControlSpec& spec, QWidget* container) {
    const QString shows = text(spec.shows);
    switch (spec.kind) {
    case ControlKind::Panel:
        return new Panel(container);
    case ControlKind::TextBox:
        return new EditBox(shows, container);
    case ControlKind::HelpBox: {
        auto* box = new QPlainTextEdit(container);
        box->setPlainText(
            QString(helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return box;
    }
    case ControlKind::CaptureBox:
        return new CaptureBox(container);
    case ControlKind::Button:
        return new QPushButton(shows, container);
    case ControlKind::PictureButton:
        return new QPushButton(container);
    case ControlKind::CheckBox:
        return new CheckBox(shows, container);
    case ControlKind::Label:
        return new QLabel(shows, container);
    case ControlKind::SlotLabel:
    case ControlKind::ClickImage:
        return new ClickableLabel(shows, container);
    case ControlKind::Image:
        return new QLabel(container);
    case ControlKind::ListBox:
        return new GameList(container);
    }
    Q_UNREACHABLE();
}

void Form1::buildControls() {
    const auto table = controlTable();
    QList<QWidget*> zOrder; // front to back

    auto place = [&](const ControlSpec& spec, const QString& name, const TwipsRect& rect) {
        QWidget* container = spec.container.empty() ? this : m_controls.value(text(spec.container));
        QWidget* w = createControl(spec, container);
        w->setObjectName(name);
        w->setGeometry(toPixels(rect));
        if (!spec.tooltip.empty())
            w->setToolTip(text(spec.tooltip));
        w->setEnabled(!spec.disabledAtStart);
        w->setVisible(!spec.hiddenAtStart);
        m_controls.insert(name, w);
        zOrder.append(w);
    };

    // The slot labels, which would follow the panel's other controls in the
    // z-order, are built on demand: see buildSlots.
    for (const ControlSpec& spec : table)
        place(spec, text(spec.name), spec.rect);
    // Qt stacks later siblings in front: raise from the back to the front.
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it)
        (*it)->raise();

    auto get = [this](const char* name) { return m_controls.value(QLatin1String(name)); };
    Picture1 = static_cast<Panel*>(get("Picture1"));
    Picture2 = static_cast<Panel*>(get("Picture2"));
    Picture3 = static_cast<Panel*>(get("Picture3"));
    Command1 = static_cast<QPushButton*>(get("Command1"));
    Command2 = static_cast<QPushButton*>(get("Command2"));
    Command3 = static_cast<QPushButton*>(get("Command3"));
    Command4 = static_cast<QPushButton*>(get("Command4"));
    Command5 = static_cast<QPushButton*>(get("Command5"));
    Command6 = static_cast<QPushButton*>(get("Command6"));
    Command7 = static_cast<QPushButton*>(get("Command7"));
    Command9 = static_cast<QPushButton*>(get("Command9"));
    Text1 = static_cast<QLineEdit*>(get("Text1"));
    Text2 = static_cast<QPlainTextEdit*>(get("Text2"));
    Text3 = static_cast<QLineEdit*>(get("Text3"));
    Text4 = static_cast<QLineEdit*>(get("Text4"));
    Text5 = static_cast<QLineEdit*>(get("Text5"));
    Text6 = static_cast<CaptureBox*>(get("Text6"));
    Text7 = static_cast<QLineEdit*>(get("Text7"));
    Check1 = static_cast<CheckBox*>(get("Check1"));
    Check2 = static_cast<CheckBox*>(get("Check2"));
    Check3 = static_cast<CheckBox*>(get("Check3"));
    Check4 = static_cast<CheckBox*>(get("Check4"));
    Image1 = static_cast<QLabel*>(get("Image1"));
    Image2 = static_cast<QLabel*>(get("Image2"));
    Image3 = static_cast<QLabel*>(get("Image3"));
    Image4 = static_cast<QLabel*>(get("Image4"));
    Image5 = static_cast<ClickableLabel*>(get("Image5"));
    List2 = static_cast<GameList*>(get("List2"));
    for (int i = 0; i < 3; ++i)
        Label2[std::size_t(i)] =
            static_cast<QLabel*>(m_controls.value(QStringLiteral("Label2(%1)").arg(i)));
    Label3 = static_cast<QLabel*>(get("Label3"));
    Label4 = static_cast<QLabel*>(get("Label4"));
    Label5 = static_cast<QLabel*>(get("Label5"));
}

void Form1::buildSettingsFace(QList<SettingRowSpec> rows) {
    if (m_face)
        return;
    // Over the help text, exactly as the binding panel lies.
    m_face = new SettingsFace(std::move(rows), this);
    m_face->setGeometry(Text2->geometry());
    m_face->hide();
    m_face->raise();
    connect(m_face, &SettingsFace::edited, this, &Form1::settingEdited);
    connect(m_face, &SettingsFace::putBackRequested, this, &Form1::settingPutBack);
    connect(m_face, &SettingsFace::scopeChosen, this, &Form1::settingsScopeChosen);
    connect(m_face, &SettingsFace::saveClicked, this, &Form1::settingsSaveClicked);
    connect(m_face, &SettingsFace::closeClicked, this, &Form1::settingsCloseClicked);
    m_controls.insert(m_face->objectName(), m_face);
}

void Form1::buildPanel() {
    if (Label1.built())
        return;
    buildSlots();
    buildPage();
    // After the page, so that it lies in front of it; the close mark stays
    // in front of both.
    buildPadSetup();
    m_setup = buildSetupView(Picture3, proportionalFont(11), fixedFont(kFixedPixels));
    for (QWidget* w : {m_setup.Picture5, static_cast<QWidget*>(m_setup.Label10),
                       static_cast<QWidget*>(m_setup.Text8)})
        m_controls.insert(w->objectName(), w);
    Image5->raise();
}

ClickableLabel* Form1::slotLabel(int id) const {
    if (id >= 0 && id < kSlotCount)
        return Label1[std::size_t(id)];
    if (id >= kPageFirstSlot && id < kAllSlotCount)
        return m_page.Label7[std::size_t(id - kPageFirstSlot)];
    return nullptr;
}

QWidget* Form1::control(const QString& name) const {
    return m_controls.value(name);
}

// Builds the slot labels as buildControls and the steps after it would have:
// placed behind the panel's other controls, in the slot font and colours,
// named for screen readers, reporting double clicks, with empty tags.
void Form1::buildSlots() {
    // Slots are all one height; a key name too wide for its slot shrinks
    // further as it is drawn.
    Q_ASSERT(m_slotLooks);
    auto look = [this](int i) { return m_slotLooks ? m_slotLooks(i) : SlotLook{}; };
    const QFont fixed = fixedFont(kFixedPixels);
    const QFont slotFont =
        fitted(fixed, QString(), toPixels(look(0).twips).size(), kFixedPixels, fixed);
    const QColor lightGrey(224, 224, 224);
    const QColor systemText = palette().color(QPalette::Text);
    auto& labels = Label1.m_labels;
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotLook slot = look(i);
        auto* label = new ClickableLabel(QString(), Picture3);
        label->setObjectName(slotName(i));
        label->setGeometry(toPixels(slot.twips));
        label->setFont(slotFont);
        label->setAlignment(Qt::AlignCenter);
        setColours(label, lightGrey, systemText);
        // Reached with Tab once the panel shows: Enter binds, the Menu key
        // opens the slot's menu.
        label->setFocusPolicy(Qt::TabFocus);
        // Before it shows: showing makes its accessible interface, once.
        setCaptionedName(label, slot.caption, QStringLiteral("no key"));
        label->setAccessibleDescription(slot.description);
        connect(label, &ClickableLabel::doubleClicked, this,
                [this, i] { Q_EMIT slotDoubleClicked(i); });
        connect(label, &ClickableLabel::menuRequested, this,
                [this, i](const QPoint& at) { Q_EMIT slotMenuRequested(i, at); });
        setTag(label, QString());
        label->setVisible(true);
        m_controls.insert(label->objectName(), label);
        labels[std::size_t(i)] = label;
    }
    // Behind the panel's other controls, the first slot in front.
    for (ClickableLabel* label : labels)
        label->lower();
    // In the keyboard order right after the buttons that open the panel and
    // the settings.
    QWidget* previous = Command9;
    for (ClickableLabel* label : labels) {
        setTabOrder(previous, label);
        previous = label;
    }
    auto* turn = new QPushButton(Picture3);
    turn->setObjectName(QStringLiteral("Command8"));
    turn->setGeometry(kTurnButtonRect);
    turn->setFont(fitted(proportionalFont(12), QStringLiteral("Every control of this game"),
                         kTurnButtonRect.size() - QSize(12, 4), 12, proportionalFont(12)));
    turn->setText(QStringLiteral("Every control of this game"));
    turn->setAccessibleDescription(
        QStringLiteral("Shows every input the selected game reads, to bind each"));
    connect(turn, &QPushButton::clicked, this, &Form1::command8Clicked);
    m_page.Command8 = turn;
    m_controls.insert(turn->objectName(), turn);
    turn->show();
    // The button that turns to the game's page comes first.
    setTabOrder(Command9, m_page.Command8);
    setTabOrder(m_page.Command8, labels[0]);
}

// The game controller set-up: over the page, reached from its button on the
// page, hidden until then.
void Form1::buildPadSetup() {
    QFont titleFont = proportionalFont(13);
    titleFont.setBold(true);
    m_pad = buildPadSetupView(Picture3, proportionalFont(11), titleFont);
    const PadSetupView& v = m_pad;
    connect(v.Command11, &QPushButton::toggled, this, &Form1::padPlayerToggled);
    connect(v.Check5, &QCheckBox::toggled, this, &Form1::padNintendoToggled);
    connect(v.Combo2, &QComboBox::activated, this, &Form1::padDeadZoneChosen);
    connect(v.Combo1, &QComboBox::activated, this, &Form1::padScopeChosen);
    connect(v.pad, &PadPicture::chosen, this,
            [this](PadPicture::Part part) { Q_EMIT padPartChosen(int(part)); });
    connect(v.Command14, &QPushButton::clicked, this, &Form1::padTakeOffClicked);
    connect(v.Command12, &QPushButton::clicked, this, &Form1::padApplyClicked);
    connect(v.Command13, &QPushButton::clicked, this, &Form1::padBackClicked);
    for (QWidget* w :
         {v.Picture6, static_cast<QWidget*>(v.Label11), static_cast<QWidget*>(v.Command11),
          static_cast<QWidget*>(v.Check5), static_cast<QWidget*>(v.Combo2),
          static_cast<QWidget*>(v.pad), static_cast<QWidget*>(v.Label12),
          static_cast<QWidget*>(v.Combo1), static_cast<QWidget*>(v.Command14),
          static_cast<QWidget*>(v.Command12), static_cast<QWidget*>(v.Command13)})
        m_controls.insert(w->objectName(), w);
    // After the page's controls and before the panel's buttons, in reading
    // order.
    QWidget* previous = m_page.Command10;
    for (QWidget* w : {static_cast<QWidget*>(v.Command11), static_cast<QWidget*>(v.Check5),
                       static_cast<QWidget*>(v.Combo2), static_cast<QWidget*>(v.pad),
                       static_cast<QWidget*>(v.Combo1), static_cast<QWidget*>(v.Command14),
                       static_cast<QWidget*>(v.Command12), static_cast<QWidget*>(v.Command13),
                       static_cast<QWidget*>(Command4)}) {
        setTabOrder(previous, w);
        previous = w;
    }
}

// The game's page: hidden until turned to, every entry hidden until a game
// fills it. Entries are slots like the chart's, in the slot font; row labels
// and headings are fitted to their rows.
void Form1::buildPage() {
    auto* pageWidget = new QWidget(Picture3);
    pageWidget->setObjectName(QStringLiteral("Picture4"));
    pageWidget->setGeometry(kPageRect);
    setColours(pageWidget, Qt::white, QColor());
    pageWidget->hide();
    m_page.Picture4 = pageWidget;

    const QFont fixed = fixedFont(kFixedPixels);
    QFont titleFont = proportionalFont(13);
    titleFont.setBold(true);
    m_page.Label6 = new QLabel(pageWidget);
    m_page.Label6->setObjectName(QStringLiteral("Label6"));
    m_page.Label6->setGeometry(kPageTitleRect);
    m_page.Label6->setFont(titleFont);
    m_page.Label6->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* rows = new QScrollArea(pageWidget);
    rows->setObjectName(QStringLiteral("Picture4Rows"));
    rows->setGeometry(kPageRowsRect);
    rows->setFrameShape(QFrame::NoFrame);
    rows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rows->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    setColours(content, Qt::white, QColor());
    content->resize(kPageRowWidth, pageHeight(kPageEntryCount + kPageHeadingCount));
    rows->setWidget(content);
    rows->setWidgetResizable(false);
    m_page.rows = rows;

    const QFont slotFont = fitted(fixed, QString(), pageCell(0).slot.size(), kFixedPixels, fixed);
    const QFont rowFont = proportionalFont(11);
    QFont headingFont = rowFont;
    headingFont.setBold(true);
    const QColor lightGrey(224, 224, 224);
    const QColor systemText = palette().color(QPalette::Text);
    for (int i = 0; i < kPageHeadingCount; ++i) {
        auto* heading = new QLabel(content);
        heading->setObjectName(QStringLiteral("Label9(%1)").arg(i));
        heading->setFont(headingFont);
        heading->setIndent(4);
        setColours(heading, QColor(70, 84, 130), Qt::white);
        heading->hide();
        m_page.Label9[std::size_t(i)] = heading;
    }
    for (int i = 0; i < kPageEntryCount; ++i) {
        auto* caption = new QLabel(content);
        caption->setObjectName(QStringLiteral("Label8(%1)").arg(i));
        caption->setFont(rowFont);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        caption->hide();
        m_page.Label8[std::size_t(i)] = caption;

        const int id = kPageFirstSlot + i;
        auto* entry = new ClickableLabel(QString(), content);
        entry->setObjectName(QStringLiteral("Label7(%1)").arg(i));
        entry->setFont(slotFont);
        entry->setAlignment(Qt::AlignCenter);
        setColours(entry, lightGrey, systemText);
        entry->setFocusPolicy(Qt::TabFocus);
        setCaptionedName(entry, QString(), QStringLiteral("no key"));
        connect(entry, &ClickableLabel::doubleClicked, this,
                [this, id] { Q_EMIT slotDoubleClicked(id); });
        connect(entry, &ClickableLabel::menuRequested, this,
                [this, id](const QPoint& at) { Q_EMIT slotMenuRequested(id, at); });
        setTag(entry, QString());
        entry->hide();
        m_page.Label7[std::size_t(i)] = entry;
        m_controls.insert(entry->objectName(), entry);
        m_controls.insert(caption->objectName(), caption);
    }
    for (QLabel* heading : m_page.Label9)
        m_controls.insert(heading->objectName(), heading);
    m_controls.insert(pageWidget->objectName(), pageWidget);
    m_controls.insert(m_page.Label6->objectName(), m_page.Label6);

    // Its entries follow the chart's slots in the keyboard order.
    QWidget* previous = Label1[kSlotCount - 1];
    for (ClickableLabel* entry : m_page.Label7) {
        setTabOrder(previous, entry);
        previous = entry;
    }
    // Its own button sets up a game controller for the game, beside the
    // turn back to the chart.
    auto* padButton = new QPushButton(pageWidget);
    padButton->setObjectName(QStringLiteral("Command10"));
    padButton->setGeometry(kPadButtonRect);
    padButton->setFont(fitted(proportionalFont(12), QStringLiteral("Set up a game controller"),
                              kPadButtonRect.size() - QSize(12, 4), 12, proportionalFont(12)));
    padButton->setText(QStringLiteral("Set up a game controller"));
    padButton->setAccessibleDescription(
        QStringLiteral("Puts the game's inputs on a game controller's parts in one step"));
    connect(padButton, &QPushButton::clicked, this, &Form1::command10Clicked);
    m_page.Command10 = padButton;
    m_controls.insert(padButton->objectName(), padButton);
    setTabOrder(previous, padButton);
    setTabOrder(padButton, Command4);
    // The close mark, the capture box and the buttons stay in front of it.
    for (QWidget* w : {static_cast<QWidget*>(Image5), static_cast<QWidget*>(m_page.Command8),
                       static_cast<QWidget*>(Text6), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Command4), static_cast<QWidget*>(Command5),
                       static_cast<QWidget*>(Command6), static_cast<QWidget*>(Command7)})
        w->raise();
}

void Form1::applyLooks() {
    const QColor lightGrey(224, 224, 224);
    const QColor systemText = palette().color(QPalette::Text);

    // Text6: red, black, tiny fixed font, centred.
    Text6->setFont(fixedFont(kFixedPixels));
    Text6->setAlignment(Qt::AlignCenter);
    Text6->setFrame(false);
    Text6->setTextMargins(0, 0, 0, 0);
    {
        QPalette p = Text6->palette();
        p.setColor(QPalette::Base, QColor(255, 0, 0));
        p.setColor(QPalette::Text, Qt::black);
        Text6->setPalette(p);
    }

    // The text boxes take any text, so their fonts fit by height: the whole
    // line, descenders and underscores included.
    const QFont textFont = proportionalFont(kTextPixels);
    const QFont fixed = fixedFont(kFixedPixels);
    auto fitLine = [](QLineEdit* box, const QFont& font) {
        const QSize room(box->width(), editTextHeight(box->height()));
        box->setFont(fitted(font, lowestGlyphs(), room, font.pixelSize(), font));
    };
    for (QLineEdit* box : {Text1, Text3, Text4, Text5}) {
        fitLine(box, textFont);
        box->setAlignment(box == Text1 || box == Text3 ? Qt::AlignCenter
                                                       : Qt::AlignLeft | Qt::AlignVCenter);
    }
    fitLine(Text7, fixed);
    auto* singleLine = new SingleLineValidator(this);
    for (QLineEdit* box : {Text1, Text3, Text4, Text5, Text7})
        box->setValidator(singleLine);
    Text7->setAlignment(Qt::AlignCenter);

    Text2->setReadOnly(true);
    Text2->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int margins = 2 * (Text2->frameWidth() + int(Text2->document()->documentMargin())) + 2;
    Text2->setFont(fitted(fixed, longestLine(helpText()),
                          QSize(Text2->width() - margins, Text2->height() - margins), 12, fixed));

    List2->setFont(textFont);

    Label3->setAlignment(Qt::AlignCenter);
    setColours(Label3, lightGrey, systemText);

    for (QLabel* counter : Label2) {
        counter->setFont(textFont);
        counter->setAlignment(Qt::AlignCenter);
        setColours(counter, palette().color(QPalette::Base), systemText);
    }
    for (QLabel* caption : {Label4, Label5}) {
        QFont font = fixed;
        font.setBold(true);
        font.setUnderline(true);
        caption->setFont(fitted(font, caption->text(), caption->size() - QSize(2, 0), 16, fixed));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setColours(caption, Qt::white, QColor());
    }
    // The four options share one tick-box size, whole in the lowest of them,
    // and one caption size: the largest at which every caption fits beside
    // its tick box.
    const std::array<CheckBox*, 4> options{Check1, Check2, Check3, Check4};
    int side = Check1->indicatorSide();
    for (CheckBox* box : options)
        side = std::min(side, box->height() - 1);
    QFont optionFont = proportionalFont(12);
    for (CheckBox* box : options) {
        box->setIndicatorSide(side);
        const QFont fits = fitted(optionFont, box->text(), box->captionRect().size(), 12, textFont);
        if (fits.pixelSize() < optionFont.pixelSize())
            optionFont = fits;
    }
    for (CheckBox* box : options) {
        box->setFont(optionFont);
        setColours(box, Qt::white, QColor());
        box->setBackgroundRole(QPalette::Window);
    }

    for (QLabel* image : {Image1, Image2, Image3, Image4, static_cast<QLabel*>(Image5)})
        image->setAlignment(Qt::AlignCenter);

    // Labels and images take no focus; the panels do not either.
    for (QWidget* w : m_controls) {
        if (qobject_cast<QLabel*>(w) || qobject_cast<Panel*>(w))
            w->setFocusPolicy(Qt::NoFocus);
    }
}

void Form1::describeControls() {
    Command1->setAccessibleName(QStringLiteral("Start the game"));
    Command1->setAccessibleDescription(
        QStringLiteral("Starts the emulator on the selected game with the options ticked"));
    Command3->setAccessibleName(QStringLiteral("Key bindings"));
    Command3->setAccessibleDescription(QStringLiteral("Opens the panel of key bindings"));
    // Set before the first name is asked for: a control's interface is made once.
    setActsAsButton(Image5);
    Image5->setAccessibleName(QStringLiteral("Close the key bindings"));
    Image5->setAccessibleDescription(
        QStringLiteral("Closes the panel, offering to save changed bindings"));
    Image1->setAccessibleDescription(QStringLiteral("Picture of the selected game"));
    Image2->setAccessibleDescription(QStringLiteral("How well the selected game is emulated"));
    Image3->setAccessibleDescription(QStringLiteral("Whether the selected game has sound"));
    Image4->setAccessibleDescription(QStringLiteral("Whether the selected game's controls work"));

    Text1->setAccessibleName(QStringLiteral("Width"));
    Text3->setAccessibleName(QStringLiteral("Height"));
    Text7->setAccessibleName(QStringLiteral("PowerPC frequency in MHz"));
    Text2->setAccessibleName(QStringLiteral("Help"));
    Text6->setAccessibleName(QStringLiteral("Press a key or click a mouse button"));
    List2->setAccessibleName(QStringLiteral("Games"));
    Label5->setBuddy(Text4);
    Label4->setBuddy(Text5);

    const QString none = QStringLiteral("0");
    setCaptionedName(Label2[0], QStringLiteral("Games listed"), none);
    setCaptionedName(Label2[1], QStringLiteral("Selected game"), none);
    setCaptionedName(Label2[2], QStringLiteral("ROM archives found"), none);
}

void Form1::applyTabOrder() {
    const auto order = tabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(m_controls.value(text(order[i])), m_controls.value(text(order[i + 1])));
}

void Form1::showWindowPictures() {
    const qreal ratio = devicePixelRatioF();
    setWindowIcon(QIcon(renderPicture(windowIconResource(), QSize(64, 64), ratio)));

    Command1->setIcon(QIcon(renderPicture(launchPictureResource(), QSize(113, 30), ratio)));
    Command1->setIconSize(QSize(113, 30));
    Command3->setIcon(QIcon(renderPicture(joystickPictureResource(), QSize(14, 32), ratio)));
    Command3->setIconSize(QSize(14, 32));
    Image5->setPixmap(renderPicture(closePictureResource(), QSize(21, 20), ratio));
    Image5->setCursor(Qt::PointingHandCursor);
}

bool Form1::showPicture(QLabel* image, int number) {
    const QPixmap picture =
        renderPicture(numberedPictureResource(number), image->size(), image->devicePixelRatioF());
    if (picture.isNull())
        return false;
    image->setPixmap(picture);
    m_pictureNumbers.insert(image, number);
    return true;
}

void Form1::showTitleCard(QLabel* image, const QString& title, const QString& maker,
                          const QString& year) {
    image->setPixmap(titleCard(image->size(), image->devicePixelRatioF(), title, maker, year));
    m_pictureNumbers.insert(image, 0);
}

void Form1::setBackColor(QWidget* control, const QColor& colour) {
    setColours(control, colour, QColor());
}

QColor Form1::backColor(const QWidget* control) {
    return control->palette().color(QPalette::Window);
}

void Form1::minimize() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void Form1::routeEvents() {
    connect(Command1, &QPushButton::clicked, this, &Form1::command1Clicked);
    connect(Command2, &QPushButton::clicked, this, &Form1::command2Clicked);
    connect(Command3, &QPushButton::clicked, this, &Form1::command3Clicked);
    connect(Command4, &QPushButton::clicked, this, &Form1::command4Clicked);
    connect(Command5, &QPushButton::clicked, this, &Form1::command5Clicked);
    connect(Command6, &QPushButton::clicked, this, &Form1::command6Clicked);
    connect(Command7, &QPushButton::clicked, this, &Form1::command7Clicked);
    connect(Command9, &QPushButton::clicked, this, &Form1::command9Clicked);
    for (CheckBox* box : {Check1, Check2, Check3, Check4})
        connect(box, &QCheckBox::stateChanged, this, &Form1::windowOptionsChanged);
    for (QLineEdit* box : {Text1, Text3, Text7})
        connect(box, &QLineEdit::textChanged, this, &Form1::windowOptionsChanged);
    connect(Image5, &ClickableLabel::clicked, this, &Form1::image5Clicked);
    // Esc leaves the panel as its close mark does. A waiting capture box
    // keeps Esc for itself, and a close mark turned off keeps the panel.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_pad.Picture6 && m_pad.Picture6->isVisible())
            Q_EMIT padBackClicked();
        else if (Picture3->isVisible() && Text6->isHidden() && Image5->isEnabled())
            Q_EMIT image5Clicked();
        else if (m_face && m_face->isVisible())
            Q_EMIT m_face->closeClicked();
    });
    connect(List2, &GameList::rowSelected, this, &Form1::list2RowSelected);
    connect(List2, &GameList::rowDoubleClicked, this, &Form1::list2DoubleClicked);
    connect(List2, &GameList::rowMenuRequested, this, &Form1::list2MenuRequested);
    connect(Text6, &CaptureBox::keyPressed, this, &Form1::captureKeyPressed);
    connect(Text6, &CaptureBox::mousePressed, this, &Form1::captureMousePressed);
    connect(Text6, &CaptureBox::mouseMoved, this, &Form1::captureMouseMoved);
}

void Form1::keepFixedSize() {
    setFixedSize(kClientSize);
}

void Form1::closeEvent(QCloseEvent* event) {
    // The close request is never refused, but it is shutdown that ends the
    // process: the window itself stays until then.
    event->ignore();
    Q_EMIT closeRequested();
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The layout is fixed: whatever changed the size, put it back, except
    // while minimized.
    if (!isMinimized() && size() != kClientSize)
        resize(kClientSize);
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && size() != kClientSize)
        resize(kClientSize);
}

} // namespace ui
