#!/usr/bin/env python3
"""Writes LarkspanLoading.avi, the clip the bar plays while it switches skins.

The Windows animation control plays only silent, uncompressed or RLE8 video, so the clip is one
video stream of 8-bit palette frames (BI_RGB), written by hand: RIFF 'AVI ' with hdrl (avih,
strl/strh/strf), movi ('00db' frames) and idx1. The picture is a ring of twelve dots whose bright,
larger head runs round once a second, drawn with 4x4 supersampling so that the dots are smooth.

  make_loading_clip.py OUT.avi      write the clip, then read it back and check it
  make_loading_clip.py --check FILE read a clip and check it
"""

import math
import struct
import sys

import drawn_file

WIDTH = 48
HEIGHT = 48
FRAMES = 12
MICROSECONDS_PER_FRAME = 83333  # twelve frames a second: one turn of the ring
DOTS = 12
RING_RADIUS = 16.0
DOT_RADIUS = 3.8  # the head; the faintest dot is a third smaller
SUPERSAMPLE = 4

# The bar's light background, and the dot colour from its faintest to its brightest (larkspur
# blue-violet).
BACKGROUND = (255, 255, 255)
DOT_FAINT = (214, 218, 236)
DOT_BRIGHT = (74, 84, 196)

BRIGHTNESS_LEVELS = 16
COVERAGE_LEVELS = 16

AVIF_HASINDEX = 0x10
AVIIF_KEYFRAME = 0x10
BI_RGB = 0


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def palette():
    """256 entries: index = brightness * 16 + coverage; coverage 0 is the background."""
    colours = []
    for brightness in range(BRIGHTNESS_LEVELS):
        dot = mix(DOT_FAINT, DOT_BRIGHT, brightness / (BRIGHTNESS_LEVELS - 1))
        for coverage in range(COVERAGE_LEVELS):
            colours.append(mix(BACKGROUND, dot, coverage / (COVERAGE_LEVELS - 1)))
    return colours


def dot_brightness(dot, frame):
    """The head is the dot at the frame's position; the eight dots behind it fade out."""
    behind = (frame - dot) % DOTS
    return max(0.0, 1.0 - behind / 8.0)


def render(frame):
    """One frame as rows of palette indexes, top row first."""
    centres = []
    for dot in range(DOTS):
        angle = 2 * math.pi * dot / DOTS - math.pi / 2
        centres.append((WIDTH / 2 + RING_RADIUS * math.cos(angle),
                        HEIGHT / 2 + RING_RADIUS * math.sin(angle),
                        dot_brightness(dot, frame)))
    radii = [DOT_RADIUS * (2 + b) / 3 for _, _, b in centres]
    rows = []
    step = 1.0 / SUPERSAMPLE
    for y in range(HEIGHT):
        row = bytearray(WIDTH)
        for x in range(WIDTH):
            best = 0.0
            best_coverage = 0
            for (cx, cy, brightness), radius in zip(centres, radii):
                if abs(cx - x - 0.5) > radius + 1 or abs(cy - y - 0.5) > radius + 1:
                    continue
                inside = 0
                for sy in range(SUPERSAMPLE):
                    for sx in range(SUPERSAMPLE):
                        px = x + (sx + 0.5) * step
                        py = y + (sy + 0.5) * step
                        if (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2:
                            inside += 1
                if inside > best_coverage:
                    best_coverage = inside
                    best = brightness
            coverage = round(best_coverage * (COVERAGE_LEVELS - 1) / SUPERSAMPLE ** 2)
            level = round(best * (BRIGHTNESS_LEVELS - 1))
            row[x] = level * COVERAGE_LEVELS + coverage if coverage else 0
        rows.append(bytes(row))
    return rows


def dib_bits(rows):
    """A bottom-up 8-bit DIB: rows in reverse order, each padded to four bytes."""
    stride = (WIDTH + 3) & ~3
    return b"".join(row.ljust(stride, b"\0") for row in reversed(rows))


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, children):
    body = fourcc + b"".join(children)
    return kind + struct.pack("<I", len(body)) + body


def build_clip():
    frames = [dib_bits(render(frame)) for frame in range(FRAMES)]
    frame_size = len(frames[0])

    avih = struct.pack(
        "<14I",
        MICROSECONDS_PER_FRAME,
        frame_size * 1000000 // MICROSECONDS_PER_FRAME + 1,  # dwMaxBytesPerSec
        0,  # dwPaddingGranularity
        AVIF_HASINDEX,
        FRAMES,
        0,  # dwInitialFrames
        1,  # dwStreams
        frame_size,  # dwSuggestedBufferSize
        WIDTH,
        HEIGHT,
        0, 0, 0, 0)
    strh = struct.pack(
        "<4s4sIHHIIIIIIIIhhhh",
        b"vids",
        b"DIB ",
        0,  # dwFlags
        0, 0,  # wPriority, wLanguage
        0,  # dwInitialFrames
        MICROSECONDS_PER_FRAME,  # dwScale
        1000000,  # dwRate: dwRate / dwScale frames a second
        0,  # dwStart
        FRAMES,  # dwLength
        frame_size,  # dwSuggestedBufferSize
        0xFFFFFFFF,  # dwQuality: default
        0,  # dwSampleSize: frames vary in size in general
        0, 0, WIDTH, HEIGHT)
    colours = palette()
    strf = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, BI_RGB, frame_size, 0, 0,
                       len(colours), 0)
    strf += b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)

    hdrl = riff_list(b"LIST", b"hdrl", [
        chunk(b"avih", avih),
        riff_list(b"LIST", b"strl", [chunk(b"strh", strh), chunk(b"strf", strf)]),
    ])

    # idx1 offsets count from the 'movi' four-character code.
    movi_chunks = []
    index = []
    offset = 4
    for bits in frames:
        data = chunk(b"00db", bits)
        index.append(struct.pack("<4sIII", b"00db", AVIIF_KEYFRAME, offset, len(bits)))
        movi_chunks.append(data)
        offset += len(data)
    movi = riff_list(b"LIST", b"movi", movi_chunks)
    idx1 = chunk(b"idx1", b"".join(index))
    return riff_list(b"RIFF", b"AVI ", [hdrl, movi, idx1]), frames


def parse_chunks(data, start, end):
    """(fourcc, list type or None, body start, body end) for each chunk in data[start:end]."""
    out = []
    at = start
    while at < end:
        if at + 8 > end:
            raise ValueError("chunk header runs past its parent at %d" % at)
        fourcc = data[at:at + 4]
        size = struct.unpack_from("<I", data, at + 4)[0]
        body = at + 8
        if body + size > end:
            raise ValueError("chunk %r runs past its parent" % fourcc)
        if fourcc in (b"LIST", b"RIFF"):
            out.append((fourcc, data[body:body + 4], body + 4, body + size))
        else:
            out.append((fourcc, None, body, body + size))
        at = body + size + (size & 1)
    return out


def check_clip(data, expected_frames=None):
    """Reads a clip back and raises ValueError where it is not what the animation control plays."""
    top = parse_chunks(data, 0, len(data))
    if len(top) != 1 or top[0][0] != b"RIFF" or top[0][1] != b"AVI ":
        raise ValueError("not a RIFF 'AVI ' file")
    parts = parse_chunks(data, top[0][2], top[0][3])
    kinds = [(fourcc, kind) for fourcc, kind, _, _ in parts]
    if kinds != [(b"LIST", b"hdrl"), (b"LIST", b"movi"), (b"idx1", None)]:
        raise ValueError("expected hdrl, movi, idx1; found %r" % kinds)
    hdrl, movi, idx1 = parts

    header = parse_chunks(data, hdrl[2], hdrl[3])
    if header[0][0] != b"avih" or header[0][3] - header[0][2] != 56:
        raise ValueError("avih missing or not 56 bytes")
    avih = struct.unpack_from("<14I", data, header[0][2])
    per_frame, _, _, flags, total, _, streams, _, width, height = avih[:10]
    streams_found = [h for h in header[1:] if h[0] == b"LIST" and h[1] == b"strl"]
    if streams != 1 or len(streams_found) != 1:
        raise ValueError("the clip must have exactly one stream (no sound)")
    if not flags & AVIF_HASINDEX:
        raise ValueError("avih does not announce the index")
    strl = parse_chunks(data, streams_found[0][2], streams_found[0][3])
    if [c[0] for c in strl[:2]] != [b"strh", b"strf"]:
        raise ValueError("strl must hold strh then strf")
    strh = struct.unpack_from("<4s4sIHHIIIIIIIIhhhh", data, strl[0][2])
    if strh[0] != b"vids":
        raise ValueError("the stream is not video")
    if strh[1] not in (b"\0\0\0\0", b"DIB ", b"RLE "):
        raise ValueError("stream handler %r needs a codec" % strh[1])
    if strh[9] != total:
        raise ValueError("strh length %d differs from avih frame count %d" % (strh[9], total))
    bih = struct.unpack_from("<IiiHHIIiiII", data, strl[1][2])
    size, bw, bh, planes, bits, compression, image_size, _, _, used, _ = bih
    if size != 40 or planes != 1 or bits != 8 or compression != BI_RGB:
        raise ValueError("strf is not an 8-bit BI_RGB bitmap header")
    if (bw, abs(bh)) != (width, height):
        raise ValueError("strf size differs from avih size")
    colours = used or 256
    if strl[1][3] - strl[1][2] < 40 + 4 * colours:
        raise ValueError("strf palette is short")
    stride = (width + 3) & ~3
    frame_size = stride * abs(bh)

    frames = [c for c in parse_chunks(data, movi[2], movi[3]) if c[0] != b"LIST"]
    if len(frames) != total:
        raise ValueError("movi holds %d frames, avih says %d" % (len(frames), total))
    for fourcc, _, start, end in frames:
        if fourcc != b"00db" or end - start != frame_size:
            raise ValueError("frame %r of %d bytes, expected '00db' of %d" %
                             (fourcc, end - start, frame_size))
        if max(data[start:end]) >= colours:
            raise ValueError("a pixel indexes past the palette")

    entries = (idx1[3] - idx1[2]) // 16
    if entries != total:
        raise ValueError("idx1 has %d entries for %d frames" % (entries, total))
    movi_fourcc = movi[2] - 4
    for i in range(entries):
        ckid, ckflags, offset, length = struct.unpack_from("<4sIII", data, idx1[2] + 16 * i)
        _, _, start, end = frames[i]
        if ckid != b"00db" or offset != start - 8 - movi_fourcc or length != end - start:
            raise ValueError("idx1 entry %d does not point at frame %d" % (i, i))
        if not ckflags & AVIIF_KEYFRAME:
            raise ValueError("frame %d is not a key frame" % i)
        if expected_frames is not None and data[start:end] != expected_frames[i]:
            raise ValueError("frame %d reads back different" % i)
    return width, height, total, per_frame


def check(data, expected):
    width, height, frames, per_frame = check_clip(data, expected)
    return "%dx%d, %d frames, %d ms each" % (width, height, frames, per_frame // 1000)


if __name__ == "__main__":
    sys.exit(drawn_file.run(sys.argv, __doc__, build_clip, check))
