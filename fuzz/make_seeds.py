#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/.

Run from the repository: python3 fuzz/make_seeds.py. The seeds are small valid inputs of each
kind (native and older files of each measurement type, a truncated file, an overfull bitmap,
recorder replies from a real transcript and each command's short reply, settings as written by
the program, command-line dates, command-test fields); the fuzzer finds its way from there.
"""
import os
import re
import struct
import time

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")


def write(target, name, data):
    d = os.path.join(OUT, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def channel_block(number, name, start, interval, mtype, codes, sensor=0):
    h = bytearray(256)
    h[0:2] = b"%2d" % number
    h[2:2 + len(name)] = name
    tm = time.gmtime(start + 9 * 3600)  # the seeds are written in Japan's time
    wd = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"][tm.tm_wday]
    text = "%4d/%2d/%2d(%3s)%2d:%2d'%2d" % (tm.tm_year, tm.tm_mon, tm.tm_mday, wd, tm.tm_hour,
                                          tm.tm_min, tm.tm_sec)
    h[34:57] = text.encode()
    h[57:61] = struct.pack("<I", start)
    h[61:66] = b"%5d" % interval
    h[66] = mtype
    h[67:71] = struct.pack("<I", 0x41)
    h[71:76] = bytes([1, 128, 0, 0, sensor])
    h[87:92] = b"%5d" % len(codes)
    h[254:256] = b"\r\n"
    area = struct.pack("<%dH" % len(codes), *codes)
    area += b"\xff" * ((-len(area)) % 16)
    return bytes(h) + area


def image(blocks, extra_bits=0):
    head = bytearray(256)
    bits = 0
    for b in blocks:
        bits |= 1 << (int(b[0:2]) - 1)
    bits |= extra_bits
    head[0:8] = struct.pack("<Q", bits)
    head[254:256] = b"\r\n"
    return bytes(head) + b"".join(blocks)


def klg_seeds():
    t0 = 1_228_089_600  # 2008/12/01 09:00 in Japan
    temp = [32768 + 250, 32768 + 251, 0xE001, 0xE002, 0xEEEE, 32768 - 300, 32768 + 1000]
    seeds = {
        "native-temp13": (0, image([channel_block(1, b"ROOM", t0, 60, 13, temp)])),
        "native-temp14-rh": (0, image([channel_block(2, b"FREEZER\x00", t0, 10, 14, temp),
                                       channel_block(5, b"\x89\xb7\x93\x78", t0 + 5, 600, 208,
                                                     [32768 + 555, 32768 + 1000, 0xEEEE])])),
        "native-volt": (0, image([channel_block(8, b"12345678", t0, 1, 224,
                                                [32768 + 1200, 32768 - 50, 0xEEEE])])),
        "native-append": (2, image([channel_block(3, b"A", t0, 3600, 13, temp[:2])])),
        "native-overfull-bitmap": (0, image([channel_block(1, b"X", t0, 60, 13, temp[:1])],
                                            extra_bits=1 << 8)),
        "older-temp": (1, image([channel_block(1, b"OLD", t0, 60, 13, [1250, 1000, 0xEEEE, 0])])),
        "older-rh-volt-append": (3, image([channel_block(1, b"RH", t0, 120, 208, [1555]),
                                           channel_block(2, b"V", t0, 120, 224, [32768 + 3])])),
    }
    full = image([channel_block(1, b"LONG", t0, 1, 13, [32768 + (i % 400) for i in range(2000)])])
    seeds["native-truncated"] = (0, full[:256 + 256 + 100])
    seeds["native-2000-samples"] = (16, full)
    for target in ("fuzz_klg_parse", "fuzz_klg_roundtrip"):
        for name, (control, data) in seeds.items():
            write(target, name, bytes([control]) + data)


def frame(*b):
    return bytes(b) + bytes([sum(b) & 0xFF])


def reply_seeds():
    # Replies as they arrive after the PC has written the wake-up byte and a 6-byte frame.
    # Format of the target: mode, byte spacing, first parameter, then [after][length][bytes].
    def seed(mode, chunks, spacing=0, param=0):
        out = bytearray([mode, spacing, param])
        written = 0
        for after, data in chunks:
            out += bytes([after - written, len(data)]) + data
            written = after
        return bytes(out)

    # A download of three records, from the transcript the tests replay.
    path = os.path.join(HERE, "..", "tests", "data", "recorder", "download-3-records.txt")
    chunks, sent, pending = [], 0, bytearray()
    for line in open(path):
        m = re.match(r"\s*[\d.]+ ([<>]) ((?:[0-9A-F]{2} ?)+)$", line)
        if not m:
            continue
        data = bytes.fromhex(m.group(2))
        if m.group(1) == ">":
            if pending:
                chunks.append((sent, bytes(pending)))
                pending = bytearray()
            sent += len(data)
        else:
            pending += data
    if pending:
        chunks.append((sent, bytes(pending)))
    write("fuzz_recorder_replies", "download-3-records", seed(8, chunks))  # channels 1 and 2
    # Each command of the test dialog with its short reply (mode 64.. picks the command).
    for command in range(16):
        mode = 64 + ((command + 1) % 18)
        wire = 0x10 + command
        write("fuzz_recorder_replies", "command-%02d" % command,
              seed(mode, [(7, frame(wire, 0, 0, 0, 0))]))


def settings_seeds():
    entries = ["DivideCode", "PrintMethod", "HorizontalScale", "VerticalScale", "PortNo",
               "TempUnit", "RecMode", "SensorType", "Interval", "ChanName1", "ChanName2",
               "StartMode", "DateTime", "COM1", "UnitCF", "UnitV", "CursorStyle",
               "CursorASelect", "CursorBSelect", "ScaleMode", "ScaleUpper", "ScaleLower",
               "frameX", "frameY", "Width", "Height", "File1", "File2", "Ch.1Red", "Ch.1Green",
               "Ch.1Blue", "Ch.1Flags"]
    as_written = {"DivideCode": "1", "PrintMethod": "2", "HorizontalScale": "3",
                  "VerticalScale": "2", "PortNo": "1", "TempUnit": "0", "RecMode": "1",
                  "SensorType": "0", "Interval": "60", "ChanName1": "温度",
                  "ChanName2": "ﾃｽﾄ", "StartMode": "0x31", "DateTime": "20081201090000",
                  "COM1": "/dev/ttyUSB0", "UnitCF": "1", "UnitV": "0", "CursorStyle": "2",
                  "CursorASelect": "1", "CursorBSelect": "0", "ScaleMode": "1",
                  "ScaleUpper": "40.5", "ScaleLower": "-12.25", "frameX": "10", "frameY": "20",
                  "Width": "800", "Height": "600", "File1": "/tmp/a.klg", "File2": "b.KSV",
                  "Ch.1Red": "255", "Ch.1Green": "0", "Ch.1Blue": "128", "Ch.1Flags": "0"}
    edited = dict(as_written, ScaleUpper="1e30", ScaleLower="nan", Interval="0",
                  StartMode="0X", DateTime="19700101090000", Width="-5", DivideCode="7")
    for name, values in (("as-written", as_written), ("edited", edited)):
        lines = [chr(64 + i) + values[e] for i, e in enumerate(entries)]
        write("fuzz_settings_values", name, "\n".join(lines).encode("utf-8"))


def date_seeds():
    for i, text in enumerate(["2026/12/06 14:30:05", " 2008/ 3/ 5  9: 7: 0", "2026/10/25 02:30:00",
                              "2026/03/29 02:30:00", "2038/01/19 03:14:08", "1970/01/01 09:00:00"]):
        write("fuzz_cli_dates", "date-%d" % i, text.encode())


def window_seeds():
    for i, text in enumerate(["2026/11/30 12:00:00\n2026/11/30 13:30:00\n2:2:8\n3::30",
                              "\n\n1:-1.5:\n8:5:5\n9:1:2", "2008/01/03 09:00:00\n\n1:0.000001:1e30"]):
        write("fuzz_cli_window", "window-%d" % i, text.encode())


def chain_seeds():
    # Events with escapes and either offset sign, then a removal, a swap, a copy and a change.
    fields = b"".join(bytes([len(v)]) + v for v in
                      [b"2026-12-07T08:30:00Z", b"lab", b"bench", b"1.22", b"name", b"ab" * 4,
                       b"OVEN\\", b"DUCT\n", b"typo\r"])
    event = bytes([2, 0x80, 0x02, 0x1C, 0x80, 0x00, 0x01]) + fields
    write("fuzz_archive_chain", "sealed", bytes([3]) + event * 3)
    for op, name in ((0, "removed"), (1, "swapped"), (2, "copied"), (3, "changed"), (9, "renumbered")):
        write("fuzz_archive_chain", name, bytes([3]) + event * 3 + bytes([op, 1, 2, 3, 0x41, 0x42, 0x43]))


def line_seeds():
    write("fuzz_local_line", "one-piece", bytes([0xFF, 15]) + b"/tmp/a file.klg\n")
    write("fuzz_local_line", "pieces", bytes([10, 4]) + b"/tmp" + bytes([8]) + b"/x.klg\nz")
    write("fuzz_local_line", "too-long", bytes([5, 7]) + b"abcdefg")


def command_test_seeds():
    for command in range(16):
        write("fuzz_command_test", "command-%02d" % command,
              ("%d\n00\n1F\n0\nff\n%d" % (command, command % 3)).encode())


if __name__ == "__main__":
    klg_seeds()
    reply_seeds()
    settings_seeds()
    date_seeds()
    command_test_seeds()
    window_seeds()
    chain_seeds()
    line_seeds()
