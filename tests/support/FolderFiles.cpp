#include "FolderFiles.h"

#include "TestData.h"

#include <exception>
#include <fstream>
#include <stdexcept>

#include <pthread.h>

namespace fs = std::filesystem;

namespace korvath::test {

FolderListing listFolder(const fs::path& dir) {
    FolderListing out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (e.is_directory())
            out[name] = "<folder>";
        else if (e.is_fifo())
            out[name] = "<pipe>";
        else
            out[name] = readFile(e.path());
    }
    return out;
}

void layOutFolder(const fs::path& dir, const FolderListing& files) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& [name, bytes] : files) std::ofstream(dir / name, std::ios::binary) << bytes;
}

namespace {

struct Job {
    const std::function<void()>* f;
    std::exception_ptr thrown;
};

void* runJob(void* arg) {
    auto* job = static_cast<Job*>(arg);
    try {
        (*job->f)();
    } catch (...) {
        job->thrown = std::current_exception();
    }
    return nullptr;
}

} // namespace

void onSmallStack(size_t bytes, const std::function<void()>& f) {
    Job job{&f, nullptr};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, bytes);
    pthread_t thread;
    const int failed = pthread_create(&thread, &attr, runJob, &job);
    pthread_attr_destroy(&attr);
    if (failed) throw std::runtime_error("no thread for the small stack");
    pthread_join(thread, nullptr);
    if (job.thrown) std::rethrow_exception(job.thrown);
}

} // namespace korvath::test
