#include "ConverterThread.h"

namespace {

// Looks at `ready` a while, giving way to other threads between looks; true if it came.
template <class Ready>
bool SpinFor(Ready ready) {
    for (int look = 0; look < 256; ++look) {
        if (ready()) return true;
        std::this_thread::yield();
    }
    return false;
}

}  // namespace

ConverterThread::ConverterThread(TextConverter& converter)
    : m_converter(converter), m_thread([this] { Run(); }) {}

ConverterThread::~ConverterThread() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_asked.notify_one();
    m_thread.join();
}

void ConverterThread::Start(const char* in, std::size_t size, char* out) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_in = in;
        m_size = size;
        m_out = out;
        m_busy = true;
    }
    m_asked.notify_one();
}

std::size_t ConverterThread::Wait() {
    const auto done = [this] { return !m_busy; };
    std::unique_lock<std::mutex> lock(m_mutex, std::defer_lock);
    if (!SpinFor(done)) {
        lock.lock();
        m_done.wait(lock, done);
    }
    return m_written;
}

void ConverterThread::Run() {
    const auto asked = [this] { return m_busy || m_quit; };
    for (;;) {
        if (!SpinFor(asked)) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_asked.wait(lock, asked);
        }
        if (!m_busy) return;
        const std::size_t written = m_converter.Convert(m_in, m_size, m_out);
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_written = written;
            m_busy = false;
        }
        m_done.notify_one();
    }
}
