#pragma once
// A fresh folder for one run's or one test's settings, removed with
// everything in it at the end. Placed in memory (/dev/shm) when it can be: every settings write is
// flushed to disk, and a long run makes tens of thousands of them.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace pw {

class TempFolder {
public:
    TempFolder() {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/pivotwarden-XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr) {
                path = pattern;
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path;
};

}  // namespace pw
