#pragma once

#include "ui/Twips.h"

#include <array>
#include <span>
#include <string_view>

namespace ui {

enum class ControlKind {
    Panel,         // framed container
    TextBox,       // one-line text box
    HelpBox,       // multi-line fixed help text
    CaptureBox,    // the key capture box
    Button,        // button with a caption
    PictureButton, // button that shows a picture and no caption
    CheckBox,      // three-valued check box
    Label,         // caption
    SlotLabel,     // one of the 49 binding slots
    Image,         // picture
    ClickImage,    // picture that reacts to a click
    ListBox,       // the game list
};

struct ControlSpec {
    std::string_view name;
    ControlKind kind;
    std::string_view container; // empty: the window itself
    TwipsRect rect;
    std::string_view shows; // initial caption or text
    std::string_view tooltip;
    bool hiddenAtStart;
    bool disabledAtStart;
};

// Every control of the window except the 49 slot labels, front to back: a
// control lies in front of every later control of the same container. The
// slot labels sit between Label3 and Command2 in that order; their rectangles
// come from the slot table.
std::span<const ControlSpec> controlTable();

// Names of the controls that take the keyboard focus, in tab order.
std::span<const std::string_view> tabOrder();

} // namespace ui
