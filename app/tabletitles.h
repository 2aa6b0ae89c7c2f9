#pragma once

// The column titles of the device table's title row, as source texts for
// QObject::tr. Each language's row is asked for while that language's
// catalogue is installed, so these are the texts that reach the screen.
constexpr const char *ENGLISH_TITLES[4] = {"Device IP", "Device Name", "MAC", "Version"};
constexpr const char *CHINESE_TITLES[4] = {"设备IP", "设备名称", "MAC地址", "版本"};
