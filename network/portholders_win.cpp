#include "portholders.h"

#include "phrase.h"

#include "protocolconstants.h"

#include <QFileInfo>
#include <QStringList>

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <vector>

namespace {

// A plain bind, without address sharing, fails only when somebody holds the
// port; it tells nothing of who.
bool portIsFree()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return true;
    bool free = true;
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s != INVALID_SOCKET) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(DEVICE_PORT);
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        // Wine, and Windows for a port held exclusively, say "access denied".
        if (bind(s, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
            free = WSAGetLastError() != WSAEADDRINUSE && WSAGetLastError() != WSAEACCES;
        closesocket(s);
    }
    WSACleanup();
    return free;
}

QString programOf(DWORD pid)
{
    QString name;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) {
        wchar_t path[MAX_PATH];
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, path, &size))
            name = QFileInfo(QString::fromWCharArray(path, int(size))).fileName();
        CloseHandle(process);
    }
    return name;
}

// The rows of the system's UDP table with owners, for one address family.
template <typename Table> std::vector<DWORD> holdersIn(ULONG family)
{
    std::vector<DWORD> pids;
    ULONG size = 0;
    std::vector<char> table;
    DWORD status = ERROR_INSUFFICIENT_BUFFER;
    for (int attempt = 0; attempt < 4 && status == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        table.resize(size ? size : 1);
        status = GetExtendedUdpTable(table.data(), &size, FALSE, family, UDP_TABLE_OWNER_PID, 0);
    }
    if (status != NO_ERROR)
        return pids;
    const auto *rows = reinterpret_cast<const Table *>(table.data());
    for (DWORD i = 0; i < rows->dwNumEntries; ++i) {
        if (ntohs(u_short(rows->table[i].dwLocalPort)) == DEVICE_PORT)
            pids.push_back(rows->table[i].dwOwningPid);
    }
    return pids;
}

// The processes with a UDP endpoint on the device port: IPv4, and IPv6,
// where a dual-stack socket on [::]:1500 (Qt's default bind) holds the IPv4
// port as well.
std::vector<DWORD> holders()
{
    std::vector<DWORD> pids = holdersIn<MIB_UDPTABLE_OWNER_PID>(AF_INET);
    for (const DWORD pid : holdersIn<MIB_UDP6TABLE_OWNER_PID>(AF_INET6))
        pids.push_back(pid);
    return pids;
}

} // namespace

namespace PortHolders {

bool check(QString *error)
{
    if (portIsFree())
        return true;
    QStringList others;
    for (const DWORD pid : holders()) {
        // Process 0 owns no socket on Windows; under Wine it stands for a
        // program outside Wine, whose port sharing follows Linux's rules (a
        // bind beside a holder that does not share fails there by itself).
        if (pid == 0 || pid == GetCurrentProcessId())
            continue;
        const QString program = programOf(pid);
        // The window and converter-cli share the port with each other.
        if (program.compare(QLatin1String("converter-config.exe"), Qt::CaseInsensitive) == 0 ||
            program.compare(QLatin1String("converter-cli.exe"), Qt::CaseInsensitive) == 0)
            continue;
        const QString holder =
            Phrase::translate("link", "%1 (process %2)")
                .arg(program.isEmpty() ? Phrase::translate("link", "a program") : program)
                .arg(pid);
        if (!others.contains(holder))
            others << holder;
    }
    if (others.isEmpty())
        return true;
    *error = Phrase::translate("link",
                               "cannot use UDP port %1: %2 holds it, and Windows would hand each "
                               "converter's answer to only one of us; close it and try again")
                 .arg(DEVICE_PORT)
                 .arg(others.join(QStringLiteral(", ")));
    return false;
}

} // namespace PortHolders
