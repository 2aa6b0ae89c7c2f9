<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="33"/>
        <source>Baud Rate(bps)</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="36"/>
        <source>Configure</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="39"/>
        <source>DHCP/Auto IP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="42"/>
        <source>Device Restart</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="45"/>
        <source>English</source>
        <translation>中文</translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="48"/>
        <source>Factory Reset</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="51"/>
        <source>Gateway</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="54"/>
        <source>IP Type</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="57"/>
        <source>Local Port</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="60"/>
        <source>Parameters</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="63"/>
        <source>Parity/Dta/Stop</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="66"/>
        <source>Random</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="69"/>
        <source>Remote IP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="72"/>
        <source>Remote Port</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="75"/>
        <source>Search Device</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="78"/>
        <source>Search List</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="81"/>
        <source>Static IP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="84"/>
        <source>Subnet Mask</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="87"/>
        <source>UDP</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../ui/mainwindowform.cpp" line="90"/>
        <source>Work mode</source>
        <translation></translation>
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
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="82"/>
        <source>Device Name</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="83"/>
        <source>MAC</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="84"/>
        <source>Version</source>
        <translation></translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="85"/>
        <source>设备IP</source>
        <translation>Device IP</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="86"/>
        <source>设备名称</source>
        <translation>Device Name</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="87"/>
        <source>MAC地址</source>
        <translation>MAC</translation>
    </message>
    <message>
        <location filename="../app/mainwindow.cpp" line="88"/>
        <source>版本</source>
        <translation>VERSION</translation>
    </message>
</context>
</TS>
