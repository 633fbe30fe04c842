#pragma once

#include "bindings/PadLayout.h"
#include "ui/PadPicture.h"

namespace bindings {

// The picture's part for a part of the layout, and back.
ui::PadPicture::Part picturePart(PadPart part);
PadPart layoutPart(ui::PadPicture::Part part);

// Shows player `player`'s pad of `layout` on the picture: each part used
// labelled with what it drives, the others quiet; the face buttons lettered
// in Nintendo style when asked; and why the game's light guns stay off the
// pad, for the game's input types.
void showPadLayout(ui::PadPicture& picture, const PadLayout& layout, int player, bool nintendo,
                   const QStringList& types);

} // namespace bindings
