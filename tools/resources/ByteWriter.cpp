#include "ByteWriter.h"

#include <fstream>
#include <stdexcept>

namespace pw::tool {

void ByteWriter::U16(uint16_t v) {
    U8(static_cast<uint8_t>(v & 0xFF));
    U8(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
    U16(static_cast<uint16_t>(v & 0xFFFF));
    U16(static_cast<uint16_t>(v >> 16));
}

void ByteWriter::Text(const char* fourCc) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(fourCc[i]));
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace pw::tool
