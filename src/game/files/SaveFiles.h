#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// The file operations a save is made of. The game's own do them on the disk,
// each to the end (data and names flushed to the disk); a test may stop after
// any one of them to see what a crash at that moment would leave.
class SaveFiles {
  public:
    virtual ~SaveFiles() = default;
    // Writes the whole file and flushes it; throws DataError with the
    // system's reason, naming `shownAs` (the file the player knows).
    virtual void write(const std::string& path, const std::vector<uint8_t>& bytes,
                       const std::string& shownAs) const;
    virtual void rename(const std::string& from, const std::string& to,
                        const std::string& shownAs) const;
    virtual void remove(const std::string& path) const;
    // Flushes the folder's names (the renames in it) to the disk.
    virtual void syncFolder(const std::string& folder) const;
    virtual std::vector<std::string> list(const std::string& folder) const;
    virtual bool exists(const std::string& path) const;
    // The whole of a regular file of at most `longest` bytes; throws DataError
    // for anything else (a folder, a pipe that would never end, a device).
    virtual std::string read(const std::string& path, size_t longest = SIZE_MAX) const;
};

// The game's own file operations (they keep no state).
const SaveFiles& diskFiles();

} // namespace korvath
