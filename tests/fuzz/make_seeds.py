#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: frames of the kinds the tests
build (replies of each device kind, universal-switch frames, login answers, a
project list, small archives), laid out as each target reads its input."""
import io
import os
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def frame(subnet, device, code, payload, target=(1, 254)):
    body = bytes([11 + len(payload), subnet, device, 0x02, 0x58, code >> 8, code & 0xFF,
                  target[0], target[1]]) + bytes(payload)
    return bytes([127, 0, 0, 2]) + b"VOVERUDIZI" + b"\xAA\xAA" + body + struct.pack(">H", crc16(body))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# Reply payloads per code, as the simulated devices answer.
REPLIES = {
    0xEFFE: b"FW-1.0\x00",
    0x0032: bytes([1, 0xF8, 100, 0]),
    0x0034: bytes([4, 100, 50, 0, 25]),
    0x0003: bytes([3, 1, 0xF8]),
    0xE3E8: bytes([1, 1, 0, 1, 24, 22, 23, 25, 21, 0, 0]),
    0xE0ED: bytes([1, 1, 0, 0, 24, 22, 23]),
    0xE0EF: bytes([1, 0xF8]),
    0xE3D9: bytes([1, 0xF8, 1, 1]),
    0x1945: bytes([1, 0, 1, 1, 22, 0]),
    0x012D: bytes([1, 2]),
    0x2035: bytes([1, 0xF8, 1]),
    0x2037: bytes([1, 0xF8, 2]),
    0xA13F: bytes([0xF8, 1, 22]),
    0xE121: bytes([1, 0, 24]),
    0xE125: bytes([1, 1]),
    0x1901: bytes([0xF8]),
}
CODES = [0x0003, 0x0032, 0x0034, 0x00A3, 0x00A4, 0x012D, 0x1901, 0x1945, 0x2035, 0x2037, 0xA13F,
         0xE01C, 0xE01D, 0xE0ED, 0xE0EF, 0xE121, 0xE125, 0xE3D9, 0xE3E8, 0xEFFE, 0xEFFF, 0x0031,
         0x0033, 0x2025]

# frames: style, then the bytes of one received buffer.
stream = b"".join(frame(1, 20 + i, c, p) for i, (c, p) in enumerate(REPLIES.items()))
for style in range(3):
    write("frames", "stream-%d" % style, bytes([style]) + stream)
    write("frames", "one-%d" % style, bytes([style]) + frame(1, 20, 0x0034, REPLIES[0x0034]))
write("frames", "login", bytes([1]) + b"\xCC\xCC\x00\x10\x00\xA3" + bytes(10))

# transport: path 0 (datagrams: flags, 16-bit length, bytes) or 1 (stream: 16-bit
# length, bytes).
pieces = [frame(1, 20 + i, c, p) for i, (c, p) in enumerate(REPLIES.items())]
datagrams = b"".join(bytes([i % 2]) + struct.pack(">H", len(f)) + f for i, f in enumerate(pieces))
write("transport", "datagrams", b"\x00" + datagrams)
write("transport", "datagrams-odd", b"\x00" + bytes([0]) + struct.pack(">H", 0)
      + bytes([0x32]) + struct.pack(">H", 4) + b"\xAA\xAA\x10\x00"
      + bytes([0]) + struct.pack(">H", 20) + pieces[0][:20])
cuts = [7, 1, 30, 200, len(stream)]
chunks, at = [], 0
for c in cuts:
    chunks.append(stream[at:at + c])
    at += c
write("transport", "stream", b"\x01" + b"".join(struct.pack(">H", len(c)) + c for c in chunks if c))
login = b"\xCC\xCC\x00\x12\x00\xA3" + bytes(7) + bytes([1]) + bytes(2)
write("transport", "stream-login", b"\x01" + struct.pack(">H", len(login)) + login)

# devices: target, mode, code selector, code word, payload.
targets = 14
for t in range(targets):
    for code, payload in REPLIES.items():
        sel = CODES.index(code) if code in CODES else 200
        for mode in (0, 1):
            write("devices", "t%02d-%04x-m%d" % (t, code, mode),
                  bytes([t, mode, sel]) + struct.pack(">H", code) + payload)

# intake: mode bytes then the switch number and state.
write("intake", "alarm", bytes([0x20, 9, 1]))
write("intake", "service-settle", bytes([0x20, 5, 1, 0x60, 5, 1, 30]))
write("intake", "unknown-panel", bytes([0x22, 99, 5, 1]))
write("intake", "raw", bytes([1, 40]) + frame(1, 20, 0xE01C, [5, 1]))

# login: mode, then the answer.
for result in range(6):
    write("login", "cloud-%d" % result, bytes([7]) + b"\xCC\xCC\x00\x12\x00\xA3" + bytes(7) + bytes([result]) + bytes(2))
    write("login", "dns-%d" % result, bytes([3]) + b"\xCC\xCC\x00\x12\x00\xA4" + bytes(7) + bytes([result]) + bytes(2))

# project list.
write("projectlist", "default", b"""<?xml version="1.0" encoding="UTF-8"?>
<general>
    <project>
        <name>Home</name>
        <indoor_temperature_low>20</indoor_temperature_low>
        <indoor_temperature_high>35</indoor_temperature_high>
        <network_type>0</network_type>
    </project>
    <project>
        <name>Office's</name>
        <indoor_temperature_low>18</indoor_temperature_low>
        <indoor_temperature_high>28</indoor_temperature_high>
        <network_type>1</network_type>
    </project>
    <current>
        <name>Home</name>
    </current>
</general>
""")


def zipped(entries, compression=zipfile.ZIP_STORED):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", compression) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = compression
            info.external_attr = (0o40775 << 16 | 0x10) if name.endswith("/") else 0o600 << 16
            z.writestr(info, data)
    return buf.getvalue()


def stating(entries, name, size):
    """A stored zip whose two headers of entry name both state size unpacked bytes."""
    z = bytearray(zipped(entries))
    for sig, at, field in ((b"PK\x03\x04", 30, 22), (b"PK\x01\x02", 46, 24)):
        i = z.find(sig)
        while z[i + at:i + at + len(name)] != name.encode():
            i = z.find(sig, i + 1)
        z[i + field:i + field + 4] = struct.pack("<I", size)
    return bytes(z)


write("archive", "raw-project", b"\x01" + zipped([("Home/", b""), ("Home/Home.db3", b"SQLite format 3\x00"),
                                                  ("Home/photo_Room_1.png", b"\x89PNG")]))
write("archive", "raw-dotdot", b"\x01" + zipped([("../evil", b"x")]))
write("archive", "raw-absolute", b"\x01" + zipped([("/tmp/evil", b"x")]))
# Stated sizes that let a reader walking the local headers find entries hidden in
# an entry's data; only what the central directory names may come out.
hidden = zipped([("Evil/%d" % i, b"e") for i in range(20)])[:-22]
write("archive", "raw-hidden-both-1", b"\x01" + stating([("Yard/Yard.db3", b"x" + hidden)], "Yard/Yard.db3", 1))
write("archive", "raw-short-stored", b"\x01" + stating([("Yard/s", b"x"), ("Yard/Yard.db3", b"")], "Yard/s", 200))
write("archive", "raw-evil-in-yard", b"\x01" + zipped([("Yard/Yard.db3", b"x" + hidden)]))
# An end record's signature inside an entry's data, and two records naming one entry.
write("archive", "raw-signature-in-data", b"\x01" + zipped([("Yard/Yard.db3", b"x"),
                                                            ("Yard/last", b"PK\x05\x06" + bytes(18))]))
shared = bytearray(zipped([("Yard/Yard.db3", b"same"), ("Yard/copy", b"same")]))
first = shared.find(b"PK\x01\x02")
second = shared.find(b"PK\x01\x02", first + 1)
shared[second + 42:second + 46] = shared[first + 42:first + 46]  # both records name the first entry
write("archive", "raw-shared-bytes", b"\x01" + bytes(shared))
# Structured: count, then (kind, name length, name, content length, content).
write("archive", "built", b"\x00\x03" + b"\x00\x05Home/\x00" + b"\x01\x0dHome/Home.db3\x04abcd"
      + b"\x02\x09Home/link\x06../../")


# Shapes that libzip reads otherwise than a reader could, written field by field.
def headers(name, size, crc, offset, extra=b"", central_extra=b""):
    fixed = struct.pack("<HHHHHIIIH", 20, 0, 0, 0, 0x21, crc, size, size, len(name))
    mode = 0o40755 if name.endswith(b"/") else 0o100644
    return (b"PK\x03\x04" + fixed + struct.pack("<H", len(extra)) + name + extra,
            b"PK\x01\x02\x1e\x03" + fixed
            + struct.pack("<HHHHII", len(central_extra), 0, 0, 0, mode << 16, offset) + name + central_extra)


def stored(entries, extra=b""):
    body, central = b"", b""
    for name, data, *crc in entries:
        local, record = headers(name.encode(), len(data), (crc or [zlib.crc32(data)])[0], len(body), extra)
        body, central = body + local + data, central + record
    return body, central


def end_record(count, size, offset, comment=0):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, size, offset, comment)


project = [("Yard/", b""), ("Yard/Yard.db3", b"SQLite format 3\x00"), ("Yard/photo.png", b"\x89PNG")]
# A second readable end record 65,558 bytes from the end, which libzip still reads, in
# front of long local extra fields that weighing two records would read.
body, central = stored(project, b"\xfe\xca\x00\x00" * 1000)
full = (3, len(central), len(body))
write("archive", "raw-end-record-65558",
      b"\x01" + body + central + end_record(*full, 0xFFFF) + bytes(65558 - 44) + end_record(*full))
# Two readable end records: one whose comment is a copy of it, and two directories.
body, central = stored(project)
_, first = stored(project[:1])
full = (3, len(central), len(body))
write("archive", "raw-two-end-records", b"\x01" + body + central + end_record(*full, 22) + end_record(*full))
write("archive", "raw-two-directories", b"\x01" + body + central + end_record(*full, len(first) + 22) + first
      + end_record(1, len(first), len(body) + len(central) + 22))
# An entry whose data fail their checksum, stored and compressed.
body, central = stored(project + [("Yard/bad", b"good data", 0x12345678)])
write("archive", "raw-crc-error", b"\x01" + body + central + end_record(4, len(central), len(body)))
crc = struct.pack("<I", zlib.crc32(b"compressed " * 30))
deflated = zipped([("Yard/Yard.db3", b"x"), ("Yard/bad", b"compressed " * 30)], zipfile.ZIP_DEFLATED)
write("archive", "raw-crc-error-deflated", b"\x01" + deflated.replace(crc, bytes([crc[0] ^ 0xFF]) + crc[1:]))
# End records inside data that libzip cannot read: of unequal counts, with a comment past
# the end, and those of stored zip-format files last (their directory lies elsewhere).
for name, record in (("unequal-counts", struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 2, 0, 0, 0)),
                     ("long-comment", end_record(0, 0, 0, 200))):
    write("archive", "raw-%s-in-data" % name,
          b"\x01" + zipped([("Yard/Yard.db3", b"x"), ("Yard/last", record)]))
xlsx = zipped([("[Content_Types].xml", b"<Types/>" * 20), ("xl/workbook.xml", b"<workbook/>" * 20)],
              zipfile.ZIP_DEFLATED)
for name, inner in (("report.xlsx", xlsx), ("backup.zip", zipped(project))):
    write("archive", "raw-stored-%s-last" % name.split(".")[1],
          b"\x01" + zipped(project + [("Yard/" + name, inner)]))
# Two entries whose data overlap through a long local extra field: the first one's
# field holds the second one's local header, and both read the same bytes.
same = zlib.crc32(b"same")
second, b_record = headers(b"Yard/b", 4, same, 30 + 6 + 8)
field = struct.pack("<HH", 0xCAFE, 4 + len(second)) + bytes(4) + second
first, a_record = headers(b"Yard/a", 4, same, 0, field)
write("archive", "raw-overlap-local-extra", b"\x01" + first + b"same" + a_record + b_record
      + end_record(2, len(a_record + b_record), len(first) + 4))
# A central record naming its entry through the Unicode path field (0x7075): with the
# checksum of the stored name the field's UTF-8 name is the entry's, with another one the
# stored name is; a field leading out of the folder makes the archive refused.
cafe = "Yard/caf\u00e9.txt".encode()
for seed, named, flip in (("right-crc", cafe, 0), ("wrong-crc", cafe, 1), ("dotdot", b"../evil", 0)):
    name = b"Yard/cafe.txt"
    field = struct.pack("<HHBI", 0x7075, 5 + len(named), 1, zlib.crc32(name) ^ flip) + named
    db_local, db_record = headers(b"Yard/Yard.db3", 1, zlib.crc32(b"x"), 0)
    local, record = headers(name, 4, zlib.crc32(b"cafe"), len(db_local) + 1, b"", field)
    body = db_local + b"x" + local + b"cafe"
    write("archive", "raw-unicode-path-" + seed,
          b"\x01" + body + db_record + record + end_record(2, len(db_record + record), len(body)))
