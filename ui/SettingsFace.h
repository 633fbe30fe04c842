#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace ui {

// One setting as the face shows it: its editor, words and place.
struct SettingRowSpec {
    enum class Editor { Check, Choice, Number, Text };
    QString name;        // as in the file
    QString group;       // its heading
    bool folded = false; // its group starts folded away
    Editor editor = Editor::Text;
    QStringList values; // a choice's values ...
    QStringList texts;  // ... and how the list shows them ("1 P1")
    double minimum = 0, maximum = 0;
    bool decimal = false;
    QString label;
    QString description; // the tooltip and accessible description
};

// What a row says now.
struct SettingRowState {
    QString value;
    QString source;  // "built-in", "all games", "this game", "window"
    QString warning; // why the value is marked, or empty
    QString mark;    // the mark shown then
    QString note;    // said in the row's tooltip (the window's option, the versions)
    bool editable = true;
    bool putBack = false; // offers to put back the value for all games
    bool edited = false;  // changed since the last Save
    bool shown = true;
};

// The emulator's settings, covering the help text as the binding panel
// does: a title, the scope, the settings by group in a scrolled list (a
// folded group is built when first unfolded), a line for what the face has
// to say, Save and Close. Edits are reported, not kept: the owner renders
// every row again from what it keeps.
class SettingsFace final : public QWidget {
    Q_OBJECT
public:
    SettingsFace(QList<SettingRowSpec> rows, QWidget* parent);

    void setTitle(const QString& title);
    // The scope's two choices; "This game" may be turned off.
    void setScope(bool thisGame, bool thisGameOffered, const QString& thisGameTip);
    void setRow(const QString& name, const SettingRowState& state);
    void setNotice(const QString& text);
    void setSaveEnabled(bool enabled);

    QLabel* title() const { return m_title; }
    QRadioButton* allGamesButton() const { return m_allGames; }
    QRadioButton* thisGameButton() const { return m_thisGame; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* closeButton() const { return m_close; }
    QLabel* notice() const { return m_notice; }
    QScrollArea* rows() const { return m_scroll; }
    // A row's editor, source and put-back button; null while its group is
    // folded and was never unfolded.
    QWidget* editor(const QString& name) const;
    QLabel* source(const QString& name) const;
    QToolButton* putBackButton(const QString& name) const;
    // Unfolds a folded group (by its heading).
    void unfold(const QString& group);

Q_SIGNALS:
    void edited(const QString& name, const QString& value);
    void putBackRequested(const QString& name);
    void scopeChosen(bool thisGame);
    void saveClicked();
    void closeClicked();

private:
    struct Row {
        QLabel* label = nullptr;
        QWidget* editor = nullptr;
        QLabel* mark = nullptr;
        QLabel* source = nullptr;
        QToolButton* putBack = nullptr;
    };
    struct Group {
        QString heading;
        bool folded = false;
        bool built = false;
        QToolButton* fold = nullptr;
        QWidget* body = nullptr;
        QList<int> rows; // indexes into m_specs
    };
    void buildGroup(Group& group);
    void buildRow(int index, QGridLayout* grid, int line);
    void render(int index);
    void commit(int index, const QString& value);

    QList<SettingRowSpec> m_specs;
    QList<SettingRowState> m_states;
    QList<Row> m_rows;
    QList<Group> m_groups;
    QHash<QString, int> m_index;
    QLabel* m_title = nullptr;
    QRadioButton* m_allGames = nullptr;
    QRadioButton* m_thisGame = nullptr;
    QButtonGroup* m_scope = nullptr;
    QScrollArea* m_scroll = nullptr;
    QVBoxLayout* m_list = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace ui
