#include "game/files/SaveFiles.h"

#include "engine/DataError.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace korvath {

namespace {

[[noreturn]] void failed(const std::string& shownAs, const char* what, int error) {
    throw DataError(shownAs, 0, std::string(what) + ": " + std::strerror(error));
}

} // namespace

void SaveFiles::write(const std::string& path, const std::vector<uint8_t>& bytes,
                      const std::string& shownAs) const {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) failed(shownAs, "cannot write the file", errno);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            failed(shownAs, "cannot write the file", error);
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        failed(shownAs, "cannot write the file", error);
    }
    if (::close(fd) != 0) failed(shownAs, "cannot write the file", errno);
}

void SaveFiles::rename(const std::string& from, const std::string& to,
                       const std::string& shownAs) const {
    if (::rename(from.c_str(), to.c_str()) != 0) failed(shownAs, "cannot replace the file", errno);
}

void SaveFiles::remove(const std::string& path) const {
    ::unlink(path.c_str());
}

void SaveFiles::syncFolder(const std::string& folder) const {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::vector<std::string> SaveFiles::list(const std::string& folder) const {
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        out.push_back(it->path().filename().string());
    return out;
}

bool SaveFiles::exists(const std::string& path) const {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string SaveFiles::read(const std::string& path, size_t longest) const {
    // Opened without waiting, so that a pipe in its place cannot hold the game.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) failed(path, "cannot read the file", errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw DataError(path, 0, "not a regular file");
    }
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            failed(path, "cannot read the file", error);
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > longest) break;
    }
    ::close(fd);
    if (text.size() > longest) throw DataError(path, 0, "longer than the game writes it");
    return text;
}

const SaveFiles& diskFiles() {
    static const SaveFiles files; // no state: only the operations
    return files;
}

} // namespace korvath
