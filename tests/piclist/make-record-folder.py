#!/usr/bin/env python3
"""Writes a library folder of COUNT pictures with their record files, for the large-folder test and
the list benchmark: p00000.jpg ... (13 bytes each, no picture in them, last written on 17 May 2020 at
10:30 local time as Wine shows it) and beside each its ".dai" record with a thumbnail of WIDTH x HEIGHT, 24 bits.
The records name the pictures by their Windows path (Wine's Z: drive), so that a list of the folder
finds nothing to correct; they are written after the pictures, so none is stale.

Usage: make-record-folder.py FOLDER COUNT [WIDTH HEIGHT]   (TZ must be the tests' time zone)
Idempotent: a folder whose "done" mark names the same count is left as it is.
"""

import calendar
import os
import struct
import sys
import time


def archive_string(text):
    data = text.encode('cp1252')
    if len(data) < 255:
        return bytes([len(data)]) + data
    if len(data) < 65534:
        return b'\xff' + struct.pack('<H', len(data)) + data
    return b'\xff\xff\xff' + struct.pack('<I', len(data)) + data


def thumbnail(width, height):
    row = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            # A teal picture with a lighter diagonal band, bottom-up rows, blue-green-red.
            band = 60 if abs(x - y * width // height) < 6 else 0
            line += bytes((150 + band, 140 + band, 30 + band))
        line += b'\0' * (row - len(line))
        pixels += line
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    block = header + bytes(pixels)
    return struct.pack('<II', 1, len(block)) + block


def main():
    folder = sys.argv[1]
    count = int(sys.argv[2])
    width = int(sys.argv[3]) if len(sys.argv) > 3 else 48
    height = int(sys.argv[4]) if len(sys.argv) > 4 else 36
    os.makedirs(folder, exist_ok=True)
    mark = os.path.join(folder, 'done.txt')
    if os.path.exists(mark) and open(mark).read().strip() == str(count):
        return
    windows_folder = 'Z:' + os.path.abspath(folder).replace('/', '\\')
    # Wine turns file times into local time with the zone's present offset, as Windows does.
    when = calendar.timegm((2020, 5, 17, 10, 30, 0, 0, 0, 0)) - time.localtime().tm_gmtoff
    dos_date = ((2020 - 1980) << 9) | (5 << 5) | 17
    dos_time = (10 << 11) | (30 << 5)
    thumb = thumbnail(width, height)
    for n in range(count):
        picture = os.path.join(folder, 'p%05d.jpg' % n)
        with open(picture, 'wb') as f:
            f.write(b'not a picture')
        os.utime(picture, (when, when))
    size = 13
    info = '(0,%d k - 17/05/20)' % (size * 10 // 1024)
    for n in range(count):
        base = 'P%05d' % n
        record = b''.join([
            archive_string(windows_folder + '\\' + base + '.jpg'),
            archive_string(base + '.jpg'),
            archive_string(info),
            archive_string(''), archive_string(''), archive_string(''), archive_string(''),
            struct.pack('<iiiiiiIi', 12, height, width, 0, 0, 0, (dos_date << 16) | dos_time, size),
            archive_string(base),
            archive_string('jpg'),
            struct.pack('<HHi', dos_time, dos_date, 1),
            thumb,
        ])
        with open(os.path.join(folder, 'p%05d.dai' % n), 'wb') as f:
            f.write(record)
    with open(mark, 'w') as f:
        f.write('%d\n' % count)


if __name__ == '__main__':
    main()
