#pragma once

// JPEG pictures decoded with libjpeg, called directly.

#include <QImage>
#include <string>
#include <string_view>

namespace velmaro::qt {

// The picture in a JPEG byte buffer; a null image when the bytes are no JPEG picture
// or are damaged.
QImage DecodeJpeg(std::string_view bytes);
// The picture of a JPEG file (UTF-8 path); a null image when it is missing or unreadable.
QImage LoadJpegFile(const std::string& utf8Path);

}  // namespace velmaro::qt
