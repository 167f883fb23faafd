#pragma once
// Little-endian byte output shared by the file encoders.
#include <cstdint>
#include <string>
#include <vector>

namespace pw::tool {

class ByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Text(const char* fourCc);
    void Append(const std::vector<uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Writes the bytes to path, replacing the file; throws on failure.
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace pw::tool
