#pragma once
// The program's bitmap resources (button, transport, LED, track bar, cursor
// and video button looks), drawn to the screen layout and written as 24-bit
// BMP files that the build compiles into the program as ":/res/<NAME>".

#include <QImage>
#include <string>
#include <vector>

namespace art {

// Every resource name, in a fixed order.
std::vector<std::string> ResourceNames();

// The picture of one resource; a null image for an unknown name.
QImage ResourceImage(const std::string& name);

} // namespace art
