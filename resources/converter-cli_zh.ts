<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>cli</name>
    <message>
        <location filename="../cli/applycommand.cpp" line="24"/>
        <location filename="../cli/replacecommand.cpp" line="29"/>
        <location filename="../cli/replacecommand.cpp" line="94"/>
        <location filename="../cli/revertcommand.cpp" line="63"/>
        <location filename="../cli/session.cpp" line="209"/>
        <location filename="../cli/setcommand.cpp" line="27"/>
        <source>; nothing sent</source>
        <translation>；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/assigncommand.cpp" line="25"/>
        <location filename="../cli/searchcommand.cpp" line="32"/>
        <location filename="../cli/testcommand.cpp" line="22"/>
        <source>no converter answered within %1 ms</source>
        <translation>%1 毫秒内没有转换器应答</translation>
    </message>
    <message>
        <location filename="../cli/assigncommand.cpp" line="37"/>
        <location filename="../cli/input.cpp" line="199"/>
        <source>assign: %1 converters from %2 would run past .254; nothing sent</source>
        <translation>assign：从 %2 起的 %1 台转换器会超出 .254；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/commands.cpp" line="52"/>
        <location filename="../cli/options.cpp" line="397"/>
        <source>unknown command &apos;%1&apos;</source>
        <translation>未知命令“%1”</translation>
    </message>
    <message>
        <location filename="../cli/commands.cpp" line="76"/>
        <source>; the frames were sent</source>
        <translation>；帧已发送</translation>
    </message>
    <message>
        <location filename="../cli/csv.cpp" line="51"/>
        <source>not UTF-8 text</source>
        <translation>不是 UTF-8 文本</translation>
    </message>
    <message>
        <location filename="../cli/csv.cpp" line="112"/>
        <source>text after a closing quote</source>
        <translation>右引号之后还有文本</translation>
    </message>
    <message>
        <location filename="../cli/csv.cpp" line="124"/>
        <source>a quote that is never closed</source>
        <translation>引号没有闭合</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="38"/>
        <source>%1: not UTF-16 text, though it starts like it</source>
        <translation>%1：开头像 UTF-16，但不是 UTF-16 文本</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="58"/>
        <source>%1: empty file</source>
        <translation>%1：空文件</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="72"/>
        <source>unknown column &apos;%1&apos;</source>
        <translation>未知的列“%1”</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="78"/>
        <source>column &apos;%1&apos; twice</source>
        <translation>列“%1”出现了两次</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="89"/>
        <source>no &apos;mac&apos; column</source>
        <translation>没有“mac”列</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="93"/>
        <source>%1: no converters listed under the header</source>
        <translation>%1：表头下没有列出任何转换器</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="103"/>
        <source>%1 cells where the header has %2</source>
        <translation>有 %1 个单元格，而表头有 %2 个</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="117"/>
        <source>mac &apos;%1&apos; is not a MAC address (12 hexadecimal digits)</source>
        <translation>mac“%1”不是 MAC 地址（应为 12 位十六进制数字）</translation>
    </message>
    <message>
        <location filename="../cli/fleetfile.cpp" line="123"/>
        <source>mac %1 is also on line %2</source>
        <translation>mac %1 在第 %2 行也出现了</translation>
    </message>
    <message>
        <location filename="../cli/historycommand.cpp" line="41"/>
        <source>%1 of batch %2 (&apos;%3&apos;)</source>
        <translation>批次 %2 中的 %1（&apos;%3&apos;）</translation>
    </message>
    <message>
        <location filename="../cli/historycommand.cpp" line="97"/>
        <source>%1 write(s) left out by --since, their time cannot be read: %2</source>
        <translation>%1 条写入的时间无法读取，--since 未列出：%2</translation>
    </message>
    <message>
        <location filename="../cli/historycommand.cpp" line="102"/>
        <source>no writes in the journal %1</source>
        <translation>写入日志 %1 中没有任何写入记录</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="26"/>
        <source>set: &apos;%1&apos; is not FIELD=VALUE with a known field</source>
        <translation>set：“%1”不是“字段=值”的形式，或字段未知</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="31"/>
        <source>set: %1 is read-only</source>
        <translation>set：%1 是只读字段</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="34"/>
        <source>set: %1 given twice</source>
        <translation>set：%1 给出了两次</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="63"/>
        <source>(standard input)</source>
        <translation>（标准输入）</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="73"/>
        <location filename="../cli/input.cpp" line="90"/>
        <source>%1: cannot read: %2</source>
        <translation>%1：无法读取：%2</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="87"/>
        <source>%1: larger than 16 MB; not a fleet file</source>
        <translation>%1：大于 16 MB，不是设备清单文件</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="107"/>
        <source>assign: %1 is not a converter&apos;s address (it ends in .0 or .255, or is 0.0.0.0); nothing sent</source>
        <translation>assign：%1 不能作为转换器的地址（以 .0 或 .255 结尾，或为 0.0.0.0）；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="154"/>
        <location filename="../cli/input.cpp" line="164"/>
        <source>&apos;%1&apos; is not a MAC address (12 hexadecimal digits)</source>
        <translation>“%1”不是 MAC 地址（应为 12 位十六进制数字）</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="173"/>
        <source>--since &apos;%1&apos; is not a time (2026-12-08 or 2026-12-08T10:30:00, UTC unless it names a zone)</source>
        <translation>--since“%1”不是时间（如 2026-12-08 或 2026-12-08T10:30:00，未写时区即为 UTC）</translation>
    </message>
    <message>
        <location filename="../cli/input.cpp" line="217"/>
        <source>watch: --assign gives each converter its own %1; it cannot be a field</source>
        <translation>watch：--assign 会给每台转换器分配各自的 %1，不能作为字段给出</translation>
    </message>
    <message>
        <location filename="../cli/main.cpp" line="33"/>
        <source>Try &apos;converter-cli --help&apos;.</source>
        <translation>请运行“converter-cli --help”查看帮助。</translation>
    </message>
    <message>
        <location filename="../cli/messages.cpp" line="61"/>
        <source>%1: cannot write: %2 (the results went to standard output instead)</source>
        <translation>%1：无法写入：%2（结果已改为输出到标准输出）</translation>
    </message>
    <message>
        <location filename="../cli/messages.cpp" line="69"/>
        <source>cannot write the results to standard output</source>
        <translation>无法把结果写到标准输出</translation>
    </message>
    <message>
        <location filename="../cli/messages.cpp" line="78"/>
        <location filename="../cli/messages.cpp" line="97"/>
        <source>%1: cannot write: %2</source>
        <translation>%1：无法写入：%2</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="55"/>
        <source>%1 and %2</source>
        <translation>%1 和 %2</translation>
    </message>
    <message>
        <source>Usage: converter-cli [OPTION]... COMMAND [ARGUMENT]...
Find, read and configure serial-to-Ethernet converters on the local network
segment (UDP broadcast on port 1500). Every write is checked by reading the
converter back.

Commands:
  search                  list every converter that answers
  show MAC                the settings of one converter
  set MAC FIELD=VALUE...  change some settings of one converter
  reset MAC               write the factory defaults (name and MAC stay)
  apply FILE              write a CSV fleet file (&apos;-&apos; reads standard input)
  assign FIRST-ADDRESS    give every converter found consecutive addresses
  history [MAC...]        the journal of writes, newest last
  revert MAC...           undo each converter&apos;s last write (or --batch ID)
  replace OLD-MAC [NEW-MAC]
                          give a new unit every setting of a failed one
  report                  an HTML page of the segment to hand over: addresses
                          by subnet, every converter, their last writes
  watch --apply FILE      configure each converter of a fleet file as it
                          appears on the network, unattended
  watch --assign FIRST-ADDRESS [FIELD=VALUE...]
                          give each new converter at the factory address the
                          next free address and the fields, as it appears

Options:
  --format FORMAT         table (default), csv or json
  --timeout MS            how long a search waits for answers (default 1000)
  --interface NAME        search and write only through this adapter
                          (repeatable; default: every IPv4 adapter that is up
                          and can broadcast)
  --dry-run               show what would be sent; send no frame
  --no-verify             send the frames and return without reading back
  --verify-timeout MS     how long to wait for a converter to report what was
                          written (default 10000)
  --retries N             frames sent again to a converter that does not take
                          one (default 2)
  --rate N                frames per second at most (default 200)
  --only MAC              assign: only this converter (repeatable)
  --force                 write even what the segment check refuses (and say
                          what was overridden); revert: fields changed since
                          as well
  --journal FILE          the write journal (default: $CONVERTER_JOURNAL, else
                          ~/.local/state/converter-config/journal.jsonl; on
                          Windows %LOCALAPPDATA%\converter-config\)
  --batch ID              history, revert: the writes of one batch
  --since TIME            history: writes from this time on (ISO 8601, UTC
                          unless it names a zone)
  --output FILE           write the results to FILE, byte for byte (a CSV file
                          starts with a byte-order mark, so that spreadsheets
                          read it as UTF-8); use it in Windows PowerShell,
                          whose &apos;&gt;&apos; re-encodes what programs print
  -h, --help              this help; COMMAND --help for a command
  -V, --version           the version

Fields: mac, name, version, reply-from, interface, mode (udp, tcp-client,
udp-server, tcp-server), ip-type (static, dhcp), ip, subnet, gateway,
local-port (0 = random), remote-ip, remote-port, baud, parity (none, odd,
even; a converter may also report mark, space), data-bits (7, 8; also 5, 6
as reported), stop-bits (1, 2). mac, version, reply-from and interface are
read-only. MACs are printed as 00:1A:2B:3C:4D:5E and may be written with or
without &apos;:&apos; or &apos;-&apos;. search and show add &apos;problems&apos; (read-only): the
segment check&apos;s codes duplicate-ip, host-address, reserved-address,
network-address, broadcast-address, bad-subnet, gateway-outside-subnet,
gateway-is-own-ip, gateway-not-a-host.

Before any write, the settings that every converter found would have after
it are checked: two converters at one ip, a converter at an address of
this computer, at an address no host can have (0.0.0.0/8, 127.0.0.0/8,
224.0.0.0/4, 240.0.0.0/4), at its subnet&apos;s network or broadcast address,
with a mask that is not ones then zeros (or is 0.0.0.0), or with a gateway
outside its subnet, equal to its ip or no host&apos;s address (converters using
DHCP are left out). A write that gives a converter it writes such a
problem is refused; a problem counts as there before only when the
converter had it with the same value of that field (the same ip, with the
same other converter; the same gateway; the same subnet). search and show
print the problems there are.

Exit status: 0 done (and verified); 1 search found nothing; 2 bad usage,
bad input or refused by the segment check, nothing sent; 3 a named
converter did not answer (or UDP port 1500 cannot be used), nothing sent;
4 written but not verified for at least one converter; 5 the journal cannot
be written or read, nothing sent; 6 the probe could not leave through any
adapter (none is up with a route for broadcasts), nothing sent, or with
--no-verify a frame left through none (&apos;not-sent&apos;); 7 frames were sent, but
their outcome lines in the journal or the results (--output, standard
output) could not be written, the message says which.

Example, commissioning from a spreadsheet:
  converter-cli search --format csv --output fleet.csv
  (edit fleet.csv)
  converter-cli apply fleet.csv
</source>
        <translation type="vanished">用法：converter-cli [选项]... 命令 [参数]...
查找、读取和配置本地网段上的串口转以太网转换器（UDP 端口 1500 广播）。
每次写入后都会回读转换器，核验写入结果。

命令：
  search                  列出所有应答的转换器
  show MAC                一台转换器的设置
  set MAC 字段=值...      修改一台转换器的部分设置
  reset MAC               写入出厂设置（名称和 MAC 不变）
  apply 文件              写入 CSV 设备清单（“-”表示读取标准输入）
  assign 起始地址         给找到的所有转换器分配连续地址
  history [MAC...]        写入日志中的写入记录，最新的在最后
  revert MAC...           撤销每台转换器的最近一次写入（或 --batch 批次）
  replace 旧MAC [新MAC]
                          把故障转换器的全部设置交给一台新转换器
  report                  生成交接用的网段 HTML 页面：各子网的地址、每台
                          转换器及其最近的写入
  watch --apply 文件      转换器一出现在网络上就按设备清单配置，无人值守
  watch --assign 起始地址 [字段=值...]
                          给每台新出现的、处于出厂地址的转换器分配下一个
                          空闲地址并写入这些字段

选项：
  --format 格式           table（默认）、csv 或 json
  --timeout 毫秒          搜索等待应答的时间（默认 1000）
  --interface 名称        只通过这块网卡搜索和写入（可重复；默认：所有已启用
                          且能广播的 IPv4 网卡）
  --dry-run               只显示将要发送的内容，不发送任何帧
  --no-verify             发送帧后直接返回，不回读核验
  --verify-timeout 毫秒   等待转换器报告写入值的时间（默认 10000）
  --retries N             转换器未接受时重发帧的次数（默认 2）
  --rate N                每秒最多发送的帧数（默认 200）
  --only MAC              assign：只处理这台转换器（可重复）
  --force                 即使网段检查拒绝也写入（并说明忽略了什么）；
                          revert：写入之后又被改过的字段也一并撤销
  --journal 文件          写入日志（默认：$CONVERTER_JOURNAL，否则为
                          ~/.local/state/converter-config/journal.jsonl；
                          Windows 上为 %LOCALAPPDATA%\converter-config\）
  --batch 批次            history、revert：某一批次的写入
  --since 时间            history：从此时间起的写入（ISO 8601，未写时区即为
                          UTC）
  --output 文件           把结果逐字节写入文件（CSV 文件以字节顺序标记开头，
                          以便电子表格按 UTF-8 读取）；在 Windows PowerShell
                          中请使用它，因为其“&gt;”会重新编码程序的输出
  -h, --help              本帮助；“命令 --help”显示该命令的帮助
  -V, --version           版本

字段：mac、name（名称）、version（版本）、reply-from（应答来源）、
interface（网卡）、mode（工作模式：udp、tcp-client、udp-server、
tcp-server）、ip-type（static 静态、dhcp）、ip、subnet（子网掩码）、
gateway（网关）、local-port（本地端口，0 = 随机）、remote-ip（远端地址）、
remote-port（远端端口）、baud（波特率）、parity（校验位：none、odd、even；
转换器也可能报告 mark、space）、data-bits（数据位：7、8；报告值也可能为
5、6）、stop-bits（停止位：1、2）。mac、version、reply-from 和 interface
为只读。MAC 显示为 00:1A:2B:3C:4D:5E，输入时可带或不带“:”或“-”。search 和
show 另有只读的“problems”：网段检查的代码 duplicate-ip、host-address、
reserved-address、network-address、broadcast-address、bad-subnet、
gateway-outside-subnet、gateway-is-own-ip、gateway-not-a-host。

任何写入之前，都会检查找到的每台转换器写入后的设置：两台转换器同一 ip，
转换器使用本机地址、任何主机都不能使用的地址（0.0.0.0/8、127.0.0.0/8、
224.0.0.0/4、240.0.0.0/4）、其子网的网络地址或广播地址，子网掩码不是先 1
后 0（或为 0.0.0.0），或网关不在其子网内、等于其 ip 或不是主机地址（使用
DHCP 的转换器不检查）。若写入会让被写入的转换器出现这类问题，就拒绝写入；
只有转换器原来就有该问题、且该字段的值相同（同一 ip 且与同一台转换器冲突；
同一网关；同一子网掩码）时，才算原有问题。search 和 show 会列出现有问题。

退出状态：0 完成（且已核验）；1 search 没有找到任何转换器；2 用法错误、
输入错误或被网段检查拒绝，未发送任何帧；3 指定的转换器没有应答（或无法
使用 UDP 端口 1500），未发送任何帧；4 已写入，但至少一台转换器未通过核验；
5 写入日志无法写入或读取，未发送任何帧；6 探测包无法从任何网卡发出（没有
已启用且有广播路由的网卡），未发送任何帧，或使用 --no-verify 时有帧无法从
任何网卡发出（“not-sent”）；7 帧已发送，但写入日志中的结果行或结果本身
（--output、标准输出）无法写入，消息会说明是哪一个。

示例，用电子表格调试投运：
  converter-cli search --format csv --output fleet.csv
  （编辑 fleet.csv）
  converter-cli apply fleet.csv
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="59"/>
        <source>Usage: converter-cli [OPTION]... COMMAND [ARGUMENT]...
Find, read and configure serial-to-Ethernet converters on the local network
segment (UDP broadcast on port 1500). Every write is checked by reading the
converter back.

Commands:
  search                  list every converter that answers
  show MAC                the settings of one converter
  set MAC FIELD=VALUE...  change some settings of one converter
  reset MAC               write the factory defaults (name and MAC stay)
  apply FILE              write a CSV fleet file (&apos;-&apos; reads standard input)
  assign FIRST-ADDRESS    give every converter found consecutive addresses
  history [MAC...]        the journal of writes, newest last
  revert MAC...           undo each converter&apos;s last write (or --batch ID)
  replace OLD-MAC [NEW-MAC]
                          give a new unit every setting of a failed one
  report                  an HTML page of the segment to hand over: addresses
                          by subnet, every converter, their last writes
  watch --apply FILE      configure each converter of a fleet file as it
                          appears on the network, unattended
  watch --assign FIRST-ADDRESS [FIELD=VALUE...]
                          give each new converter at the factory address the
                          next free address and the fields, as it appears
  test MAC... | --all     open each converter&apos;s data path the way its mode
                          says; with --loopback, check that data comes back
  connect MAC             join the converter&apos;s serial line to standard input
                          and output, or to a pseudo-terminal (--pty LINK)
  confirm BATCH           keep a write made with --try

Options:
  --format FORMAT         table (default), csv or json
  --timeout MS            how long a search waits for answers (default 1000)
  --interface NAME        search and write only through this adapter
                          (repeatable; default: every IPv4 adapter that is up
                          and can broadcast)
  --dry-run               show what would be sent; send no frame
  --no-verify             send the frames and return without reading back
  --verify-timeout MS     how long to wait for a converter to report what was
                          written (default 10000)
  --retries N             frames sent again to a converter that does not take
                          one (default 2)
  --rate N                frames per second at most (default 200)
  --only MAC              assign: only this converter (repeatable)
  --force                 write even what the segment check refuses (and say
                          what was overridden); revert: fields changed since
                          as well
  --journal FILE          the write journal (default: $CONVERTER_JOURNAL, else
                          ~/.local/state/converter-config/journal.jsonl; on
                          Windows %LOCALAPPDATA%\converter-config\)
  --batch ID              history, revert: the writes of one batch
  --since TIME            history: writes from this time on (ISO 8601, UTC
                          unless it names a zone)
  --output FILE           write the results to FILE, byte for byte (a CSV file
                          starts with a byte-order mark, so that spreadsheets
                          read it as UTF-8); use it in Windows PowerShell,
                          whose &apos;&gt;&apos; re-encodes what programs print
  --all                   test: every converter that answers
  --loopback              test: send a pattern and expect exactly it back (a
                          loopback plug on the converter&apos;s serial port)
  --bytes N               the pattern&apos;s length (default 4096)
  --test                  watch, --try: test the data path after the write
  --try SECONDS           set, apply, assign, replace: keep the write only when
                          confirmed (&apos;yes&apos;, &apos;converter-cli confirm BATCH&apos;, or a
                          passed --test) within SECONDS; else roll it back
  --hex                   connect: show what arrives as hexadecimal
  --pty LINK              connect (Linux): a pseudo-terminal linked at LINK
  -h, --help              this help; COMMAND --help for a command
  -V, --version           the version

Fields: mac, name, version, reply-from, interface, mode (udp, tcp-client,
udp-server, tcp-server), ip-type (static, dhcp), ip, subnet, gateway,
local-port (0 = random), remote-ip, remote-port, baud, parity (none, odd,
even; a converter may also report mark, space), data-bits (7, 8; also 5, 6
as reported), stop-bits (1, 2). mac, version, reply-from and interface are
read-only. MACs are printed as 00:1A:2B:3C:4D:5E and may be written with or
without &apos;:&apos; or &apos;-&apos;. search and show add &apos;problems&apos; (read-only): the
segment check&apos;s codes duplicate-ip, host-address, reserved-address,
network-address, broadcast-address, bad-subnet, gateway-outside-subnet,
gateway-is-own-ip, gateway-not-a-host.

Before any write, the settings that every converter found would have after
it are checked: two converters at one ip, a converter at an address of
this computer, at an address no host can have (0.0.0.0/8, 127.0.0.0/8,
224.0.0.0/4, 240.0.0.0/4), at its subnet&apos;s network or broadcast address,
with a mask that is not ones then zeros (or is 0.0.0.0), or with a gateway
outside its subnet, equal to its ip or no host&apos;s address (converters using
DHCP are left out). A write that gives a converter it writes such a
problem is refused; a problem counts as there before only when the
converter had it with the same value of that field (the same ip, with the
same other converter; the same gateway; the same subnet). search and show
print the problems there are.

Exit status: 0 done (and verified); 1 search found nothing; 2 bad usage,
bad input or refused by the segment check, nothing sent; 3 a named
converter did not answer (or UDP port 1500 cannot be used), nothing sent;
4 written but not verified for at least one converter; 5 the journal cannot
be written or read, nothing sent; 6 the probe could not leave through any
adapter (none is up with a route for broadcasts), nothing sent, or with
--no-verify a frame left through none (&apos;not-sent&apos;); 7 frames were sent, but
their outcome lines in the journal or the results (--output, standard
output) could not be written, the message says which.

Example, commissioning from a spreadsheet:
  converter-cli search --format csv --output fleet.csv
  (edit fleet.csv)
  converter-cli apply fleet.csv
</source>
        <translation>用法：converter-cli [选项]... 命令 [参数]...
查找、读取和配置本地网段上的串口转以太网转换器（UDP 端口 1500 广播）。
每次写入后都会回读转换器，核验写入结果。

命令：
  search                  列出所有应答的转换器
  show MAC                一台转换器的设置
  set MAC 字段=值...      修改一台转换器的部分设置
  reset MAC               写入出厂设置（名称和 MAC 不变）
  apply 文件              写入 CSV 设备清单（“-”表示读取标准输入）
  assign 起始地址         给找到的所有转换器分配连续地址
  history [MAC...]        写入日志中的写入记录，最新的在最后
  revert MAC...           撤销每台转换器的最近一次写入（或 --batch 批次）
  replace 旧MAC [新MAC]
                          把故障转换器的全部设置交给一台新转换器
  report                  生成交接用的网段 HTML 页面：各子网的地址、每台
                          转换器及其最近的写入
  watch --apply 文件      转换器一出现在网络上就按设备清单配置，无人值守
  watch --assign 起始地址 [字段=值...]
                          给每台新出现的、处于出厂地址的转换器分配下一个
                          空闲地址并写入这些字段
  test MAC... | --all     按工作模式打开每台转换器的数据通道；加 --loopback
                          时检查数据能否原样返回
  connect MAC             把转换器的串口线路接到标准输入和输出，或接到一个
                          伪终端（--pty 链接）
  confirm 批次            保留用 --try 做的写入

选项：
  --format 格式           table（默认）、csv 或 json
  --timeout 毫秒          搜索等待应答的时间（默认 1000）
  --interface 名称        只通过这块网卡搜索和写入（可重复；默认：所有已启用
                          且能广播的 IPv4 网卡）
  --dry-run               只显示将要发送的内容，不发送任何帧
  --no-verify             发送帧后直接返回，不回读核验
  --verify-timeout 毫秒   等待转换器报告写入值的时间（默认 10000）
  --retries N             转换器未接受时重发帧的次数（默认 2）
  --rate N                每秒最多发送的帧数（默认 200）
  --only MAC              assign：只处理这台转换器（可重复）
  --force                 即使网段检查拒绝也写入（并说明忽略了什么）；
                          revert：写入之后又被改过的字段也一并撤销
  --journal 文件          写入日志（默认：$CONVERTER_JOURNAL，否则为
                          ~/.local/state/converter-config/journal.jsonl；
                          Windows 上为 %LOCALAPPDATA%\converter-config\）
  --batch 批次            history、revert：某一批次的写入
  --since 时间            history：从此时间起的写入（ISO 8601，未写时区即为
                          UTC）
  --output 文件           把结果逐字节写入文件（CSV 文件以字节顺序标记开头，
                          以便电子表格按 UTF-8 读取）；在 Windows PowerShell
                          中请使用它，因为其“&gt;”会重新编码程序的输出
  --all                   test：所有应答的转换器
  --loopback              test：发送一段测试数据并要求原样返回（转换器串口上
                          插有环回插头）
  --bytes N               测试数据的长度（默认 4096）
  --test                  watch、--try：写入后测试数据通道
  --try 秒                set、apply、assign、replace：只有在限定秒数内得到确认
                          （输入 yes、“converter-cli confirm 批次”或 --test
                          通过）才保留写入，否则回滚
  --hex                   connect：以十六进制显示收到的数据
  --pty 链接              connect（Linux）：在“链接”处创建一个伪终端
  -h, --help              本帮助；“命令 --help”显示该命令的帮助
  -V, --version           版本

字段：mac、name（名称）、version（版本）、reply-from（应答来源）、
interface（网卡）、mode（工作模式：udp、tcp-client、udp-server、
tcp-server）、ip-type（static 静态、dhcp）、ip、subnet（子网掩码）、
gateway（网关）、local-port（本地端口，0 = 随机）、remote-ip（远端地址）、
remote-port（远端端口）、baud（波特率）、parity（校验位：none、odd、even；
转换器也可能报告 mark、space）、data-bits（数据位：7、8；报告值也可能为
5、6）、stop-bits（停止位：1、2）。mac、version、reply-from 和 interface
为只读。MAC 显示为 00:1A:2B:3C:4D:5E，输入时可带或不带“:”或“-”。search 和
show 另有只读的“problems”：网段检查的代码 duplicate-ip、host-address、
reserved-address、network-address、broadcast-address、bad-subnet、
gateway-outside-subnet、gateway-is-own-ip、gateway-not-a-host。

任何写入之前，都会检查找到的每台转换器写入后的设置：两台转换器同一 ip，
转换器使用本机地址、任何主机都不能使用的地址（0.0.0.0/8、127.0.0.0/8、
224.0.0.0/4、240.0.0.0/4）、其子网的网络地址或广播地址，子网掩码不是先 1
后 0（或为 0.0.0.0），或网关不在其子网内、等于其 ip 或不是主机地址（使用
DHCP 的转换器不检查）。若写入会让被写入的转换器出现这类问题，就拒绝写入；
只有转换器原来就有该问题、且该字段的值相同（同一 ip 且与同一台转换器冲突；
同一网关；同一子网掩码）时，才算原有问题。search 和 show 会列出现有问题。

退出状态：0 完成（且已核验）；1 search 没有找到任何转换器；2 用法错误、
输入错误或被网段检查拒绝，未发送任何帧；3 指定的转换器没有应答（或无法
使用 UDP 端口 1500），未发送任何帧；4 已写入，但至少一台转换器未通过核验；
5 写入日志无法写入或读取，未发送任何帧；6 探测包无法从任何网卡发出（没有
已启用且有广播路由的网卡），未发送任何帧，或使用 --no-verify 时有帧无法从
任何网卡发出（“not-sent”）；7 帧已发送，但写入日志中的结果行或结果本身
（--output、标准输出）无法写入，消息会说明是哪一个。

示例，用电子表格调试投运：
  converter-cli search --format csv --output fleet.csv
  （编辑 fleet.csv）
  converter-cli apply fleet.csv
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="170"/>
        <source>Usage: converter-cli search [--format F] [--timeout MS] [--interface NAME]
                            [--output FILE]
Sends one probe and lists every converter that answers within the timeout,
one per MAC in order of arrival, with all its settings. The CSV it prints is
a fleet file for &apos;apply&apos;. Exit status 1 when nothing answers.
</source>
        <translation>用法：converter-cli search [--format F] [--timeout 毫秒] [--interface 名称]
                            [--output 文件]
发送一次探测包，按到达顺序列出超时前应答的每台转换器（每个 MAC 一次）及其
全部设置。它输出的 CSV 就是 apply 用的设备清单。没有任何应答时退出状态为 1。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="177"/>
        <source>Usage: converter-cli show MAC [--format F]
Prints the settings of one converter; exit status 3 when it does not answer.
</source>
        <translation>用法：converter-cli show MAC [--format F]
显示一台转换器的设置；它没有应答时退出状态为 3。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="182"/>
        <source>Usage: converter-cli set MAC FIELD=VALUE... [--dry-run] [--no-verify]
Reads the converter&apos;s settings, changes the named fields and writes them in
one frame, then reads the converter back until it reports every value.
Values it already reports are not written (&apos;unchanged&apos;); settings the
command does not name are written back exactly as reported.
Values: addresses as four numbers 0-255; local-port 0-65535 (0 = random);
remote-port 1-65535; baud 100-2000000; name at most 10 bytes of UTF-8.
Example: converter-cli set 00:1A:2B:3C:4D:5E ip=192.168.1.50 baud=9600
</source>
        <translation>用法：converter-cli set MAC 字段=值... [--dry-run] [--no-verify]
读取转换器的设置，修改指定字段后用一个帧写入，然后回读转换器，直到它报告
每个值。转换器已报告的值不再写入（“unchanged”）；命令未指定的设置按报告的
原样写回。
取值：地址为四个 0-255 的数；local-port 0-65535（0 = 随机）；remote-port
1-65535；baud 100-2000000；name 最多 10 字节 UTF-8。
示例：converter-cli set 00:1A:2B:3C:4D:5E ip=192.168.1.50 baud=9600
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="192"/>
        <source>Usage: converter-cli reset MAC [--dry-run] [--no-verify]
Writes the factory defaults: mode udp, ip-type static, ip 192.168.1.8,
subnet 255.255.255.0, gateway 192.168.1.1, local-port 1234, remote-ip
192.168.1.254, remote-port 1234, baud 9600, parity none, data-bits 8,
stop-bits 1. The name and the MAC stay.
</source>
        <translation>用法：converter-cli reset MAC [--dry-run] [--no-verify]
写入出厂设置：mode udp、ip-type static、ip 192.168.1.8、subnet
255.255.255.0、gateway 192.168.1.1、local-port 1234、remote-ip
192.168.1.254、remote-port 1234、baud 9600、parity none、data-bits 8、
stop-bits 1。名称和 MAC 不变。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="199"/>
        <source>Usage: converter-cli apply FILE [--dry-run] [--no-verify] [--rate N]
FILE is CSV (&apos;-&apos; for standard input) with a header row of field names, a
&apos;mac&apos; column and one row per converter; any subset of the fields. An empty
cell, or one equal to what the converter reports, changes nothing;
read-only columns are ignored. Every row is checked before anything is
sent; then each converter with changes is written and verified. Files
saved by spreadsheets (byte-order mark, CRLF, quoted cells) read the same.
</source>
        <translation>用法：converter-cli apply 文件 [--dry-run] [--no-verify] [--rate N]
文件为 CSV（“-”表示标准输入），表头一行为字段名，须有“mac”列，每台转换器
一行；字段可以是任意子集。空单元格或与转换器报告值相同的单元格不做改动；
只读列会被忽略。发送任何帧之前先检查每一行；然后逐台写入有改动的转换器并
核验。电子表格保存的文件（字节顺序标记、CRLF、带引号的单元格）同样可读。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="208"/>
        <source>Usage: converter-cli assign FIRST-ADDRESS [--only MAC]... [--dry-run]
Gives every converter found (or those named with --only) a consecutive ip
from FIRST-ADDRESS on, in MAC order, and verifies. Refused, with no frame
sent, when the range would run past .254 of its last octet (with --only,
before any probe), or when FIRST-ADDRESS ends in .0 or .255.
</source>
        <translation>用法：converter-cli assign 起始地址 [--only MAC]... [--dry-run]
按 MAC 顺序，从起始地址起给找到的每台转换器（或 --only 指定的转换器）分配
连续的 ip，并核验。若地址范围会超出最后一段的 .254（使用 --only 时在任何
探测之前判断），或起始地址以 .0 或 .255 结尾，则拒绝，不发送任何帧。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="215"/>
        <source>Usage: converter-cli report [--output FILE] [--timeout MS] [--interface NAME]
Searches, then writes one self-contained HTML page (UTF-8, styles and
pictures inside, nothing loaded from elsewhere; prints on A4): this
computer, the adapters searched, a picture of the addresses of each subnet
that holds converters (used, free, clashes, this computer, gateways), every
converter with its problems, and each one&apos;s last five writes from the
journal. Exit status 0 when written, also when nothing answered.
</source>
        <translation>用法：converter-cli report [--output 文件] [--timeout 毫秒] [--interface 名称]
搜索后写出一个自包含的 HTML 页面（UTF-8，样式和图片都在页面内，不从别处加载
任何内容；可用 A4 打印）：本机、搜索用的网卡、每个有转换器的子网的地址图
（已用、空闲、冲突、本机、网关）、每台转换器及其问题，以及写入日志中每台的
最近五次写入。写出后退出状态为 0，没有任何应答时也是。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="224"/>
        <source>Usage: converter-cli replace OLD-MAC [NEW-MAC] [--from FILE] [--force] [--dry-run]
Gives a new unit every writable setting of a failed one, its name included
(its own MAC and version stay): the settings that OLD&apos;s newest verified
write sent, from the journal, or OLD&apos;s row of a fleet file with --from (as
&apos;search --format csv&apos; writes it, values only a converter reports included;
an empty name cell means no name). NEW is the MAC given, which must answer
at the factory address 192.168.1.8, or the one converter there that is not
OLD (none: status 3; several: status 2). Refused while OLD still answers
(the two would share an address), and when the journal holds a later write
of OLD that did not verify or a line that may concern it and cannot be
read, unless --force. The write is checked, journaled, verified and undone
by &apos;revert NEW-MAC&apos; like any.
</source>
        <translation>用法：converter-cli replace OLD-MAC [NEW-MAC] [--from FILE] [--force] [--dry-run]
把故障设备的全部可写设置（包括名称）写入新设备（新设备自己的 MAC 和版本不变）：
设置取自日志中 OLD 最新一次经验证的写入，或用 --from 取自设备清单文件中 OLD 的
那一行（即“search --format csv”写出的格式，包括只有转换器才会报告的值；名称单元格
为空表示没有名称）。NEW 为给出的 MAC，它必须在出厂地址 192.168.1.8 应答；不给出
时为该地址上除 OLD 之外唯一的转换器（没有：状态 3；多台：状态 2）。OLD 仍在应答
（两台会共用一个地址），或日志中有 OLD 之后未经验证的写入、或有可能涉及它而无法
读取的行时，拒绝执行，除非使用 --force。写入与其他写入一样经过检查、记入日志、
验证，并可用“revert NEW-MAC”撤销。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="239"/>
        <source>Usage: converter-cli watch --apply FILE [--count N] [--for SECONDS]
       converter-cli watch --assign FIRST-ADDRESS [FIELD=VALUE...] [--any]
Probes every --interval MS (1000) and configures each converter as it
appears: with --apply, its row of the fleet file; with --assign, the next
free address from FIRST-ADDRESS (never past .254, skipping every address a
converter seen or this computer holds) and the fields, for converters at the
factory address 192.168.1.8 (any converter with --any; others are &apos;skipped&apos;).
Every write is checked, journaled and verified as with apply. A converter
done is not written again; one that no longer reports what was written is
&apos;changed&apos; and left alone. One line per event, as it happens: found,
verified, differs, no-answer, unchanged, skipped, refused, not-in-file,
changed, conflict (a converter first seen at an address the run has just
given another: both get one) (--format csv or json: one object per line;
--output appends).
With --test (and --loopback, where the jig has the plug), each converter is
tested with its new settings right after its verified write: an event
&apos;tested&apos; or &apos;test-failed&apos;, with the test&apos;s result and throughput.
Ends when every row is handled (--apply), after --count N converters
written or refused, after --for SECONDS (up to a year), or on Ctrl-C; each
lets a write in flight finish its verification (a second Ctrl-C stops at
once).
Exit status 0 when every converter written was verified (and passed its
test) and none was refused or in conflict (and with --apply every row was
handled), 4
otherwise; 7 when an outcome could not be journaled.
</source>
        <translation>用法：converter-cli watch --apply 文件 [--count N] [--for 秒]
      converter-cli watch --assign 起始地址 [字段=值...] [--any]
每隔 --interval 毫秒（1000）探测一次，转换器一出现就配置：使用 --apply 时按
设备清单中它的那一行；使用 --assign 时，给处于出厂地址 192.168.1.8 的转换器
分配从起始地址起的下一个空闲地址（不超过 .254，跳过已见到的转换器和本机占用
的每个地址）并写入这些字段（加 --any 则任何转换器都分配；其他转换器记为
“skipped”）。每次写入都像 apply 一样经过检查、记入写入日志并核验。完成的
转换器不会再写；不再报告写入值的转换器记为“changed”，不再处理。每个事件
发生时输出一行：found、verified、differs、no-answer、unchanged、skipped、
refused、not-in-file、changed、conflict（首次见到的转换器使用了本次运行刚
分配给另一台的地址：两台各得一条）（--format csv 或 json：每行一个对象；
--output 追加写入）。
加 --test（测试工装上有环回插头时再加 --loopback）时，每台转换器在写入核验
通过后立即用新设置测试：事件为“tested”或“test-failed”，带测试结果和吞吐量。
在以下情况结束：每一行都已处理（--apply）、已写入或拒绝 --count N 台转换器、
过了 --for 秒（最长一年），或按下 Ctrl-C；都会让正在进行的写入完成核验
（再按一次 Ctrl-C 立即停止）。
写入的每台转换器都已核验（并通过测试）且没有拒绝或冲突（使用 --apply 时
每一行都已处理）时退出状态为 0，否则为 4；结果无法记入写入日志时为 7。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="266"/>
        <source>Usage: converter-cli history [MAC...] [--since TIME] [--batch ID] [--format F]
Every write in the journal, newest last: time, batch, program, MAC, result
(empty while a write has no outcome, as after a crash), the unit it replaces
and each field it changed, before -&gt; after. Sends nothing.
</source>
        <translation>用法：converter-cli history [MAC...] [--since TIME] [--batch ID] [--format F]
列出日志中的每次写入，最新的在最后：时间、批次、程序、MAC、结果（写入没有结果时
为空，例如程序崩溃之后）、所替换的设备，以及它更改的每个字段（之前 -&gt; 之后）。
不发送任何内容。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="273"/>
        <source>Usage: converter-cli revert MAC... | revert --batch ID [--dry-run] [--force]
Undoes each converter&apos;s last journaled write (or every write of a batch): every
settings byte goes back to what it was before, where the converter still
reports what the write left. A field changed since by anything else, or a
journal line after the write that cannot be read and may concern the
converter, refuses the whole revert before anything is sent (status 2);
--force reverts anyway. A revert is checked, verified and journaled like any.
</source>
        <translation>用法：converter-cli revert MAC... | revert --batch ID [--dry-run] [--force]
撤销每台转换器在日志中的最后一次写入（或某批次的全部写入）：每个设置字节都恢复为
写入之前的值，前提是转换器仍报告该次写入留下的内容。若之后有字段被其他操作更改，
或写入之后有可能涉及该转换器而无法读取的日志行，则在发送任何内容之前拒绝整个撤销
（状态 2）；--force 仍然撤销。撤销与其他写入一样经过检查、验证并记入日志。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="283"/>
        <source>Usage: converter-cli test MAC... | --all [--loopback [--bytes N]] [--format F]
Searches, then opens each converter&apos;s data path from this computer the way
its mode says: tcp-server, a connection to its local port; tcp-client, a
listener on its remote port when its remote ip is this computer&apos;s; udp-server
and udp, datagrams to its local port. Sends no configure frame. With
--loopback (a plug on its serial port), sends a pseudo-random pattern and
checks that exactly it comes back, with the throughput against the line&apos;s
capacity. Results: connected, loopback-ok, loopback-failed, refused,
unreachable, untested (the remote end is another host). Each test is
journaled. Exit status 0 when every converter passed, 4 when any did not
(untested included), 3 when a named converter did not answer.
</source>
        <translation>用法：converter-cli test MAC... | --all [--loopback [--bytes N]] [--format F]
先搜索，再按工作模式从本机打开每台转换器的数据通道：tcp-server 连接它的本地
端口；tcp-client 在它的远端 ip 是本机地址时监听它的远端端口；udp-server 和
udp 向它的本地端口收发数据报。不发送任何配置帧。加 --loopback（串口上插有
环回插头）时发送一段伪随机测试数据，检查是否原样返回，并给出相对线路容量的
吞吐量。结果：connected、loopback-ok、loopback-failed、refused、
unreachable、untested（远端是另一台主机）。每次测试都记入写入日志。每台
转换器都通过时退出状态为 0，有未通过的（包括 untested）时为 4，指定的
转换器没有应答时为 3。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="297"/>
        <source>Usage: converter-cli connect MAC [--hex] [--pty LINK]
Opens the converter&apos;s data path as &apos;test&apos; does and joins it to standard
input and output until end of input or Ctrl-C (--hex shows what arrives as
hexadecimal with offsets). With --pty LINK (Linux), a pseudo-terminal linked
at LINK that any serial program can open; it stays open across a lost
connection while the tool reconnects, warns when the program sets a speed
or framing other than the converter&apos;s, and LINK is removed at the end.
</source>
        <translation>用法：converter-cli connect MAC [--hex] [--pty 链接]
像 test 一样打开转换器的数据通道，并把它接到标准输入和输出，直到输入结束或
按下 Ctrl-C（--hex 以十六进制加偏移量显示收到的数据）。加 --pty 链接
（Linux）时，在“链接”处创建一个任何串口程序都能打开的伪终端；连接断开时它
保持打开，工具会重新连接；程序设置的速率或帧格式与转换器不同时会给出警告；
结束时删除该链接。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="306"/>
        <source>Usage: converter-cli confirm BATCH
Keeps the writes of a batch made with --try, which is waiting for this
confirmation (status 2 when the batch is not on trial any more).
</source>
        <translation>用法：converter-cli confirm 批次
保留用 --try 写入、正在等待确认的批次（该批次已不在试用期时状态为 2）。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="479"/>
        <source>--pty needs a path for the link</source>
        <translation>--pty 需要一个链接路径</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="484"/>
        <source>--pty is for Linux; on Windows use connect without it or a virtual serial port driver</source>
        <translation>--pty 只用于 Linux；在 Windows 上请不带它使用 connect，或使用虚拟串口驱动</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="493"/>
        <source>%1: --test, --loopback and --bytes go with --try SECONDS</source>
        <translation>%1：--test、--loopback 和 --bytes 须与 --try 秒 一起使用</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="500"/>
        <source>--loopback and --bytes go with --test</source>
        <translation>--loopback 和 --bytes 须与 --test 一起使用</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="504"/>
        <source>--bytes goes with --loopback</source>
        <translation>--bytes 须与 --loopback 一起使用</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="508"/>
        <source>--try needs a verified write: not with --dry-run or --no-verify</source>
        <translation>--try 需要经过核验的写入：不能与 --dry-run 或 --no-verify 一起使用</translation>
    </message>
    <message>
        <source>Usage: converter-cli replace OLD-MAC [NEW-MAC] [--from FILE] [--force] [--dry-run]
Gives a new unit every writable setting of a failed one, its name included
(its own MAC and version stay): the settings that OLD&apos;s newest verified
write sent, from the journal, or OLD&apos;s row of a fleet file with --from (as
&apos;search --format csv&apos; writes it; an empty name cell means no name). NEW is
the MAC given, or the one converter at the factory address 192.168.1.8
that is not OLD (none: status 3; several: status 2). Refused while OLD
still answers (the two would share an address) unless --force. The write
is checked, journaled, verified and undone by &apos;revert NEW-MAC&apos; like any.
</source>
        <translation type="vanished">用法：converter-cli replace 旧MAC [新MAC] [--from 文件] [--force] [--dry-run]
把故障转换器的每个可写设置（包括名称）交给一台新转换器（新转换器自己的 MAC 和
版本不变）：设置取自写入日志中旧转换器最近一次已核验的写入所发送的内容，或用
--from 取自设备清单中旧转换器的那一行（即“search --format csv”写出的文件；
名称单元格为空表示没有名称）。新转换器为指定的 MAC，或在出厂地址 192.168.1.8
应答的、不是旧转换器的那一台（没有：状态 3；多台：状态 2）。旧转换器仍在应答时
拒绝（两台会使用同一地址），除非加 --force。这次写入与任何写入一样经过检查、
记入写入日志并核验，可用“revert 新MAC”撤销。
</translation>
    </message>
    <message>
        <source>Usage: converter-cli watch --apply FILE [--count N] [--for SECONDS]
       converter-cli watch --assign FIRST-ADDRESS [FIELD=VALUE...] [--any]
Probes every --interval MS (1000) and configures each converter as it
appears: with --apply, its row of the fleet file; with --assign, the next
free address from FIRST-ADDRESS (never past .254, skipping every address a
converter seen or this computer holds) and the fields, for converters at the
factory address 192.168.1.8 (any converter with --any; others are &apos;skipped&apos;).
Every write is checked, journaled and verified as with apply. A converter
done is not written again; one that no longer reports what was written is
&apos;changed&apos; and left alone. One line per event, as it happens: found,
verified, differs, no-answer, unchanged, skipped, refused, not-in-file,
changed, conflict (a converter first seen at an address the run has just
given another: both get one) (--format csv or json: one object per line;
--output appends).
Ends when every row is handled (--apply), after --count N converters
written or refused, after --for SECONDS (up to a year), or on Ctrl-C; each
lets a write in flight finish its verification (a second Ctrl-C stops at
once).
Exit status 0 when every converter written was verified and none was
refused or in conflict (and with --apply every row was handled), 4
otherwise; 7 when an outcome could not be journaled.
</source>
        <translation type="vanished">用法：converter-cli watch --apply 文件 [--count N] [--for 秒]
      converter-cli watch --assign 起始地址 [字段=值...] [--any]
每隔 --interval 毫秒（1000）探测一次，转换器一出现就配置：使用 --apply 时按
设备清单中它的那一行；使用 --assign 时，给处于出厂地址 192.168.1.8 的转换器
分配从起始地址起的下一个空闲地址（不超过 .254，跳过已见到的转换器和本机占用
的每个地址）并写入这些字段（加 --any 则任何转换器都分配；其他转换器记为
“skipped”）。每次写入都像 apply 一样经过检查、记入写入日志并核验。完成的
转换器不会再写；不再报告写入值的转换器记为“changed”，不再处理。每个事件
发生时输出一行：found、verified、differs、no-answer、unchanged、skipped、
refused、not-in-file、changed、conflict（首次见到的转换器使用了本次运行刚
分配给另一台的地址：两台各得一条）（--format csv 或 json：每行一个对象；
--output 追加写入）。
在以下情况结束：每一行都已处理（--apply）、已写入或拒绝 --count N 台转换器、
过了 --for 秒（最长一年），或按下 Ctrl-C；都会让正在进行的写入完成核验
（再按一次 Ctrl-C 立即停止）。
写入的每台转换器都已核验且没有拒绝或冲突（使用 --apply 时每一行都已处理）
时退出状态为 0，否则为 4；结果无法记入写入日志时为 7。
</translation>
    </message>
    <message>
        <source>Usage: converter-cli history [MAC...] [--since TIME] [--batch ID] [--format F]
Every write in the journal, newest last: time, batch, program, MAC, result
(empty while a write has no outcome, as after a crash) and each field it
changed, before -&gt; after. Sends nothing.
</source>
        <translation type="vanished">用法：converter-cli history [MAC...] [--since 时间] [--batch 批次] [--format F]
写入日志中的每次写入，最新的在最后：时间、批次、程序、MAC、结果（写入没有
结果行时为空，例如崩溃之后）以及改动的每个字段，改动前 -&gt; 改动后。不发送
任何帧。
</translation>
    </message>
    <message>
        <source>Usage: converter-cli revert MAC... | revert --batch ID [--dry-run] [--force]
Undoes each converter&apos;s last journaled write (or every write of a batch): each
field that write changed gets its value from before, where the converter
still reports what the write left. A field changed since by anything else
refuses the whole revert before anything is sent (status 2); --force reverts
it anyway. A revert is checked, verified and journaled like any write.
</source>
        <translation type="vanished">用法：converter-cli revert MAC... | revert --batch 批次 [--dry-run] [--force]
撤销每台转换器最近一次记入日志的写入（或某一批次的全部写入）：那次写入改动
的每个字段，只要转换器仍报告写入后的值，就恢复为写入前的值。若有字段之后又
被别的写入改过，则在发送任何帧之前拒绝整个撤销（状态 2）；--force 仍会撤销
它。撤销与任何写入一样经过检查、核验并记入写入日志。
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="329"/>
        <source>Options:%1
(converter-cli --help says what each does)
</source>
        <translation>选项：%1
（各选项的作用见 converter-cli --help）
</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="405"/>
        <source>no command given</source>
        <translation>没有给出命令</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="411"/>
        <source>--%1 is for %2, not %3</source>
        <translation>--%1 用于 %2，不用于 %3</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="425"/>
        <source>--format &apos;%1&apos; is not one of table, csv, json</source>
        <translation>--format“%1”不是 table、csv、json 之一</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="447"/>
        <source>--%1 &apos;%2&apos; is not a number from %3 to %4</source>
        <translation>--%1“%2”不是 %3 到 %4 之间的数</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="457"/>
        <source>--output needs a file name</source>
        <translation>--output 需要一个文件名</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="468"/>
        <source>--%1 needs a value</source>
        <translation>--%1 需要一个值</translation>
    </message>
    <message>
        <source>--batch is for history and revert</source>
        <translation type="vanished">--batch 只用于 history 和 revert</translation>
    </message>
    <message>
        <source>--since is for history</source>
        <translation type="vanished">--since 只用于 history</translation>
    </message>
    <message>
        <source>--from FILE is for replace</source>
        <translation type="vanished">--from 文件 只用于 replace</translation>
    </message>
    <message>
        <source>--%1 is for watch</source>
        <translation type="vanished">--%1 只用于 watch</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="517"/>
        <source>watch: give --apply FILE or --assign FIRST-ADDRESS</source>
        <translation>watch：请给出 --apply 文件 或 --assign 起始地址</translation>
    </message>
    <message>
        <source>watch writes and verifies; --dry-run and --no-verify are for the other writing commands</source>
        <translation type="vanished">watch 总是写入并核验；--dry-run 和 --no-verify 用于其他写入命令</translation>
    </message>
    <message>
        <source>--%1 is for set, reset, apply, assign, revert, replace and watch</source>
        <translation type="vanished">--%1 只用于 set、reset、apply、assign、revert、replace 和 watch</translation>
    </message>
    <message>
        <source>--only is for assign</source>
        <translation type="vanished">--only 只用于 assign</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="524"/>
        <source>--only &apos;%1&apos; is not a MAC address (12 hexadecimal digits)</source>
        <translation>--only“%1”不是 MAC 地址（应为 12 位十六进制数字）</translation>
    </message>
    <message>
        <location filename="../cli/options.cpp" line="553"/>
        <source>%1: wrong number of arguments
%2</source>
        <translation>%1：参数个数不对
%2</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="247"/>
        <source>sent</source>
        <translation>已发送</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="248"/>
        <source>reported</source>
        <translation>转换器报告</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="325"/>
        <source>time</source>
        <translation>时间</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="325"/>
        <source>batch</source>
        <translation>批次</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="326"/>
        <source>program</source>
        <translation>程序</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="327"/>
        <location filename="../cli/output.cpp" line="452"/>
        <source>result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="328"/>
        <source>replaces</source>
        <translation>替换</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="329"/>
        <source>changes</source>
        <translation>改动</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="336"/>
        <source>data-path test</source>
        <translation>数据通道测试</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="344"/>
        <source>(none)</source>
        <translation>（无）</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="409"/>
        <source>%1 of %2 bytes</source>
        <translation>%2 字节中的 %1 字节</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="411"/>
        <source>, %1 B/s, %2 of the line, first byte %3 ms</source>
        <translation>，%1 字节/秒，线路容量的 %2，首字节 %3 毫秒</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="453"/>
        <source>port</source>
        <translation>端口</translation>
    </message>
    <message>
        <location filename="../cli/output.cpp" line="453"/>
        <source>figures</source>
        <translation>数据</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="45"/>
        <source>%1: byte %2 is %3 now, not %4 as batch %5 left it</source>
        <translation>%1：字节 %2 现在是 %3，而不是批次 %5 写入后的 %4</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="81"/>
        <source>no write of batch %1 in the journal %2; nothing sent</source>
        <translation>写入日志 %2 中没有批次 %1 的写入；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="85"/>
        <source>a line that may concern batch %1 cannot be read (%2)</source>
        <translation>可能涉及批次 %1 的一行无法读取（%2）</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="93"/>
        <source>a line that may concern %1 cannot be read (%2), after its newest readable write</source>
        <translation>可能涉及 %1 的一行无法读取（%2），位于其最新可读写入之后</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="108"/>
        <source>revert refused: the newest write may be one that cannot be read, as above; nothing sent (--force undoes the newest readable write)</source>
        <translation>拒绝撤销：最新的写入可能正是上面无法读取的那一行；未发送任何内容（--force 撤销最新的可读写入）</translation>
    </message>
    <message>
        <source>a write of batch %1 cannot be read (%2); nothing sent</source>
        <translation type="vanished">批次 %1 的一次写入无法读取（%2）；未发送任何帧</translation>
    </message>
    <message>
        <source>the newest write of %1 cannot be read (%2); nothing sent</source>
        <translation type="vanished">%1 最近一次写入无法读取（%2）；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="100"/>
        <source>no write of %1 in the journal %2; nothing sent</source>
        <translation>写入日志 %2 中没有 %1 的写入；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="33"/>
        <source>%1: %2 is %3 now, not %4 as batch %5 left it</source>
        <translation>%1：%2 现在是 %3，而不是批次 %5 写入后的 %4</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="33"/>
        <source>no verified write of %1 in the journal %2 to take its settings from; give them with --from FILE (a fleet file as &apos;search --format csv&apos; writes it); nothing sent</source>
        <translation>写入日志 %2 中没有 %1 已核验的写入可供取用设置；请用 --from 文件 给出（即“search --format csv”写出的设备清单）；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="40"/>
        <source>%1: a later write that did not verify: %2</source>
        <translation>%1：之后有一次未经验证的写入：%2</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="43"/>
        <source>%1: a journal line that may concern it cannot be read (%2)</source>
        <translation>%1：可能涉及它的一行日志无法读取（%2）</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="48"/>
        <source>%1 may hold other settings than its newest verified write (%2) sent, as above; nothing sent (give them with --from FILE, or --force takes that write&apos;s settings)</source>
        <translation>%1 的设置可能与其最新经验证的写入（%2）不同，见上；未发送任何内容（用 --from FILE 提供设置，或用 --force 采用那次写入的设置）</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="69"/>
        <source>%1 has no row for %2; nothing sent</source>
        <translation>%1 中没有 %2 的行；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="81"/>
        <source>%1:%2: no %3 for %4; a replacement takes every setting; nothing sent</source>
        <translation>%1:%2：没有 %4 的 %3；替换需要全部设置；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="109"/>
        <source>replace: OLD-MAC and NEW-MAC are the same converter</source>
        <translation>replace：旧 MAC 和新 MAC 是同一台转换器</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="130"/>
        <source>%1 still answers (ip %2): the two would share an address</source>
        <translation>%1 仍在应答（ip %2）：两台会使用同一地址</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="134"/>
        <location filename="../cli/replacecommand.cpp" line="158"/>
        <source>; nothing sent (--force replaces anyway)</source>
        <translation>；未发送任何帧（--force 可强制替换）</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="136"/>
        <location filename="../cli/replacecommand.cpp" line="160"/>
        <location filename="../cli/session.cpp" line="122"/>
        <location filename="../cli/session.cpp" line="177"/>
        <location filename="../cli/watchcommand.cpp" line="303"/>
        <source>overridden by --force: </source>
        <translation>已被 --force 忽略：</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="152"/>
        <source>%1 is not at the factory address %2 but at %3, named &apos;%4&apos;: a converter in service?</source>
        <translation>%1 不在出厂地址 %2，而在 %3，名称为“%4”：这是一台在用的转换器吗？</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="170"/>
        <source>no converter answers at the factory address %1; nothing sent</source>
        <translation>没有转换器在出厂地址 %1 应答；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="178"/>
        <source>%1 converters answer at the factory address %2 (%3): name the new unit&apos;s MAC; nothing sent</source>
        <translation>有 %1 台转换器在出厂地址 %2 应答（%3）：请指定新转换器的 MAC；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/revertcommand.cpp" line="133"/>
        <source>revert refused: fields changed since the write, as above; nothing sent (--force reverts them too)</source>
        <translation>拒绝撤销：如上所列，写入之后这些字段又被改过；未发送任何帧（--force 会一并撤销）</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="63"/>
        <source>cannot send through %1: %2</source>
        <translation>无法通过 %1 发送：%2</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="81"/>
        <source>; searching through the other adapters</source>
        <translation>；改用其他网卡搜索</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="91"/>
        <source>no adapter to search from: the probe could not be sent through any adapter (is one up, with a route for broadcasts?); nothing sent</source>
        <translation>没有可用于搜索的网卡：探测包无法从任何网卡发出（是否有已启用且有广播路由的网卡？）；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/replacecommand.cpp" line="145"/>
        <location filename="../cli/session.cpp" line="113"/>
        <source>no answer from %1 within %2 ms; nothing sent</source>
        <translation>%1 在 %2 毫秒内没有应答；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="149"/>
        <source>; the tests ran, their results are not journaled</source>
        <translation>；测试已进行，但结果没有记入写入日志</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="182"/>
        <source>refused: the write would cut converters off the network as above; nothing sent (--force writes anyway)</source>
        <translation>已拒绝：如上所列，这次写入会让转换器脱离网络；未发送任何帧（--force 可强制写入）</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="221"/>
        <source>; the frames were sent, their outcomes are not journaled</source>
        <translation>；帧已发送，但结果没有记入写入日志</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="257"/>
        <source>dry run: %1 frame(s) not sent, %2 unchanged</source>
        <translation>试运行：%1 个帧未发送，%2 台无改动</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="266"/>
        <source>the console is closing; nothing sent</source>
        <translation>控制台正在关闭；未发送任何帧</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="301"/>
        <source>%1 verified, %2 differ, %3 no answer, %4 sent unverified, %5 not sent, %6 unchanged; %7 frames sent, %8 retries, %9 ms; journal batch %10</source>
        <translation>%1 台已核验，%2 台不一致，%3 台无应答，%4 台已发送未核验，%5 台未发送，%6 台无改动；共发送 %7 个帧，重发 %8 次，用时 %9 毫秒；写入日志批次 %10</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="318"/>
        <source>the console closed during verification: outcomes journaled as they stood</source>
        <translation>核验期间控制台被关闭：已按当时状态记录结果</translation>
    </message>
    <message>
        <location filename="../cli/session.cpp" line="322"/>
        <source>%1 frame(s) could not leave through any adapter</source>
        <translation>%1 个帧无法从任何网卡发出</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="125"/>
        <source>no adapter to search from: the probe could not be sent through any adapter</source>
        <translation>没有可用于搜索的网卡：探测包无法从任何网卡发出</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="132"/>
        <source>watch: %1 found, %2 verified, %3 differ, %4 no answer, %5 unchanged, %6 refused, %7 skipped, %8 not in file, %9 changed, %10 conflict events</source>
        <translation>watch：发现 %1 台，核验 %2 台，不一致 %3 台，无应答 %4 台，无改动 %5 台，拒绝 %6 台，跳过 %7 台，不在清单中 %8 台，被改动 %9 台，冲突事件 %10 个</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="146"/>
        <source>, %1 tested, %2 failed the test</source>
        <translation>，测试 %1 台，测试未通过 %2 台</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="151"/>
        <source>; %1 of %2 rows handled</source>
        <translation>；已处理 %2 行中的 %1 行</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="152"/>
        <source>; %1 ms; journal batch %2</source>
        <translation>；用时 %1 毫秒；写入日志批次 %2</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="193"/>
        <source>no longer holds what was written: </source>
        <translation>已不再保持写入的设置：</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="248"/>
        <source>not at the factory address %1 (--any gives it one too)</source>
        <translation>不在出厂地址 %1（加 --any 也会给它分配地址）</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="258"/>
        <source>no free address left from %1 to .254</source>
        <translation>从 %1 到 .254 已没有空闲地址</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="328"/>
        <source>the journal failed after this run had written converters</source>
        <translation>本次运行已写入转换器之后，写入日志失败</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="351"/>
        <source>%1 sent %2, reported %3</source>
        <translation>%1 发送 %2，转换器报告 %3</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="426"/>
        <source>ip %1 was just given to %2</source>
        <translation>ip %1 刚刚分配给了 %2</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="430"/>
        <source>ip %1, just given to it, is also the ip of %2, first seen now</source>
        <translation>刚分配给它的 ip %1 也是刚发现的 %2 的 ip</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="472"/>
        <source>stopped at once: %1 left unverified (the journal holds the intent)</source>
        <translation>已立即停止：%1 未核验（写入日志中有写入意图）</translation>
    </message>
    <message>
        <location filename="../cli/watchcommand.cpp" line="480"/>
        <source>stopping once the write in flight is verified (Ctrl-C again stops at once)</source>
        <translation>正在进行的写入核验完成后停止（再按 Ctrl-C 立即停止）</translation>
    </message>
    <message>
        <location filename="../cli/reportcommand.cpp" line="46"/>
        <source>%1 line(s) of the journal could not be read: the writes the report shows may be incomplete</source>
        <translation>日志中有 %1 行无法读取：报告所列的写入可能不完整</translation>
    </message>
    <message>
        <location filename="../cli/confirmcommand.cpp" line="27"/>
        <source>no write of batch %1 in the journal %2</source>
        <translation>写入日志 %2 中没有批次 %1 的写入</translation>
    </message>
    <message>
        <location filename="../cli/confirmcommand.cpp" line="33"/>
        <source>batch %1 was not written with --try</source>
        <translation>批次 %1 不是用 --try 写入的</translation>
    </message>
    <message>
        <location filename="../cli/confirmcommand.cpp" line="34"/>
        <source>batch %1 is %2 already</source>
        <translation>批次 %1 已经是 %2</translation>
    </message>
    <message>
        <location filename="../cli/confirmcommand.cpp" line="39"/>
        <location filename="../cli/trial.cpp" line="168"/>
        <source>batch %1 confirmed</source>
        <translation>批次 %1 已确认</translation>
    </message>
    <message>
        <location filename="../cli/connectcommand.cpp" line="110"/>
        <source>%1: connected through %2 (%3)</source>
        <translation>%1：已通过 %2 连接（%3）</translation>
    </message>
    <message>
        <location filename="../cli/connectcommand.cpp" line="124"/>
        <source>; reconnecting</source>
        <translation>；正在重新连接</translation>
    </message>
    <message>
        <location filename="../cli/connectcommand.cpp" line="156"/>
        <source>the program set %1 on %2; the converter&apos;s line is %3 (change it with &apos;set&apos;)</source>
        <translation>程序在 %2 上设置了 %1；转换器的线路是 %3（用 set 修改）</translation>
    </message>
    <message>
        <location filename="../cli/connectcommand.cpp" line="161"/>
        <source>%1 is the converter&apos;s serial port; Ctrl-C ends</source>
        <translation>%1 就是转换器的串口；按 Ctrl-C 结束</translation>
    </message>
    <message>
        <location filename="../cli/pseudoterminal.cpp" line="59"/>
        <source>--pty %1: something else is there; nothing replaced</source>
        <translation>--pty %1：该处已有其他文件；未替换任何内容</translation>
    </message>
    <message>
        <location filename="../cli/pseudoterminal.cpp" line="68"/>
        <source>cannot create a pseudo-terminal: %1</source>
        <translation>无法创建伪终端：%1</translation>
    </message>
    <message>
        <location filename="../cli/pseudoterminal.cpp" line="74"/>
        <source>cannot open the pseudo-terminal: %1</source>
        <translation>无法打开伪终端：%1</translation>
    </message>
    <message>
        <location filename="../cli/pseudoterminal.cpp" line="89"/>
        <source>--pty %1: cannot link it: %2</source>
        <translation>--pty %1：无法创建链接：%2</translation>
    </message>
    <message>
        <source>%1 of %2 converter(s) passed; journal batch %3</source>
        <translation type="vanished">%2 台转换器中 %1 台通过；写入日志批次 %3</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="48"/>
        <source>; rolling back batch %1</source>
        <translation>；正在回滚批次 %1</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="66"/>
        <source>batch %1 rolled back</source>
        <translation>批次 %1 已回滚</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="67"/>
        <source>batch %1 could not be rolled back, as above</source>
        <translation>批次 %1 无法回滚，见上</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="82"/>
        <source>not every write verified</source>
        <translation>并非每次写入都已核验</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="100"/>
        <source>no confirmation within %1 s</source>
        <translation>%1 秒内没有确认</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="105"/>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="125"/>
        <source>type yes to keep batch %1</source>
        <translation>输入 yes 保留批次 %1</translation>
    </message>
    <message>
        <location filename="../cli/trial.cpp" line="150"/>
        <source>batch %1 is on trial for %2 s: type yes, or run &apos;converter-cli confirm %1&apos;, to keep it; otherwise it is rolled back</source>
        <translation>批次 %1 试用 %2 秒：输入 yes 或运行“converter-cli confirm %1”即保留；否则回滚</translation>
    </message>
    <message>
        <location filename="../cli/testcommand.cpp" line="40"/>
        <source>%1 of %2 converter(s) passed in %3 ms; journal batch %4</source>
        <translation>%2 台转换器中 %1 台通过，用时 %3 毫秒；写入日志批次 %4</translation>
    </message>
</context>
<context>
    <name>datapath</name>
    <message>
        <location filename="../network/datapath.cpp" line="52"/>
        <source>it listens on a random local port (0), which it does not report</source>
        <translation>它在随机本地端口（0）上监听，而它不报告该端口</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="61"/>
        <source>it talks to %1, not to this computer</source>
        <translation>它与 %1 通信，而不是与本机</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="71"/>
        <source>it takes datagrams on a random local port (0), which it does not report</source>
        <translation>它在随机本地端口（0）上接收数据报，而它不报告该端口</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="102"/>
        <source>cannot listen on %1: %2</source>
        <translation>无法在 %1 上监听：%2</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="126"/>
        <source>cannot bind %1: %2</source>
        <translation>无法绑定 %1：%2</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="200"/>
        <source>%1 refused: nothing takes data there, or a firewall rejects it</source>
        <translation>%1 拒绝：那里没有接收数据的程序，或被防火墙拒绝</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="205"/>
        <location filename="../network/datapath.cpp" line="231"/>
        <source>%1 closed the connection</source>
        <translation>%1 关闭了连接</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="207"/>
        <source>%1: the connection was lost: %2</source>
        <translation>%1：连接中断：%2</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="212"/>
        <source>%1 cannot be reached: %2</source>
        <translation>%1 无法到达：%2</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="244"/>
        <source>the converter did not connect to %1 within %2 ms (is a firewall dropping it?)</source>
        <translation>转换器在 %2 毫秒内没有连接到 %1（是否被防火墙丢弃？）</translation>
    </message>
    <message>
        <location filename="../network/datapath.cpp" line="248"/>
        <source>no answer from %1 within %2 ms (is the converter at that address, or a firewall dropping it?)</source>
        <translation>%1 在 %2 毫秒内没有应答（转换器是否在该地址？是否被防火墙丢弃？）</translation>
    </message>
</context>
<context>
    <name>datatest</name>
    <message>
        <location filename="../network/datatest.cpp" line="133"/>
        <source>%1 bytes missing</source>
        <translation>缺少 %1 字节</translation>
    </message>
    <message>
        <location filename="../network/datatest.cpp" line="135"/>
        <source>%1 bytes too many</source>
        <translation>多出 %1 字节</translation>
    </message>
    <message>
        <location filename="../network/datatest.cpp" line="137"/>
        <source>the first wrong byte at offset %1 (wrong baud, parity or framing?)</source>
        <translation>第一个错误字节位于偏移 %1（波特率、校验位或帧格式不对？）</translation>
    </message>
</context>
<context>
    <name>fields</name>
    <message>
        <location filename="../protocol/settingfields.cpp" line="270"/>
        <source>%1 holds a zero character</source>
        <translation>%1 含有零字符</translation>
    </message>
    <message>
        <location filename="../protocol/settingfields.cpp" line="276"/>
        <source>%1 is longer than %2 bytes in UTF-8</source>
        <translation>%1 的 UTF-8 编码超过 %2 字节</translation>
    </message>
    <message>
        <location filename="../protocol/settingfields.cpp" line="287"/>
        <location filename="../protocol/settingfields.cpp" line="293"/>
        <source>%1 is not one of %2</source>
        <translation>%1 不是 %2 之一</translation>
    </message>
    <message>
        <location filename="../protocol/settingfields.cpp" line="304"/>
        <source>%1 is not an IPv4 address (four numbers from 0 to 255)</source>
        <translation>%1 不是 IPv4 地址（应为四个 0 到 255 的数）</translation>
    </message>
    <message>
        <location filename="../protocol/settingfields.cpp" line="317"/>
        <source>%1 is not a number from %2 to %3</source>
        <translation>%1 不是 %2 到 %3 之间的数</translation>
    </message>
    <message>
        <location filename="../protocol/settingfields.cpp" line="332"/>
        <source>%1 is read-only</source>
        <translation>%1 是只读字段</translation>
    </message>
</context>
<context>
    <name>journal</name>
    <message>
        <location filename="../journal/journal.cpp" line="185"/>
        <source>journal %1: cannot create the folder %2</source>
        <translation>写入日志 %1：无法创建文件夹 %2</translation>
    </message>
    <message>
        <location filename="../journal/journal.cpp" line="191"/>
        <source>journal %1: cannot take its lock %1.lock</source>
        <translation>写入日志 %1：无法获得锁 %1.lock</translation>
    </message>
    <message>
        <location filename="../journal/journal.cpp" line="201"/>
        <location filename="../journal/journal.cpp" line="212"/>
        <source>journal %1: cannot write: %2</source>
        <translation>写入日志 %1：无法写入：%2</translation>
    </message>
    <message>
        <location filename="../journal/journalreader.cpp" line="50"/>
        <source>a journal line of kind &apos;%1&apos; from version %2, which this version (%3) cannot read; skipped</source>
        <translation>类型为“%1”的日志行来自版本 %2，本版本（%3）无法读取；已跳过</translation>
    </message>
    <message>
        <location filename="../journal/journalreader.cpp" line="55"/>
        <source>a damaged %1 line; skipped</source>
        <translation>损坏的 %1 行；已跳过</translation>
    </message>
    <message>
        <location filename="../journal/journalreader.cpp" line="64"/>
        <location filename="../journal/journalreader.cpp" line="134"/>
        <source>journal %1: cannot read: %2</source>
        <translation>写入日志 %1：无法读取：%2</translation>
    </message>
    <message>
        <location filename="../journal/journalreader.cpp" line="125"/>
        <source>not a journal line (torn by a crash?); skipped</source>
        <translation>不是写入日志行（可能因崩溃而截断）；已跳过</translation>
    </message>
    <message>
        <location filename="../journal/converterpast.cpp" line="60"/>
        <source>%1, batch %2 (%3): %4</source>
        <translation>%1，批次 %2（%3）：%4</translation>
    </message>
    <message>
        <location filename="../journal/converterpast.cpp" line="62"/>
        <source>no outcome</source>
        <translation>无结果</translation>
    </message>
    <message>
        <location filename="../journal/converterpast.cpp" line="69"/>
        <source>%1, which names no converter</source>
        <translation>%1，其中未指明转换器</translation>
    </message>
</context>
<context>
    <name>link</name>
    <message>
        <location filename="../network/adapters.cpp" line="67"/>
        <source>no network interface named &apos;%1&apos; (there are: %2)</source>
        <translation>没有名为“%1”的网卡（现有：%2）</translation>
    </message>
    <message>
        <location filename="../network/adapters.cpp" line="72"/>
        <source>interface &apos;%1&apos; is not up and able to broadcast</source>
        <translation>网卡“%1”未启用或不能广播</translation>
    </message>
    <message>
        <location filename="../network/devicelink.cpp" line="122"/>
        <source>cannot use UDP port %1: %2</source>
        <translation>无法使用 UDP 端口 %1：%2</translation>
    </message>
    <message>
        <location filename="../network/devicelink.cpp" line="171"/>
        <source> on adapter %1 (%2)</source>
        <translation>（网卡 %1，%2）</translation>
    </message>
    <message>
        <location filename="../network/devicelink.cpp" line="194"/>
        <source>(the default route)</source>
        <translation>（默认路由）</translation>
    </message>
    <message>
        <location filename="../network/devicelink.cpp" line="200"/>
        <source>UDP port %1 is not bound</source>
        <translation>UDP 端口 %1 未绑定</translation>
    </message>
    <message>
        <location filename="../network/devicelink.cpp" line="215"/>
        <source>no socket for it</source>
        <translation>没有对应的套接字</translation>
    </message>
    <message>
        <location filename="../network/portholders_win.cpp" line="111"/>
        <source>%1 (process %2)</source>
        <translation>%1（进程 %2）</translation>
    </message>
    <message>
        <location filename="../network/portholders_win.cpp" line="112"/>
        <source>a program</source>
        <translation>某个程序</translation>
    </message>
    <message>
        <location filename="../network/portholders_win.cpp" line="119"/>
        <source>cannot use UDP port %1: %2 holds it, and Windows would hand each converter&apos;s answer to only one of us; close it and try again</source>
        <translation>无法使用 UDP 端口 %1：%2 占用了它，Windows 只会把每台转换器的应答交给其中一个程序；请关闭它后重试</translation>
    </message>
</context>
<context>
    <name>segment</name>
    <message>
        <location filename="../network/segmentcheck.cpp" line="57"/>
        <source>0.0.0.0/8, this network</source>
        <translation>0.0.0.0/8（本网络）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="59"/>
        <source>127.0.0.0/8, loopback</source>
        <translation>127.0.0.0/8（环回）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="61"/>
        <source>224.0.0.0/4, multicast</source>
        <translation>224.0.0.0/4（组播）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="63"/>
        <source>240.0.0.0/4, reserved</source>
        <translation>240.0.0.0/4（保留）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="135"/>
        <source>ip %1 is also the ip of %2</source>
        <translation>ip %1 也是 %2 的 ip</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="139"/>
        <source>ip %1 is an address of this computer (adapter %2)</source>
        <translation>ip %1 是本机的地址（网卡 %2）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="142"/>
        <source>ip %1 is the network address of its subnet %2</source>
        <translation>ip %1 是其子网 %2 的网络地址</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="145"/>
        <source>ip %1 is the broadcast address of its subnet %2</source>
        <translation>ip %1 是其子网 %2 的广播地址</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="149"/>
        <source>subnet 0.0.0.0 makes every address its own network</source>
        <translation>子网掩码 0.0.0.0 会让每个地址各成一个网络</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="151"/>
        <source>subnet %1 is not a mask (ones, then zeros)</source>
        <translation>子网掩码 %1 不是有效掩码（应先全为 1，后全为 0）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="154"/>
        <source>gateway %1 is outside its subnet %2 (ip %3)</source>
        <translation>网关 %1 不在其子网 %2 内（ip %3）</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="157"/>
        <source>gateway %1 is its own ip</source>
        <translation>网关 %1 就是它自己的 ip</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="159"/>
        <source>ip %1 is in %2, which no host can have</source>
        <translation>ip %1 位于 %2，任何主机都不能使用</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="164"/>
        <source>gateway %1 is in %2, which no host can have</source>
        <translation>网关 %1 位于 %2，任何主机都不能使用</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="167"/>
        <source>gateway %1 is the network address of its subnet %2</source>
        <translation>网关 %1 是其子网 %2 的网络地址</translation>
    </message>
    <message>
        <location filename="../network/segmentcheck.cpp" line="171"/>
        <source>gateway %1 is the broadcast address of its subnet %2</source>
        <translation>网关 %1 是其子网 %2 的广播地址</translation>
    </message>
</context>
</TS>
