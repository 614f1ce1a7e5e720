#pragma once

#include "words/texts.h"

// Every message and title the tool shows, exactly as the user sees them.
namespace uitexts {

inline constexpr char kAppTitle[] = "Ostrevi电台参数设置程序";
inline constexpr char kWindowCaption[] = "Ostrevi电台参数设置软件";

// kReadDone, kWritten …: an exchange's outcome, in the words radioctl shares.
using namespace words::outcomes;

inline constexpr char kFrequencyRange[] = "频点的取值应在100000--999999之间！";
inline constexpr char kPortInUseSuffix[] = "已被占用，换其它端口号再试一次。";
inline constexpr char kPortTaken[] = "此串口已被占用，请换另一串口！";
inline constexpr char kBrowserError[] = "调用浏览器错误！";
inline constexpr char kBrowserErrorTitle[] = "错误：";

inline constexpr char kStartupSettings[] = "4800,N,8,1";

} // namespace uitexts
