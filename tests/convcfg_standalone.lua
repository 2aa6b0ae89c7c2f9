-- Loads tools/wireshark/convcfg.lua in a plain Lua interpreter (5.2 or 5.4)
-- with stand-ins for what Wireshark gives a plugin, so that the file's own
-- check of its AES against the FIPS-197 example runs under each language
-- version; `bit` is played by the interpreter's own operators.
--   lua5.4 convcfg_standalone.lua CONVCFG_LUA
local path = arg[1]
local function stub() return setmetatable({}, { __index = function() return stub() end,
                                                __call = function() return stub() end }) end
local native = _VERSION == "Lua 5.2" and bit32 or nil
if native then
    bit = { band = native.band, bor = native.bor, bxor = native.bxor,
            lshift = native.lshift, rshift = native.rshift }
else
    -- Lua 5.3 and later: integer operators, through load so that a 5.2
    -- parser never sees them.
    bit = load([[return {
        band = function(a, ...) for _, b in ipairs({...}) do a = a & b end return a end,
        bor = function(a, ...) for _, b in ipairs({...}) do a = a | b end return a end,
        bxor = function(a, ...) for _, b in ipairs({...}) do a = a ~ b end return a end,
        lshift = function(a, n) return (a << n) & 0xFFFFFFFF end,
        rshift = function(a, n) return (a & 0xFFFFFFFF) >> n end }]])()
end
Proto = function() return {} end
ProtoField, ProtoExpert, expert, base, DissectorTable = stub(), stub(), stub(), stub(), stub()
Field = { new = function() return function() end end }
ByteArray = { new = function(hex)
    local bytes = {}
    for pair in (hex or ""):gmatch("%x%x") do bytes[#bytes + 1] = tonumber(pair, 16) end
    return { len = function() return #bytes end, get_index = function(_, i) return bytes[i + 1] end }
end }
dofile(path)
print("convcfg: loaded under " .. _VERSION .. ", AES self-test passed")
