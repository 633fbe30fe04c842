#pragma once

#include <QString>

class QWidget;

namespace ui {

// Modal message boxes: the only way the program tells the user anything.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A box with `text` and one OK button. An empty title shows the
    // application's name.
    virtual void tell(const QString& text, const QString& title) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const QString& text, const QString& title) = 0;
};

// The real boxes, without icons, modal to `parent`.
class MessageBoxDialogs final : public Dialogs {
public:
    explicit MessageBoxDialogs(QWidget* parent) : m_parent(parent) {}
    void tell(const QString& text, const QString& title) override;
    bool ask(const QString& text, const QString& title) override;

private:
    QWidget* m_parent;
};

} // namespace ui
