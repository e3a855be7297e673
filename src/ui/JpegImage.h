#pragma once
#include <QImage>

#include <string>

namespace korvath {

// Decodes a JPEG file with libjpeg. Returns a null image (and the reason in
// *error when given) when the file is missing or not a readable JPEG.
QImage loadJpeg(const std::string& path, std::string* error = nullptr);
QImage decodeJpeg(const unsigned char* data, size_t size, std::string* error = nullptr);

} // namespace korvath
