#include "RecordWriter.h"

#include <cstdint>
#include <cstring>

#include "ConversionOutcome.h"

namespace {

// Where the last LF in `data` is, or `size` if there is none. Eight bytes at a
// time: a record longer than a piece leaves the whole piece to search.
std::size_t LastLineFeed(const char* data, std::size_t size) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    std::size_t end = size;
    while (end >= 8) {
        std::uint64_t word;
        std::memcpy(&word, data + end - 8, 8);
        const std::uint64_t zeroWhereLf = word ^ (kOnes * '\n');
        if (((zeroWhereLf - kOnes) & ~zeroWhereLf & (kOnes * 0x80)) != 0) break;
        end -= 8;
    }
    while (end > 0) {
        if (data[--end] == '\n') return end;
    }
    return size;
}

}  // namespace

RecordWriter::RecordWriter(std::string& outputPath, FileSystem& files, const FileIdentity& input)
    : m_outputPath(outputPath), m_files(files), m_input(input) {}

RecordWriter::~RecordWriter() {
    std::string ignored;
    if (m_file) m_file->Close(ignored);
}

char* RecordWriter::Buffer::Hold(std::size_t size, std::size_t kept) {
    if (capacity < size) {
        std::unique_ptr<char[]> larger(new char[size]);
        if (kept != 0) std::memcpy(larger.get(), bytes.get(), kept);
        bytes = std::move(larger);
        capacity = size;
    }
    return bytes.get();
}

char* RecordWriter::Reserve(std::size_t size) {
    return m_buffers[m_current].Hold(m_used + size, m_used) + m_used;
}

void RecordWriter::Take(std::size_t size) {
    const Buffer& buffer = m_buffers[m_current];
    // What was held back holds no LF, so only the new bytes can end a record.
    const std::size_t lastLf = LastLineFeed(buffer.data() + m_used, size);
    m_used += size;
    std::size_t whole = 0;
    if (lastLf != size) {
        whole = m_used - size + lastLf + 1;
    } else if (m_used >= kBufferSize) {
        // A record longer than the buffer cannot go out whole: send what there is.
        whole = m_used;
    }
    if (whole == 0) return;
    // The unfinished record after them moves to the front of the other buffer.
    const std::size_t rest = m_used - whole;
    char* const other = m_buffers[1 - m_current].Hold(rest, 0);
    // A buffer never grown is null, which memcpy must not get even for 0 bytes.
    if (rest > 0) std::memcpy(other, buffer.data() + whole, rest);
    m_current = 1 - m_current;
    m_used = rest;
    m_taken = whole;
}

bool RecordWriter::WriteTaken() {
    const std::size_t taken = m_taken;
    m_taken = 0;
    return Write(m_buffers[1 - m_current].data(), taken);
}

bool RecordWriter::Finish() {
    const std::size_t held = m_used;
    m_used = 0;
    return WriteTaken() && Write(m_buffers[m_current].data(), held) && Close();
}

bool RecordWriter::FinishWholeRecords() {
    // What is held back is an unfinished record: it holds no LF.
    m_used = 0;
    return Finish();
}

bool RecordWriter::Write(const char* data, std::size_t size) {
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
    if (!m_file->Append(data, size, m_reason)) {
        m_problem = Problem::CannotWrite;
        return false;
    }
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
