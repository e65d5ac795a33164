#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "TextConverter.h"

// Runs a converter's Convert on a thread of its own, one piece at a time, so
// that the caller can write the records of one piece and read the next while
// this piece is converted. Only the conversion moves: every file call stays on
// the caller's thread, in the order it makes them.
class ConverterThread {
public:
    explicit ConverterThread(TextConverter& converter);
    // Lets a piece under way finish, then ends the thread.
    ~ConverterThread();

    ConverterThread(const ConverterThread&) = delete;
    ConverterThread& operator=(const ConverterThread&) = delete;

    // Starts converting `size` bytes of `in` into `out`, which the caller leaves
    // alone until Wait. One piece at a time.
    void Start(const char* in, std::size_t size, char* out);
    // Waits for the piece to be converted; returns the bytes written.
    std::size_t Wait();

private:
    void Run();

    TextConverter& m_converter;
    std::mutex m_mutex;
    std::condition_variable m_asked;
    std::condition_variable m_done;
    const char* m_in = nullptr;
    std::size_t m_size = 0;
    char* m_out = nullptr;
    std::size_t m_written = 0;
    // Set and cleared under the mutex, but also read without it: a thread that
    // waits looks at it for a while before it sleeps, since waking a thread
    // costs more than a piece takes to convert on some systems (Wine).
    std::atomic<bool> m_busy{false};  // a piece is asked for or under way
    std::atomic<bool> m_quit{false};
    std::thread m_thread;  // last, so that it starts once the rest is in place
};
