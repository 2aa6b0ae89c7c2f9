"""What the tests that judge frames without the project's code share: the
key every frame is encrypted under, OpenSSL as the cipher, and CRC-16/MODBUS
computed here and checked against its published check value."""
import subprocess

FRAME_KEY = "3A71C2095ED418B7660FA39C24E8517D"


def crc16_modbus(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


if crc16_modbus(b"123456789") != 0x4B37:
    raise SystemExit("wire: the CRC here is wrong")


def aes_cbc(data, decrypt=False, key=FRAME_KEY):
    """AES-128-CBC with a zero IV, no padding, by OpenSSL."""
    return subprocess.run(["openssl", "enc", "-aes-128-cbc", "-nopad", "-K", key, "-iv", "0" * 32]
                          + (["-d"] if decrypt else []), input=data, capture_output=True,
                          check=True).stdout
