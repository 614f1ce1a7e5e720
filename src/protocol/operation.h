#pragma once

#include <string>

namespace protocol {

// The request in flight (OpTag). None until the first request goes out.
enum class Operation { None, Handshake, Read, Write, Activate };

// "握手", "读取", "写入", "激活"; empty for None.
std::string operationName(Operation op);

} // namespace protocol
