<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="201"/>
        <source>Baud Rate(bps)</source>
        <translation>串口波特率</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="214"/>
        <source>Configure</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="192"/>
        <source>DHCP/Auto IP</source>
        <translation>DHCP/动态IP</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="212"/>
        <source>Device Restart</source>
        <translation>设备重启</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="209"/>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="213"/>
        <source>Factory Reset</source>
        <translation>恢复出厂</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="193"/>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="199"/>
        <source>IP Type</source>
        <translation>IP地址类型</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="194"/>
        <source>Local Port</source>
        <translation>本地端口</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="191"/>
        <source>Parameters</source>
        <translation>参数设置</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="200"/>
        <source>Parity/Dta/Stop</source>
        <translation>校验/数据/停止</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="203"/>
        <source>Random</source>
        <translation>随机</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="206"/>
        <source>Remote IP</source>
        <translation>目标IP</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="198"/>
        <source>Remote Port</source>
        <translation>目标端口</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="211"/>
        <source>Search Device</source>
        <translation>搜索设备</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="210"/>
        <source>Search List</source>
        <translation>搜索列表</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="192"/>
        <location filename="../ui/mainwindowform.cpp" line="195"/>
        <source>Static IP</source>
        <translation>静态IP</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="196"/>
        <source>Subnet Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="204"/>
        <source>UDP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="197"/>
        <source>Work mode</source>
        <translation>工作方式</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="190"/>
        <source>Morvane-ETH-RS232/RS485 ConfigureTool V1.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="202"/>
        <source>NONE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="202"/>
        <source>ODD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="202"/>
        <source>EVEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="204"/>
        <location filename="../ui/mainwindowform.cpp" line="205"/>
        <source>TCP Client</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="204"/>
        <source>UDP Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="204"/>
        <source>TCP Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="207"/>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="207"/>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="208"/>
        <source>7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="208"/>
        <source>8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ETH-RS232/RS485 ConfigureTool</source>
        <translation type="obsolete"></translation>
    </message>
    <message>
        <source>Device List</source>
        <translation type="obsolete"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="obsolete"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../app/tabletitles.h" line="9"/>
        <source>Device IP</source>
        <translation>设备IP</translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="9"/>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="10"/>
        <source>MAC</source>
        <translation>MAC地址</translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="10"/>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="12"/>
        <source>设备IP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="12"/>
        <source>设备名称</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="13"/>
        <source>MAC地址</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/tabletitles.h" line="13"/>
        <source>版本</source>
        <translation></translation>
    </message>
</context>
</TS>
