#pragma once

// What the tool says of the unit's five values and of how an exchange ended,
// exactly as the window shows it; radioctl says the same words.
namespace protocol {

// The labels of the boxes and lists that hold the five values.
inline constexpr char kTransmitLabel[] = "发射频点：";
inline constexpr char kReceiveLabel[] = "接收频点：";
inline constexpr char kInterfaceLabel[] = "接口速率：";
inline constexpr char kChannelLabel[] = "信道速率：";
inline constexpr char kParityLabel[] = "校验格式：";

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

} // namespace protocol
