// A second thread kept waiting for work, so that a computation repeated many times shares itself
// out without starting a thread each time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>

namespace pelvaron::simulation {

/// run(job) calls job(1) on the helper thread and job(0) on the calling one at once, and returns
/// when both are done. The thread is started by the first run and joined when the HelperThread
/// goes; where none can be started, the calling thread runs job(0) alone, and job(0) must then do
/// all the work (as when the helper takes none of it). What job(1) throws is thrown again by run.
class HelperThread {
public:
    HelperThread() = default;
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;
    ~HelperThread() = default;  // the thread is asked to stop, woken and joined first (declared last)

    void run(const std::function<void(int thread)>& job) {
        if (!thread_.joinable() && !unavailable_) {
            try {
                thread_ = std::jthread([this](const std::stop_token& stop) { serve(stop); });
            } catch (const std::system_error&) {
                unavailable_ = true;
            }
        }
        if (!thread_.joinable()) {
            job(0);
            return;
        }
        {
            const std::lock_guard lock(mutex_);
            job_ = &job;
            failure_ = nullptr;
            ++posted_;
        }
        wake_.notify_one();
        // The helper's job is waited for even when the calling thread's throws.
        std::exception_ptr own;
        try {
            job(0);
        } catch (...) {
            own = std::current_exception();
        }
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return finished_ == posted_; });
        if (own) std::rethrow_exception(own);
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    void serve(const std::stop_token& stop) {
        std::uint64_t seen = 0;
        for (;;) {
            const std::function<void(int)>* job = nullptr;
            {
                std::unique_lock lock(mutex_);
                if (!wake_.wait(lock, stop, [&] { return posted_ != seen; })) return;  // asked to stop
                seen = posted_;
                job = job_;
            }
            std::exception_ptr failure;
            try {
                (*job)(1);
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex_);
                failure_ = failure;
                finished_ = seen;
            }
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::condition_variable done_;
    const std::function<void(int)>* job_ = nullptr;
    std::exception_ptr failure_;
    std::uint64_t posted_ = 0;
    std::uint64_t finished_ = 0;
    bool unavailable_ = false;
    std::jthread thread_;
};

}  // namespace pelvaron::simulation
