#include "ui/PadPicture.h"

#include "ui/Accessible.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {

namespace {

using Part = PadPicture::Part;

constexpr int kLines = 2; // a label's box holds two lines
constexpr int kColumnGap = 6;
constexpr int kRowGap = 3;
constexpr int kTopRows = 2; // above the pad: the triggers and shoulders
constexpr int kBottomRows = 5;
constexpr double kPadAspect = 1.7; // width to height

// Where each part's label box sits: the column (0 left, 1 right) and the row,
// counted from the top; rows from kTopRows on lie under the pad.
struct Place {
    int column;
    int row;
};
constexpr std::array<Place, PadPicture::kPartCount> kPlaces{{
    {1, 6}, // south
    {1, 5}, // east
    {1, 4}, // west
    {1, 3}, // north
    {0, 1}, // left shoulder
    {1, 1}, // right shoulder
    {0, 0}, // left trigger
    {1, 0}, // right trigger
    {0, 3}, // left stick
    {0, 5}, // right stick
    {0, 4}, // d-pad
    {0, 2}, // back
    {1, 2}, // start
}};

// Colours of a part that drives an input, of one that does not, and of the pad.
const QColor kUsed(70, 84, 130);
const QColor kQuietFill(240, 241, 245);
const QColor kQuietEdge(168, 171, 184);
const QColor kQuietText(105, 107, 118);
const QColor kBody(216, 219, 228);
const QColor kBodyEdge(112, 118, 138);
const QColor kBoxEdge(214, 217, 226);

int index(Part part) {
    return int(part);
}

// The parts in reading order of their boxes, row by row: the order of Tab.
std::array<Part, PadPicture::kPartCount> tabOrder() {
    std::array<Part, PadPicture::kPartCount> order;
    for (int i = 0; i < PadPicture::kPartCount; ++i)
        order[std::size_t(i)] = Part(i);
    std::stable_sort(order.begin(), order.end(), [](Part a, Part b) {
        const Place& pa = kPlaces[std::size_t(a)];
        const Place& pb = kPlaces[std::size_t(b)];
        return pa.row != pb.row ? pa.row < pb.row : pa.column < pb.column;
    });
    return order;
}

// Up to kLines lines of `text` within `width`, broken after a space or a
// slash; the last line ends in an ellipsis where the rest does not fit.
QStringList wrapped(const QFontMetrics& metrics, const QString& text, int width) {
    QStringList lines;
    QString rest = text.simplified();
    while (!rest.isEmpty() && lines.size() < kLines - 1) {
        if (metrics.horizontalAdvance(rest) <= width)
            break;
        qsizetype fits = 0;
        for (qsizetype i = 0; i < rest.size(); ++i) {
            if (rest[i] != u' ' && rest[i] != u'/')
                continue;
            if (metrics.horizontalAdvance(rest.left(i + 1).trimmed()) > width)
                break;
            fits = i + 1;
        }
        if (fits == 0)
            break; // a first word too long for a line: shortened on this one
        lines.append(rest.left(fits).trimmed());
        rest = rest.mid(fits).trimmed();
    }
    if (!rest.isEmpty())
        lines.append(metrics.elidedText(rest, Qt::ElideRight, width));
    return lines;
}

QString faceLetter(Part part, bool nintendo) {
    static const char* const xbox[] = {"A", "B", "X", "Y"};
    static const char* const switchPad[] = {"B", "A", "Y", "X"};
    return QLatin1String((nintendo ? switchPad : xbox)[index(part)]);
}

// A line of text with a pixel to spare: the tails of g, p and y reach a
// fraction below the font's descent at some sizes.
int lineHeight(const QFont& font) {
    return QFontMetrics(font).height() + 1;
}

bool isFace(Part part) {
    return index(part) <= index(Part::North);
}

} // namespace

// The picture to assistive technology: a group of buttons, one per part.
class PadPictureAccessible final : public QAccessibleWidget {
public:
    explicit PadPictureAccessible(PadPicture* picture)
        : QAccessibleWidget(picture, QAccessible::Grouping) {}

    PadPicture* picture() const { return static_cast<PadPicture*>(widget()); }

    int childCount() const override { return PadPicture::kPartCount; }
    QAccessibleInterface* child(int i) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override {
        const int i = picture()->partAt(picture()->mapFromGlobal(QPoint(x, y)));
        return i < 0 ? nullptr : child(i);
    }
    QAccessibleInterface* focusChild() const override {
        return picture()->hasFocus() ? child(index(picture()->current())) : nullptr;
    }
};

namespace {

// One part of the picture: a button named for what it does.
class PartAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PartAccessible(PadPicture* picture, Part part) : m_picture(picture), m_part(part) {}

    bool isValid() const override { return !m_picture.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_picture ? m_picture->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_picture.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!m_picture || t != QAccessible::Name)
            return {};
        return m_picture->partName(m_part);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_picture)
            return {};
        // The part on the pad and its label's box, as one.
        const QRect both = m_picture->partRect(m_part) | m_picture->labelRect(m_part);
        return QRect(m_picture->mapToGlobal(both.topLeft()), both.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        if (m_picture) {
            s.focused = m_picture->hasFocus() && m_picture->current() == m_part;
            s.disabled = !m_picture->isEnabled();
            s.invisible = !m_picture->isVisible();
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& action) override {
        if (!m_picture || !m_picture->isEnabled())
            return;
        m_picture->setCurrent(m_part);
        if (action == setFocusAction())
            m_picture->setFocus(Qt::OtherFocusReason);
        else if (action == pressAction())
            Q_EMIT m_picture->chosen(m_part);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<PadPicture> m_picture;
    Part m_part;
};

} // namespace

QAccessibleInterface* PadPictureAccessible::child(int i) const {
    if (i < 0 || i >= PadPicture::kPartCount)
        return nullptr;
    // One interface per part for the picture's life, as assistive technology
    // holds on to them.
    QAccessible::Id& id = picture()->m_accessibleIds[std::size_t(i)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new PartAccessible(picture(), Part(i)));
    return QAccessible::accessibleInterface(id);
}

int PadPictureAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    const auto& ids = picture()->m_accessibleIds;
    const auto found = std::find(ids.begin(), ids.end(), id);
    return id != 0 && found != ids.end() ? int(found - ids.begin()) : -1;
}

QAccessibleInterface* padPictureInterface(const QString&, QObject* object) {
    if (auto* picture = qobject_cast<PadPicture*>(object))
        return new PadPictureAccessible(picture);
    return nullptr;
}

PadPicture::PadPicture(QWidget* parent) : QWidget(parent) {
    installAccessibleNames();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(QStringLiteral("Game controller"));
    QFont labels = font();
    labels.setPixelSize(11);
    setFont(labels);
    layOut();
}

PadPicture::~PadPicture() {
    for (QAccessible::Id id : m_accessibleIds) {
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void PadPicture::setLabel(Part part, const QString& label) {
    m_labels[std::size_t(part)] = label;
    update();
}

void PadPicture::clearLabels() {
    m_labels = {};
    update();
}

void PadPicture::setNintendo(bool nintendo) {
    m_nintendo = nintendo;
    update();
}

void PadPicture::setNote(const QString& note) {
    m_note = note;
    layOut();
    update();
}

void PadPicture::setCurrent(Part part) {
    if (part == m_current)
        return;
    m_current = part;
    update();
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index(part));
        QAccessible::updateAccessibility(&focus);
    }
}

QString PadPicture::partName(Part part) const {
    QString name;
    switch (part) {
    case Part::South:
        name = QStringLiteral("%1 button, bottom");
        break;
    case Part::East:
        name = QStringLiteral("%1 button, right");
        break;
    case Part::West:
        name = QStringLiteral("%1 button, left");
        break;
    case Part::North:
        name = QStringLiteral("%1 button, top");
        break;
    case Part::LeftShoulder:
        name = QStringLiteral("Left shoulder (LB)");
        break;
    case Part::RightShoulder:
        name = QStringLiteral("Right shoulder (RB)");
        break;
    case Part::LeftTrigger:
        name = QStringLiteral("Left trigger (LT)");
        break;
    case Part::RightTrigger:
        name = QStringLiteral("Right trigger (RT)");
        break;
    case Part::LeftStick:
        name = QStringLiteral("Left stick");
        break;
    case Part::RightStick:
        name = QStringLiteral("Right stick");
        break;
    case Part::Dpad:
        name = QStringLiteral("D-pad");
        break;
    case Part::Back:
        name = QStringLiteral("Back");
        break;
    case Part::Start:
        name = QStringLiteral("Start");
        break;
    }
    if (isFace(part))
        name = name.arg(faceLetter(part, m_nintendo));
    const QString& label = m_labels[std::size_t(part)];
    return name + QLatin1String(": ") + (label.isEmpty() ? QStringLiteral("not used") : label);
}

QString PadPicture::partMark(Part part) const {
    static const char* const marks[] = {"",   "",  "",  "", "LB",   "RB",   "LT",
                                        "RT", "L", "R", "", "Back", "Start"};
    return isFace(part) ? faceLetter(part, m_nintendo) : QLatin1String(marks[index(part)]);
}

QRect PadPicture::partRect(Part part) const {
    return m_parts[std::size_t(part)].toAlignedRect();
}

QRect PadPicture::labelRect(Part part) const {
    return m_boxes[std::size_t(part)];
}

QStringList PadPicture::shownLines(Part part) const {
    const QString& label = m_labels[std::size_t(part)];
    return wrapped(fontMetrics(), label.isEmpty() ? QStringLiteral("not used") : label,
                   m_texts[std::size_t(part)].width());
}

QRect PadPicture::lineRect(Part part, int line) const {
    const QRect& text = m_texts[std::size_t(part)];
    const int height = lineHeight(font());
    // One line sits in the middle of the box, two fill it.
    const int top = text.top() + (shownLines(part).size() == 1 ? (kLines - 1) * height / 2 : 0);
    return {text.left(), top + line * height, text.width(), height};
}

QStringList PadPicture::shownNote() const {
    if (m_note.isEmpty())
        return {};
    return wrapped(fontMetrics(), m_note, m_noteRect.width());
}

QFont PadPicture::markFont() const {
    QFont mark = font();
    mark.setBold(true);
    mark.setPixelSize(std::max(9, QFontInfo(font()).pixelSize() - 1));
    return mark;
}

QSize PadPicture::sizeHint() const {
    const int line = lineHeight(font());
    const int pitch = kLines * line + 4 + kRowGap;
    return {351, (kTopRows + kBottomRows) * pitch + kLines * line + 4 + 150 + 8};
}

QSize PadPicture::minimumSizeHint() const {
    return {280, sizeHint().height() - 60};
}

void PadPicture::layOut() {
    const int line = lineHeight(font());
    const int boxHeight = kLines * line + 4;
    const int pitch = boxHeight + kRowGap;
    const int columnWidth = (width() - kColumnGap) / 2;
    const int noteHeight = m_note.isEmpty() ? 0 : kLines * line + 4;
    const int badgeWidth =
        std::max(QFontMetrics(markFont()).horizontalAdvance(QStringLiteral("Start")) + 8, line + 4);

    const int topHeight = kTopRows * pitch;
    const int bottomTop = height() - noteHeight - kBottomRows * pitch;
    for (int i = 0; i < kPartCount; ++i) {
        const Place& place = kPlaces[std::size_t(i)];
        const int top = place.row < kTopRows ? place.row * pitch
                                             : bottomTop + (place.row - kTopRows) * pitch + kRowGap;
        const QRect box(place.column * (columnWidth + kColumnGap), top, columnWidth, boxHeight);
        m_boxes[std::size_t(i)] = box;
        m_badges[std::size_t(i)] =
            QRect(box.left() + 3, box.top() + (box.height() - line - 2) / 2, badgeWidth, line + 2);
        m_texts[std::size_t(i)] = QRect(box.left() + badgeWidth + 8, box.top() + 2,
                                        box.width() - badgeWidth - 11, kLines * line);
    }
    m_noteRect = QRect(0, height() - noteHeight + 2, width(), noteHeight - 2);

    // The pad between the boxes, as wide as its height allows.
    const qreal padHeight = std::max(40, bottomTop - topHeight - 4);
    const qreal padWidth = std::min<qreal>(width() - 4, padHeight * kPadAspect);
    m_pad = QRectF((width() - padWidth) / 2, topHeight + 2, padWidth, padHeight);
    const qreal w = m_pad.width(), h = m_pad.height(), x = m_pad.left(), y = m_pad.top();
    const auto at = [&](qreal fx, qreal fy) { return QPointF(x + fx * w, y + fy * h); };
    const auto around = [](QPointF centre, qreal rx, qreal ry) {
        return QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry);
    };
    m_body = QPainterPath();
    m_body.setFillRule(Qt::WindingFill);
    m_body.addRoundedRect(QRectF(at(0.05, 0.16), at(0.95, 0.66)), 0.2 * h, 0.2 * h);
    m_body.addEllipse(QRectF(at(0.03, 0.30), at(0.37, 1.0)));
    m_body.addEllipse(QRectF(at(0.63, 0.30), at(0.97, 1.0)));
    m_body = m_body.simplified();

    const qreal stick = 0.13 * h, face = 0.064 * h, spread = 0.14 * h;
    const QPointF faces = at(0.75, 0.41);
    auto& p = m_parts;
    p[index(Part::South)] = around(faces + QPointF(0, spread), face, face);
    p[index(Part::East)] = around(faces + QPointF(spread, 0), face, face);
    p[index(Part::West)] = around(faces - QPointF(spread, 0), face, face);
    p[index(Part::North)] = around(faces - QPointF(0, spread), face, face);
    p[index(Part::LeftTrigger)] = QRectF(at(0.13, 0.0), at(0.31, 0.095));
    p[index(Part::RightTrigger)] = QRectF(at(0.69, 0.0), at(0.87, 0.095));
    p[index(Part::LeftShoulder)] = QRectF(at(0.10, 0.105), at(0.34, 0.195));
    p[index(Part::RightShoulder)] = QRectF(at(0.66, 0.105), at(0.90, 0.195));
    p[index(Part::LeftStick)] = around(at(0.25, 0.41), stick, stick);
    p[index(Part::RightStick)] = around(at(0.63, 0.70), stick, stick);
    p[index(Part::Dpad)] = around(at(0.37, 0.70), 0.11 * h, 0.11 * h);
    p[index(Part::Back)] = around(at(0.42, 0.41), 0.04 * w, 0.04 * h);
    p[index(Part::Start)] = around(at(0.58, 0.41), 0.04 * w, 0.04 * h);
}

int PadPicture::partAt(QPoint position) const {
    for (int i = 0; i < kPartCount; ++i) {
        if (m_boxes[std::size_t(i)].contains(position) ||
            m_parts[std::size_t(i)].contains(QPointF(position)))
            return i;
    }
    return -1;
}

void PadPicture::moveCurrent(int dx, int dy) {
    // To the nearest box that way: along the way first, across it second.
    const QPoint from = m_boxes[std::size_t(m_current)].center();
    int best = -1;
    int bestScore = 0;
    for (int i = 0; i < kPartCount; ++i) {
        const QPoint to = m_boxes[std::size_t(i)].center() - from;
        const int along = to.x() * dx + to.y() * dy;
        if (along <= 0)
            continue;
        const int across = std::abs(to.x() * dy) + std::abs(to.y() * dx);
        const int score = along + 2 * across;
        if (best < 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (best >= 0)
        setCurrent(Part(best));
}

bool PadPicture::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = partAt(help->pos());
        if (i >= 0)
            QToolTip::showText(help->globalPos(), partName(Part(i)), this, m_boxes[std::size_t(i)]);
        else if (m_noteRect.contains(help->pos()) && !m_note.isEmpty())
            QToolTip::showText(help->globalPos(), m_note, this, m_noteRect);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PadPicture::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton ? partAt(event->position().toPoint()) : -1;
    if (m_pressed >= 0) {
        setCurrent(Part(m_pressed));
        setFocus(Qt::MouseFocusReason);
    }
    QWidget::mousePressEvent(event);
}

void PadPicture::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = std::exchange(m_pressed, -1);
    if (event->button() == Qt::LeftButton && pressed >= 0 &&
        partAt(event->position().toPoint()) == pressed)
        Q_EMIT chosen(Part(pressed));
    QWidget::mouseReleaseEvent(event);
}

void PadPicture::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        moveCurrent(-1, 0);
        return;
    case Qt::Key_Right:
        moveCurrent(1, 0);
        return;
    case Qt::Key_Up:
        moveCurrent(0, -1);
        return;
    case Qt::Key_Down:
        moveCurrent(0, 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Q_EMIT chosen(m_current);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PadPicture::focusInEvent(QFocusEvent* event) {
    // Tab comes in at the first part, Shift+Tab at the last.
    const auto order = tabOrder();
    if (event->reason() == Qt::TabFocusReason)
        setCurrent(order.front());
    else if (event->reason() == Qt::BacktabFocusReason)
        setCurrent(order.back());
    QWidget::focusInEvent(event);
    update();
}

void PadPicture::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

bool PadPicture::focusNextPrevChild(bool next) {
    // Tab goes through the parts, and on out of the picture after the last.
    const auto order = tabOrder();
    const auto at = std::find(order.begin(), order.end(), m_current) - order.begin();
    if (hasFocus() && next && at + 1 < qsizetype(order.size())) {
        setCurrent(order[std::size_t(at + 1)]);
        return true;
    }
    if (hasFocus() && !next && at > 0) {
        setCurrent(order[std::size_t(at - 1)]);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void PadPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void PadPicture::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layOut();
}

void PadPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal edge = std::max(1.0, m_pad.height() / 110);

    // The triggers behind the body, the shoulders on its top edge.
    paintPart(painter, Part::LeftTrigger);
    paintPart(painter, Part::RightTrigger);
    painter.setPen(QPen(kBodyEdge, edge));
    painter.setBrush(kBody);
    painter.drawPath(m_body);
    for (Part part :
         {Part::LeftShoulder, Part::RightShoulder, Part::LeftStick, Part::RightStick, Part::Dpad,
          Part::Back, Part::Start, Part::South, Part::East, Part::West, Part::North})
        paintPart(painter, part);

    for (int i = 0; i < kPartCount; ++i)
        paintLabel(painter, Part(i));

    if (!m_note.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(font());
        const QStringList lines = shownNote();
        const int line = lineHeight(font());
        for (int n = 0; n < lines.size(); ++n)
            painter.drawText(
                QRect(m_noteRect.left(), m_noteRect.top() + n * line, m_noteRect.width(), line),
                Qt::AlignLeft | Qt::AlignVCenter, lines[n]);
    }
}

// A part on the pad: filled dark when it drives an input, quiet when not,
// ringed when the keyboard is on it.
void PadPicture::paintPart(QPainter& painter, Part part) const {
    const QRectF r = m_parts[std::size_t(part)];
    const bool used = !m_labels[std::size_t(part)].isEmpty();
    const QColor fill = used ? kUsed : kQuietFill;
    const QColor ink = used ? QColor(Qt::white) : kQuietText;
    const qreal edge = std::max(1.0, m_pad.height() / 110);
    painter.save();
    painter.setPen(QPen(used ? kUsed.darker(130) : kQuietEdge, edge));
    painter.setBrush(fill);
    QPainterPath shape;
    switch (part) {
    case Part::LeftStick:
    case Part::RightStick: {
        // The well, then the cap.
        painter.setBrush(kBody.darker(112));
        painter.drawEllipse(r);
        const QRectF cap =
            r.adjusted(r.width() * 0.16, r.height() * 0.16, -r.width() * 0.16, -r.height() * 0.16);
        painter.setBrush(fill);
        shape.addEllipse(cap);
        break;
    }
    case Part::Dpad: {
        const qreal arm = r.width() * 0.34;
        shape.setFillRule(Qt::WindingFill);
        shape.addRoundedRect(r.adjusted(r.width() / 2 - arm / 2, 0, -(r.width() / 2 - arm / 2), 0),
                             2, 2);
        shape.addRoundedRect(
            r.adjusted(0, r.height() / 2 - arm / 2, 0, -(r.height() / 2 - arm / 2)), 2, 2);
        shape = shape.simplified();
        break;
    }
    case Part::LeftTrigger:
    case Part::RightTrigger:
        shape.addRoundedRect(r, r.height() * 0.45, r.height() * 0.45);
        break;
    case Part::LeftShoulder:
    case Part::RightShoulder:
    case Part::Back:
    case Part::Start:
        shape.addRoundedRect(r, r.height() * 0.5, r.height() * 0.5);
        break;
    default:
        shape.addEllipse(r);
        break;
    }
    painter.drawPath(shape);
    // The letters on the face buttons, the shoulders and the triggers.
    if (isFace(part) ||
        (index(part) >= index(Part::LeftShoulder) && index(part) <= index(Part::RightTrigger))) {
        QFont mark = markFont();
        mark.setPixelSize(std::max(8, int(std::min(r.height() * 0.72, qreal(mark.pixelSize())))));
        painter.setFont(mark);
        painter.setPen(ink);
        painter.drawText(r, Qt::AlignCenter, partMark(part));
    }
    if (part == m_current && hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRoundedRect(r.adjusted(-3, -3, 3, 3), 4, 4);
    }
    painter.restore();
}

// A label's box: the part's mark, then the label in up to two lines.
void PadPicture::paintLabel(QPainter& painter, Part part) const {
    const QRect box = m_boxes[std::size_t(part)];
    const bool used = !m_labels[std::size_t(part)].isEmpty();
    const bool current = part == m_current && hasFocus();
    painter.save();
    const QColor highlight = palette().color(QPalette::Highlight);
    painter.setPen(current ? QPen(highlight, 2) : QPen(kBoxEdge, 1));
    painter.setBrush(current ? QColor(highlight.red(), highlight.green(), highlight.blue(), 28)
                             : QColor(Qt::transparent));
    painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);

    // The mark, in the part's own shape where it has a letter of its own.
    const QRectF badge = m_badges[std::size_t(part)];
    const QColor fill = used ? kUsed : kQuietFill;
    painter.setPen(QPen(used ? kUsed.darker(130) : kQuietEdge, 1));
    painter.setBrush(fill);
    if (isFace(part) || part == Part::LeftStick || part == Part::RightStick) {
        const qreal d = badge.height();
        painter.drawEllipse(QRectF(badge.left() + (badge.width() - d) / 2, badge.top(), d, d));
    } else if (part == Part::Dpad) {
        const qreal d = badge.height();
        const QRectF square(badge.left() + (badge.width() - d) / 2, badge.top(), d, d);
        const qreal arm = d * 0.36;
        QPainterPath cross;
        cross.setFillRule(Qt::WindingFill);
        cross.addRect(square.adjusted((d - arm) / 2, 0, -(d - arm) / 2, 0));
        cross.addRect(square.adjusted(0, (d - arm) / 2, 0, -(d - arm) / 2));
        painter.drawPath(cross.simplified());
    } else {
        painter.drawRoundedRect(badge, badge.height() / 2, badge.height() / 2);
    }
    painter.setFont(markFont());
    painter.setPen(used ? QColor(Qt::white) : kQuietText);
    painter.drawText(badge, Qt::AlignCenter, partMark(part));

    painter.setFont(font());
    painter.setPen(used ? palette().color(QPalette::WindowText) : kQuietText);
    const QStringList lines = shownLines(part);
    for (int n = 0; n < lines.size(); ++n)
        painter.drawText(lineRect(part, n), Qt::AlignLeft | Qt::AlignVCenter, lines[n]);
    painter.restore();
}

} // namespace ui
