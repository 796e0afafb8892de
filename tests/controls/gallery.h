#pragma once
// The gallery: one window with a sample skin that uses every element kind
// (backdrop with tint rectangles, labels, rectangles, pictures, a tick-box
// group) and each skinned control in its looks. Used by the gallery test,
// which saves a picture of it, and by the skins_gallery program.

#include "lessons/skinloader.h"
#include "platform/ui/forms.h"

#include <string>

namespace gallery {

// Writes the sample skin and its pictures into `folder` (ending in '/'),
// loads it into `loader` (owned by `form`), tints the backdrop and adds the
// controls. `form` becomes 800 × 600.
void Build(platform::TForm* form, lessons::SkinLoader* loader, const std::string& folder);

} // namespace gallery
