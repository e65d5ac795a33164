#pragma once

#include <memory>
#include <string>

#include "FileSystem.h"
#include "SystemFiles.h"

// The system's files, except that one chosen call fails with a chosen reason:
// the seam through which tests reach the failures a disk or network gives.
class FaultyFiles final : public FileSystem {
public:
    enum class Call { None, OpenForReading, Read, OpenForAppending, Append, Close };

    // Fails the `count`-th call (counting from 1) of kind `call`.
    void FailAt(Call call, int count, std::string reason = "Input/output error") {
        m_call = call;
        m_count = count;
        m_reason = std::move(reason);
    }

    std::unique_ptr<InputFile> OpenForReading(const std::string& path, std::string& reason) override {
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

private:
    bool Fails(Call call, std::string& reason) {
        if (call != m_call || --m_count != 0) return false;
        reason = m_reason;
        return true;
    }

    class Input final : public InputFile {
    public:
        Input(FaultyFiles& files, std::unique_ptr<InputFile> file) : m_files(files), m_file(std::move(file)) {}
        bool Read(char* buffer, std::size_t capacity, std::size_t& got, std::string& reason) override {
            return !m_files.Fails(Call::Read, reason) && m_file->Read(buffer, capacity, got, reason);
        }
        FileIdentity Identity() const override { return m_file->Identity(); }

    private:
        FaultyFiles& m_files;
        std::unique_ptr<InputFile> m_file;
    };

    class Output final : public OutputFile {
    public:
        Output(FaultyFiles& files, std::unique_ptr<OutputFile> file) : m_files(files), m_file(std::move(file)) {}
        bool Append(const char* data, std::size_t size, std::string& reason) override {
            return !m_files.Fails(Call::Append, reason) && m_file->Append(data, size, reason);
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
    int m_outputOpens = 0;
};
