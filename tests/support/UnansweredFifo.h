#pragma once
// A FIFO nobody writes to: opening it for reading blocks until a writer comes. A guard thread
// stands in as that writer once code has waited for one a while, so code that wrongly waits is
// let go (reading an empty file) and its test fails instead of hanging the run.
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace zeltest {

class UnansweredFifo {
public:
    explicit UnansweredFifo(std::string path, std::chrono::milliseconds patience = std::chrono::seconds(5))
        : path_(std::move(path)) {
        if (::mkfifo(path_.c_str(), 0600) != 0)
            throw std::runtime_error("mkfifo " + path_);
        guard_ = std::thread([this, patience] { stand(patience); });
    }
    ~UnansweredFifo() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        guard_.join();
    }
    UnansweredFifo(const UnansweredFifo&) = delete;
    UnansweredFifo& operator=(const UnansweredFifo&) = delete;

    const std::string& Path() const { return path_; }
    // Whether anything was found waiting in open() for a writer.
    bool HadToRelease() const { return released_; }

private:
    void stand(std::chrono::milliseconds patience) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, patience, [this] { return stop_; })) {
            // Without a reader a non-blocking open for writing fails (ENXIO): nobody waits.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                released_ = true;
                ::close(fd);
            }
        }
    }

    std::string path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<bool> released_{false};
    std::thread guard_;
};

} // namespace zeltest
