-- convcfg.lua: Wireshark dissector for the serial-to-Ethernet converters'
-- configuration protocol on UDP port 1500 (the probe "FFFF", 64-byte replies
-- and configure frames, encrypted with AES-128-CBC under the protocol's key
-- with an all-zero IV). Copy it into a Wireshark plugin folder:
-- ~/.local/lib/wireshark/plugins on Linux, %APPDATA%\Wireshark\plugins on
-- Windows. One file for Wireshark 4.0 (Lua 5.2) and later (Lua 5.4): bit
-- operations through Wireshark's global `bit` library only.
-- MIT licence (see the converter-config project's LICENSE).

local convcfg = Proto("convcfg", "Converter configuration")

local KEY_HEX = "3A71C2095ED418B7660FA39C24E8517D"
local DEVICE_PORT = 1500

local MODES = { [0] = "udp", "tcp-client", "udp-server", "tcp-server" }
local IP_TYPES = { [0] = "static", "dhcp" }
-- Parity as the serial byte's bits 3 to 5 hold it; without the enable bit,
-- none (as the programs read it).
local PARITIES = { [0x00] = "none", [0x08] = "odd", [0x18] = "even", [0x28] = "mark",
                   [0x38] = "space" }
local PARITY_LETTERS = { none = "N", odd = "O", even = "E", mark = "M", space = "S" }
local DATA_BITS = { [0] = 5, 6, 7, 8 }

local f = {
    kind = ProtoField.string("convcfg.kind", "Kind"),
    checksum = ProtoField.uint16("convcfg.checksum", "Checksum", base.HEX),
    checksum_status = ProtoField.uint8("convcfg.checksum.status", "Checksum status", base.DEC,
                                       { [0] = "Bad", [1] = "Good" }),
    mac = ProtoField.ether("convcfg.mac", "MAC"),
    version = ProtoField.string("convcfg.version", "Firmware version"),
    name = ProtoField.string("convcfg.name", "Name"),
    ip_type = ProtoField.string("convcfg.ip_type", "IP type"),
    mode = ProtoField.string("convcfg.mode", "Work mode"),
    subnet = ProtoField.ipv4("convcfg.subnet", "Subnet mask"),
    gateway = ProtoField.ipv4("convcfg.gateway", "Gateway"),
    ip = ProtoField.ipv4("convcfg.ip", "IP address"),
    local_port = ProtoField.uint16("convcfg.local_port", "Local port"),
    remote_ip = ProtoField.ipv4("convcfg.remote_ip", "Remote IP"),
    remote_port = ProtoField.uint16("convcfg.remote_port", "Remote port"),
    baud = ProtoField.uint32("convcfg.baud", "Baud rate"),
    parity = ProtoField.string("convcfg.parity", "Parity"),
    data_bits = ProtoField.uint8("convcfg.data_bits", "Data bits"),
    stop_bits = ProtoField.uint8("convcfg.stop_bits", "Stop bits"),
    plaintext = ProtoField.bytes("convcfg.plaintext", "Decrypted frame"),
}
convcfg.fields = { f.kind, f.checksum, f.checksum_status, f.mac, f.version, f.name, f.ip_type,
                   f.mode, f.subnet, f.gateway, f.ip, f.local_port, f.remote_ip, f.remote_port,
                   f.baud, f.parity, f.data_bits, f.stop_bits, f.plaintext }

-- The name as decoded, read back for the Info column (TvbRange:string cuts
-- GB18030 text on Wireshark 4.0).
local name_field = Field.new("convcfg.name")

local e_malformed = ProtoExpert.new("convcfg.malformed", "Not a frame of the converter protocol",
                                    expert.group.MALFORMED, expert.severity.ERROR)
local e_checksum = ProtoExpert.new("convcfg.checksum.bad",
                                   "Bad checksum (damaged, or encrypted under another key)",
                                   expert.group.CHECKSUM, expert.severity.WARN)
convcfg.experts = { e_malformed, e_checksum }

local band, bor, bxor, lshift, rshift = bit.band, bit.bor, bit.bxor, bit.lshift, bit.rshift

------------------------------------------------------------------------
-- AES-128 decryption, from FIPS-197: the S-box made from inverses in
-- GF(2^8) and the affine map, the key schedule, and the inverse cipher.

local function xtime(a)
    a = lshift(a, 1)
    if a >= 0x100 then a = bxor(a, 0x11B) end
    return a
end

local function mul(a, b)
    local p = 0
    while b > 0 do
        if band(b, 1) ~= 0 then p = bxor(p, a) end
        a = xtime(a)
        b = rshift(b, 1)
    end
    return p
end

local SBOX, INV_SBOX = {}, {}
do
    for x = 0, 255 do
        local inv = 0
        if x ~= 0 then
            for y = 1, 255 do
                if mul(x, y) == 1 then inv = y; break end
            end
        end
        local s = inv
        for shift = 1, 4 do
            s = bxor(s, band(bor(lshift(inv, shift), rshift(inv, 8 - shift)), 0xFF))
        end
        s = bxor(s, 0x63)
        SBOX[x] = s
        INV_SBOX[s] = x
    end
end

-- Round keys as 176 bytes (index 0 to 175).
local function expand_key(key)
    local w = {}
    for i = 0, 15 do w[i] = key[i] end
    local rcon = 1
    for i = 16, 175, 4 do
        local t0, t1, t2, t3 = w[i - 4], w[i - 3], w[i - 2], w[i - 1]
        if i % 16 == 0 then
            t0, t1, t2, t3 = bxor(SBOX[t1], rcon), SBOX[t2], SBOX[t3], SBOX[t0]
            rcon = xtime(rcon)
        end
        w[i], w[i + 1], w[i + 2], w[i + 3] =
            bxor(w[i - 16], t0), bxor(w[i - 15], t1), bxor(w[i - 14], t2), bxor(w[i - 13], t3)
    end
    return w
end

-- One block, state s[0..15] in column order, in place.
local function decrypt_block(s, w)
    for i = 0, 15 do s[i] = bxor(s[i], w[160 + i]) end
    for round = 9, 0, -1 do
        -- InvShiftRows: row r moves r places right.
        s[1], s[5], s[9], s[13] = s[13], s[1], s[5], s[9]
        s[2], s[6], s[10], s[14] = s[10], s[14], s[2], s[6]
        s[3], s[7], s[11], s[15] = s[7], s[11], s[15], s[3]
        for i = 0, 15 do s[i] = bxor(INV_SBOX[s[i]], w[round * 16 + i]) end
        if round > 0 then
            for c = 0, 12, 4 do
                local a0, a1, a2, a3 = s[c], s[c + 1], s[c + 2], s[c + 3]
                s[c] = bxor(mul(a0, 14), mul(a1, 11), mul(a2, 13), mul(a3, 9))
                s[c + 1] = bxor(mul(a0, 9), mul(a1, 14), mul(a2, 11), mul(a3, 13))
                s[c + 2] = bxor(mul(a0, 13), mul(a1, 9), mul(a2, 14), mul(a3, 11))
                s[c + 3] = bxor(mul(a0, 11), mul(a1, 13), mul(a2, 9), mul(a3, 14))
            end
        end
    end
end

local function bytes_of(bytearray)
    local t = {}
    for i = 0, bytearray:len() - 1 do t[i] = bytearray:get_index(i) end
    return t
end

-- CBC with an all-zero IV over n bytes (whole blocks) of a table from 0.
local function aes_cbc_decrypt(w, data, n)
    local out = {}
    local previous = {}
    for i = 0, 15 do previous[i] = 0 end
    for start = 0, n - 16, 16 do
        local s = {}
        for i = 0, 15 do s[i] = data[start + i] end
        decrypt_block(s, w)
        for i = 0, 15 do
            out[start + i] = bxor(s[i], previous[i])
            previous[i] = data[start + i]
        end
    end
    return out
end

-- The standard's own example (FIPS-197, appendix C.1), checked at load:
-- a cipher that gets it wrong must not decode anything.
do
    local key, cipher = {}, {}
    local c = { 0x69, 0xc4, 0xe0, 0xd8, 0x6a, 0x7b, 0x04, 0x30,
                0xd8, 0xcd, 0xb7, 0x80, 0x70, 0xb4, 0xc5, 0x5a }
    for i = 0, 15 do key[i] = i; cipher[i] = c[i + 1] end
    decrypt_block(cipher, expand_key(key))
    for i = 0, 15 do
        assert(cipher[i] == i * 0x11,
               "convcfg: the AES self-test failed; the dissector is not loaded")
    end
end

local ROUND_KEYS
do
    local key = bytes_of(ByteArray.new(KEY_HEX))
    ROUND_KEYS = expand_key(key)
end

-- The 64 decrypted bytes: Wireshark's libgcrypt where Lua can reach it
-- (GcryptCipher, Wireshark 4.6 and later), otherwise the AES above.
local function decrypt(bytearray)
    if GcryptCipher then
        local cipher = GcryptCipher.open(GCRY_CIPHER_AES, GCRY_CIPHER_MODE_CBC, 0)
        cipher:setkey(ByteArray.new(KEY_HEX))
        cipher:setiv(ByteArray.new(string.rep("00", 16)))
        return bytes_of(cipher:decrypt(nil, bytearray))
    end
    return aes_cbc_decrypt(ROUND_KEYS, bytes_of(bytearray), bytearray:len())
end

------------------------------------------------------------------------

-- CRC-16/MODBUS over bytes 0 to 49.
local function crc16(p)
    local crc = 0xFFFF
    for i = 0, 49 do
        crc = bxor(crc, p[i])
        for _ = 1, 8 do
            if band(crc, 1) ~= 0 then
                crc = bxor(rshift(crc, 1), 0xA001)
            else
                crc = rshift(crc, 1)
            end
        end
    end
    return crc
end

local function number(p, offset, width)
    local value = 0
    for i = width - 1, 0, -1 do value = value * 256 + p[offset + i] end
    return value
end

local function address(p, offset)
    return string.format("%d.%d.%d.%d", p[offset + 3], p[offset + 2], p[offset + 1], p[offset])
end

local function prefix_length(p, offset)
    local length = 0
    for i = 3, 0, -1 do
        local byte = p[offset + i]
        for b = 7, 0, -1 do
            if band(byte, lshift(1, b)) == 0 then return length end
            length = length + 1
        end
    end
    return length
end

-- Whether bytes from to before to are well-formed UTF-8 (no overlong forms,
-- surrogates or code points past U+10FFFF), as the programs' decoder wants.
local function is_utf8(p, from, to)
    local i = from
    while i < to do
        local c = p[i]
        if c < 0x80 then
            i = i + 1
        else
            local extra, low, value
            if c >= 0xC2 and c <= 0xDF then extra, low, value = 1, 0x80, band(c, 0x1F)
            elseif c >= 0xE0 and c <= 0xEF then extra, low, value = 2, 0x800, band(c, 0x0F)
            elseif c >= 0xF0 and c <= 0xF4 then extra, low, value = 3, 0x10000, band(c, 0x07)
            else return false end
            if i + extra >= to then return false end
            for k = 1, extra do
                local b = p[i + k]
                if band(b, 0xC0) ~= 0x80 then return false end
                value = value * 64 + band(b, 0x3F)
            end
            if value < low or value > 0x10FFFF or (value >= 0xD800 and value <= 0xDFFF) then
                return false
            end
            i = i + extra + 1
        end
    end
    return true
end

-- The end of the name: its first zero byte, or byte 20.
local function name_end(p)
    local e = 10
    while e < 20 and p[e] ~= 0 do e = e + 1 end
    return e
end

local function describe(p, kind_text, name)
    local parity = PARITIES[band(p[45], 0x38)] or "none"
    return string.format("%s %02X:%02X:%02X:%02X:%02X:%02X \"%s\" %s/%d %s %d %d%s%d",
        kind_text, p[0], p[1], p[2], p[3], p[4], p[5], name, address(p, 30),
        prefix_length(p, 22), MODES[band(p[21], 3)], number(p, 42, 3),
        DATA_BITS[band(p[45], 3)], PARITY_LETTERS[parity], band(p[45], 4) ~= 0 and 2 or 1)
end

function convcfg.dissector(tvb, pinfo, tree)
    local length = tvb:len()
    pinfo.cols.protocol = "CONVCFG"
    local subtree = tree:add(convcfg, tvb())
    if length == 4 and tvb(0, 4):string() == "FFFF" then
        subtree:add(f.kind, tvb(0, 4), "probe")
        pinfo.cols.info = "Probe"
        return length
    end
    local p
    if length == 64 then p = decrypt(tvb(0, 64):bytes()) end
    local kind
    if p and p[6] == 0x31 and p[7] == 0x31 and p[8] == 0x31 and p[9] == 0x31 then
        kind = "configure"
    elseif p and pinfo.src_port == DEVICE_PORT then
        kind = "reply"
    end
    if not kind then
        subtree:add(f.kind, tvb(), "malformed")
        subtree:add_proto_expert_info(e_malformed,
            string.format("%d bytes: neither a probe nor a reply or configure frame", length))
        pinfo.cols.info = "Malformed"
        return length
    end

    local plain = ByteArray.new()
    plain:set_size(64)
    for i = 0, 63 do plain:set_index(i, p[i]) end
    local d = plain:tvb("Decrypted frame")
    subtree:add(f.kind, tvb(), kind)
    subtree:add(f.mac, d(0, 6))
    if kind == "reply" then
        subtree:add(f.version, d(6, 1), string.format("%d.%d", rshift(p[6], 4), band(p[6], 0x0F)))
    end
    -- The name as the programs show it: UTF-8 where valid, else GB18030
    -- (added as a packet field: a TvbRange's string cuts GB18030 on 4.0).
    local e = name_end(p)
    local name = ""
    if e == 10 then
        subtree:add(f.name, d(10, 10), "")
    else
        local encoding = is_utf8(p, 10, e) and ENC_UTF_8 or ENC_GB18030
        subtree:add_packet_field(f.name, d(10, e - 10), encoding)
        local shown = { name_field() }
        name = shown[#shown] and tostring(shown[#shown].value) or ""
    end
    subtree:add(f.ip_type, d(20, 1), IP_TYPES[band(p[20], 1)])
    subtree:add(f.mode, d(21, 1), MODES[band(p[21], 3)])
    subtree:add_le(f.subnet, d(22, 4)) -- stored low byte first
    subtree:add_le(f.gateway, d(26, 4)) -- stored low byte first
    subtree:add_le(f.ip, d(30, 4)) -- stored low byte first
    subtree:add(f.local_port, d(34, 2), number(p, 34, 2))
    subtree:add_le(f.remote_ip, d(36, 4)) -- stored low byte first
    subtree:add(f.remote_port, d(40, 2), number(p, 40, 2))
    subtree:add(f.baud, d(42, 3), number(p, 42, 3))
    subtree:add(f.parity, d(45, 1), PARITIES[band(p[45], 0x38)] or "none")
    subtree:add(f.data_bits, d(45, 1), DATA_BITS[band(p[45], 3)])
    subtree:add(f.stop_bits, d(45, 1), band(p[45], 4) ~= 0 and 2 or 1)
    local stored = number(p, 50, 2)
    subtree:add(f.checksum, d(50, 2), stored)
    local good = stored == crc16(p)
    local status = subtree:add(f.checksum_status, d(50, 2), good and 1 or 0)
    status:set_generated()
    if not good then
        status:add_proto_expert_info(e_checksum)
    end
    subtree:add(f.plaintext, d(0, 64))
    pinfo.cols.info = describe(p, kind == "reply" and "Reply" or "Configure", name)
    return length
end

DissectorTable.get("udp.port"):add(DEVICE_PORT, convcfg)
