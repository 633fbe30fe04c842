#pragma once

#include <QAccessible>
#include <QPainterPath>
#include <QWidget>
#include <array>

namespace ui {

// A picture of a game controller, drawn at the screen's density: face
// buttons, shoulders, triggers, two sticks, a d-pad, Back and Start. Each
// part carries the label of what it drives, in a box of two lines around the
// pad, shortened with an ellipsis where it does not fit (its tooltip and
// accessible name hold it whole); a part that drives nothing is drawn quiet.
// Parts are chosen by a click, or by the keyboard: Tab and the arrow keys
// move among them, Enter or Space chooses.
class PadPicture final : public QWidget {
    Q_OBJECT
public:
    // The parts, south, east, west and north being the face buttons by
    // where they sit.
    enum class Part {
        South,
        East,
        West,
        North,
        LeftShoulder,
        RightShoulder,
        LeftTrigger,
        RightTrigger,
        LeftStick,
        RightStick,
        Dpad,
        Back,
        Start,
    };
    Q_ENUM(Part)
    static constexpr int kPartCount = int(Part::Start) + 1;

    explicit PadPicture(QWidget* parent = nullptr);
    ~PadPicture() override;

    // An empty label: the part drives nothing.
    void setLabel(Part part, const QString& label);
    QString label(Part part) const { return m_labels[std::size_t(part)]; }
    void clearLabels();

    // The face buttons lettered as on a Nintendo pad: B south, A east, Y
    // west, X north; else A, B, X, Y.
    void setNintendo(bool nintendo);
    bool nintendo() const { return m_nintendo; }

    // A line or two under the picture (why some inputs stay off the pad).
    void setNote(const QString& note);
    QString note() const { return m_note; }

    // The part the keyboard is on.
    Part current() const { return m_current; }
    void setCurrent(Part part);

    // What the part is and what it does: "Right trigger (RT): Accelerator
    // Pedal", "Start: not used". Its tooltip and accessible name.
    QString partName(Part part) const;
    // The letter on a face button, or the part's short name ("LT", "Back").
    QString partMark(Part part) const;

    // Where the part is drawn on the pad, and its label's box.
    QRect partRect(Part part) const;
    QRect labelRect(Part part) const;
    // The lines the label's box shows, and where each is drawn.
    QStringList shownLines(Part part) const;
    QRect lineRect(Part part, int line) const;
    QRect noteRect() const { return m_noteRect; }
    QStringList shownNote() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void chosen(ui::PadPicture::Part part);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class PadPictureAccessible;

    void layOut();
    int partAt(QPoint position) const;
    void moveCurrent(int dx, int dy);
    void paintPart(QPainter& painter, Part part) const;
    void paintLabel(QPainter& painter, Part part) const;
    QFont markFont() const;

    std::array<QString, kPartCount> m_labels;
    std::array<QRectF, kPartCount> m_parts; // on the pad
    std::array<QRect, kPartCount> m_boxes;  // the labels' boxes
    std::array<QRect, kPartCount> m_badges; // the part's mark in its box
    std::array<QRect, kPartCount> m_texts;  // the label's text in its box
    std::array<QAccessible::Id, kPartCount> m_accessibleIds{};
    QPainterPath m_body;
    QRectF m_pad;
    QRect m_noteRect;
    QString m_note;
    Part m_current = Part::South;
    int m_pressed = -1;
    bool m_nintendo = false;
};

} // namespace ui
