#pragma once

#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>

// The chart's larger jobs are shared between two threads where the machine has two cores.
namespace ChartThreads {

// Runs work(0) on the calling thread and work(1) on another, and returns when both are done;
// with one core, or when no thread is to be had (a process limit), runs work(0) alone, which
// must then do all of the work.
template <typename Work> void onTwoThreads(Work work)
{
    static const bool two = std::thread::hardware_concurrency() >= 2;
    if (!two) {
        work(0);
        return;
    }
    std::thread other;
    try {
        other = std::thread([&work] { work(1); });
    } catch (const std::system_error &) {
    }
    work(0);
    if (other.joinable())
        other.join();
}

// Calls work(i) for every i in 0..count-1, each once, on two threads when `share` (a job
// large enough to be worth a thread) and on the calling thread otherwise.
template <typename Work> void forEach(size_t count, bool share, Work work)
{
    if (!share || count < 2) {
        for (size_t i = 0; i < count; ++i)
            work(i);
        return;
    }
    std::atomic<size_t> next{0};
    onTwoThreads([&](int) {
        for (size_t i = next++; i < count; i = next++)
            work(i);
    });
}

} // namespace ChartThreads
