#pragma once
// The browser's localStorage as the registry's text storage. Storage that is
// blocked (privacy settings, a sandboxed frame) reads as unreachable; storage
// that is full or blocked fails the write, and play goes on.
#include "platform/TextStorage.h"

namespace pw {

class LocalStorage : public TextStorage {
public:
    State Load(const std::string& name, std::string& text) override;
    bool Save(const std::string& name, const std::string& text) override;
};

}  // namespace pw
