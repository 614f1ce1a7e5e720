#pragma once

#include "words/texts.h"

// The main window as drawn: every control with its container, caption,
// place and size in twips, and tab index. Form1 builds itself from this.
namespace form1layout {

inline constexpr int kClientWidth = 6000;
inline constexpr int kClientHeight = 5910;

enum class Kind { Frame, Button, Label, List, Box, Picture, StatusBar };
enum class Container { Window, Frame1, Frame2 };
enum class Items { None, Ports, Rates, Parities };

struct ControlRow {
    const char *name;
    int slot;            // its place among the window's buttons, lists or boxes; -1: none
    Kind kind;
    Container container;
    const char *caption; // button or label caption, frame title, box text
    int left, top, width, height;
    int tabIndex;        // -1: takes no focus
    bool enabled;
    Items items;
    const char *buddyOf; // for caption labels: the input they name
};

inline constexpr ControlRow kControls[] = {
    {"Frame1", -1, Kind::Frame, Container::Window, "设置参数", 240, 150, 3735, 2655, 6, true, Items::None, nullptr},
    {"Frame2", -1, Kind::Frame, Container::Window, "当前参数", 240, 3000, 3735, 2415, 19, true, Items::None, nullptr},
    {"Command4", 3, Kind::Button, Container::Window, "检测设备", 4320, 255, 1335, 375, 18, true, Items::None, nullptr},
    {"Command1", 0, Kind::Button, Container::Window, "读取参数", 4320, 720, 1335, 375, 17, false, Items::None, nullptr},
    {"Command2", 1, Kind::Button, Container::Window, "写入参数", 4320, 1200, 1335, 375, 4, false, Items::None, nullptr},
    {"Command3", 2, Kind::Button, Container::Window, "激    活", 4320, 1680, 1335, 375, 5, false, Items::None, nullptr},
    {"Command5", 4, Kind::Button, Container::Window, "帮    助", 4320, 4560, 1335, 375, 33, true, Items::None, nullptr},
    {"Command6", 5, Kind::Button, Container::Window, "关    于", 4320, 5040, 1335, 375, 34, true, Items::None, nullptr},
    {"Image1", -1, Kind::Picture, Container::Window, "", 4695, 3060, 540, 555, -1, true, Items::None, nullptr},
    {"StatusBar1", -1, Kind::StatusBar, Container::Window, "", 0, 5535, 6000, 375, -1, true, Items::None, nullptr},

    {"Label5", -1, Kind::Label, Container::Frame1, "串行端口：", 240, 375, 975, 255, -1, true, Items::None, "Combo4"},
    {"Combo4", 3, Kind::List, Container::Frame1, "", 1320, 330, 2175, 345, 25, true, Items::Ports, nullptr},
    {"Label1", -1, Kind::Label, Container::Frame1, words::kInterfaceLabel, 240, 735, 975, 255, -1, true, Items::None, "Combo1"},
    {"Combo1", 0, Kind::List, Container::Frame1, "", 1320, 675, 2175, 345, 0, true, Items::Rates, nullptr},
    {"Label2", -1, Kind::Label, Container::Frame1, words::kChannelLabel, 240, 1095, 975, 255, -1, true, Items::None, "Combo2"},
    {"Combo2", 1, Kind::List, Container::Frame1, "", 1320, 1050, 2175, 345, 1, true, Items::Rates, nullptr},
    {"Label3", -1, Kind::Label, Container::Frame1, words::kParityLabel, 240, 1455, 975, 255, -1, true, Items::None, "Combo3"},
    {"Combo3", 2, Kind::List, Container::Frame1, "", 1320, 1410, 2175, 345, 2, true, Items::Parities, nullptr},
    {"Label4", -1, Kind::Label, Container::Frame1, words::kTransmitLabel, 240, 1815, 975, 255, -1, true, Items::None, "Text1"},
    {"Text1", 0, Kind::Box, Container::Frame1, "100000", 1320, 1770, 1800, 345, 3, true, Items::None, nullptr},
    {"Label6", -1, Kind::Label, Container::Frame1, words::kReceiveLabel, 240, 2175, 975, 255, -1, true, Items::None, "Text2"},
    {"Text2", 1, Kind::Box, Container::Frame1, "100000", 1320, 2130, 1800, 345, 13, true, Items::None, nullptr},
    {"Label7", -1, Kind::Label, Container::Frame1, "Hz", 3120, 1800, 375, 375, -1, true, Items::None, nullptr},
    {"Label8", -1, Kind::Label, Container::Frame1, "Hz", 3105, 2150, 375, 375, -1, true, Items::None, nullptr},

    {"Label11", -1, Kind::Label, Container::Frame2, words::kInterfaceLabel, 270, 405, 975, 255, -1, true, Items::None, "Text3"},
    {"Text3", 2, Kind::Box, Container::Frame2, "", 1320, 330, 2175, 345, 26, true, Items::None, nullptr},
    {"Label10", -1, Kind::Label, Container::Frame2, words::kChannelLabel, 270, 780, 975, 255, -1, true, Items::None, "Text4"},
    {"Text4", 3, Kind::Box, Container::Frame2, "", 1320, 705, 2175, 345, 27, true, Items::None, nullptr},
    {"Label12", -1, Kind::Label, Container::Frame2, words::kParityLabel, 270, 1140, 975, 255, -1, true, Items::None, "Text5"},
    {"Text5", 4, Kind::Box, Container::Frame2, "", 1320, 1080, 2175, 345, 28, true, Items::None, nullptr},
    {"Label13", -1, Kind::Label, Container::Frame2, words::kTransmitLabel, 270, 1500, 975, 255, -1, true, Items::None, "Text6"},
    {"Text6", 5, Kind::Box, Container::Frame2, "", 1320, 1455, 1800, 345, 29, true, Items::None, nullptr},
    {"Label9", -1, Kind::Label, Container::Frame2, words::kReceiveLabel, 270, 1860, 975, 255, -1, true, Items::None, "Text7"},
    {"Text7", 6, Kind::Box, Container::Frame2, "", 1320, 1845, 1800, 345, 30, true, Items::None, nullptr},
    {"Label15", -1, Kind::Label, Container::Frame2, "Hz", 3150, 1485, 375, 375, -1, true, Items::None, nullptr},
    {"Label14", -1, Kind::Label, Container::Frame2, "Hz", 3135, 1830, 375, 375, -1, true, Items::None, nullptr},
};

} // namespace form1layout
