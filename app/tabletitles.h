#pragma once

#include <QtGlobal>

// The column titles of the device table's title row, as source texts for
// QObject::tr. Each language's row is asked for while that language's
// catalogue is installed, so these are the texts that reach the screen.
constexpr const char *ENGLISH_TITLES[4] = {
    QT_TRANSLATE_NOOP("QObject", "Device IP"), QT_TRANSLATE_NOOP("QObject", "Device Name"),
    QT_TRANSLATE_NOOP("QObject", "MAC"), QT_TRANSLATE_NOOP("QObject", "Version")};
constexpr const char *CHINESE_TITLES[4] = {
    QT_TRANSLATE_NOOP("QObject", "设备IP"), QT_TRANSLATE_NOOP("QObject", "设备名称"),
    QT_TRANSLATE_NOOP("QObject", "MAC地址"), QT_TRANSLATE_NOOP("QObject", "版本")};
