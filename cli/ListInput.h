// A checksum list as tolvek-cli -c reads it, line by line as its lines arrive: a named file,
// FIFO or device, or standard input.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace tolvek::cli {

class ListInput {
public:
    // Opens `listPath`; "-" is `standardInput`. Whether it opened, systemError() says.
    ListInput(const std::string& listPath, std::istream& standardInput);
    ListInput(const ListInput&) = delete;
    ListInput& operator=(const ListInput&) = delete;
    ~ListInput();

    // Standard input, a FIFO or a device: the names in it are relative to the current folder.
    bool isStream() const { return m_isStream; }
    // The next line, without its `end` (a line feed, or NUL for NUL-separated names); false at
    // the list's end or when a read failed.
    bool nextLine(std::string& line, char end = '\n');
    // Whether the next line has not arrived yet, so that reading it waits for its writer.
    bool waits() const;
    // The system's error number when the list could not be opened or read, else 0.
    int systemError() const;

private:
    class FileBuffer;

    std::unique_ptr<FileBuffer> m_file;  // for a named list
    std::unique_ptr<std::istream> m_fileStream;
    std::istream* m_stream = nullptr;
    bool m_isStream = false;
    int m_openError = 0;
};

}  // namespace tolvek::cli
