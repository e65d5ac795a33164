#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "FileSystem.h"
#include "SystemFiles.h"

// The system's files, except that one chosen call fails with a chosen reason:
// the seam through which tests reach the failures a disk or network gives.
class FaultyFiles final : public FileSystem {
public:
    enum class Call { None, Any, OpenForReading, Read, OpenForAppending, Append, Close };

    // Fails the `count`-th call (counting from 1) of kind `call`; Call::Any counts
    // calls of every kind. A failing Append first writes half of its bytes, as a
    // disk that fills up in the middle of a write does.
    void FailAt(Call call, int count, std::string reason = "Input/output error") {
        m_call = call;
        m_count = count;
        m_reason = std::move(reason);
    }

    // Hands out at most `size` bytes per read, as a pipe or a slow share may.
    void CutReadsTo(std::size_t size) { m_readSize = size; }

    std::unique_ptr<InputFile> OpenForReading(const std::string& path,
                                              std::string& reason) override {
        if (Fails(Call::OpenForReading, reason)) return nullptr;
        auto file = m_system.OpenForReading(path, reason);
        return file ? std::make_unique<Input>(*this, std::move(file)) : nullptr;
    }

    std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                                 std::string& reason) override {
        ++m_outputOpens;
        if (Fails(Call::OpenForAppending, reason)) return nullptr;
        auto file = m_system.OpenForAppending(path, reason);
        return file ? std::make_unique<Output>(*this, std::move(file)) : nullptr;
    }

    int OutputOpens() const { return m_outputOpens; }
    // Calls of every kind so far, failed ones included.
    int Calls() const { return m_calls; }
    // The kind of the call that was made to fail; Call::None while none has.
    Call Failed() const { return m_failed; }

private:
    bool Fails(Call call, std::string& reason) {
        ++m_calls;
        if ((m_call != Call::Any && call != m_call) || --m_count != 0) return false;
        m_failed = call;
        reason = m_reason;
        return true;
    }

    class Input final : public InputFile {
    public:
        Input(FaultyFiles& files, std::unique_ptr<InputFile> file)
            : m_files(files), m_file(std::move(file)) {}
        bool Read(char* buffer, std::size_t capacity, std::size_t& got,
                  std::string& reason) override {
            return !m_files.Fails(Call::Read, reason) &&
                   m_file->Read(buffer, std::min(capacity, m_files.m_readSize), got, reason);
        }
        FileIdentity Identity() const override { return m_file->Identity(); }

    private:
        FaultyFiles& m_files;
        std::unique_ptr<InputFile> m_file;
    };

    class Output final : public OutputFile {
    public:
        Output(FaultyFiles& files, std::unique_ptr<OutputFile> file)
            : m_files(files), m_file(std::move(file)) {}
        bool Append(const char* data, std::size_t size, std::string& reason) override {
            if (!m_files.Fails(Call::Append, reason)) return m_file->Append(data, size, reason);
            std::string ignored;
            m_file->Append(data, size / 2, ignored);
            return false;
        }
        bool Close(std::string& reason) override {
            const bool closed = m_file->Close(reason);
            return !m_files.Fails(Call::Close, reason) && closed;
        }
        FileIdentity Identity() const override { return m_file->Identity(); }

    private:
        FaultyFiles& m_files;
        std::unique_ptr<OutputFile> m_file;
    };

    SystemFiles m_system;
    Call m_call = Call::None;
    int m_count = 0;
    std::string m_reason;
    std::size_t m_readSize = static_cast<std::size_t>(-1);
    int m_outputOpens = 0;
    int m_calls = 0;
    Call m_failed = Call::None;
};
