#!/usr/bin/env bash
# The Ansible collection over SSH, across two sites: the controller (host
# "tool", management network 0 only) reaches site hosts sitea and siteb,
# each running sshd with a key made here, converter-cli, and an adapter on
# its own converters' network (1 and 2) where simulated converters answer and
# a watcher records every datagram. Neither converters' network is reachable
# from the controller.
#   the example playbook sets both sites (the simulators' state changes);
#   a second run changes nothing and sends no configure frame;
#   check mode reports the drift and sends no configure frame;
#   a converter that ignores writes fails its task, named; a bad value fails
#   before anything is sent; ansible-doc renders both modules.
# Runs through e2e.sh with
# E2E_HOSTS="tool sitea@0,1 siteb@0,2 simsa:2@1 simsb:3@2 watcha@1 watchb@2".
#   ansible_e2e.sh CONVERTER_CLI CONVERTER_SIM
set -euo pipefail
cli=$(realpath "$1") sim=$(realpath "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
netlab=$root/scripts/netlab
: "${E2E_LAB:?run through tests/e2e.sh}"
# shellcheck source=privatenet.sh
source "$root/tests/privatenet.sh"
require_private_network ansible
fail() {
    echo "ansible: $*" >&2
    for f in "$work"/*.log; do echo "--- $f" >&2; tail -n 20 "$f" >&2; done
    exit 1
}

work=$(mktemp -d)
pids=()
# The simulators, watchers and sshd end with the test; e2e.sh takes the
# network down after it.
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work" "/tmp/ansible-remote-$$"' EXIT
background() { # LOG HOST COMMAND...
    local log=$1 host=$2
    shift 2
    : >"$work/$log"
    "$netlab" exec "$E2E_LAB" "$host" "$@" >"$work/$log" 2>&1 &
    pids+=($!)
}
wait_for() { # FILE PATTERN
    for _ in $(seq 100); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
    fail "no '$2' in $1"
}

# The converters: two at site A, three at site B (the third ignores writes).
background simsa.log simsa "$sim" --state "$work/simsa.json" --count 2 --base-mac 02AB0000A001 \
    --base-address "$("$netlab" addr "$E2E_LAB" simsa)"
background simsb.log simsb "$sim" --state "$work/simsb.json" --count 3 --base-mac 02AB0000B001 \
    --base-address "$("$netlab" addr "$E2E_LAB" simsb)" --fault ignore-writes@3
for site in a b; do
    background "watch$site.log" "watch$site" python3 "$root/tests/watch-datagrams.py" \
        "$work/watch$site.txt"
    wait_for "$work/sims$site.log" ready
    wait_for "$work/watch$site.log" ready
done

# sshd on each site host, on its management address, with a key made here.
ssh-keygen -q -t ed25519 -N '' -f "$work/id" -C ansible-test
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
cp "$work/id.pub" "$work/authorized_keys"
mkdir -p /run/sshd
for site in sitea siteb; do
    address=$("$netlab" addr "$E2E_LAB" "$site")
    cat >"$work/sshd-$site.conf" <<EOF
ListenAddress $address
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PidFile $work/sshd-$site.pid
EOF
    background "sshd-$site.log" "$site" /usr/sbin/sshd -D -e -f "$work/sshd-$site.conf"
    echo "$site ansible_host=$address" >>"$work/hosts"
done
sleep 0.5

# ansible-test sanity, the tests that run with Debian's packages: the others
# (ansible-doc, import, validate-modules, pep8, pylint, yamllint,
# runtime-metadata) each build a virtual environment with pip from PyPI,
# which this machine cannot reach; pslint and shellcheck have no PowerShell
# or shell files to read. Then ansible-lint on the collection and examples.
lint=$work/lint/ansible_collections/converter_config/converters
mkdir -p "$lint"
cp -r "$root/ansible/." "$lint"
(cd "$lint" && git init -q . && git add -A &&
    ansible-test sanity --local --python "$(python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')" \
        --skip-test ansible-doc --skip-test import --skip-test validate-modules --skip-test pep8 \
        --skip-test pylint --skip-test yamllint --skip-test runtime-metadata --skip-test pslint \
        --skip-test shellcheck) >"$work/sanity.log" 2>&1 || fail "ansible-test sanity: $(tail -n 30 "$work/sanity.log")"
(cd "$lint" && ANSIBLE_COLLECTIONS_PATH=$work/lint ansible-lint --offline --nocolor) >"$work/lint.log" 2>&1 ||
    fail "ansible-lint: $(tail -n 30 "$work/lint.log")"
echo "ansible: ansible-test sanity and ansible-lint pass"

# The collection as make package builds it, installed for this run only.
export ANSIBLE_COLLECTIONS_PATH=$work/collections ANSIBLE_HOST_KEY_CHECKING=False
ansible-galaxy collection build "$root/ansible" --output-path "$work" >/dev/null
ansible-galaxy collection install "$work"/converter_config-converters-*.tar.gz \
    -p "$work/collections" >/dev/null
export ANSIBLE_LOCAL_TEMP=$work/ansible-local ANSIBLE_REMOTE_TEMP=/tmp/ansible-remote-$$
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=False ANSIBLE_FORCE_COLOR=0
export ANSIBLE_SSH_ARGS="-o UserKnownHostsFile=/dev/null -o ControlMaster=no"

# The example playbook with this run's inventory and host variables.
cp -r "$root/ansible/examples" "$work/site"
rm -f "$work/site/host_vars/"*
{
    echo "[sites]"
    cat "$work/hosts"
    echo "[sites:vars]"
    echo "ansible_user=root"
    echo "ansible_ssh_private_key_file=$work/id"
    echo "ansible_python_interpreter=/usr/bin/python3"
    echo "converter_cli=$cli"
    echo "converter_interface=cvl1"
} >"$work/site/inventory.ini"
wanted() { # BAUD_A1: host variables of both sites
    cat >"$work/site/host_vars/sitea.yml" <<EOF
converters:
  - {mac: "02:AB:00:00:A0:01", ip: 10.78.200.1, baud: $1, remote_port: 6001}
  - {mac: "02ab0000a002", name: Dryer-2, parity: even, stop_bits: 2}
EOF
    cat >"$work/site/host_vars/siteb.yml" <<EOF
converters:
  - {mac: "02:AB:00:00:B0:01", mode: tcp-server, local_port: 4100}
  - {mac: "02:AB:00:00:B0:02", ip: 10.79.200.2, remote_ip: 10.79.0.9}
EOF
}
playbook() { ansible-playbook -i "$work/site/inventory.ini" "$work/site/site.yml" "$@"; }
# frames SITE: configure frames the site's host has sent on its converters' network
frames() {
    local mgmt net
    mgmt=$("$netlab" addr "$E2E_LAB" "site$1")
    net=$([[ $1 == a ]] && echo 78 || echo 79)
    grep -c "^10\.$net\.${mgmt#10.77.} 64$" "$work/watch$1.txt" || true
}
sent() { grep -c "^10\.7[89]\.\(16\|24\)\.1 " "$work/watcha.txt" "$work/watchb.txt" | awk -F: '{ n += $2 } END { print n }'; }
state() { # FILE MAC KEY
    python3 -c 'import json, sys
c = {c["mac"]: c for c in json.load(open(sys.argv[1]))["converters"]}[sys.argv[2]]
print(c[sys.argv[3]])' "$work/$1.json" "$2" "$3"
}
settle() { sleep 0.5; }

wanted 19200
playbook >"$work/run1.log" 2>&1 || fail "the first run failed: $(tail -n 30 "$work/run1.log")"
settle
[[ $(state simsa 02AB0000A001 baud) == 19200 && $(state simsa 02AB0000A001 lip) == 10.78.200.1 &&
    $(state simsa 02AB0000A002 name) == Dryer-2 && $(state simsa 02AB0000A002 parity) == 2 &&
    $(state simsb 02AB0000B001 mode) == 3 && $(state simsb 02AB0000B001 lport) == 4100 &&
    $(state simsb 02AB0000B002 sip) == 10.79.0.9 ]] || fail "the converters do not hold what was set"
[[ $(frames a) -ge 2 && $(frames b) -ge 2 ]] || fail "frames: site A $(frames a), site B $(frames b)"
grep -Eq 'sitea +: ok=1 +changed=1' "$work/run1.log" && grep -Eq 'siteb +: ok=1 +changed=1' "$work/run1.log" ||
    fail "first run recap: $(grep -A3 RECAP "$work/run1.log")"
echo "ansible: the example playbook set both sites"

before_a=$(frames a) before_b=$(frames b)
playbook >"$work/run2.log" 2>&1 || fail "the second run failed"
settle
grep -Eq 'sitea +: ok=1 +changed=0' "$work/run2.log" && grep -Eq 'siteb +: ok=1 +changed=0' "$work/run2.log" ||
    fail "second run recap: $(grep -A3 RECAP "$work/run2.log")"
[[ $(frames a) -eq $before_a && $(frames b) -eq $before_b ]] || fail "the second run sent frames"
echo "ansible: a second run changed nothing and sent no frame"

wanted 57600
playbook --check >"$work/check.log" 2>&1 || fail "the check run failed"
settle
grep -q 'sitea 02:AB:00:00:A0:01 baud: wanted 57600, reported 19200' "$work/check.log" ||
    fail "check mode did not report the drift: $(tail -n 20 "$work/check.log")"
[[ $(frames a) -eq $before_a && $(frames b) -eq $before_b ]] || fail "check mode sent frames"
[[ $(state simsa 02AB0000A001 baud) == 19200 ]] || fail "check mode changed a converter"
echo "ansible: check mode reported the drift and sent no frame"

adhoc() { ansible "$1" -i "$work/site/inventory.ini" -m converter_config.converters.converter_settings -a "$2"; }
status=0
adhoc siteb "mac=02AB0000B003 baud=1200 verify_timeout=1500 retries=1 interface=cvl1 executable=$cli" \
    >"$work/ignore.log" 2>&1 || status=$?
[[ $status -ne 0 ]] && grep -q '02:AB:00:00:B0:03: written, but the write did not verify: differs' "$work/ignore.log" &&
    grep -q '"changed": true' "$work/ignore.log" ||
    fail "a converter that ignores writes: $(cat "$work/ignore.log")"
echo "ansible: a converter that ignores writes failed its task, named, changed"

before=$(sent)
status=0
adhoc sitea "mac=02AB0000A001 ip=10.1.300.1 interface=cvl1 executable=$cli" >"$work/bad.log" 2>&1 || status=$?
status2=0
adhoc sitea "mac=02AB0000A001 parity=marks interface=cvl1 executable=$cli" >"$work/bad2.log" 2>&1 || status2=$?
status3=0
adhoc sitea "mac=02AB0000A001 baud=9600 retries=-1 interface=cvl1 executable=$cli" --check \
    >"$work/bad3.log" 2>&1 || status3=$?
settle
[[ $status -ne 0 ]] && grep -q "ip '10.1.300.1' is not an IPv4 address" "$work/bad.log" ||
    fail "a bad address: $(cat "$work/bad.log")"
[[ $status2 -ne 0 ]] && grep -q "value of parity must be one of" "$work/bad2.log" ||
    fail "a bad choice: $(cat "$work/bad2.log")"
[[ $status3 -ne 0 ]] && grep -q "retries must be from 0 to 100, not -1" "$work/bad3.log" ||
    fail "retries out of range: $(cat "$work/bad3.log")"
[[ $(sent) -eq $before ]] || fail "bad values sent $(( $(sent) - before )) datagrams"
echo "ansible: bad values failed before anything was sent"

# Another converter's address: refused with converter-cli's message and
# nothing sent, in check mode too; written with force.
other_ip=$(state simsb 02AB0000B001 lip)
before=$(frames b)
for mode in --check ""; do
    status=0
    # shellcheck disable=SC2086
    adhoc siteb "mac=02AB0000B002 ip=$other_ip interface=cvl1 executable=$cli" $mode \
        >"$work/clash.log" 2>&1 || status=$?
    [[ $status -ne 0 ]] && grep -q "02:AB:00:00:B0:02: ip $other_ip is also the ip of 02:AB:00:00:B0:01" \
        "$work/clash.log" || fail "a clash ${mode:-written}: $(cat "$work/clash.log")"
done
settle
[[ $(frames b) -eq $before ]] || fail "a refused clash sent $(( $(frames b) - before )) frames"
adhoc siteb "mac=02AB0000B002 ip=$other_ip force=true interface=cvl1 executable=$cli" \
    >"$work/forced.log" 2>&1 || fail "a forced write: $(cat "$work/forced.log")"
settle
[[ $(state simsb 02AB0000B002 lip) == "$other_ip" ]] || fail "force did not write"
echo "ansible: a clash was refused with nothing sent, and written with force"

for module in converter_info converter_settings; do
    ansible-doc "converter_config.converters.$module" >"$work/doc.log" 2>&1 ||
        fail "ansible-doc $module: $(cat "$work/doc.log")"
    grep -q "converter_config.converters.$module" "$work/doc.log" || fail "ansible-doc $module"
done
found=$(ansible sitea -i "$work/site/inventory.ini" -m converter_config.converters.converter_info \
    -a "interface=cvl1 executable=$cli" 2>&1 | grep -c '"mac": "02:AB:00:00:A0:0' || true)
[[ $found -eq 2 ]] || fail "converter_info found $found converters at site A"
echo "ansible: ansible-doc renders both modules; converter_info lists site A"
