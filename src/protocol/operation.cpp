#include "protocol/operation.h"

namespace protocol {

std::string operationName(Operation op)
{
    switch (op) {
    case Operation::Handshake:
        return "握手";
    case Operation::Read:
        return "读取";
    case Operation::Write:
        return "写入";
    case Operation::Activate:
        return "激活";
    case Operation::None:
        break;
    }
    return {};
}

} // namespace protocol
