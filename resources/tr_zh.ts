<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="33"/>
        <source>Baud Rate(bps)</source>
        <translation>串口波特率</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="36"/>
        <source>Configure</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="39"/>
        <source>DHCP/Auto IP</source>
        <translation>DHCP/动态IP</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="42"/>
        <source>Device Restart</source>
        <translation>设备重启</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="45"/>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="48"/>
        <source>Factory Reset</source>
        <translation>恢复出厂</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="51"/>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="54"/>
        <source>IP Type</source>
        <translation>IP地址类型</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="57"/>
        <source>Local Port</source>
        <translation>本地端口</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="60"/>
        <source>Parameters</source>
        <translation>参数设置</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="63"/>
        <source>Parity/Dta/Stop</source>
        <translation>校验/数据/停止</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="66"/>
        <source>Random</source>
        <translation>随机</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="69"/>
        <source>Remote IP</source>
        <translation>目标IP</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="72"/>
        <source>Remote Port</source>
        <translation>目标端口</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="75"/>
        <source>Search Device</source>
        <translation>搜索设备</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="78"/>
        <source>Search List</source>
        <translation>搜索列表</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="81"/>
        <source>Static IP</source>
        <translation>静态IP</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="84"/>
        <source>Subnet Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="87"/>
        <source>UDP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="90"/>
        <source>Work mode</source>
        <translation>工作方式</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="93"/>
        <source>Morvane-ETH-RS232/RS485 ConfigureTool V1.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="96"/>
        <source>NONE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="99"/>
        <source>ODD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="102"/>
        <source>EVEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="105"/>
        <source>TCP Client</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="108"/>
        <source>UDP Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="111"/>
        <source>TCP Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="114"/>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="117"/>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="120"/>
        <source>7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="123"/>
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
        <location filename="../app/mainwindow.cpp" line="81"/>
        <source>Device IP</source>
        <translation>设备IP</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="82"/>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="83"/>
        <source>MAC</source>
        <translation>MAC地址</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="84"/>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="85"/>
        <source>设备IP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="86"/>
        <source>设备名称</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="87"/>
        <source>MAC地址</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="88"/>
        <source>版本</source>
        <translation></translation>
    </message>
</context>
</TS>
