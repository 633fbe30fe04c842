#include "bindings/PadView.h"

namespace bindings {

namespace {

using Picture = ui::PadPicture::Part;

// The two lists name the same parts in the same order.
static_assert(kPadPartCount == ui::PadPicture::kPartCount);
static_assert(int(PadPart::South) == int(Picture::South) &&
              int(PadPart::East) == int(Picture::East) &&
              int(PadPart::West) == int(Picture::West) &&
              int(PadPart::North) == int(Picture::North) &&
              int(PadPart::LeftShoulder) == int(Picture::LeftShoulder) &&
              int(PadPart::RightShoulder) == int(Picture::RightShoulder) &&
              int(PadPart::LeftTrigger) == int(Picture::LeftTrigger) &&
              int(PadPart::RightTrigger) == int(Picture::RightTrigger) &&
              int(PadPart::LeftStick) == int(Picture::LeftStick) &&
              int(PadPart::RightStick) == int(Picture::RightStick) &&
              int(PadPart::Dpad) == int(Picture::Dpad) &&
              int(PadPart::Back) == int(Picture::Back) &&
              int(PadPart::Start) == int(Picture::Start));

} // namespace

ui::PadPicture::Part picturePart(PadPart part) {
    return Picture(int(part));
}

PadPart layoutPart(ui::PadPicture::Part part) {
    return PadPart(int(part));
}

void showPadLayout(ui::PadPicture& picture, const PadLayout& layout, int player, bool nintendo,
                   const QStringList& types) {
    picture.clearLabels();
    for (const PartUse& use : partsUsed(layout, player))
        picture.setLabel(picturePart(use.part), use.caption);
    picture.setNintendo(nintendo);
    picture.setNote(offPadNote(types));
}

} // namespace bindings
