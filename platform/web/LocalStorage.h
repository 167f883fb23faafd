#pragma once
// The browser's localStorage as the registry's text storage. Storage that is
// blocked (privacy settings, a sandboxed frame) reads as unreachable; storage
// that is full or blocked fails the write, and play goes on.
#include "platform/TextStorage.h"

namespace pw {

class LocalStorage : public TextStorage {
public:
    Loaded Load(const std::string& name, size_t limit) override;
    bool Save(const std::string& name, const std::string& bytes, std::string& reason) override;
};

}  // namespace pw
