#pragma once
#include <stdexcept>
#include <string>

namespace korvath {

// Bad data in a file: carries the file, the line (0 when the whole file is at
// fault) and the reason, so the player or the script author can find it.
class DataError : public std::runtime_error {
  public:
    DataError(std::string file, int line, std::string reason)
        : std::runtime_error(format(file, line, reason)), file_(std::move(file)), line_(line),
          reason_(std::move(reason)) {}

    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

  private:
    static std::string format(const std::string& file, int line, const std::string& reason) {
        if (line > 0) return file + ", line " + std::to_string(line) + ": " + reason;
        return file + ": " + reason;
    }
    std::string file_;
    int line_;
    std::string reason_;
};

} // namespace korvath
