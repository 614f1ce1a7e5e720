#pragma once

#include "protocol/frames.h"

#include <array>
#include <tuple>
#include <type_traits>

// What the tool says of the unit's five values and of how an exchange ended,
// exactly as the window shows it; radioctl says the same words.
namespace words {

// The labels of the boxes and lists that hold the five values.
inline constexpr char kTransmitLabel[] = "发射频点：";
inline constexpr char kReceiveLabel[] = "接收频点：";
inline constexpr char kInterfaceLabel[] = "接口速率：";
inline constexpr char kChannelLabel[] = "信道速率：";
inline constexpr char kParityLabel[] = "校验格式：";

// The lists' items. A rate or parity travels as its position in these
// lists, the same as in protocol::RateTable and protocol::ParityTable.
inline constexpr std::array<const char *, 7> kRates{"1200", "2400", "4800", "9600", "19200", "38400", "57600"};
inline constexpr std::array<const char *, 3> kParities{"无", "奇", "偶"};
static_assert(kRates.size() == std::tuple_size_v<std::remove_const_t<decltype(protocol::RateTable)>>);
static_assert(kParities.size() == std::tuple_size_v<std::remove_const_t<decltype(protocol::ParityTable)>>);

// How an exchange ended.
namespace outcomes {

inline constexpr char kReadDone[] = "读取完毕！";
inline constexpr char kWritten[] = "写入成功！";
inline constexpr char kActivated[] = "激活成功！";
inline constexpr char kDeviceFound[] = "检测到设备。";
inline constexpr char kNoDevice[] = "检测不到设备！";
// After an operation's name ("写入不成功!"); ASCII "!", unlike the rest.
inline constexpr char kFailedSuffix[] = "不成功!";

} // namespace outcomes

} // namespace words
