#include "RecordWriter.h"

#include <cstring>

#include "ConversionOutcome.h"

RecordWriter::RecordWriter(std::string& outputPath, FileSystem& files, const FileIdentity& input)
    : m_outputPath(outputPath), m_files(files), m_input(input) {}

RecordWriter::~RecordWriter() {
    std::string ignored;
    if (m_file) m_file->Close(ignored);
}

char* RecordWriter::Reserve(std::size_t size) {
    if (m_buffer.size() < m_used + size) m_buffer.resize(m_used + size);
    return m_buffer.data() + m_used;
}

bool RecordWriter::Commit(std::size_t size) {
    // What was held back holds no LF, so only the new bytes can end a record.
    const std::string_view added(m_buffer.data() + m_used, size);
    m_used += size;
    const std::size_t lastLf = added.rfind('\n');
    if (lastLf != std::string_view::npos) return Write(m_used - size + lastLf + 1);
    // A record longer than the buffer cannot go out whole: send what there is.
    if (m_used >= kBufferSize) return Write(m_used);
    return true;
}

bool RecordWriter::Finish() { return Write(m_used) && Close(); }

bool RecordWriter::FinishWholeRecords() {
    const std::string_view pending(m_buffer.data(), m_used);
    const std::size_t lastLf = pending.rfind('\n');
    m_used = lastLf == std::string_view::npos ? 0 : lastLf + 1;
    return Finish();
}

bool RecordWriter::Write(std::size_t size) {
    if (size == 0) return true;
    if (!m_file) {
        if (m_outputPath.empty()) m_outputPath = kDefaultOutputName;
        m_file = m_files.OpenForAppending(m_outputPath, m_reason);
        if (!m_file) {
            m_problem = Problem::CannotOpen;
            return false;
        }
        if (m_file->Identity().SameFileAs(m_input)) {
            m_file.reset();
            m_problem = Problem::SameFileAsInput;
            return false;
        }
    }
    if (!m_file->Append(m_buffer.data(), size, m_reason)) {
        m_problem = Problem::CannotWrite;
        return false;
    }
    std::memmove(m_buffer.data(), m_buffer.data() + size, m_used - size);
    m_used -= size;
    return true;
}

bool RecordWriter::Close() {
    if (!m_file) return true;
    const bool closed = m_file->Close(m_reason);
    m_file.reset();
    if (!closed) m_problem = Problem::CannotWrite;
    return closed;
}

void AppendRecord(std::string& outputPath, std::string_view record, ConversionReporter& reporter,
                  FileSystem& files) {
    RecordWriter writer(outputPath, files, FileIdentity{});
    char* out = writer.Reserve(2 * record.size());
    char* const start = out;
    for (char octet : record) {
        if (octet == '\n') *out++ = '\r';
        *out++ = octet;
    }
    if (!writer.Commit(static_cast<std::size_t>(out - start)) || !writer.Finish()) {
        const ConversionOutcome failure = WriteFailure(writer, outputPath);
        reporter.ShowMessage(failure.text, failure.caption);
    }
}
