#include "ConverterThread.h"

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
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return !m_busy; });
    return m_written;
}

void ConverterThread::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_asked.wait(lock, [this] { return m_busy || m_quit; });
        if (!m_busy) return;
        lock.unlock();
        const std::size_t written = m_converter.Convert(m_in, m_size, m_out);
        lock.lock();
        m_written = written;
        m_busy = false;
        m_done.notify_one();
    }
}
