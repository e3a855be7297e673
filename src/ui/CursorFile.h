#pragma once
#include <QCursor>
#include <QImage>

#include <optional>
#include <string>
#include <vector>

namespace korvath {

// A Windows cursor file: the first picture it holds and its hot spot.
struct CursorPicture {
    QImage image; // ARGB32
    int hotX = 0;
    int hotY = 0;
};

// Reads the first picture of a .cur file (bitmap of 1, 4, 8, 24 or 32 bits with
// its AND mask, or PNG). Nothing when the bytes are not a cursor.
std::optional<CursorPicture> parseCursor(const std::vector<unsigned char>& bytes);

// The cursor in file, or fallback when the file is missing or unreadable.
QCursor loadCursor(const std::string& file, Qt::CursorShape fallback);

} // namespace korvath
