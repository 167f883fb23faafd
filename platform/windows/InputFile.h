#pragma once
// A file on a disk read through the C runtime's buffer by one thread; the
// path is UTF-8 and opened as the UTF-16 path Windows holds.
#include <cstdio>
#include <string>

#include "platform/InputStream.h"

namespace pw {

class InputFile : public InputStream {
public:
    InputFile() = default;
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool Open(const std::string& path, std::string& error) override;
    int Get() override {
        const int c = _getc_nolock(file_);  // one thread reads it
        return c == EOF ? -1 : c;
    }
    bool Rewind() override;
    bool Failed() const override { return file_ == nullptr || std::ferror(file_) != 0; }

private:
    std::FILE* file_ = nullptr;
};

}  // namespace pw
