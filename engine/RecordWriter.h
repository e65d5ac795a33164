#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ConversionReporter.h"
#include "FileSystem.h"

// Where records go when no output file is named.
inline constexpr const char* kDefaultOutputName = "db.csv";

// Appends converted records to the output file. The file is opened at the first
// byte there is to write (so that an empty input creates no file), appended to
// and never truncated, and closed at the end. Each write hands the system whole
// records, as many as the buffer holds, so that two converters appending to one
// file at once interleave records, never halves of them; only a record longer
// than the buffer goes out in pieces.
class RecordWriter {
public:
    enum class Problem { None, CannotOpen, SameFileAsInput, CannotWrite };

    // An empty `outputPath` becomes "db.csv" when the file is opened, and stays so.
    RecordWriter(std::string& outputPath, FileSystem& files, const FileIdentity& input);
    ~RecordWriter();

    static constexpr std::size_t kBufferSize = 256 * 1024;

    // Room for `size` more bytes; valid until the next Commit or Take.
    char* Reserve(std::size_t size);
    // Takes `size` bytes put at Reserve's pointer and writes the whole records among them.
    bool Commit(std::size_t size) {
        Take(size);
        return WriteTaken();
    }
    // Takes `size` bytes put at Reserve's pointer and sets the whole records
    // among them aside for WriteTaken. They stay in a buffer of their own, so
    // that the next Reserve's room can be filled while WriteTaken writes them.
    // Call WriteTaken before the next Take.
    void Take(std::size_t size);
    // Writes the records that Take set aside.
    bool WriteTaken();
    // Writes what is left and closes the file.
    bool Finish();
    // Writes the whole records, drops an unfinished one and closes: after a failed read.
    bool FinishWholeRecords();

    Problem GetProblem() const { return m_problem; }
    const std::string& Reason() const { return m_reason; }

private:
    bool Write(const char* data, std::size_t size);
    bool Close();

    std::string& m_outputPath;
    FileSystem& m_files;
    FileIdentity m_input;
    std::unique_ptr<OutputFile> m_file;
    // Bytes left as they come, so that room reserved but never filled costs no memory.
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
        // Room for `size` bytes, keeping the first `kept`.
        char* Hold(std::size_t size, std::size_t kept);
        char* data() const { return bytes.get(); }
    };
    // Two buffers in turn: Reserve fills the current one while the records set
    // aside wait in the other.
    Buffer m_buffers[2];
    int m_current = 0;
    std::size_t m_used = 0;   // bytes held back at the start of the current buffer
    std::size_t m_taken = 0;  // bytes set aside at the start of the other buffer
    Problem m_problem = Problem::None;
    std::string m_reason;
};

// Appends one record (bytes up to and including its LF) to the output file, with
// the LF written as CR LF, and shows "Save to File" if the file cannot be written.
void AppendRecord(std::string& outputPath, std::string_view record, ConversionReporter& reporter,
                  FileSystem& files);
