#!/usr/bin/env python3
"""An independent judge of the segment check: random segments and writes,
judged by the tool's C++ code (through segmentcheck_driver) and by a model
written here from the rules, with Python's ipaddress module doing the address
arithmetic. Every disagreement is printed as a row for tst_segmentcheck's
judgedWrites table, with the model's answer as the expected one.

    segmentcheck_judge.py DRIVER [--seed N] [--count N]
"""
import argparse
import ipaddress
import json
import random
import subprocess
import sys

NO_HOST = [ipaddress.ip_network(n) for n in
           ("0.0.0.0/8", "127.0.0.0/8", "224.0.0.0/4", "240.0.0.0/4")]
IP_FIELD = {"duplicate-ip", "host-address", "reserved-address", "network-address",
            "broadcast-address"}
GATEWAY_FIELD = {"gateway-outside-subnet", "gateway-is-own-ip", "gateway-not-a-host"}


def no_host(address):
    return any(address in net for net in NO_HOST)


def network_of(ip, mask):
    """The subnet, or None for a mask that is not ones then zeros."""
    try:
        return ipaddress.ip_network(f"{ip}/{mask}", strict=False)
    except ValueError:
        return None


def ends(address, net):
    """'network' or 'broadcast' where address is one of them; a /31 or /32
    has neither."""
    if net.prefixlen > 30:
        return None
    if address == net.network_address:
        return "network"
    if address == net.broadcast_address:
        return "broadcast"
    return None


def model_find(converters, host):
    problems = []
    static = [c for c in converters if not c[4]]
    for mac, ip_text, mask, gw_text, dhcp in converters:
        if dhcp:
            continue
        ip = ipaddress.ip_address(ip_text)
        gw = ipaddress.ip_address(gw_text)
        found = lambda code, other="": problems.append(  # noqa: E731
            (mac, code, other, ip_text, mask, gw_text))
        for other in static:
            if other[0] != mac and other[1] == ip_text:
                found("duplicate-ip", other[0])
        adapters = [name for address, name in host if address == ip_text]
        if adapters:
            found("host-address", adapters[0])
        if no_host(ip):
            found("reserved-address")
        net = network_of(ip_text, mask)
        if net is None or net.prefixlen == 0:
            found("bad-subnet")
            continue
        if not no_host(ip) and ends(ip, net):
            found(ends(ip, net) + "-address")
        if int(gw) == 0:
            continue
        if gw == ip:
            found("gateway-is-own-ip")
        elif no_host(gw):
            found("gateway-not-a-host")
        elif gw not in net:
            found("gateway-outside-subnet")
        elif ends(gw, net):
            found("gateway-not-a-host")
    return problems


def value_of(problem):
    """The value of the field the problem is about."""
    mac, code, other, ip, mask, gw = problem
    return gw if code in GATEWAY_FIELD else ip if code in IP_FIELD else mask


def model_introduced(before, writes, host):
    written = {w[0]: w for w in writes}
    after = [written.get(c[0], c) for c in before]
    old = {(p[0], p[1], p[2], value_of(p)) for p in model_find(before, host)}
    return [p for p in model_find(after, host)
            if p[0] in written and (p[0], p[1], p[2], value_of(p)) not in old]


# Addresses that make problems likely: a box at the factory address, this
# computer, the ends of common subnets, the reserved ranges.
FAVOURITES = ["192.168.1.8", "192.168.1.60", "192.168.1.0", "192.168.1.255", "192.168.1.1",
              "10.77.8.1", "10.77.255.255", "0.0.0.0", "0.1.2.3", "127.0.0.1",
              "224.0.0.1", "239.255.255.255", "240.0.0.1", "255.255.255.255",
              "223.255.255.255", "1.0.0.0", "10.0.0.0", "10.0.0.1"]


def random_address(rng, near=None):
    roll = rng.random()
    if roll < 0.4:
        return rng.choice(FAVOURITES)
    if roll < 0.7 and near:
        base = int(ipaddress.ip_address(near)) & ~0xFF
        return str(ipaddress.ip_address(base | rng.choice([0, 1, 2, 8, 60, 254, 255])))
    if roll < 0.85:
        return f"192.168.{rng.randrange(3)}.{rng.randrange(256)}"
    return str(ipaddress.ip_address(rng.getrandbits(32)))


def random_mask(rng):
    roll = rng.random()
    if roll < 0.8:
        prefix = rng.randrange(33)
        return str(ipaddress.ip_network(f"0.0.0.0/{prefix}").netmask)
    if roll < 0.9:
        return rng.choice(["255.255.255.0", "255.255.0.0", "255.0.0.0"])
    return str(ipaddress.ip_address(rng.getrandbits(32)))  # mostly not a mask


def random_converter(rng, mac):
    ip = random_address(rng)
    roll = rng.random()
    if roll < 0.3:
        gw = "0.0.0.0"
    elif roll < 0.4:
        gw = ip
    else:
        gw = random_address(rng, near=ip)
    return [mac, ip, random_mask(rng), gw, rng.random() < 0.1]


def random_case(rng):
    count = rng.randrange(1, 7)
    macs = [chr(ord("A") + k) for k in range(count)]
    if rng.random() < 0.3:  # a box fresh from the factory
        before = [[m, "192.168.1.8", "255.255.255.0", "192.168.1.1", False] for m in macs]
    else:
        before = [random_converter(rng, m) for m in macs]
    writes = []
    shared = random_address(rng)  # a fill-down slip: one value for several rows
    for c in before:
        if rng.random() < 0.5:
            continue
        w = list(c)
        for field in range(1, 5):
            if rng.random() < 0.4:
                if field == 1:
                    w[1] = shared if rng.random() < 0.5 else random_address(rng)
                elif field == 2:
                    w[2] = random_mask(rng)
                elif field == 3:
                    w[3] = random_address(rng, near=w[1])
                else:
                    w[4] = not w[4]
        writes.append(w)
    host = [["10.77.8.1", "eth0"]]
    if rng.random() < 0.5:
        host.append([rng.choice(FAVOURITES[:6] + [random_address(rng)]), "wlan0"])
    return {"host": host, "before": before, "writes": writes}


def cpp_literal(converters):
    return "QVector<Converter>{%s}" % ", ".join(
        'converter("%s", "%s", "%s", "%s"%s)' % (m, ip, mask, gw, ", true" if dhcp else "")
        for m, ip, mask, gw, dhcp in converters)


def table_row(name, case, expected):
    host = ", ".join('{%#010x, QStringLiteral("%s")}' % (int(ipaddress.ip_address(a)), n)
                     for a, n in case["host"])
    field = lambda code: ("gateway" if code in GATEWAY_FIELD  # noqa: E731
                          else "ip" if code in IP_FIELD else "subnet")
    described = ", ".join('"%s"' % " ".join(x for x in (m, code, field(code), other) if x)
                          for m, code, other in expected)
    return ('        QTest::newRow("%s")\n            << %s\n            << %s\n'
            '            << QVector<HostAddress>{%s} << QStringList{%s};'
            % (name, cpp_literal(case["before"]), cpp_literal(case["writes"]), host, described))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("driver")
    parser.add_argument("--seed", type=int)
    parser.add_argument("--count", type=int, default=20000)
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.SystemRandom().randrange(2**32)
    rng = random.Random(seed)
    cases = [random_case(rng) for _ in range(args.count)]
    run = subprocess.run([args.driver], input="".join(json.dumps(c) + "\n" for c in cases),
                         capture_output=True, text=True, check=True)
    answers = [json.loads(line) for line in run.stdout.splitlines()]
    if len(answers) != len(cases):
        sys.exit(f"segmentcheck_judge: {len(answers)} answers to {len(cases)} cases")
    disagreements = 0
    for number, (case, answer) in enumerate(zip(cases, answers)):
        found = sorted(tuple(p[:3]) for p in model_find(case["before"], case["host"]))
        added = sorted(tuple(p[:3]) for p in
                       model_introduced(case["before"], case["writes"], case["host"]))
        if (found == sorted(tuple(p) for p in answer["found"])
                and added == sorted(tuple(p) for p in answer["introduced"])):
            continue
        disagreements += 1
        if disagreements <= 10:
            print(f"disagreement, seed {seed} case {number}: the tool found "
                  f"{answer['found']}, introduced {answer['introduced']}; the model "
                  f"found {found}, introduced {added}. As a row:")
            print(table_row(f"judge {seed}/{number}", case, added))
    codes = sorted({p[1] for c in cases for p in model_find(c["before"], c["host"])})
    print(f"segmentcheck_judge: seed {seed}, {len(cases)} cases, {disagreements} "
          f"disagreements; codes seen: {' '.join(codes)}")
    return 1 if disagreements else 0


if __name__ == "__main__":
    sys.exit(main())
