#include "ui/SettingsFace.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace ui {

namespace {

// A number in a line, stepped by the arrow keys within its range. Any text
// stays as typed or as the file has it: the face marks what the emulator
// would not read as meant, and never rewrites it unasked.
class NumberBox final : public QLineEdit {
public:
    NumberBox(double minimum, double maximum, QWidget* parent)
        : QLineEdit(parent), m_minimum(minimum), m_maximum(maximum) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int step = event->key() == Qt::Key_Up ? 1 : event->key() == Qt::Key_Down ? -1 : 0;
        if (step == 0) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        bool ok = false;
        const double now = text().toDouble(&ok);
        const double next =
            ok ? std::clamp(std::floor(now) + (step > 0 || now == std::floor(now) ? step : 0),
                            m_minimum, m_maximum)
               : m_minimum;
        setText(QString::number(next, 'g', 10));
        Q_EMIT editingFinished();
    }

private:
    double m_minimum, m_maximum;
};

QString foldCaption(const QString& heading, bool folded) {
    return (folded ? QStringLiteral("▸ ") : QStringLiteral("▾ ")) + heading;
}

} // namespace

SettingsFace::SettingsFace(QList<SettingRowSpec> rows, QWidget* parent)
    : QWidget(parent), m_specs(std::move(rows)) {
    setObjectName(QStringLiteral("Picture7"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("Label13"));
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_title->setFont(bold);
    m_title->setWordWrap(true);
    layout->addWidget(m_title);

    auto* scope = new QHBoxLayout;
    m_allGames = new QRadioButton(QStringLiteral("All games"), this);
    m_thisGame = new QRadioButton(QStringLiteral("This game"), this);
    m_allGames->setToolTip(QStringLiteral("Edits [ Global ], which every game reads"));
    m_scope = new QButtonGroup(this);
    m_scope->addButton(m_allGames, 0);
    m_scope->addButton(m_thisGame, 1);
    m_allGames->setChecked(true);
    scope->addWidget(new QLabel(QStringLiteral("Settings for:"), this));
    scope->addWidget(m_allGames);
    scope->addWidget(m_thisGame);
    scope->addStretch();
    layout->addLayout(scope);
    connect(m_scope, &QButtonGroup::idClicked, this,
            [this](int id) { Q_EMIT scopeChosen(id == 1); });

    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setFrameShape(QFrame::StyledPanel);
    // Tab goes from the scope straight to the first editor; the list follows.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget(m_scroll);
    content->setAutoFillBackground(true);
    content->setPalette(white);
    m_list = new QVBoxLayout(content);
    m_list->setContentsMargins(4, 2, 4, 4);
    m_list->setSpacing(2);
    m_scroll->setWidget(content);
    layout->addWidget(m_scroll, 1);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("Label14"));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->hide();
    layout->addWidget(m_notice);

    m_states.resize(m_specs.size());
    m_rows.resize(m_specs.size());
    for (int i = 0; i < m_specs.size(); ++i) {
        m_index.insert(m_specs[i].name, i);
        if (m_groups.isEmpty() || m_groups.back().heading != m_specs[i].group)
            m_groups.append({m_specs[i].group, m_specs[i].folded, false, nullptr, nullptr, {}});
        m_groups.back().rows.append(i);
    }
    for (Group& group : m_groups) {
        if (group.folded) {
            group.fold = new QToolButton(content);
            group.fold->setText(foldCaption(group.heading, true));
            group.fold->setAutoRaise(true);
            group.fold->setFont(bold);
            group.fold->setAccessibleName(group.heading);
            group.fold->setAccessibleDescription(QStringLiteral("Folded away: press to show"));
            m_list->addWidget(group.fold);
            connect(group.fold, &QToolButton::clicked, this,
                    [this, heading = group.heading] { unfold(heading); });
        } else {
            auto* heading = new QLabel(group.heading, content);
            heading->setFont(bold);
            m_list->addWidget(heading);
        }
        group.body = new QWidget(content);
        m_list->addWidget(group.body);
        if (!group.folded)
            buildGroup(group);
        else
            group.body->hide();
    }
    m_list->addStretch();

    // Made after the list, so that Tab reaches them after its editors.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_save = new QPushButton(QStringLiteral("&Save"), this);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_save->setAutoDefault(false);
    m_close->setAutoDefault(false);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &SettingsFace::saveClicked);
    connect(m_close, &QPushButton::clicked, this, &SettingsFace::closeClicked);
}

void SettingsFace::buildGroup(Group& group) {
    auto* grid = new QGridLayout(group.body);
    grid->setContentsMargins(0, 0, 0, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(0, 1);
    int line = 0;
    for (const int index : group.rows)
        buildRow(index, grid, line++);
    group.built = true;
    // A group unfolded later keeps its place in the keyboard order: right
    // after its heading.
    if (group.fold) {
        QWidget* previous = group.fold;
        for (const int index : group.rows) {
            for (QWidget* w :
                 {m_rows[index].editor, static_cast<QWidget*>(m_rows[index].putBack)}) {
                setTabOrder(previous, w);
                previous = w;
            }
        }
    }
}

void SettingsFace::buildRow(int index, QGridLayout* grid, int line) {
    const SettingRowSpec& spec = m_specs[index];
    QWidget* parent = grid->parentWidget();
    Row& row = m_rows[index];
    // The list never scrolls sideways: a long label wraps, and every editor
    // takes the width of the widest listed value.
    const QFontMetrics metrics(font());
    const int editorWidth = metrics.horizontalAdvance(QStringLiteral("4 BT601_525/D65")) + 30;
    row.label = new QLabel(spec.label, parent);
    row.label->setWordWrap(true);
    row.label->setToolTip(spec.description);
    switch (spec.editor) {
    case SettingRowSpec::Editor::Check: {
        auto* box = new QCheckBox(parent);
        connect(box, &QCheckBox::clicked, this, [this, index](bool on) {
            commit(index, on ? QStringLiteral("1") : QStringLiteral("0"));
        });
        row.editor = box;
        break;
    }
    case SettingRowSpec::Editor::Choice: {
        auto* choice = new QComboBox(parent);
        for (int i = 0; i < spec.values.size(); ++i)
            choice->addItem(spec.texts.value(i, spec.values[i]), spec.values[i]);
        choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        choice->setMinimumContentsLength(4);
        choice->setFixedWidth(editorWidth);
        connect(choice, &QComboBox::activated, this,
                [this, index, choice](int i) { commit(index, choice->itemData(i).toString()); });
        row.editor = choice;
        break;
    }
    case SettingRowSpec::Editor::Number:
    case SettingRowSpec::Editor::Text: {
        QLineEdit* edit = spec.editor == SettingRowSpec::Editor::Number
                              ? new NumberBox(spec.minimum, spec.maximum, parent)
                              : new QLineEdit(parent);
        if (spec.editor == SettingRowSpec::Editor::Number)
            edit->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("0000000")) + 12);
        else
            edit->setFixedWidth(editorWidth);
        connect(edit, &QLineEdit::editingFinished, this,
                [this, index, edit] { commit(index, edit->text()); });
        row.editor = edit;
        break;
    }
    }
    row.editor->setObjectName(spec.name);
    row.editor->setAccessibleName(spec.label);
    row.editor->setAccessibleDescription(spec.description);
    row.editor->setToolTip(spec.description);
    row.label->setBuddy(row.editor);
    row.mark = new QLabel(parent);
    QPalette warn = row.mark->palette();
    warn.setColor(QPalette::WindowText, QColor(176, 96, 0));
    row.mark->setPalette(warn);
    row.mark->setFixedWidth(row.mark->fontMetrics().horizontalAdvance(QStringLiteral("⚠")) + 2);
    row.mark->setAlignment(Qt::AlignCenter);
    row.source = new QLabel(parent);
    row.source->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("all games")) + 4);
    row.putBack = new QToolButton(parent);
    row.putBack->setText(QStringLiteral("↺"));
    row.putBack->setAutoRaise(true);
    row.putBack->setToolTip(QStringLiteral("Put back the value for all games"));
    row.putBack->setAccessibleName(QStringLiteral("Put back the value for all games: ") +
                                   spec.label);
    connect(row.putBack, &QToolButton::clicked, this,
            [this, name = spec.name] { Q_EMIT putBackRequested(name); });
    grid->addWidget(row.label, line, 0);
    grid->addWidget(row.editor, line, 1, Qt::AlignLeft);
    grid->addWidget(row.mark, line, 2);
    grid->addWidget(row.source, line, 3);
    grid->addWidget(row.putBack, line, 4);
    render(index);
}

void SettingsFace::unfold(const QString& heading) {
    for (Group& group : m_groups) {
        if (group.heading != heading || !group.folded)
            continue;
        if (!group.built)
            buildGroup(group);
        const bool show = group.body->isHidden();
        group.body->setVisible(show);
        group.fold->setText(foldCaption(group.heading, !show));
        group.fold->setAccessibleDescription(show ? QStringLiteral("Shown: press to fold away")
                                                  : QStringLiteral("Folded away: press to show"));
    }
}

void SettingsFace::setTitle(const QString& title) {
    m_title->setText(title);
}

void SettingsFace::setScope(bool thisGame, bool thisGameOffered, const QString& thisGameTip) {
    m_thisGame->setEnabled(thisGameOffered);
    m_thisGame->setToolTip(thisGameTip);
    (thisGame && thisGameOffered ? m_thisGame : m_allGames)->setChecked(true);
}

void SettingsFace::setRow(const QString& name, const SettingRowState& state) {
    const int index = m_index.value(name, -1);
    if (index < 0)
        return;
    m_states[index] = state;
    if (m_rows[index].editor)
        render(index);
}

void SettingsFace::render(int index) {
    const SettingRowSpec& spec = m_specs[index];
    const SettingRowState& state = m_states[index];
    const Row& row = m_rows[index];
    for (QWidget* w :
         {static_cast<QWidget*>(row.label), row.editor, static_cast<QWidget*>(row.source)})
        w->setVisible(state.shown);
    QFont font = row.label->font();
    font.setBold(state.edited);
    row.label->setFont(font);
    row.label->setText(state.edited ? spec.label + QStringLiteral(" *") : spec.label);
    const QSignalBlocker quiet(row.editor);
    if (auto* box = qobject_cast<QCheckBox*>(row.editor)) {
        const QString v = state.value.trimmed().toLower();
        box->setChecked(v == u"true" || v == u"on" || v == u"yes" || (v.toLongLong() != 0));
    } else if (auto* choice = qobject_cast<QComboBox*>(row.editor)) {
        // A value the list lacks shows as it stands, until another is chosen.
        while (choice->count() > spec.values.size())
            choice->removeItem(choice->count() - 1);
        int at = spec.values.indexOf(state.value.trimmed());
        if (at < 0) {
            choice->addItem(state.value, state.value);
            at = choice->count() - 1;
        }
        choice->setCurrentIndex(at);
    } else if (auto* edit = qobject_cast<QLineEdit*>(row.editor)) {
        edit->setText(state.value);
        edit->setCursorPosition(0);
    }
    row.editor->setEnabled(state.editable);
    const QString tip =
        state.note.isEmpty() ? spec.description : spec.description + u'\n' + state.note;
    row.editor->setToolTip(tip);
    row.editor->setAccessibleDescription(
        (state.warning.isEmpty() ? QString() : state.warning + QStringLiteral(". ")) + tip +
        QStringLiteral(" Comes from: ") + state.source + u'.');
    row.mark->setVisible(state.shown && !state.warning.isEmpty());
    row.mark->setText(state.mark);
    row.mark->setToolTip(state.warning);
    row.source->setText(state.source);
    row.source->setToolTip(state.note);
    row.putBack->setVisible(state.shown && state.putBack);
}

void SettingsFace::commit(int index, const QString& value) {
    if (value == m_states[index].value)
        return;
    Q_EMIT edited(m_specs[index].name, value);
}

void SettingsFace::setNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

void SettingsFace::setSaveEnabled(bool enabled) {
    m_save->setEnabled(enabled);
}

QWidget* SettingsFace::editor(const QString& name) const {
    const int index = m_index.value(name, -1);
    return index < 0 ? nullptr : m_rows[index].editor;
}

QLabel* SettingsFace::source(const QString& name) const {
    const int index = m_index.value(name, -1);
    return index < 0 ? nullptr : m_rows[index].source;
}

QToolButton* SettingsFace::putBackButton(const QString& name) const {
    const int index = m_index.value(name, -1);
    return index < 0 ? nullptr : m_rows[index].putBack;
}

} // namespace ui
